// The typed scene: a script read into it, written back, and read again gives the same scene
// and the same run, bit for bit.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <sstream>

#include "app/cena/conversao_cena.h"
#include "app/cena/escrita_script.h"
#include "app/cena/script_cena.h"
#include "base/erros.h"
#include "support/arquivos_teste.h"

using namespace tevra;

namespace {

Cena deTexto(const std::string& script) {
    std::istringstream in(script);
    FormularioCena f;
    carregarScript(in, f);
    return converterCena(f, '.');
}

// Scenes with awkward numbers: tiny, huge, negative zero, many digits, integers as reals.
Cena cenaAleatoria(std::mt19937_64& g) {
    auto u = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(g); };
    auto n = [&](int a, int b) { return std::uniform_int_distribution<int>(a, b)(g); };
    auto estranho = [&]() -> double {
        switch (n(0, 6)) {
            case 0: return 0.0;
            case 1: return -0.0;
            case 2: return u(-1, 1) * 1e-300;
            case 3: return u(-1, 1) * 1e300;
            case 4: return std::nextafter(1.0, 2.0);
            case 5: return static_cast<double>(n(-100000, 100000));
            default: return u(-10, 10);
        }
    };
    // Mass and time step above 0 and no negative iteration count, as the set-up requires.
    auto positivo = [&] {
        const double x = std::fabs(estranho());
        return x > 0.0 ? x : std::numeric_limits<double>::denorm_min();
    };
    Cena c;
    c.passo = positivo();
    c.quadros = n(0, 9999);
    c.intervalo = n(1, 50);
    c.tempo = estranho();
    c.grade_i = n(2, 40);
    c.grade_j = n(2, 40);
    for (int k = 0; k < 3; ++k) {
        c.acel[k] = estranho();
        c.velInicial[k] = estranho();
    }
    for (auto* w : {&c.eta, &c.qsi, &c.psi})
        for (auto& linha : *w)
            for (double& x : linha) x = estranho();
    c.massa = positivo();
    c.gama = estranho();
    if (n(0, 1)) {
        c.fluidoAtivo = true;
        c.fluido_cte = estranho();
        for (int k = 0; k < 3; ++k) c.fluido[k] = estranho();
    }
    if (n(0, 1)) {
        c.objeto = ObjetoPlano;
        for (double& x : c.comp) x = estranho();
        c.comp[0] = 1.5;  // an area, so the set-up takes it
        c.comp[1] = 2.0;
    } else {
        c.objeto = ObjetoCilindro;
        c.raio = u(0.1, 3);
        c.comprimento = u(0.1, 3);
    }
    const int nr = n(0, 4);
    for (int k = 0; k < nr; ++k) {
        Restricao r;
        r.u = n(-3, 50);
        r.v = n(-3, 50);
        r.tipo = n(0, 1) ? RestricaoForca : RestricaoFixa;
        r.inicio = n(-10, 100);
        r.fim = n(-10, 1000000);
        for (int e = 0; e < 3; ++e) {
            if (r.tipo == RestricaoForca)
                r.forca[e] = estranho();
            else
                r.eixo[e] = n(-2, 2);
        }
        c.restricoes.push_back(r);
    }
    c.solver = n(SolverEulerSemiExplicito, SolverVerlet);
    return c;
}

TEST(Cena, ScriptEscritoCarregaNaMesmaCenaBitABit) {
    std::mt19937_64 g(20261208);
    for (int caso = 0; caso < 300; ++caso) {
        const Cena c = cenaAleatoria(g);
        const std::string script = escreverScript(c);
        Cena lida;
        ASSERT_NO_THROW(lida = deTexto(script)) << script;
        EXPECT_TRUE(lida == c) << script;
        // == takes -0 for 0; the text tells them apart.
        EXPECT_EQ(escreverScript(lida), script);
    }
}

