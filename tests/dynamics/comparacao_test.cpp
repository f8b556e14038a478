// The engine against a plain second transcription of the model: every frame and dump
// file must come out byte for byte the same, for random scenes of every kind.
#include <gtest/gtest.h>

#include <random>

#include "dynamics/referencia/referencia.h"
#include "dynamics/simulacao.h"
#include "support/arquivos_teste.h"

using namespace tevra;

namespace {

namespace fs = std::filesystem;

std::unique_ptr<ObjDeformavel> doCenario(const referencia::CenaRef& c) {
    auto o = std::make_unique<ObjDeformavel>(c.grade_i, c.grade_j, c.solver);
    o->massa = c.massa;
    for (int k = 0; k < 2; ++k)
        for (int l = 0; l < 2; ++l) {
            o->eta[k][l] = c.eta[k][l];
            o->qsi[k][l] = c.qsi[k][l];
            o->psi[k][l] = c.psi[k][l];
        }
    o->objeto = c.objeto;
    for (int k = 0; k < 3; ++k) {
        o->comp[k] = c.comp[k];
        o->velInicial[k] = c.velInicial[k];
        o->acel[k] = c.acel[k];
        o->fluido[k] = c.fluido[k];
    }
    o->raio = c.raio;
    o->comprimento = c.comprimento;
    o->gama = c.gama;
    o->fluidoAtivo = c.fluidoAtivo;
    o->fluido_cte = c.fluido_cte;
    o->passo = c.passo;
    o->quadros = c.quadros;
    o->intervalo = c.intervalo;
    o->flagDados = c.flagDados;
    for (const auto& r : c.restricoes) {
        Restricao x;
        x.u = r.u;
        x.v = r.v;
        x.tipo = r.tipo;
        x.inicio = r.inicio;
        x.fim = r.fim;
        for (int k = 0; k < 3; ++k) {
            x.eixo[k] = r.eixo[k];
            x.forca[k] = r.forca[k];
        }
        o->restricoes.push_back(x);
    }
    o->nRestricoes = static_cast<int>(o->restricoes.size());
    return o;
}

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
                ADD_FAILURE() << cena << "\n" << nome << " line " << k + 1 << "\n engine:    " << lx[k]
                              << "\n reference: " << ly[k];
                return;
            }
        ADD_FAILURE() << cena << "\n" << nome << ": different lengths";
        return;
    }
}

void comparar(const referencia::CenaRef& c, const std::string& descricao) {
    PastaTemporaria motor, ref;
    auto o = doCenario(c);
    simular(*o, {*motor, {}, {}, nullptr});
    referencia::simularReferencia(c, *ref);
    mesmosArquivos(*motor, *ref, descricao);
}

referencia::CenaRef cenaAleatoria(std::mt19937_64& g, std::string& d) {
    auto u = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(g); };
    auto n = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(g); };
    referencia::CenaRef c;
    c.grade_i = n(2, 9);
    c.grade_j = n(2, 9);
    c.solver = n(0, 10) == 0 ? 9 : n(3, 7);
    c.massa = u(0.5, 3);
    for (int k = 0; k < 2; ++k)
        for (int l = 0; l < 2; ++l) {
            c.eta[k][l] = n(0, 3) ? u(0, 5) : 0.0;
            c.qsi[k][l] = n(0, 2) ? u(0, 0.05) : 0.0;
            c.psi[k][l] = n(0, 2) ? u(-0.05, 0.05) : 0.0;
        }
    if (n(0, 1)) {
        c.objeto = 0;
        c.comp[0] = u(0.5, 3);
        c.comp[1] = u(0.5, 3);
        c.comp[2] = n(0, 1) ? u(-2, 2) : 0.0;
    } else {
        c.objeto = 2;
        c.raio = u(0.3, 2);
        c.comprimento = u(0.5, 4);
    }
    c.gama = u(0, 0.5);
    for (int k = 0; k < 3; ++k) {
        c.velInicial[k] = n(0, 1) ? u(-1, 1) : 0.0;
        c.acel[k] = u(-10, 10);
        c.fluido[k] = u(-2, 2);
    }
    c.fluidoAtivo = n(0, 1);
    c.fluido_cte = u(0, 0.5);
    c.passo = u(1e-4, 2e-3);
    c.quadros = n(1, 40);
    c.intervalo = n(1, 6);
    c.flagDados = n(0, 2) == 0;
    const int nr = n(0, 4);
    for (int k = 0; k < nr; ++k) {
        referencia::RestricaoRef r;
        r.u = n(-1, c.grade_i);
        r.v = n(-1, c.grade_j);
        r.tipo = n(0, 1) ? 1 : 3;
        r.inicio = n(0, 10);
        r.fim = n(0, 50);
        for (int s = 0; s < 3; ++s) {
            r.eixo[s] = n(0, 1);
            r.forca[s] = u(-5, 5);
        }
        c.restricoes.push_back(r);
    }
    d = "grid " + std::to_string(c.grade_i) + "x" + std::to_string(c.grade_j) + " solver " +
        std::to_string(c.solver) + " objeto " + std::to_string(c.objeto) + " quadros " + std::to_string(c.quadros) +
        " intervalo " + std::to_string(c.intervalo) + " restricoes " + std::to_string(nr) + " fluido " +
        std::to_string(c.fluidoAtivo) + " dados " + std::to_string(c.flagDados);
    return c;
}

TEST(Comparacao, CenasAleatoriasDeTodoTipo) {
    std::mt19937_64 g(20261208);
    for (int k = 0; k < 150; ++k) {
        std::string d;
        const referencia::CenaRef c = cenaAleatoria(g, d);
        comparar(c, "scene " + std::to_string(k) + ": " + d);
        if (HasFailure()) break;
    }
}

TEST(Comparacao, CadaIntegradorEmFolhaFinaETuboGrosso) {
    for (int s = 3; s <= 7; ++s) {
        referencia::CenaRef f;
        f.grade_i = 31;
        f.grade_j = 24;
        f.solver = s;
        f.massa = 2;
        f.eta[0][0] = 4;
        f.eta[1][1] = 3;
        f.eta[0][1] = f.eta[1][0] = 0.5;
        f.qsi[0][0] = f.qsi[1][1] = 0.002;
        f.psi[0][1] = 0.01;
        f.psi[1][1] = 0.02;
        f.objeto = 0;
        f.comp[0] = 2;
        f.comp[1] = 1;
        f.comp[2] = 0.3;
        f.acel[2] = -9.8;
        f.gama = 0.2;
        f.passo = 5e-4;
        f.quadros = 25;
        f.intervalo = 8;
        f.flagDados = 1;
        f.fluidoAtivo = 1;
        f.fluido_cte = 0.1;
        f.fluido[1] = 2;
        referencia::RestricaoRef canto;
        canto.fim = 1000;
        f.restricoes = {canto};
        comparar(f, "fine sheet, solver " + std::to_string(s));

        referencia::CenaRef t = f;
        t.grade_i = 8;
        t.grade_j = 5;
        t.objeto = 2;
        t.raio = 1.5;
        t.comprimento = 3;
        t.qsi[0][1] = t.qsi[1][0] = 0.01;
        t.quadros = 60;
        comparar(t, "coarse tube, solver " + std::to_string(s));
    }
}

}  // namespace
