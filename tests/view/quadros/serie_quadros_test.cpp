// The series as the viewer holds it: which picture each frame shows when files are
// missing, broken or of another grid, the tube flag, and the frames it keeps within its
// memory when the series is larger than that.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "view/quadros/quadros_teste.h"
#include "view/quadros/serie_quadros.h"

using namespace tevra;

namespace {

ResultadoLeitura ler(const std::string& texto, int n, NosSuperficie& destino) {
    return lerQuadro(std::string_view(texto), n == 1, destino);
}

// Feeds frame n of text `texto` (empty: missing file) into the series; true when it got its own picture.
bool dar(SerieQuadros& s, int n, const std::string& texto) {
    NosSuperficie lido;
    lido.alocar(s.gradeI(), s.gradeJ());
    const ResultadoLeitura r = texto.empty() ? ResultadoLeitura{} : ler(texto, n, lido);
    std::shared_ptr<QuadroCompacto> compacto;
    if (r.estado == EstadoQuadro::Completo) {
        compacto = std::make_shared<QuadroCompacto>();
        compactar(lido, *compacto);
    }
    return s.aceitar(n, lido, r, compacto);
}

// The compact frame of picture p as it would be read again from disk.
std::shared_ptr<const QuadroCompacto> relido(int p, int gi, int gj) {
    NosSuperficie nos;
    nos.alocar(gi, gj);
    EXPECT_EQ(ler(textoQuadro(p, gi, gj, folhaSubindo), p, nos).estado, EstadoQuadro::Completo);
    auto c = std::make_shared<QuadroCompacto>();
    compactar(nos, *c);
    return c;
}

std::vector<int> guardados(const SerieQuadros& s) {
    std::vector<int> r;
    for (int p = 1; p <= std::min(s.numQuadros(), 9999); ++p)
        if (s.quadro(p)) r.push_back(p);
    return r;
}

TEST(SerieQuadros, QuadrosQuebradosRepetemOUltimoCompleto) {
    SerieQuadros s;
    ASSERT_TRUE(s.iniciar(6, 2, 3));
    const std::string q1 = textoQuadro(1, 2, 3, folhaSubindo);
    const std::string q3 = textoQuadro(3, 2, 3, folhaSubindo);
    const std::string curto = textoQuadro(4, 2, 3, folhaSubindo).substr(0, 60);
    std::string lixo = textoQuadro(5, 2, 3, folhaSubindo);
    lixo.replace(lixo.rfind("0.5"), 3, "zz");

    EXPECT_TRUE(dar(s, 1, q1));
    EXPECT_FALSE(dar(s, 2, ""));  // missing
    EXPECT_TRUE(dar(s, 3, q3));
    EXPECT_FALSE(dar(s, 4, curto));
    EXPECT_FALSE(dar(s, 5, lixo));
    EXPECT_EQ(s.quadrosProntos(), 5);
    EXPECT_EQ(s.imagemDoQuadro(6), 0);  // not taken in yet
    s.concluir();                       // frame 6 never came: like a missing file

    const int esperado[] = {0, 1, 1, 3, 3, 3, 3};
    for (int q = 1; q <= 6; ++q) EXPECT_EQ(s.imagemDoQuadro(q), esperado[q]) << q;
    EXPECT_EQ(s.imagemDoQuadro(0), 0);
    EXPECT_EQ(s.imagemDoQuadro(7), 0);
    EXPECT_EQ(s.quadrosFalhos(), 4);
    // The arrays hold frame 3 whole: the broken frames after it changed nothing.
    for (std::size_t k = 0; k < 6; ++k) EXPECT_DOUBLE_EQ(s.nos().z[k], 0.3) << k;
}

TEST(SerieQuadros, SemImagemAntesDoPrimeiroQuadroCompleto) {
    SerieQuadros s;
    ASSERT_TRUE(s.iniciar(3, 2, 2));
    EXPECT_FALSE(dar(s, 1, ""));
    EXPECT_TRUE(dar(s, 2, textoQuadro(2, 2, 2, folhaSubindo)));
    EXPECT_TRUE(dar(s, 3, textoQuadro(3, 2, 2, folhaSubindo)));
    EXPECT_EQ(s.imagemDoQuadro(1), 0);
    EXPECT_EQ(s.imagemDoQuadro(2), 2);
    EXPECT_EQ(s.imagemDoQuadro(3), 3);
    EXPECT_FALSE(s.superficieFechada());  // nothing said it was a tube
}

TEST(SerieQuadros, QuadroUmDecideOTubo) {
    for (int objeto : {0, 2, 1, -3}) {
        SerieQuadros s;
        ASSERT_TRUE(s.iniciar(2, 2, 2));
        dar(s, 1, textoQuadro(1, 2, 2, folhaSubindo, objeto));
        dar(s, 2, textoQuadro(2, 2, 2, folhaSubindo));
        EXPECT_EQ(s.superficieFechada(), objeto != 0) << objeto;
    }
    // Read before the file broke off, the value still counts.
    SerieQuadros s;
    ASSERT_TRUE(s.iniciar(1, 2, 2));
    EXPECT_FALSE(dar(s, 1, "Objeto: 2\nArea: 1\n"));
    EXPECT_TRUE(s.superficieFechada());
    // A new showing forgets it.
    ASSERT_TRUE(s.iniciar(1, 2, 2));
    EXPECT_FALSE(s.superficieFechada());
}

TEST(SerieQuadros, QuadrosAlemDeQuatroDigitosMostramOUltimoArquivo) {
    SerieQuadros s;
    ASSERT_TRUE(s.iniciar(12000, 1, 2));
    EXPECT_EQ(s.arquivosASerLidos(), 9999);
    dar(s, 1, textoQuadro(1, 1, 2, folhaSubindo));
    s.concluir();
    EXPECT_EQ(s.quadrosProntos(), 12000);
    EXPECT_EQ(s.imagemDoQuadro(9999), 1);
    EXPECT_EQ(s.imagemDoQuadro(12000), 1);
}

TEST(SerieQuadros, CresceQuandoQuadrosChegamAoVivoEPreencheOsPulados) {
    SerieQuadros s;
    ASSERT_TRUE(s.iniciar(0, 2, 2));
    EXPECT_EQ(s.arquivosASerLidos(), 0);
    EXPECT_TRUE(dar(s, 1, textoQuadro(1, 2, 2, folhaSubindo)));
    EXPECT_TRUE(dar(s, 4, textoQuadro(4, 2, 2, folhaSubindo)));  // 2 and 3 were never announced
    EXPECT_EQ(s.numQuadros(), 4);
    EXPECT_EQ(s.quadrosProntos(), 4);
    EXPECT_EQ(s.imagemDoQuadro(2), 1);
    EXPECT_EQ(s.imagemDoQuadro(3), 1);
    EXPECT_EQ(s.imagemDoQuadro(4), 4);
}

TEST(SerieQuadros, RecusaGradesGrandesDemaisParaGuardar) {
    SerieQuadros s;
    EXPECT_FALSE(s.iniciar(10, 100000, 100000));
    EXPECT_EQ(s.nos().numNos(), 0u);
    EXPECT_TRUE(s.iniciar(10, -5, 3));  // a negative count is an empty grid
    EXPECT_EQ(s.nos().numNos(), 0u);
    EXPECT_TRUE(s.iniciar(-4, 2, 2));
    EXPECT_EQ(s.numQuadros(), 0);
}

TEST(SerieQuadros, QuadroDeOutraGradeNaoEhTomadoEOPrimeiroEhAnotado) {
    SerieQuadros s;
    ASSERT_TRUE(s.iniciar(5, 2, 3));
    EXPECT_TRUE(dar(s, 1, textoQuadro(1, 2, 3, folhaSubindo)));
    EXPECT_FALSE(dar(s, 2, textoQuadro(2, 2, 2, folhaSubindo)));  // an earlier run's smaller grid
    EXPECT_FALSE(dar(s, 3, textoQuadro(3, 3, 3, folhaSubindo)));  // and a larger one
    EXPECT_TRUE(dar(s, 4, textoQuadro(4, 2, 3, folhaSubindo)));
    s.concluir();
    const int esperado[] = {0, 1, 1, 1, 4, 4};
    for (int q = 1; q <= 5; ++q) EXPECT_EQ(s.imagemDoQuadro(q), esperado[q]) << q;
    ASSERT_TRUE(s.outraGrade());
    EXPECT_EQ(s.outraGrade()->n, 2);
    EXPECT_EQ(s.outraGrade()->nos, 4);
    EXPECT_FALSE(s.outraGrade()->maisNos);
    EXPECT_EQ(s.quadro(2), nullptr);
    // The node arrays still hold frame 4 whole.
    EXPECT_DOUBLE_EQ(s.nos().z[5], 0.4);
    // Every loading starts without one.
    ASSERT_TRUE(s.iniciar(5, 2, 3));
    EXPECT_FALSE(s.outraGrade());
}

TEST(SerieQuadros, SerieMaiorQueAMemoriaGuardaOsQuadrosAdianteEOsOutrosVoltamDoDisco) {
    const std::size_t quadro = 2 * 3 * kBytesPorNoCompacto;
    SerieQuadros s;
    ASSERT_TRUE(s.iniciar(10, 2, 3, 3 * quadro + quadro / 2));
    for (int n = 1; n <= 10; ++n)
        if (n != 6) dar(s, n, textoQuadro(n, 2, 3, folhaSubindo));  // frame 6 has no file
    s.concluir();
    EXPECT_TRUE(s.transmitindo());
    EXPECT_EQ(guardados(s), (std::vector<int>{1, 2, 3}));
    EXPECT_LE(s.bytesGuardados(), s.orcamento());
    EXPECT_TRUE(s.aLer(1).empty()) << "all that fits ahead of frame 1 is there";
    // Playback at frame 5: frame 6 shows frame 5 again, so 5, 7 and 8 fill the room.
    EXPECT_EQ(s.aLer(5), (std::vector<int>{5, 7, 8}));
    s.posicionar(5);
    for (int p : {5, 7, 8}) EXPECT_TRUE(s.guardar(p, relido(p, 2, 3))) << p;
    EXPECT_EQ(guardados(s), (std::vector<int>{5, 7, 8})) << "the frames behind went first";
    EXPECT_LE(s.bytesGuardados(), s.orcamento());
    EXPECT_EQ(s.quadro(7)->pos[2], 0.7f);
    // A frame further on than all that is kept is not kept.
    EXPECT_FALSE(s.guardar(10, relido(10, 2, 3)));
    EXPECT_EQ(guardados(s), (std::vector<int>{5, 7, 8}));
    // A frame that cannot be read again is not asked for again.
    s.posicionar(8);
    EXPECT_EQ(s.aLer(8), (std::vector<int>{9, 10}));
    s.indisponivel(9);
    EXPECT_EQ(s.aLer(8), (std::vector<int>{10}));
    EXPECT_FALSE(s.disponivel(9));
    // Back to the start: the frames ahead of frame 1 again, those far on go.
    s.posicionar(1);
    EXPECT_EQ(s.aLer(1), (std::vector<int>{1, 2, 3}));
    for (int p : {1, 2, 3}) EXPECT_TRUE(s.guardar(p, relido(p, 2, 3)));
    EXPECT_EQ(guardados(s), (std::vector<int>{1, 2, 3}));
}

TEST(SerieQuadros, SerieQueCabeNaoTransmite) {
    SerieQuadros s;
    ASSERT_TRUE(s.iniciar(4, 2, 3, 4 * 2 * 3 * kBytesPorNoCompacto));
    for (int n = 1; n <= 4; ++n) dar(s, n, textoQuadro(n, 2, 3, folhaSubindo));
    EXPECT_FALSE(s.transmitindo());
    EXPECT_EQ(guardados(s), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_TRUE(s.aLer(1).empty());
}

TEST(SerieQuadros, ExecucaoAoVivoMaiorQueAMemoriaGuardaOsUltimosQuadros) {
    SerieQuadros s;
    ASSERT_TRUE(s.iniciar(0, 2, 2, 2 * 2 * 2 * kBytesPorNoCompacto));
    for (int n = 1; n <= 6; ++n) {
        dar(s, n, textoQuadro(n, 2, 2, folhaSubindo));
        s.posicionar(n);  // the window follows the newest frame
        EXPECT_LE(s.bytesGuardados(), s.orcamento());
    }
    EXPECT_TRUE(s.transmitindo());
    EXPECT_EQ(guardados(s), (std::vector<int>{5, 6}));
    // Stepping back asks for what is no longer there.
    EXPECT_EQ(s.aLer(3), (std::vector<int>{3, 4}));
}

}  // namespace