TEST(Cena, RealComoUmUsuarioEscreve) {
    EXPECT_EQ(textoReal(0.0002), "0.0002");
    EXPECT_EQ(textoReal(-9.8), "-9.8");
    EXPECT_EQ(textoReal(1500), "1500");
    EXPECT_EQ(textoReal(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(textoReal(1e-7), "1e-07");
    EXPECT_EQ(textoReal(2.5e20), "2.5e+20");
    EXPECT_EQ(textoReal(-0.0), "-0");
}

TEST(Cena, ExemploEscritoEDeNovoLidoDaAMesmaSimulacao) {
    const Cena exemplo = carregarCena(TEVRA_SOURCE_DIR "/assets/scenes/script.anisot1");
    EXPECT_EQ(exemplo.grade_i, 20);
    EXPECT_EQ(exemplo.restricoes.size(), 2u);
    EXPECT_TRUE(exemplo.fluidoAtivo);
    EXPECT_EQ(exemplo.solver, SolverEulerSemiExplicito) << "the example names no solver";
    EXPECT_TRUE(deTexto(escreverScript(exemplo)) == exemplo);
}

TEST(Cena, SolverDepoisDasRestricoes) {
    const Cena base = carregarCena(TEVRA_SOURCE_DIR "/assets/scenes/script.anisot1");
    std::string s = escreverScript(base);
    const auto p = s.find("solver = ");
    ASSERT_NE(p, std::string::npos);
    s.erase(p);
    EXPECT_EQ(deTexto(s + "solver = Verlet\n").solver, SolverVerlet);
    EXPECT_EQ(deTexto(s + "solver = Semi-explicit Euler\n").solver, SolverEulerSemiExplicito);
    EXPECT_EQ(deTexto(s + "comments may say solver or\nsolver: anything\nsolver = Midpoint\n").solver,
              SolverPontoMedio);
    EXPECT_EQ(deTexto(s + "run it with the Verlet solver").solver, SolverEulerSemiExplicito)
        << "the word alone is a comment";
    EXPECT_THROW(deTexto(s + "solver = Euler\n"), ErroEntrada);
    try {
        deTexto(s + "solver = Euler\n");
    } catch (const ErroEntrada& e) {
        EXPECT_EQ(std::string(e.what()),
                  "'Euler' is not a solver; choose Semi-explicit Euler, Midpoint, Runge-Kutta, Leapfrog or Verlet");
    }
}

TEST(Cena, ErrosNaOrdemDaJanela) {
    FormularioCena f;
    std::istringstream in(escreverScript(carregarCena(TEVRA_SOURCE_DIR "/assets/scenes/script.anisot1")));
    carregarScript(in, f);
    auto erro = [](const FormularioCena& x) -> std::string {
        try {
            converterCena(x, '.');
        } catch (const ErroEntrada& e) {
            return e.what();
        }
        return "";
    };
    FormularioCena g = f;
    g.caixas[caixa::massa] = "um";
    g.caixas[caixa::grade_i] = "1";
    EXPECT_EQ(erro(g), "The grid must have at least 2 nodes along i and along j; 1 x 20 is too small")
        << "the grid is checked where it is read, before the mass";
    g.caixas[caixa::grade_i] = "20";
    g.caixas[caixa::tempo] = "";
    EXPECT_EQ(erro(g), "'um' is not a valid floating point value");
    g.caixas[caixa::massa] = "1";
    EXPECT_EQ(erro(g), "'' is not a valid floating point value");
    g.caixas[caixa::tempo] = "1";
    g.caixas[caixa::intervalo] = "0.5";
    EXPECT_EQ(erro(g), "The recording interval must be at least 1 (it is 0)");
    g.caixas[caixa::intervalo] = "1";
    g.caixas[caixa::comp[0]] = "0";
    EXPECT_EQ(erro(g), "The sheet has no area: its x extent and its y or z extent must not be 0")
        << "the area before the frame count";
}

}  // namespace
