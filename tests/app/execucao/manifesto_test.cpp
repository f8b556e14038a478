// The run manifest: what a sweep gathers, so every field must be there and true to the run.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>

#include "app/cena/conversao_cena.h"
#include "app/cena/script_cena.h"
#include "app/execucao/codigos_saida.h"
#include "app/execucao/manifesto.h"
#include "base/gravacao.h"
#include "support/arquivos_teste.h"

using namespace tevra;
using nlohmann::json;
namespace fs = std::filesystem;

namespace {

Cena exemploCurto() {
    Cena c = carregarCena(TEVRA_SOURCE_DIR "/assets/scenes/script.anisot1");
    c.quadros = 101;
    c.intervalo = 25;
    return c;
}

json lerJson(const fs::path& p) { return json::parse(lerArquivo(p)); }

const std::regex kUtc(R"([0-9]{4}-[01][0-9]-[0-3][0-9]T[0-2][0-9]:[0-5][0-9]:[0-6][0-9]Z)");

TEST(Manifesto, InicioDizRunningEFimTrazOResultado) {
    PastaTemporaria t;
    const fs::path pasta = t / "rodada";
    Execucao e(exemploCurto(), OpcoesExecucao{pasta, false, 1});
    Manifesto m(e, OrigemExecucao{"tevra-sim", "cena.txt", {"eta.01=5", "grid=20,20"}, {1, "--threads"}});
    ASSERT_FALSE(m.gravarInicio());
    EXPECT_EQ(m.arquivo(), pasta / "tevra-run.json");

    const json a = lerJson(pasta / "tevra-run.json");
    EXPECT_EQ(a["status"], "running");
    EXPECT_TRUE(a["exit_code"].is_null());
    EXPECT_TRUE(a["end"].is_null());
    EXPECT_EQ(a["steps"], 0);
    EXPECT_TRUE(std::regex_match(a["start"].get<std::string>(), kUtc)) << a["start"];
    // The scene in it is a script that loads back to the scene that ran.
    std::istringstream script(a["scene"].get<std::string>());
    FormularioCena f;
    carregarScript(script, f);
    EXPECT_TRUE(converterCena(f, '.') == e.cena());

    const ResultadoExecucao r = e.executar();
    ASSERT_FALSE(m.gravarFim(r, codigoSaida(r)));
    const json b = lerJson(pasta / "tevra-run.json");
    EXPECT_EQ(b["program"], "tevra-sim");
    EXPECT_FALSE(b["version"].get<std::string>().empty());
    EXPECT_FALSE(b["compiler"].get<std::string>().empty());
    EXPECT_NE(b["flags"].get<std::string>().find("-ffp-contract=off"), std::string::npos) << b["flags"];
    EXPECT_FALSE(b["host"].get<std::string>().empty());
    EXPECT_EQ(b["threads"], 1);
    EXPECT_EQ(b["threads_from"], "--threads");
    EXPECT_EQ(b["script"], "cena.txt");
    EXPECT_EQ(b["overrides"], json({"eta.01=5", "grid=20,20"}));
    EXPECT_EQ(b["folder"], pasta.string());
    EXPECT_EQ(b["solver"], "Semi-explicit Euler");
    EXPECT_EQ(b["nodes"], 400);
    EXPECT_EQ(b["steps_planned"], 100);
    EXPECT_EQ(b["frames_planned"], 5);
    EXPECT_EQ(b["scene"], a["scene"]);
    EXPECT_EQ(b["start"], a["start"]);
    EXPECT_TRUE(std::regex_match(b["end"].get<std::string>(), kUtc)) << b["end"];
    EXPECT_GE(b["end"].get<std::string>(), b["start"].get<std::string>());
    EXPECT_DOUBLE_EQ(b["wall_seconds"].get<double>(), r.segundos);
    EXPECT_DOUBLE_EQ(b["node_steps_per_second"].get<double>(), 100.0 * 400 / r.segundos);
    EXPECT_EQ(b["steps"], 100);
    EXPECT_EQ(b["frames"], 5);
    EXPECT_EQ(b["files_failed"], 0);
    EXPECT_EQ(b["failed_files"], json::array());
    EXPECT_EQ(b["status"], "done");
    EXPECT_TRUE(b["divergence"].is_null());
    EXPECT_EQ(b["exit_code"], 0);
    EXPECT_FALSE(fs::exists(nomeTemporario(pasta / "tevra-run.json"))) << "replaced atomically";
}

TEST(Manifesto, DivergenciaEFalhasComPassoENo) {
    PastaTemporaria t;
    Execucao e(exemploCurto(), OpcoesExecucao{*t, false, 1});
    Manifesto m(e, OrigemExecucao{"tevra-sim", "cena.txt", {}, {2, "OMP_NUM_THREADS"}});
    ResultadoExecucao r;
    r.passos = 42;
    r.quadros = 3;
    r.divergencia = Divergencia{42, 0.0084, 3, 7, "position x"};
    ASSERT_FALSE(m.gravarFim(r, codigoSaida(r)));
    json j = lerJson(*t / "tevra-run.json");
    EXPECT_EQ(j["status"], "diverged");
    EXPECT_EQ(j["exit_code"], 4);
    EXPECT_EQ(j["divergence"], json({{"step", 42}, {"time", 0.0084}, {"node", {3, 7}}, {"quantity", "position x"}}));

    r.divergencia.reset();
    r.falhas = 2;
    r.quadros = 1;  // the run stopped at frame 2's file
    r.primeiraFalha = FalhaEscrita{*t / "pontos0002.txt", "No space left on device"};
    ASSERT_FALSE(m.gravarFim(r, codigoSaida(r)));
    j = lerJson(*t / "tevra-run.json");
    EXPECT_EQ(j["status"], "write-failure");
    EXPECT_EQ(j["exit_code"], 3);
    EXPECT_EQ(j["files_failed"], 2);
    EXPECT_EQ(j["frames"], 1);
    EXPECT_EQ(j["failed_files"],
              json::array({{{"file", (*t / "pontos0002.txt").string()}, {"reason", "No space left on device"}}}));
}

TEST(Manifesto, PastaQueNaoSeEscreveDevolveAFalha) {
    PastaTemporaria t;
    escreverArquivo(t / "ocupado", "x");
    Execucao e(exemploCurto(), OpcoesExecucao{t / "ocupado", false, 1});
    Manifesto m(e, OrigemExecucao{"tevra-sim", "cena.txt", {}, {1, "--threads"}});
    const Escrita f = m.gravarInicio();
    ASSERT_TRUE(f);
    EXPECT_EQ(f->arquivo, t / "ocupado" / "tevra-run.json");
}

TEST(Manifesto, HoraUtcIso) {
    EXPECT_EQ(textoUtc(std::chrono::system_clock::time_point{}), "1970-01-01T00:00:00Z");
    EXPECT_EQ(textoUtc(std::chrono::system_clock::time_point{std::chrono::seconds(1700000000)}),
              "2023-11-14T22:13:20Z");
}

}  // namespace
