// The output folder probe: it must tell a folder a run could write into from one it could
// not, and leave nothing behind either way.
#include <gtest/gtest.h>

#include <unistd.h>

#include <sys/stat.h>

#include "base/pasta_gravavel.h"
#include "support/arquivos_teste.h"

namespace fs = std::filesystem;

namespace {

std::size_t entradas(const fs::path& p) {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(p), fs::directory_iterator()));
}

TEST(PastaGravavel, PastaQueExisteOuSeriaCriadaENadaFica) {
    PastaTemporaria t;
    EXPECT_FALSE(tevra::verificarPastaGravavel(*t));
    EXPECT_FALSE(tevra::verificarPastaGravavel(t / "a/b/c")) << "judged where it would be made";
    EXPECT_FALSE(fs::exists(t / "a")) << "and not made";
    EXPECT_EQ(entradas(*t), 0u) << "no probe left";
}

TEST(PastaGravavel, RecusaOQueNaoEhPastaOuNaoAceitaArquivos) {
    PastaTemporaria t;
    escreverArquivo(t / "arquivo", "x");
    const tevra::Escrita comoPasta = tevra::verificarPastaGravavel(t / "arquivo");
    ASSERT_TRUE(comoPasta);
    EXPECT_EQ(comoPasta->arquivo, t / "arquivo");
    EXPECT_EQ(comoPasta->motivo, "Not a directory");
    const tevra::Escrita dentro = tevra::verificarPastaGravavel(t / "arquivo" / "sub");
    ASSERT_TRUE(dentro);
    EXPECT_NE(dentro->motivo.find("is not a folder"), std::string::npos) << dentro->motivo;
    // No file can be created here, not even by root.
    EXPECT_TRUE(tevra::verificarPastaGravavel("/proc/tevra-saida"));
    EXPECT_TRUE(tevra::verificarPastaGravavel("/proc"));

    if (::geteuid() != 0) {  // root writes through permission bits
        fs::create_directory(t / "fechada");
        ::chmod((t / "fechada").c_str(), 0500);
        const tevra::Escrita fechada = tevra::verificarPastaGravavel(t / "fechada" / "saida");
        ::chmod((t / "fechada").c_str(), 0700);
        ASSERT_TRUE(fechada);
        EXPECT_EQ(fechada->motivo, "Permission denied");
    }
    for (const auto& e : fs::directory_iterator(*t))
        EXPECT_TRUE(e.path().filename() == "arquivo" || e.path().filename() == "fechada") << "left: " << e.path();
}

}  // namespace
