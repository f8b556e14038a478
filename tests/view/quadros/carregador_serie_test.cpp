// The background reader: frames handed out in the order asked for, whatever the number of
// workers, each complete one also as a compact frame; and dropping it never waits for a
// worker, not even one stuck in a read.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "view/quadros/carregador_serie.h"
#include "view/quadros/quadros_teste.h"

using namespace tevra;
using namespace std::chrono_literals;

namespace {

// Takes everything the loader hands out, in order, until it is done (or 30 s pass).
std::vector<CarregadorSerie::Quadro> tomarTudo(CarregadorSerie& c) {
    std::vector<CarregadorSerie::Quadro> r;
    const auto limite = std::chrono::steady_clock::now() + 30s;
    while (!c.acabou() && std::chrono::steady_clock::now() < limite) {
        auto q = c.pegar();
        if (!q) {
            std::this_thread::sleep_for(1ms);
            continue;
        }
        r.push_back(std::move(*q));
    }
    return r;
}

TEST(CarregadorSerie, EntregaCadaQuadroEmOrdemComSeuQuadroCompacto) {
    PastaTemporaria pasta;
    escreverSerie(*pasta, 40, 3, 4, folhaSubindo, 2);
    std::filesystem::remove(caminhoQuadro(*pasta, 17));
    std::atomic<int> avisos{0};
    OpcoesCarga opcoes;
    opcoes.adiantados = 3;
    CarregadorSerie c(
        *pasta, 40, 3, 4, [&] { ++avisos; }, opcoes);
    const auto quadros = tomarTudo(c);
    ASSERT_EQ(quadros.size(), 40u);
    for (int n = 1; n <= 40; ++n) {
        const auto& q = quadros[static_cast<std::size_t>(n - 1)];
        ASSERT_EQ(q.n, n);
        EXPECT_EQ(q.resultado.objeto.has_value(), n == 1);
        if (n == 17) {
            EXPECT_EQ(q.resultado.estado, EstadoQuadro::Ausente);
            EXPECT_EQ(q.compacto, nullptr);
            continue;
        }
        ASSERT_EQ(q.resultado.estado, EstadoQuadro::Completo) << n;
        ASSERT_NE(q.compacto, nullptr) << n;
        EXPECT_EQ(q.compacto->numNos(), 12u);
        EXPECT_EQ(q.compacto->pos[3 * 11 + 2], static_cast<float>(n / 10.0));
        EXPECT_EQ(q.compacto->normal[3 * 11 + 2], 1.0f);
    }
    EXPECT_GE(avisos.load(), 1);
}

TEST(CarregadorSerie, VariosTrabalhadoresEntregamCadaQuadroUmaVezNaOrdem) {
    PastaTemporaria pasta;
    escreverSerie(*pasta, 60, 4, 3, folhaSubindo, 2);
    std::filesystem::remove(caminhoQuadro(*pasta, 30));
    escreverArquivo(caminhoQuadro(*pasta, 31), "Area: 1\n");  // short
    for (int trabalhadores : {2, 3, 5}) {
        OpcoesCarga opcoes;
        opcoes.trabalhadores = trabalhadores;
        opcoes.adiantados = 2;
        CarregadorSerie c(
            *pasta, 60, 4, 3, [] {}, opcoes);
        const auto quadros = tomarTudo(c);
        ASSERT_EQ(quadros.size(), 60u) << trabalhadores;
        for (int n = 1; n <= 60; ++n) {
            const auto& q = quadros[static_cast<std::size_t>(n - 1)];
            ASSERT_EQ(q.n, n);
            EXPECT_EQ(q.compacto != nullptr, n != 30 && n != 31) << n;
            if (q.compacto) {
                EXPECT_DOUBLE_EQ(q.nos.z[0], n / 10.0);
            }
        }
    }
}

TEST(CarregadorSerie, QuadrosPedidosNaOrdemPedidaSemOsNos) {
    PastaTemporaria pasta;
    escreverSerie(*pasta, 12, 2, 2, folhaSubindo);
    OpcoesCarga opcoes;
    opcoes.comNos = false;
    opcoes.trabalhadores = 2;
    const std::vector<int> pedidos = {9, 3, 12, 5};
    CarregadorSerie c(
        pedidos, [&](int n) { return caminhoQuadro(*pasta, n); }, 2, 2, [] {}, opcoes);
    EXPECT_EQ(c.pendentes().front(), 9);
    const auto quadros = tomarTudo(c);
    ASSERT_EQ(quadros.size(), 4u);
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(quadros[k].n, pedidos[k]);
        ASSERT_NE(quadros[k].compacto, nullptr);
        EXPECT_EQ(quadros[k].compacto->pos[2], static_cast<float>(pedidos[k] / 10.0));
        EXPECT_EQ(quadros[k].nos.numNos(), 0u);
    }
    EXPECT_TRUE(c.pendentes().empty());
}

TEST(CarregadorSerie, ParaNaHoraQuandoDescartado) {
    PastaTemporaria pasta;
    escreverSerie(*pasta, 30, 2, 2, folhaSubindo);
    // Nobody takes anything: the worker fills its queue and waits; dropping it must not hang.
    for (int k = 0; k < 5; ++k) {
        OpcoesCarga opcoes;
        opcoes.trabalhadores = 1 + k % 3;
        opcoes.adiantados = 2;
        CarregadorSerie c(
            *pasta, 30, 2, 2, [] {}, opcoes);
        std::this_thread::sleep_for(std::chrono::milliseconds(k));
    }
    // Nothing to read: done after the one notice.
    std::atomic<int> avisos{0};
    CarregadorSerie vazio(*pasta, 0, 2, 2, [&] { ++avisos; });
    const auto limite = std::chrono::steady_clock::now() + 10s;
    while (!vazio.acabou() && std::chrono::steady_clock::now() < limite) std::this_thread::yield();
    EXPECT_TRUE(vazio.acabou());
    EXPECT_FALSE(vazio.pegar().has_value());
}

TEST(CarregadorSerie, DescartadoNaoEsperaLeitorPresoNemOAvisaDepois) {
    PastaTemporaria pasta;
    escreverSerie(*pasta, 8, 2, 2, folhaSubindo);
    auto preso = std::make_shared<LeitorPreso>();
    auto avisos = std::make_shared<std::atomic<int>>(0);
    OpcoesCarga opcoes;
    opcoes.trabalhadores = 2;
    opcoes.leitor = preso->leitor();
    {
        CarregadorSerie c(
            *pasta, 8, 2, 2, [avisos] { ++*avisos; }, opcoes);
        ASSERT_TRUE(preso->esperar([&] { return preso->presos == 2; }));
    }  // both workers are stuck in a read: the loader goes all the same
    const int avisosAoDescartar = avisos->load();
    preso->soltar();
    // The workers finish the reads they were in, take no further frame and tell nobody.
    ASSERT_TRUE(preso->esperar([&] { return preso->terminados == 2; }));
    std::this_thread::sleep_for(50ms);
    EXPECT_TRUE(preso->esperar([&] { return preso->presos == 2; }));
    EXPECT_EQ(avisos->load(), avisosAoDescartar);
}

}  // namespace
