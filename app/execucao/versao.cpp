#include "app/execucao/versao.h"

// Generated into the build folder; only this file includes it, so a new version recompiles
// one file.
#include "app/execucao/versao_gerada.h"

namespace tevra {

const char* versaoPrograma() { return TEVRA_VERSAO; }
const char* compiladorPrograma() { return TEVRA_COMPILADOR; }
const char* opcoesCompilacao() { return TEVRA_OPCOES; }

}  // namespace tevra
