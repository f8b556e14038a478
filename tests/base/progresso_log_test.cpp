// Progress for logs: one readable line per tenth of the run, whatever the step count.
#include <gtest/gtest.h>

#include <cstdio>
#include <regex>

#include "base/progresso_log.h"
#include "support/arquivos_teste.h"

using namespace tevra;

namespace {

std::vector<std::string> linhasDoLog(int total) {
    std::FILE* f = std::tmpfile();
    ProgressoLog p(400, f);
    for (int k = 1; k <= total; ++k) p.mostrar(k, total);
    std::rewind(f);
    std::string texto;
    char buf[256];
    while (std::fgets(buf, sizeof buf, f)) texto += buf;
    std::fclose(f);
    return linhas(texto);
}

TEST(ProgressoLog, UmaLinhaPorDecimoDaExecucao) {
    const std::vector<std::string> l = linhasDoLog(9975);
    ASSERT_EQ(l.size(), 10u);
    const std::regex forma(
        R"(step ([0-9]+)/9975 \(([0-9]+)%\), [0-9]\.[0-9]e[0-9]+ node-steps/s, ETA [0-9]{2}:[0-5][0-9]:[0-5][0-9])");
    for (int k = 0; k < 10; ++k) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(l[k], m, forma)) << l[k];
        EXPECT_EQ(std::stoi(m[2]), 10 * (k + 1)) << l[k];
        EXPECT_GE(std::stoi(m[1]) * 10, 9975 * (k + 1)) << "not before its tenth: " << l[k];
    }
    EXPECT_EQ(l.back().substr(0, 23), "step 9975/9975 (100%), ");

    // Fewer steps than tenths: one line per step, none repeated.
    EXPECT_EQ(linhasDoLog(3).size(), 3u);
    EXPECT_EQ(linhasDoLog(0).size(), 0u);
}

TEST(ProgressoLog, TextoDaLinha) {
    EXPECT_EQ(linhaProgresso(2000, 9975, 400, 0.258), "step 2000/9975 (20%), 3.1e6 node-steps/s, ETA 00:00:01");
    EXPECT_EQ(linhaProgresso(1, 4, 10, 3600.0), "step 1/4 (25%), 2.8e-3 node-steps/s, ETA 03:00:00");
    EXPECT_EQ(linhaProgresso(5, 5, 10, 0.0), "step 5/5 (100%), 0 node-steps/s, ETA 00:00:00");

    EXPECT_EQ(textoTaxa(3.14e6), "3.1e6");
    EXPECT_EQ(textoTaxa(9.96e5), "1.0e6") << "rounding up into the next power of ten";
    EXPECT_EQ(textoTaxa(1.0), "1.0e0");
    EXPECT_EQ(textoTaxa(0.0), "0");
    EXPECT_EQ(textoTaxa(-5.0), "0");

    EXPECT_EQ(textoDuracao(4.4), "00:00:04");
    EXPECT_EQ(textoDuracao(3725.5), "01:02:06");
    EXPECT_EQ(textoDuracao(360000.0), "100:00:00");
    EXPECT_EQ(textoDuracao(-1.0), "00:00:00");

    EXPECT_EQ(decimoDaExecucao(997, 9975), 0);
    EXPECT_EQ(decimoDaExecucao(998, 9975), 1);
    EXPECT_EQ(decimoDaExecucao(9975, 9975), 10);
}

}  // namespace
