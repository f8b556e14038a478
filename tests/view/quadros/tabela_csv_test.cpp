// diagnostico.csv read back, also while a run is still writing it.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "support/arquivos_teste.h"
#include "view/quadros/tabela_csv.h"

using namespace tevra;

namespace {

TEST(TabelaCsv, ColunasELinhasInteiras) {
    const TabelaCsv t = tabelaCsv("frame,time,kinetic_energy\n1,0,0\n2,0.001,1.5e-3\r\n3,0.002,-inf\n4,0.0");
    EXPECT_EQ(t.colunas, (std::vector<std::string>{"frame", "time", "kinetic_energy"}));
    ASSERT_EQ(t.linhas.size(), 3u) << "the last line has no line break yet";
    EXPECT_EQ(t.linhas[1], (std::vector<double>{2, 0.001, 1.5e-3}));
    EXPECT_EQ(t.linhas[2][2], -INFINITY);
    EXPECT_EQ(t.problema, "");
    EXPECT_EQ(t.coluna("time"), 1);
    EXPECT_EQ(t.coluna("centre_x"), -1);
}

TEST(TabelaCsv, LinhaRuimTerminaATabelaEDizOnde) {
    TabelaCsv t = tabelaCsv("a,b\n1,2\n3\n4,5\n");
    EXPECT_EQ(t.linhas.size(), 1u);
    EXPECT_EQ(t.problema, "line 3 holds '3'");
    t = tabelaCsv("a,b\n1,2\n3,x\n");
    EXPECT_EQ(t.problema, "line 3 holds '3,x'");
    t = tabelaCsv("a,b\n1,2\n3,4 \n");
    EXPECT_EQ(t.linhas.size(), 1u) << "no blanks inside a field";
    t = tabelaCsv("a,b\n1,\n");
    EXPECT_TRUE(t.linhas.empty());
    EXPECT_TRUE(tabelaCsv("").colunas.empty());
}

TEST(TabelaCsv, ArquivoQueFaltaOuNaoEhArquivoDaTabelaVazia) {
    PastaTemporaria pasta;
    EXPECT_TRUE(lerTabelaCsv(*pasta / "nada.csv").colunas.empty());
    EXPECT_TRUE(lerTabelaCsv(*pasta).colunas.empty());
    // A FIFO would block whoever opens it for reading.
    const auto fifo = *pasta / "diagnostico.csv";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_TRUE(lerTabelaCsv(fifo).colunas.empty());
    escreverArquivo(*pasta / "d.csv", "x,y\n1,2\n");
    EXPECT_EQ(lerTabelaCsv(*pasta / "d.csv").linhas.size(), 1u);
}

}  // namespace
