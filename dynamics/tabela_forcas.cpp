#include "dynamics/varredura.h"

namespace tevra {

namespace nucleo {
#define TEVRA_DECLARAR_VARIANTE(v)                                                         \
    namespace v {                                                                          \
    void quocientesLinha(const Grade&, const LinhaQuocientes&);                            \
    void internaLinha(const Grade&, const LinhaInterna&);                                  \
    bool etapaLinha(const ParametrosEtapa&, const LinhaEtapa&, int, int);                  \
    bool etapaRestritaLinha(const ParametrosEtapa&, const LinhaEtapa&, const NoRestrito&); \
    }
TEVRA_DECLARAR_VARIANTE(escalar)
TEVRA_DECLARAR_VARIANTE(sse2)
TEVRA_DECLARAR_VARIANTE(avx2)
#undef TEVRA_DECLARAR_VARIANTE
}  // namespace nucleo

const nucleo::TabelaForcas& tabelaForcas(Caminho c) {
    using namespace nucleo;
    static const TabelaForcas tabelas[3] = {
        {escalar::quocientesLinha, escalar::internaLinha, escalar::etapaLinha, escalar::etapaRestritaLinha},
        {sse2::quocientesLinha, sse2::internaLinha, sse2::etapaLinha, sse2::etapaRestritaLinha},
        {avx2::quocientesLinha, avx2::internaLinha, avx2::etapaLinha, avx2::etapaRestritaLinha},
    };
    return tabelas[static_cast<int>(c)];
}

}  // namespace tevra
