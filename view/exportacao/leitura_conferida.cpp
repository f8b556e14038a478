#include "view/exportacao/leitura_conferida.h"

#include <system_error>

namespace tevra {

namespace {

LeituraConferida conferir(const ResultadoLeitura& l) {
    LeituraConferida r;
    r.objeto = l.objeto;
    switch (l.estado) {
        case EstadoQuadro::Completo:
            r.estado = EstadoConferido::Completo;
            break;
        case EstadoQuadro::GradeDiferente:
            r.estado = EstadoConferido::OutraGrade;
            r.nosNoArquivo = l.maisNos ? -1 : static_cast<std::int64_t>(l.nosNoArquivo);
            break;
        case EstadoQuadro::Ausente:
            r.estado = EstadoConferido::Ausente;
            break;
        case EstadoQuadro::Incompleto:
            r.estado = EstadoConferido::Ilegivel;
            break;
    }
    return r;
}

}  // namespace

LeituraConferida lerQuadroConferido(std::string_view texto, bool primeiroQuadro, NosSuperficie& nos) {
    return conferir(lerQuadro(texto, primeiroQuadro, nos));
}

LeituraConferida lerQuadroConferido(const std::filesystem::path& arquivo, bool primeiroQuadro, NosSuperficie& nos) {
    LeituraConferida r = conferir(lerQuadro(arquivo, primeiroQuadro, nos));
    // The reader does not open what is not a regular file; a name that is there is not missing.
    std::error_code ec;
    if (r.estado == EstadoConferido::Ausente && std::filesystem::exists(arquivo, ec))
        r.estado = EstadoConferido::Ilegivel;
    return r;
}

}  // namespace tevra
