"""Reads an exported file with VTK's own readers and prints what they found, for the tests.

    ler_vtk.py vtu FILE...   the unstructured grid: counts, cells, every point array
    ler_vtk.py obj FILE...   the same for an OBJ mesh (vtkOBJReader)
    ler_vtk.py pvd FILE...   the collection's data sets (parsed as XML; plain VTK has no .pvd
                             reader), each also read with the .vtu reader

Each file's report starts with a line "arquivo FILE"; an error or a warning of a reader is
a line "erro ..." in it, and makes the exit status 1. Numbers are printed with float.hex, so
that the tests compare bits.
"""
import os
import sys
import xml.etree.ElementTree as ET

# The modules alone, not the whole of vtk: the tests start this script many times.
from vtkmodules.vtkCommonCore import vtkIdList
from vtkmodules.vtkIOGeometry import vtkOBJReader
from vtkmodules.vtkIOXML import vtkXMLUnstructuredGridReader

erros = []


def vigiar(objeto):
    objeto.AddObserver("ErrorEvent", lambda o, e: erros.append(e))
    objeto.AddObserver("WarningEvent", lambda o, e: erros.append(e))
    return objeto


def ler(leitor, arquivo):
    vigiar(leitor)
    leitor.SetFileName(arquivo)
    leitor.Update()
    if hasattr(leitor, "GetErrorCode") and leitor.GetErrorCode() != 0:
        erros.append("error code %d" % leitor.GetErrorCode())
    return leitor.GetOutput()


def escrever_malha(dados):
    print("pontos", dados.GetNumberOfPoints())
    print("celulas", dados.GetNumberOfCells())
    for c in range(dados.GetNumberOfCells()):
        ids = vtkIdList()
        dados.GetCellPoints(c, ids)
        print("celula", dados.GetCellType(c), ids.GetNumberOfIds(),
              " ".join(str(ids.GetId(k)) for k in range(ids.GetNumberOfIds())))
    arrays = [("Points", dados.GetPoints().GetData())] if dados.GetPoints() else []
    pd = dados.GetPointData()
    arrays += [(pd.GetArrayName(k), pd.GetArray(k)) for k in range(pd.GetNumberOfArrays())]
    for nome, a in arrays:
        print("array", nome, a.GetNumberOfComponents(), a.GetDataTypeAsString())
        for t in range(a.GetNumberOfTuples()):
            print(" ".join(float(v).hex() for v in a.GetTuple(t)))
    normais = pd.GetNormals()
    if normais is not None:
        print("normais", normais.GetName())


def relatar(tipo, arquivo):
    if tipo == "vtu":
        escrever_malha(ler(vtkXMLUnstructuredGridReader(), arquivo))
    elif tipo == "obj":
        escrever_malha(ler(vtkOBJReader(), arquivo))
    elif tipo == "pvd":
        raiz = ET.parse(arquivo).getroot()
        if raiz.tag != "VTKFile" or raiz.get("type") != "Collection":
            erros.append("not a VTK collection")
        pasta = os.path.dirname(arquivo)
        for ds in raiz.iter("DataSet"):
            tempo = float(ds.get("timestep"))
            nome = ds.get("file")
            malha = ler(vtkXMLUnstructuredGridReader(), os.path.join(pasta, nome))
            print("dataset", tempo.hex(), nome, malha.GetNumberOfPoints())
    else:
        erros.append("unknown kind " + tipo)


def main():
    tipo = sys.argv[1]
    falhou = False
    for arquivo in sys.argv[2:]:
        print("arquivo", arquivo)
        del erros[:]
        try:
            relatar(tipo, arquivo)
        except Exception as e:  # a file ET or VTK cannot take at all
            erros.append(repr(e))
        for e in erros:
            print("erro", e)
        falhou = falhou or bool(erros)
    sys.exit(1 if falhou else 0)


main()
