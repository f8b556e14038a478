// The output folder before a run: rid of an earlier run's series, and of nothing else.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "base/nomes_arquivos.h"
#include "base/pasta_saida.h"
#include "support/arquivos_teste.h"

using namespace tevra;

namespace {

namespace fs = std::filesystem;

std::vector<std::string> conteudo(const fs::path& pasta) {
    std::vector<std::string> r;
    for (const auto& e : fs::directory_iterator(pasta)) r.push_back(e.path().filename().string());
    std::sort(r.begin(), r.end());
    return r;
}

TEST(PastaSaida, SerieAnteriorRemovidaEOMaisFica) {
    PastaTemporaria t;
    const std::vector<std::string> serie = {"pontos0001.txt", "pontos0002.txt", "pontos0400.txt", "dados0001.txt",
                                            "dedos0002.txt",  "dedos0400.txt",  "pontos0000.txt"};
    const std::vector<std::string> outros = {"notas.txt",          "pontos1.txt",    "pontos00001.txt",
                                             "pontos0001.txt.bak", "Pontos0002.txt", ".pontos0003.txt.tmp",
                                             "pontos000a.txt",     "pontos0001.TXT", "dedosXXXX.txt",
                                             "diagnostico.csv",    "cena.anisot1"};
    for (const auto& n : serie) escreverArquivo(t / n, "velho");
    for (const auto& n : outros) escreverArquivo(t / n, "do usuario");
    fs::create_directories(t / "pontos0500.txt" / "dentro");  // a folder of that name is not a frame

    const Limpeza l = removerSerieAnterior(*t);
    EXPECT_FALSE(l.falha);
    EXPECT_EQ(l.removidos, static_cast<int>(serie.size()));
    std::vector<std::string> ficam = outros;
    ficam.push_back("pontos0500.txt");
    std::sort(ficam.begin(), ficam.end());
    EXPECT_EQ(conteudo(*t), ficam);
    EXPECT_EQ(removerSerieAnterior(*t).removidos, 0);
}

}  // namespace
