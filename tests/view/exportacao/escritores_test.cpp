// The .vtu, .pvd and .obj writers from plain arrays, read back by VTK's own readers.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <set>

#include "base/gravacao.h"
#include "support/arquivos_teste.h"
#include "support/vtk_teste.h"
#include "view/exportacao/obj.h"
#include "view/exportacao/pvd.h"
#include "view/exportacao/superficie_exportada.h"
#include "view/exportacao/vtu.h"
#include "view/gl/malha.h"

using namespace tevra;

namespace {

namespace fs = std::filesystem;

// A grid's arrays, filled with values that tell every node and component apart.
struct Grade {
    int gi, gj;
    std::vector<double> v[10];  // x, y, z, then three normal and four tensor components

    Grade(int gi_, int gj_) : gi(gi_), gj(gj_) {
        for (int c = 0; c < 10; ++c)
            for (int idx = 0; idx < gi * gj; ++idx) v[c].push_back(c * 1000.0 + idx + 1.0 / (3.0 + c + idx));
    }
    SuperficieExportada superficie(bool fechada) {
        SuperficieExportada s;
        s.gradeI = gi;
        s.gradeJ = gj;
        s.fechada = fechada;
        for (int c = 0; c < 3; ++c) s.pos[c] = v[c].data();
        CampoNos n{"normal", 3, {v[3].data(), v[4].data(), v[5].data()}, true};
        CampoNos t{"T", 4, {v[6].data(), v[7].data(), v[8].data(), v[9].data()}};
        s.campos = {n, t};
        return s;
    }
};

bool mesmosBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

MalhaLida escreverELer(const PastaTemporaria& pasta, const SuperficieExportada& s, const char* tipo) {
    const std::vector<std::int64_t> quads = quadsDaGrade(s.gradeI, s.gradeJ, s.fechada);
    std::string texto;
    const fs::path arquivo = pasta / (std::string("s.") + tipo);
    if (std::string(tipo) == "vtu")
        montarVtu(s, quads, texto);
    else
        montarObj(s, quads, texto);
    EXPECT_FALSE(gravarArquivoAtomico(arquivo, texto));
    return lerComVtk(tipo, arquivo);
}

TEST(ExportacaoVtu, FolhaETuboComAsCelulasDaJanela) {
    PastaTemporaria pasta;
    for (bool fechada : {false, true}) {
        Grade g(4, 5);
        const MalhaLida m = escreverELer(pasta, g.superficie(fechada), "vtu");
        ASSERT_TRUE(m.ok) << m.texto;
        EXPECT_EQ(m.pontos, 20);
        // 3 x 4 quads between the rows, and for a tube 4 more joining the last row to the first.
        EXPECT_EQ(m.celulas, fechada ? 16 : 12);
        EXPECT_EQ(std::set<int>(m.tipos.begin(), m.tipos.end()), std::set<int>{9}) << "VTK_QUAD only";
        // The cells are the window's quads, node for node.
        std::vector<std::pair<int, int>> janela;
        percorrerQuads(4, 5, fechada, [&](int k, int mm) { janela.emplace_back(k, mm); });
        ASSERT_EQ(m.ids.size(), janela.size());
        for (std::size_t q = 0; q < janela.size(); ++q) {
            const auto [k, far] = janela[q];
            EXPECT_EQ(m.ids[q], (std::vector<long long>{k, far, far + 1, k + 1})) << "quad " << q;
        }
        EXPECT_EQ(m.normais, "normal");
    }
}

TEST(ExportacaoVtu, ValoresVoltamBitABitComSeusComponentes) {
    PastaTemporaria pasta;
    Grade g(3, 2);
    // Values a text format would round or lose: signed zero, subnormals, the largest double,
    // seventeen significant digits.
    const double especiais[] = {-0.0,
                                std::numeric_limits<double>::denorm_min(),
                                std::numeric_limits<double>::max(),
                                -std::numeric_limits<double>::max(),
                                0.1,
                                -1.0 / 3.0,
                                std::nextafter(1.0, 2.0),
                                6.02214076e23};
    for (int k = 0; k < 6; ++k) g.v[k % 3][k] = especiais[k];
    g.v[7][5] = especiais[6];
    g.v[9][0] = especiais[7];
    const MalhaLida m = escreverELer(pasta, g.superficie(false), "vtu");
    ASSERT_TRUE(m.ok) << m.texto;
    const std::pair<const char*, int> esperados[] = {{"Points", 0}, {"normal", 3}, {"T", 6}};
    for (auto [nome, primeiro] : esperados) {
        ASSERT_TRUE(m.arrays.count(nome)) << nome;
        const ArrayLido& a = m.arrays.at(nome);
        EXPECT_EQ(a.tipo, "double") << nome;
        const int comp = std::string(nome) == "T" ? 4 : 3;
        ASSERT_EQ(a.componentes, comp) << nome;
        ASSERT_EQ(a.tuplas.size(), 6u);
        for (int idx = 0; idx < 6; ++idx)
            for (int c = 0; c < comp; ++c)
                EXPECT_TRUE(mesmosBits(a.tuplas[idx][c], g.v[primeiro + c][idx]))
                    << nome << " node " << idx << " component " << c << ": " << a.tuplas[idx][c];
    }
}

TEST(ExportacaoVtu, TuboDeUmaColunaNaoTemQuadsEAindaSeLe) {
    PastaTemporaria pasta;
    for (auto [gi, gj] : {std::pair{5, 1}, std::pair{1, 6}}) {
        Grade g(gi, gj);
        const MalhaLida m = escreverELer(pasta, g.superficie(true), "vtu");
        ASSERT_TRUE(m.ok) << m.texto;
        EXPECT_EQ(m.pontos, gi * gj);
        EXPECT_EQ(m.celulas, 0) << "no quad of fewer than four distinct nodes";
    }
}

TEST(ExportacaoVtu, MemoriaReaproveitadaNaoDeixaRestosDoQuadroAnterior) {
    Grade grande(9, 8), pequena(2, 3);
    std::string reaproveitado, novo;
    montarVtu(grande.superficie(true), quadsDaGrade(9, 8, true), reaproveitado);
    montarVtu(pequena.superficie(false), quadsDaGrade(2, 3, false), reaproveitado);
    montarVtu(pequena.superficie(false), quadsDaGrade(2, 3, false), novo);
    EXPECT_EQ(reaproveitado, novo);
}

TEST(ExportacaoPvd, TemposVoltamComoOsMesmosDoubles) {
    PastaTemporaria pasta;
    Grade g(2, 2);
    std::string texto;
    montarVtu(g.superficie(false), quadsDaGrade(2, 2, false), texto);
    std::vector<EntradaPvd> entradas;
    for (int n = 1; n <= 4; ++n) {
        char nome[16];
        std::snprintf(nome, sizeof nome, "f%d.vtu", n);
        ASSERT_FALSE(gravarArquivoAtomico(pasta / nome, texto));
        entradas.push_back({(n - 1) * 25 * 0.0002, nome});  // 0.015000000000000001 among them
    }
    ASSERT_FALSE(gravarArquivoAtomico(pasta / "s.pvd", montarPvd(entradas)));
    const MalhaLida m = lerComVtk("pvd", pasta / "s.pvd");
    ASSERT_TRUE(m.ok) << m.texto;
    ASSERT_EQ(m.dataSets.size(), 4u);
    for (int k = 0; k < 4; ++k) {
        EXPECT_TRUE(mesmosBits(m.dataSets[k].tempo, entradas[k].tempo)) << k;
        EXPECT_EQ(m.dataSets[k].arquivo, entradas[k].arquivo);
        EXPECT_EQ(m.dataSets[k].pontos, 4);
    }
}

// An OBJ file as a sequence importer takes it.
struct ObjLido {
    std::vector<std::array<double, 3>> v, vn;
    std::vector<std::array<float, 2>> vt;
    std::vector<std::vector<std::array<long long, 3>>> f;  // v/vt/vn of every corner
};

ObjLido lerObj(const std::string& texto) {
    ObjLido o;
    for (const std::string& linha : linhas(texto)) {
        std::istringstream l(linha);
        std::string chave;
        l >> chave;
        if (chave == "v" || chave == "vn") {
            std::array<double, 3> p;
            std::string s;
            for (double& c : p) l >> s, c = std::strtod(s.c_str(), nullptr);
            (chave == "v" ? o.v : o.vn).push_back(p);
        } else if (chave == "vt") {
            std::array<float, 2> t;
            std::string s;
            for (float& c : t) l >> s, c = std::strtof(s.c_str(), nullptr);
            o.vt.push_back(t);
        } else if (chave == "f") {
            std::vector<std::array<long long, 3>> face;
            for (std::string canto; l >> canto;) {
                std::array<long long, 3> ids{};
                char barra;
                std::istringstream c(canto);
                c >> ids[0] >> barra >> ids[1] >> barra >> ids[2];
                face.push_back(ids);
            }
            o.f.push_back(face);
        }
    }
    return o;
}

TEST(ExportacaoObj, FacesCobremAGradeSemLacunasComOsIndicesDoNo) {
    for (bool fechada : {false, true}) {
        const int gi = 5, gj = 4;
        Grade g(gi, gj);
        std::string texto;
        montarObj(g.superficie(fechada), quadsDaGrade(gi, gj, fechada), texto);
        const ObjLido o = lerObj(texto);
        ASSERT_EQ(o.v.size(), 20u);
        ASSERT_EQ(o.vt.size(), 20u);
        ASSERT_EQ(o.vn.size(), 20u);
        for (int idx = 0; idx < 20; ++idx) {
            for (int c = 0; c < 3; ++c) {
                EXPECT_TRUE(mesmosBits(o.v[idx][c], g.v[c][idx])) << idx;
                EXPECT_TRUE(mesmosBits(o.vn[idx][c], g.v[3 + c][idx])) << idx;
            }
            EXPECT_EQ(o.vt[idx][0], coordTextura(idx, gj).s) << "as the animation window textures it";
            EXPECT_EQ(o.vt[idx][1], coordTextura(idx, gj).t);
        }
        // Every cell of the grid once, the closing strip of a tube included, and nothing else.
        std::multiset<std::set<long long>> celulas, esperadas;
        for (const auto& face : o.f) {
            ASSERT_EQ(face.size(), 4u);
            std::set<long long> nos;
            for (const auto& canto : face) {
                EXPECT_EQ(canto[0], canto[1]) << "v/vt/vn of one node";
                EXPECT_EQ(canto[0], canto[2]);
                nos.insert(canto[0] - 1);  // 1-based
            }
            celulas.insert(nos);
        }
        for (int i = 0; i < gi - 1 + (fechada ? 1 : 0); ++i)
            for (int j = 0; j + 1 < gj; ++j) {
                const int prox = (i + 1) % gi;
                esperadas.insert({i * gj + j, i * gj + j + 1, prox * gj + j, prox * gj + j + 1});
            }
        EXPECT_EQ(celulas, esperadas);
    }
}

TEST(ExportacaoObj, LeitorDoVtkAchaOsVerticesEOsQuads) {
    PastaTemporaria pasta;
    Grade g(6, 3);
    const MalhaLida m = escreverELer(pasta, g.superficie(true), "obj");
    ASSERT_TRUE(m.ok) << m.texto;
    EXPECT_EQ(m.pontos, 18) << "one vertex a node: v, vt and vn share the index";
    EXPECT_EQ(m.celulas, 12);
    EXPECT_EQ(std::set<int>(m.tipos.begin(), m.tipos.end()), std::set<int>{9});
    ASSERT_TRUE(m.arrays.count("TCoords"));
    EXPECT_EQ(m.arrays.at("TCoords").componentes, 2);
}

}  // namespace
