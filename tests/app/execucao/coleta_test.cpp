// Gathering a sweep's manifests: one row per folder, none lost, fields quoted as CSV needs.
#include <gtest/gtest.h>

#include "app/cena/script_cena.h"
#include "app/execucao/coleta.h"
#include "app/execucao/manifesto.h"
#include "support/arquivos_teste.h"

using namespace tevra;
namespace fs = std::filesystem;

namespace {

TEST(Coleta, UmaLinhaPorPastaMesmoSemManifesto) {
    PastaTemporaria t;
    Cena c = carregarCena(TEVRA_SOURCE_DIR "/assets/scenes/script.anisot1");
    c.quadros = 11;
    c.intervalo = 5;
    {
        Execucao e(c, OpcoesExecucao{t / "a", false, 1});
        Manifesto m(e, OrigemExecucao{"tevra-sim", "s", {"eta=60,0,0,60", "solver=Semi-explicit Euler"}, {1, "x"}});
        const ResultadoExecucao r = e.executar();
        ASSERT_FALSE(m.gravarFim(r, 0));
    }
    {
        Execucao e(c, OpcoesExecucao{t / "b", false, 1});
        Manifesto m(e, OrigemExecucao{"tevra-sim", "s", {}, {1, "x"}});
        ASSERT_FALSE(m.gravarInicio());  // a run that never said how it ended
    }
    fs::create_directories(t / "quebrado");
    escreverArquivo(t / "quebrado" / "tevra-run.json", "{\"status\": ");

    const std::vector<std::string> l =
        linhas(coletarManifestos({t / "a", (t / "b").string() + "/", t / "nada", t / "quebrado"}));
    ASSERT_EQ(l.size(), 5u);
    EXPECT_EQ(l[0], "name,overrides,status,exit_code,steps,frames,wall_seconds,node_steps_per_second");
    EXPECT_EQ(l[1].rfind("a,\"eta=60,0,0,60 solver=Semi-explicit Euler\",done,0,10,3,", 0), 0u) << l[1];
    EXPECT_EQ(l[2], "b,,running,,0,0,,");
    EXPECT_EQ(l[3], "nada,,no-manifest,,,,,");
    EXPECT_EQ(l[4], "quebrado,,unreadable,,,,,");
}

TEST(Coleta, CampoCsv) {
    EXPECT_EQ(campoCsv("dt-1ms"), "dt-1ms");
    EXPECT_EQ(campoCsv(""), "");
    EXPECT_EQ(campoCsv("grid=32,32"), "\"grid=32,32\"");
    EXPECT_EQ(campoCsv("a \"b\""), "\"a \"\"b\"\"\"");
    EXPECT_EQ(campoCsv("duas\nlinhas"), "\"duas\nlinhas\"");
    EXPECT_EQ(campoCsv(" branco"), "\" branco\"");
}

}  // namespace
