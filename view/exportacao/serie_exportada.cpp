#include "view/exportacao/serie_exportada.h"

#include <cstdio>
#include <regex>

#include "base/gravacao.h"
#include "base/limites.h"
#include "view/exportacao/obj.h"
#include "view/exportacao/vtu.h"

namespace tevra {

namespace {

const char* extensao(FormatoExportacao f) { return f == FormatoExportacao::Vtu ? ".vtu" : ".obj"; }

}  // namespace

std::optional<FormatoExportacao> formatoExportacao(std::string_view nome) {
    if (nome == "vtu") return FormatoExportacao::Vtu;
    if (nome == "obj") return FormatoExportacao::Obj;
    return std::nullopt;
}

std::filesystem::path caminhoExportacao(const std::filesystem::path& pasta, int n, FormatoExportacao formato) {
    if (n < 1 || n > kMaxQuadros) return {};
    char nome[32];
    std::snprintf(nome, sizeof nome, "superficie%04d%s", n, extensao(formato));
    return pasta / nome;
}

std::filesystem::path caminhoPvd(const std::filesystem::path& pasta) { return pasta / "superficie.pvd"; }

SerieExportada::SerieExportada(std::filesystem::path pasta, FormatoExportacao formato)
    : pasta_(std::move(pasta)), formato_(formato) {}

int SerieExportada::removerAntigos() {
    const std::regex padrao(std::string("superficie[0-9]{4}\\") + extensao(formato_));
    const std::string pvd = caminhoPvd(pasta_).filename().string();
    int removidos = 0;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(pasta_, ec), fim; !ec && it != fim; it.increment(ec)) {
        const std::string nome = it->path().filename().string();
        const bool nosso = std::regex_match(nome, padrao) || (formato_ == FormatoExportacao::Vtu && nome == pvd);
        std::error_code ecArquivo;
        if (nosso && !it->is_directory(ecArquivo) && std::filesystem::remove(it->path(), ecArquivo)) ++removidos;
    }
    return removidos;
}

Escrita SerieExportada::gravar(int n, double tempo, const SuperficieExportada& s) {
    const std::filesystem::path arquivo = caminhoExportacao(pasta_, n, formato_);
    if (arquivo.empty())
        return FalhaEscrita{{}, "frame number " + std::to_string(n) + " does not fit a four-digit file name"};
    if (s.gradeI != gradeI_ || s.gradeJ != gradeJ_ || s.fechada != fechada_) {
        gradeI_ = s.gradeI;
        gradeJ_ = s.gradeJ;
        fechada_ = s.fechada;
        quads_ = quadsDaGrade(s.gradeI, s.gradeJ, s.fechada);
    }
    if (formato_ == FormatoExportacao::Vtu)
        montarVtu(s, quads_, texto_);
    else
        montarObj(s, quads_, texto_);
    if (Escrita f = gravarArquivoAtomico(arquivo, texto_)) return f;
    ++gravados_;
    if (formato_ != FormatoExportacao::Vtu) return std::nullopt;

    entradas_.push_back({tempo, arquivo.filename().string()});
    pvdPendente_ = true;
    if (std::chrono::steady_clock::now() - ultimoPvd_ < intervaloPvd) return std::nullopt;
    return gravarPvd();
}

Escrita SerieExportada::concluir() {
    if (!pvdPendente_) return std::nullopt;
    return gravarPvd();
}

Escrita SerieExportada::gravarPvd() {
    ultimoPvd_ = std::chrono::steady_clock::now();
    if (Escrita f = gravarArquivoAtomico(caminhoPvd(pasta_), montarPvd(entradas_))) return f;
    pvdPendente_ = false;
    return std::nullopt;
}

}  // namespace tevra
