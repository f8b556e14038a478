// The engine against a plain second transcription of the model: every frame and dump
// file must come out byte for byte the same, for random scenes of every kind.
#include <gtest/gtest.h>

#include <random>

#include "app/cena/configuracao.h"
#include "dynamics/referencia/referencia.h"
#include "dynamics/simulacao.h"
#include "support/arquivos_teste.h"
#include "support/cenas.h"

using namespace tevra;

namespace {

namespace fs = std::filesystem;

// Compares every file of two folders; reports the first differing line.
void mesmosArquivos(const fs::path& a, const fs::path& b, const std::string& cena) {
    std::vector<std::string> nomes;
    for (const auto& e : fs::directory_iterator(a)) nomes.push_back(e.path().filename().string());
    std::size_t nb = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(b)) ++nb;
    ASSERT_EQ(nomes.size(), nb) << cena;
    for (const auto& nome : nomes) {
        const std::string x = lerArquivo(a / nome), y = lerArquivo(b / nome);
        if (x == y) continue;
        const auto lx = linhas(x), ly = linhas(y);
        for (std::size_t k = 0; k < std::min(lx.size(), ly.size()); ++k)
            if (lx[k] != ly[k]) {
                ADD_FAILURE() << cena << "\n"
                              << nome << " line " << k + 1 << "\n engine:    " << lx[k] << "\n reference: " << ly[k];
                return;
            }
        ADD_FAILURE() << cena << "\n" << nome << ": different lengths";
        return;
    }
}

// One scene handed to both engines.
void comparar(const Cena& c, bool dados, const std::string& descricao) {
    PastaTemporaria motor, ref;
    auto o = construirObjeto(c);
    o->flagDados = dados ? 1 : 0;
    simular(*o, {*motor, {}, {}, nullptr});
    referencia::simularReferencia(c, dados, *ref);
    mesmosArquivos(*motor, *ref, descricao);
}

TEST(Comparacao, CenasAleatoriasDeTodoTipo) {
    std::mt19937_64 g(20261208);
    for (int k = 0; k < 150; ++k) {
        const CenaSorteada s = sortearCena(g);
        comparar(s.cena, s.dados, "scene " + std::to_string(k) + ": " + s.descricao);
        if (HasFailure()) break;
    }
}

TEST(Comparacao, CadaIntegradorEmFolhaFinaETuboGrosso) {
    for (int s = SolverEulerSemiExplicito; s <= SolverVerlet; ++s) {
        Cena f = cenaFolha(31, 24, 2, 1, 0.3, s);
        f.massa = 2;
        f.eta[0][0] = 4;
        f.eta[1][1] = 3;
        f.eta[0][1] = f.eta[1][0] = 0.5;
        f.qsi[0][0] = f.qsi[1][1] = 0.002;
        f.psi[0][1] = 0.01;
        f.psi[1][1] = 0.02;
        f.acel[2] = -9.8;
        f.gama = 0.2;
        f.passo = 5e-4;
        f.quadros = 25;
        f.intervalo = 8;
        f.fluidoAtivo = true;
        f.fluido_cte = 0.1;
        f.fluido[1] = 2;
        f.restricoes = {fixa(0, 0, 0, 0, 0)};
        comparar(f, true, "fine sheet, solver " + std::to_string(s));

        Cena t = f;
        t.grade_i = 8;
        t.grade_j = 5;
        t.objeto = ObjetoCilindro;
        t.comp[0] = t.comp[1] = t.comp[2] = 0;
        t.raio = 1.5;
        t.comprimento = 3;
        t.qsi[0][1] = t.qsi[1][0] = 0.01;
        t.quadros = 60;
        comparar(t, true, "coarse tube, solver " + std::to_string(s));
    }
}

// The benchmark's sheet, every term on, cut down to a grid and a run the reference can afford.
TEST(Comparacao, CenaDoBenchmarkEmGradePequena) {
    for (int s = SolverEulerSemiExplicito; s <= SolverVerlet; ++s) {
        Cena c = cenaBenchmark(9, s);
        c.passo = 1e-3;
        c.quadros = 21;
        c.intervalo = 5;
        comparar(c, false, "benchmark sheet, solver " + std::to_string(s));
    }
}

}  // namespace
