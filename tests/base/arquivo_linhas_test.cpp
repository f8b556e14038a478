// A file that grows by lines and is whole at every moment.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>

#include "base/arquivo_linhas.h"
#include "support/arquivos_teste.h"

using namespace tevra;

namespace {

TEST(ArquivoDeLinhas, IniciarSubstituiOAntigoEAcrescentarVaiAoFim) {
    PastaTemporaria pasta;
    const auto arquivo = *pasta / "d.csv";
    escreverArquivo(arquivo, "antigo, mais longo que o novo\nsegunda\n");
    ArquivoDeLinhas a;
    ASSERT_FALSE(a.iniciar(arquivo, "h\n1\n"));
    EXPECT_EQ(lerArquivo(arquivo), "h\n1\n");
    ASSERT_FALSE(a.acrescentar("2\n"));
    ASSERT_FALSE(a.acrescentar("3\n"));
    EXPECT_EQ(lerArquivo(arquivo), "h\n1\n2\n3\n");
    a.fechar();
    EXPECT_TRUE(a.acrescentar("4\n")) << "closed";
    EXPECT_EQ(lerArquivo(arquivo), "h\n1\n2\n3\n");
}

TEST(ArquivoDeLinhas, PastaQueNaoExisteFalhaComONome) {
    PastaTemporaria pasta;
    ArquivoDeLinhas a;
    const Escrita f = a.iniciar(*pasta / "nada" / "d.csv", "h\n");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->arquivo, *pasta / "nada" / "d.csv");
    EXPECT_FALSE(a.aberto());
}

// A file size limit makes the kernel cut a write short and refuse the next one, as a full
// disk does: the line that did not fit is taken out again.
TEST(ArquivoDeLinhas, LinhaQueNaoCabeNaoFicaPelaMetade) {
    PastaTemporaria pasta;
    const auto arquivo = *pasta / "d.csv";
    ArquivoDeLinhas a;
    ASSERT_FALSE(a.iniciar(arquivo, "cabecalho\n"));
    rlimit antes{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &antes), 0);
    auto sinalAntes = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limite = antes;
    limite.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limite), 0);
    const Escrita cabe = a.acrescentar("1,2\n");
    const Escrita naoCabe = a.acrescentar("3,4,5,6,7\n");
    setrlimit(RLIMIT_FSIZE, &antes);
    std::signal(SIGXFSZ, sinalAntes);
    EXPECT_FALSE(cabe);
    ASSERT_TRUE(naoCabe);
    EXPECT_EQ(naoCabe->arquivo, arquivo);
    EXPECT_EQ(lerArquivo(arquivo), "cabecalho\n1,2\n");
    ASSERT_FALSE(a.acrescentar("8\n")) << "the file goes on from its last whole line";
    EXPECT_EQ(lerArquivo(arquivo), "cabecalho\n1,2\n8\n");
}

}  // namespace
