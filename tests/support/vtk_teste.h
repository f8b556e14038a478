#pragma once
// What VTK's own readers find in an exported file: tests/view/exportacao/ler_vtk.py run by
// Debian's interpreter (a python3 earlier on PATH may not see its vtk module).

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

struct ArrayLido {
    int componentes = 0;
    std::string tipo;                         // VTK's name of the value type: "double", "float", ...
    std::vector<std::vector<double>> tuplas;  // one per point
};

struct MalhaLida {
    bool ok = false;    // the reader ran without an error or a warning
    std::string texto;  // what the script printed about the file, for failure messages
    long long pontos = -1;
    long long celulas = -1;
    std::vector<int> tipos;                   // VTK cell type of every cell
    std::vector<std::vector<long long>> ids;  // point ids of every cell
    std::map<std::string, ArrayLido> arrays;  // "Points" and every point-data array
    std::string normais;                      // the array the file marks as the normals
    struct DataSet {
        double tempo;
        std::string arquivo;
        long long pontos;
    };
    std::vector<DataSet> dataSets;  // of a .pvd
};

// One report per file, in the order given; a single start of the interpreter for all.
inline std::vector<MalhaLida> lerComVtk(const std::string& tipo, const std::vector<std::filesystem::path>& arquivos) {
    std::string cmd = "/usr/bin/python3 '" TEVRA_SOURCE_DIR "/tests/view/exportacao/ler_vtk.py' " + tipo;
    for (const auto& a : arquivos) cmd += " '" + a.string() + "'";
    cmd += " 2>/dev/null";
    std::string texto;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) return std::vector<MalhaLida>(arquivos.size());
    char buf[1 << 16];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, p)) texto.append(buf, n);
    const int st = pclose(p);
    // 0: every file read cleanly, 1: some reported an error; anything else: the script failed.
    const bool rodou = WIFEXITED(st) && WEXITSTATUS(st) <= 1;

    std::vector<MalhaLida> r;
    std::istringstream in(texto);
    std::string chave;
    MalhaLida* m = nullptr;
    ArrayLido* atual = nullptr;
    long long restam = 0;
    for (std::string linha; std::getline(in, linha);) {
        std::istringstream l(linha);
        if (restam > 0) {
            std::vector<double> t;
            for (std::string v; l >> v;) t.push_back(std::strtod(v.c_str(), nullptr));
            atual->tuplas.push_back(t);
            --restam;
            continue;
        }
        l >> chave;
        if (chave == "arquivo") {
            r.emplace_back();
            m = &r.back();
            m->ok = rodou;
        }
        if (!m) continue;
        m->texto += linha + "\n";
        if (chave == "erro") m->ok = false;
        if (chave == "pontos") l >> m->pontos;
        if (chave == "celulas") l >> m->celulas;
        if (chave == "celula") {
            int t, n;
            l >> t >> n;
            std::vector<long long> ids(n);
            for (auto& id : ids) l >> id;
            m->tipos.push_back(t);
            m->ids.push_back(ids);
        }
        if (chave == "array") {
            std::string nome;
            l >> nome;
            atual = &m->arrays[nome];
            l >> atual->componentes >> atual->tipo;
            restam = m->pontos;
        }
        if (chave == "normais") l >> m->normais;
        if (chave == "dataset") {
            std::string tempo;
            MalhaLida::DataSet d;
            l >> tempo >> d.arquivo >> d.pontos;
            d.tempo = std::strtod(tempo.c_str(), nullptr);
            m->dataSets.push_back(d);
        }
    }
    r.resize(arquivos.size());  // a file the script never reached stays not ok
    return r;
}

inline MalhaLida lerComVtk(const std::string& tipo, const std::filesystem::path& arquivo) {
    return lerComVtk(tipo, std::vector<std::filesystem::path>{arquivo}).front();
}
