#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/saida_render.h"

namespace tevra {

// tevra-sim's command line.
struct OpcoesLinha {
    std::string script;
    std::string solver;                      // --solver, applied before the overrides
    std::string pasta;                       // --out; empty: the Tevra home's tmp folder
    bool dados = false;                      // --data
    int threads = 0;                         // --threads; 0: the environment, else every core
    std::vector<std::string> sobreposicoes;  // --set KEY=VALUE, in order
    bool imprimirCena = false;               // --print-scene
    bool verificar = false;                  // --check
    bool silencioso = false;                 // --quiet
    std::vector<std::string> coletar;        // --collect DIR...
    std::string exportar;                    // --export vtu|obj; empty: no export
    OpcoesRender render;                     // --render DIR and the picture options
};

// Reads the command line into `o`. When the program is to stop right away, the exit status:
// 0 after --help, 2 (input refused) for options it cannot use, the message already shown.
std::optional<int> lerOpcoes(int argc, char** argv, OpcoesLinha& o);

}  // namespace tevra
