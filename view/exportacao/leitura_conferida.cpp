#include "view/exportacao/leitura_conferida.h"

#include <cstdio>
#include <memory>
#include <string>

namespace tevra {

namespace {

inline bool branco(char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t' || c == '\v' || c == '\f'; }

// Whitespace-separated items, as the reader splits the text.
std::int64_t contarItens(std::string_view t) {
    std::int64_t n = 0;
    bool dentro = false;
    for (char c : t) {
        const bool b = branco(c);
        if (!b && !dentro) ++n;
        dentro = !b;
    }
    return n;
}

// "Objeto:" and its value on the first frame, "Area:" and its value, the three words of
// "Densidade de Massa:" and its value; then a label and three numbers twice a node.
constexpr std::int64_t kItensPorNo = 8;
std::int64_t itensCabecalho(bool primeiro) { return primeiro ? 8 : 6; }

}  // namespace

LeituraConferida lerQuadroConferido(std::string_view texto, bool primeiroQuadro, NosSuperficie& nos) {
    LeituraConferida r;
    r.estado = EstadoConferido::Ilegivel;
    const std::int64_t corpo = contarItens(texto) - itensCabecalho(primeiroQuadro);
    if (corpo <= 0 || corpo % kItensPorNo != 0) return r;
    const std::int64_t nosNoArquivo = corpo / kItensPorNo;
    if (nosNoArquivo == static_cast<std::int64_t>(nos.numNos())) {
        const ResultadoLeitura l = lerQuadro(texto, primeiroQuadro, nos);
        if (l.estado == EstadoQuadro::Completo) r.estado = EstadoConferido::Completo;
        r.objeto = l.objeto;
        return r;
    }
    // As many items as a frame of another grid: it is one when the reader takes it whole
    // (a larger one is read as far as this grid goes, the rest is trusted by its count).
    NosSuperficie menor;
    NosSuperficie* destino = &nos;
    if (nosNoArquivo < static_cast<std::int64_t>(nos.numNos())) {
        menor.alocar(1, static_cast<int>(nosNoArquivo));
        destino = &menor;
    }
    const ResultadoLeitura l = lerQuadro(texto, primeiroQuadro, *destino);
    if (l.estado != EstadoQuadro::Completo) return r;
    r.estado = EstadoConferido::OutraGrade;
    r.nosNoArquivo = nosNoArquivo;
    r.objeto = l.objeto;
    return r;
}

LeituraConferida lerQuadroConferido(const std::filesystem::path& arquivo, bool primeiroQuadro, NosSuperficie& nos) {
    LeituraConferida r;
    std::error_code ec;
    const std::filesystem::file_status st = std::filesystem::status(arquivo, ec);
    if (!std::filesystem::exists(st)) return r;
    r.estado = EstadoConferido::Ilegivel;
    // A FIFO or a device would block or never end: only regular files are opened.
    if (!std::filesystem::is_regular_file(st)) return r;
    const std::uintmax_t tamanho = std::filesystem::file_size(arquivo, ec);
    if (ec) return r;
    // The writer's lines stay under 80 bytes; a file many times a frame's size is not a
    // frame of this grid, and reading it whole to count its nodes is not worth the memory.
    const std::uintmax_t limite = 4096 + static_cast<std::uintmax_t>(nos.numNos()) * 1024;
    if (tamanho > limite) {
        r.estado = EstadoConferido::OutraGrade;
        return r;
    }
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(arquivo.c_str(), "rb"), &std::fclose);
    if (!f) return r;
    std::string texto(static_cast<std::size_t>(tamanho), '\0');
    const std::size_t lidos = std::fread(texto.data(), 1, texto.size(), f.get());
    if (std::ferror(f.get())) return r;
    texto.resize(lidos);
    return lerQuadroConferido(std::string_view(texto), primeiroQuadro, nos);
}

}  // namespace tevra
