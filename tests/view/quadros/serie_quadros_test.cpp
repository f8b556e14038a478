// The series as the viewer holds it: which picture each frame shows when files are
// missing or broken, the tube flag, and the background reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

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
    return s.aceitar(n, lido, r);
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

TEST(CarregadorSerie, EntregaCadaQuadroEmOrdem) {
    PastaTemporaria pasta;
    escreverSerie(*pasta, 40, 3, 4, folhaSubindo, 2);
    std::filesystem::remove(caminhoQuadro(*pasta, 17));
    std::atomic<int> avisos{0};
    CarregadorSerie c(
        *pasta, 40, 3, 4, [&] { ++avisos; }, {}, 3);
    int esperado = 1;
    const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!c.acabou() && std::chrono::steady_clock::now() < limite) {
        auto q = c.pegar();
        if (!q) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        ASSERT_EQ(q->n, esperado);
        if (esperado == 17) {
            EXPECT_EQ(q->resultado.estado, EstadoQuadro::Ausente);
        } else {
            ASSERT_EQ(q->resultado.estado, EstadoQuadro::Completo) << esperado;
            EXPECT_DOUBLE_EQ(q->nos.z[11], esperado / 10.0);
        }
        EXPECT_EQ(q->resultado.objeto.has_value(), esperado == 1);
        c.devolver(std::move(q->nos));
        ++esperado;
    }
    EXPECT_EQ(esperado, 41);
    EXPECT_GE(avisos.load(), 1);
}

TEST(CarregadorSerie, VariosTrabalhadoresPreparamCadaQuadroCompletoUmaVezNaOrdemDeEntrega) {
    PastaTemporaria pasta;
    escreverSerie(*pasta, 60, 4, 3, folhaSubindo, 2);
    std::filesystem::remove(caminhoQuadro(*pasta, 30));
    escreverArquivo(caminhoQuadro(*pasta, 31), "Area: 1\n");  // short

    std::mutex m;
    std::vector<int> preparados;
    std::vector<int> iniciados, terminados;
    bool semprefechada = true;
    CarregadorSerie::Trabalho t;
    t.trabalhadores = 3;
    t.iniciar = [&](int w) {
        std::lock_guard g(m);
        iniciados.push_back(w);
        return w != 2;  // worker 2 cannot prepare: its frames are handed out unprepared
    };
    t.preparar = [&](int, int n, const NosSuperficie& nos, bool fechada) {
        std::lock_guard g(m);
        preparados.push_back(n);
        semprefechada = semprefechada && fechada;
        EXPECT_DOUBLE_EQ(nos.z[0], n / 10.0);
        return true;
    };
    t.terminar = [&](int w) {
        std::lock_guard g(m);
        terminados.push_back(w);
    };
    std::vector<int> entregues;
    int preparadosEntregues = 0;
    {
        CarregadorSerie c(
            *pasta, 60, 4, 3, [] {}, t, 2);
        const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (!c.acabou() && std::chrono::steady_clock::now() < limite) {
            auto q = c.pegar();
            if (!q) {
                std::this_thread::yield();
                continue;
            }
            entregues.push_back(q->n);
            if (q->preparado) ++preparadosEntregues;
            EXPECT_EQ(q->preparado && q->resultado.estado != EstadoQuadro::Completo, false) << q->n;
            c.devolver(std::move(q->nos));
        }
    }
    std::vector<int> esperado(60);
    for (int n = 1; n <= 60; ++n) esperado[n - 1] = n;
    EXPECT_EQ(entregues, esperado);
    std::sort(preparados.begin(), preparados.end());
    EXPECT_TRUE(std::adjacent_find(preparados.begin(), preparados.end()) == preparados.end()) << "prepared twice";
    EXPECT_EQ(static_cast<int>(preparados.size()), preparadosEntregues);
    EXPECT_LE(preparados.size(), 58u);
    EXPECT_TRUE(std::find(preparados.begin(), preparados.end(), 30) == preparados.end());
    EXPECT_TRUE(std::find(preparados.begin(), preparados.end(), 31) == preparados.end());
    EXPECT_TRUE(semprefechada);
    std::sort(iniciados.begin(), iniciados.end());
    std::sort(terminados.begin(), terminados.end());
    EXPECT_EQ(iniciados, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(terminados, (std::vector<int>{0, 1, 2}));
}

TEST(CarregadorSerie, ParaNaHoraQuandoDescartado) {
    PastaTemporaria pasta;
    escreverSerie(*pasta, 30, 2, 2, folhaSubindo);
    // Nobody takes anything: the worker fills its queue and waits; dropping it must not hang.
    for (int k = 0; k < 5; ++k) {
        CarregadorSerie::Trabalho t;
        t.trabalhadores = 1 + k % 3;
        t.preparar = [](int, int, const NosSuperficie&, bool) { return true; };
        CarregadorSerie c(
            *pasta, 30, 2, 2, [] {}, t, 2);
        std::this_thread::sleep_for(std::chrono::milliseconds(k));
    }
    // Nothing to read: done after the one notice.
    std::atomic<int> avisos{0};
    CarregadorSerie vazio(*pasta, 0, 2, 2, [&] { ++avisos; });
    const auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!vazio.acabou() && std::chrono::steady_clock::now() < limite) std::this_thread::yield();
    EXPECT_TRUE(vazio.acabou());
    EXPECT_FALSE(vazio.pegar().has_value());
}

}  // namespace
