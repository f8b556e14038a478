#include "app/execucao/manifesto.h"

#include <unistd.h>

#include <ctime>
#include <nlohmann/json.hpp>

#include "app/cena/escrita_script.h"
#include "app/execucao/codigos_saida.h"
#include "app/execucao/versao.h"
#include "base/gravacao.h"
#include "base/limites.h"
#include "model/solver.h"

namespace tevra {

namespace {

std::string nomeMaquina() {
    char nome[256] = {};
    if (::gethostname(nome, sizeof nome - 1) != 0) return {};
    return nome;
}

}  // namespace

const char* estadoExecucao(const ResultadoExecucao& r) {
    if (r.falhas > 0) return "write-failure";
    if (r.divergencia) return "diverged";
    if (r.interrompido) return "interrupted";
    if (r.cancelado) return "cancelled";
    return "done";
}

std::string textoUtc(std::chrono::system_clock::time_point t) {
    const std::time_t s = std::chrono::system_clock::to_time_t(t);
    std::tm utc{};
    gmtime_r(&s, &utc);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return buf;
}

Manifesto::Manifesto(const Execucao& e, OrigemExecucao origem)
    : origem_(std::move(origem)),
      cena_(e.cena()),
      pasta_(e.pasta()),
      passosTotais_(e.passosTotais()),
      inicio_(std::chrono::system_clock::now()) {}

std::string Manifesto::texto() const {
    using json = nlohmann::ordered_json;  // fields in the order written: what ran, then how it ended
    const long long nos = static_cast<long long>(cena_.grade_i) * cena_.grade_j;
    json m;
    m["program"] = origem_.programa;
    m["version"] = versaoPrograma();
    m["compiler"] = compiladorPrograma();
    m["flags"] = opcoesCompilacao();
    m["host"] = nomeMaquina();
    m["threads"] = origem_.threads.numero;
    m["threads_from"] = origem_.threads.fonte;
    m["script"] = origem_.script;
    m["overrides"] = origem_.sobreposicoes;
    m["folder"] = pasta_.string();
    m["solver"] = std::string(nomeSolver(cena_.solver).value_or(""));
    m["nodes"] = nos;
    m["steps_planned"] = passosTotais_;
    m["frames_planned"] = quadrosDaSimulacao(cena_.quadros, cena_.intervalo);
    m["scene"] = escreverScript(cena_);
    m["start"] = textoUtc(inicio_);
    m["end"] = fim_ ? json(textoUtc(*fim_)) : json(nullptr);
    m["wall_seconds"] = nullptr;
    m["node_steps_per_second"] = nullptr;
    m["steps"] = 0;
    m["frames"] = 0;
    m["files_failed"] = 0;
    m["failed_files"] = json::array();
    m["status"] = "running";
    m["divergence"] = nullptr;
    m["exit_code"] = nullptr;
    if (resultado_) {
        const ResultadoExecucao& r = *resultado_;
        m["wall_seconds"] = r.segundos;
        m["node_steps_per_second"] =
            r.segundos > 0 ? static_cast<double>(r.passos) * static_cast<double>(nos) / r.segundos : 0.0;
        m["steps"] = r.passos;
        m["frames"] = r.quadros;
        m["files_failed"] = r.falhas;
        // The first failure names the file and the reason; a run stops writing at it.
        if (r.primeiraFalha)
            m["failed_files"].push_back(
                {{"file", r.primeiraFalha->arquivo.string()}, {"reason", r.primeiraFalha->motivo}});
        // Unreachable from a checked scene; kept so that the file never says "done" for it.
        m["status"] = codigo_ == SaidaObjetoInvalido ? "invalid-object" : estadoExecucao(r);
        if (r.divergencia) {
            const Divergencia& d = *r.divergencia;
            m["divergence"] = {{"step", d.passo}, {"time", d.tempo}, {"node", {d.i, d.j}}, {"quantity", d.grandeza}};
        }
        m["exit_code"] = codigo_;
    }
    // Paths are the system's bytes, not always UTF-8: a stray byte must not lose the manifest.
    return m.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

Escrita Manifesto::gravarInicio() {
    std::error_code ec;
    std::filesystem::create_directories(pasta_, ec);
    return gravarArquivoAtomico(arquivo(), texto());
}

Escrita Manifesto::gravarFim(const ResultadoExecucao& r, int codigoSaida) {
    resultado_ = r;
    codigo_ = codigoSaida;
    fim_ = std::chrono::system_clock::now();
    return gravarArquivoAtomico(arquivo(), texto());
}

}  // namespace tevra
