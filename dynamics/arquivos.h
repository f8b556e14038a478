#pragma once

#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

#include "base/erros.h"
#include "base/nomes_arquivos.h"
#include "model/obj_deformavel.h"

namespace tevra {

// The values one frame file and its data dump print, wherever they live: in the object,
// or in the copy a run hands its writer thread.
struct VistaQuadro {
    int n = 1;                // frame number: 1 prints the first-frame header
    int nos = 0;              // nodes, in grid order
    int objeto = 0;           // shape code (first frame only)
    double area = 0.0;        // the header's area: area0 for frame 1, area later
    double densidade0 = 0.0;  // rest mass density
    double tempo = 0.0;       // simulated time of the frame
    const double* pos[3] = {};
    const double* normal[3] = {};
    const double* vel[3] = {};  // in a copy only when asked for (CopiaQuadro::copiar)
    // What only the data dump prints; null when the frame goes without one.
    const double* aceleracao[3] = {};
    const double* forcaExterna[3] = {};
    const double* forcaInterna[3] = {};
    const double* e_tio[3] = {};
    const double* e_chapeu[4][3] = {};

    bool temDados() const { return aceleracao[0] != nullptr; }
};

// Frame n of the object as it stands, read in place; with `dados` the dump's arrays too.
VistaQuadro vistaDoObjeto(const ObjDeformavel& obj, int n, bool dados);

// A frame copied out of the object, so that the run can step on while it is written. The
// arrays keep their size from one frame to the next: copying into a used copy allocates
// nothing.
class CopiaQuadro {
public:
    // Copies frame n (with the dump's arrays, with the velocities) and tells whether every
    // value the frame file prints is finite: the test rides on the copy's own pass.
    bool copiar(const ObjDeformavel& obj, int n, bool dados, bool velocidades = false);
    // With the velocities, whether they are copied or not.
    static std::size_t bytesPorNo(bool dados);
    const VistaQuadro& vista() const { return vista_; }

private:
    std::vector<double> valores_;
    VistaQuadro vista_;
};

// The first value frame `q` would print that is not finite, in the file's order: the
// header's area and density, then node by node its position and normal. Nothing when every
// value is finite.
struct NaoFinito {
    int no = -1;           // the node's index; -1 for the header
    const char* grandeza;  // "area", "position x", "normal z", ...
};
std::optional<NaoFinito> primeiroNaoFinito(const VistaQuadro& q);

// The frame file's text: the header, then two lines (position, normal) per node. Built in
// `buffer`, which only grows, so a writer that keeps it allocates once.
std::string_view textoQuadro(const VistaQuadro& q, std::vector<char>& buffer);
// The data dump's text: positions, normals, acceleration, forces and the elastic terms.
std::string_view textoDados(const VistaQuadro& q, std::vector<char>& buffer);

// The room textoQuadro and textoDados take per node, at most.
std::size_t bytesTextoQuadroPorNo();
std::size_t bytesTextoDadosPorNo();

// Frame file n of the object, written whole or not at all (base/gravacao.h).
Escrita gravarQuadro(const ObjDeformavel& obj, const std::filesystem::path& padrao, int n);
// Data dump n of the object, written whole or not at all.
Escrita gravarDados(const ObjDeformavel& obj, const std::filesystem::path& padrao, int n);

// "frame number N does not fit a four-digit file name"
FalhaEscrita numeroSemNome(int n);

}  // namespace tevra
