// The reference engine checked on the worked examples of the model, so that a
// mismatch against the real engine points at the real engine, not at this one.
#include <gtest/gtest.h>

#include <unistd.h>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "dynamics/referencia/referencia.h"
#include "support/cenas.h"

namespace fs = std::filesystem;
using referencia::construirReferencia;
using referencia::ObjetoRef;
using tevra::Cena;
using tevra::Restricao;

namespace {

// The worked example: a flat 2 x 2 square on a 3 x 3 grid, mass 8.
Cena planoTresPorTres() {
    Cena cena = tevra::cenaFolha(3, 3, 2, 2, 0);
    cena.massa = 8;
    return cena;
}

Cena cilindro(int gi, int gj, double raio, double comprimento) { return tevra::cenaTubo(gi, gj, raio, comprimento); }

// A hanging sheet with every elastic weight on, for the run-level tests.
Cena lencolPendurado(int solver) {
    Cena cena = tevra::comPesos(tevra::cenaFolha(4, 4, 1, 1, 0, solver), 1, 0.01, 0.001);
    cena.gama = 0.1;
    cena.acel[2] = -9.8;
    cena.passo = 0.001;
    cena.quadros = 21;
    cena.intervalo = 5;
    cena.restricoes = {tevra::fixa(0, 0, 0, 0, 0, 0, 1000)};
    return cena;
}

class PastaTemporaria {
public:
    explicit PastaTemporaria(const std::string& nome)
        : caminho_(fs::temp_directory_path() / ("referencia_" + nome + "_" + std::to_string(getpid()))) {
        fs::remove_all(caminho_);
        fs::create_directories(caminho_);
    }
    ~PastaTemporaria() { fs::remove_all(caminho_); }
    const fs::path& caminho() const { return caminho_; }

private:
    fs::path caminho_;
};

std::vector<std::string> linhas(const fs::path& arquivo) {
    std::ifstream in(arquivo, std::ios::binary);
    std::vector<std::string> resultado;
    std::string linha;
    while (std::getline(in, linha)) resultado.push_back(linha);
    return resultado;
}

std::string bytes(const fs::path& arquivo) {
    std::ifstream in(arquivo, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

// ---------------------------------------------------------------------------
// Construction and rest geometry

TEST(ReferenciaConstrucao, PlanoTresPorTresTemAGeometriaDoExemplo) {
    const ObjetoRef obj = construirReferencia(planoTresPorTres());
    EXPECT_EQ(obj.delta[0], 0.5);
    EXPECT_EQ(obj.delta[1], 0.5);
    EXPECT_EQ(obj.area0, 4.0);
    EXPECT_EQ(obj.area, 4.0);
    EXPECT_EQ(obj.densidade0, 2.0);
    EXPECT_EQ(obj.massa, 8.0) << "the total mass stays until the first elastic update";
    for (int i = 0; i < 3; i++) {
        for (int j = 0; j < 3; j++) {
            const int n = obj.idx(i, j);
            const auto& no = obj.nos[n];
            EXPECT_EQ(obj.pos[0][n], -1.0 + i);
            EXPECT_EQ(obj.pos[1][n], -1.0 + j);
            EXPECT_EQ(obj.pos[2][n], 0.0);
            EXPECT_EQ(obj.posAnterior[0][n], obj.pos[0][n]);
            EXPECT_EQ(no.G[0][0], 4.0);
            EXPECT_EQ(no.G[1][1], 4.0);
            EXPECT_EQ(no.G[0][1], 0.0);
            EXPECT_EQ(no.G[1][0], 0.0);
            EXPECT_EQ(no.detG, 16.0);
            EXPECT_EQ(no.Ginv[0][0], 0.25);
            EXPECT_EQ(no.H0[1][1], 0.25);
            EXPECT_EQ(no.normal[0], 0.0);
            EXPECT_EQ(no.normal[1], 0.0);
            EXPECT_EQ(no.normal[2], 1.0) << "node " << i << "," << j;
            for (int k = 0; k < 2; k++) {
                for (int l = 0; l < 2; l++) {
                    EXPECT_EQ(no.B[k][l], 0.0);
                    EXPECT_EQ(no.B0[k][l], 0.0);
                }
            }
        }
    }
}

TEST(ReferenciaConstrucao, QuadrantesForaDaGradeLevamOMarcador) {
    const ObjetoRef obj = construirReferencia(planoTresPorTres());
    auto esperaQuadrante = [&](int i, int j, int q, double x, double y, double z) {
        const auto& quadrante = obj.nos[obj.idx(i, j)].normalQuadrante[q];
        EXPECT_EQ(quadrante[0], x) << i << "," << j << " q" << q;
        EXPECT_EQ(quadrante[1], y) << i << "," << j << " q" << q;
        EXPECT_EQ(quadrante[2], z) << i << "," << j << " q" << q;
    };
    // Corner (0, 0): only +i/+j is inside.
    esperaQuadrante(0, 0, 0, 0, 0, 1);
    for (int q = 1; q < 4; q++) esperaQuadrante(0, 0, q, 0, -10, 0);
    // Far corner (2, 2): only -i/-j is inside.
    esperaQuadrante(2, 2, 2, 0, 0, 1);
    for (int q : {0, 1, 3}) esperaQuadrante(2, 2, q, 0, -10, 0);
    // Centre: all four.
    for (int q = 0; q < 4; q++) esperaQuadrante(1, 1, q, 0, 0, 1);
}

TEST(ReferenciaConstrucao, PlanoInclinadoTemAreaENormalDoRetanguloInclinado) {
    Cena cena = planoTresPorTres();
    cena.grade_i = 4;
    cena.grade_j = 5;
    cena.comp[0] = 2;
    cena.comp[1] = 3;
    cena.comp[2] = 4;
    const ObjetoRef obj = construirReferencia(cena);
    EXPECT_NEAR(obj.area0, 2.0 * 5.0, 1e-12);
    for (int n = 0; n < 20; n++) {
        EXPECT_NEAR(obj.nos[n].normal[1], -0.8, 1e-12);
        EXPECT_NEAR(obj.nos[n].normal[2], 0.6, 1e-12);
    }
}

TEST(ReferenciaConstrucao, CilindroUsaAConstanteDoAnguloEUmaCosturaAberta) {
    const ObjetoRef obj = construirReferencia(cilindro(4, 3, 2.0, 3.0));
    const double dTheta = 6.28318530719586 / 4;
    EXPECT_EQ(obj.delta[0], dTheta);
    EXPECT_EQ(obj.delta[1], 1.0);
    for (int i = 0; i < 4; i++) {
        for (int j = 0; j < 3; j++) {
            const int n = obj.idx(i, j);
            EXPECT_EQ(obj.pos[0][n], -1.5 + j);
            EXPECT_EQ(obj.pos[1][n], 2.0 * std::cos(i * dTheta));
            EXPECT_EQ(obj.pos[2][n], 2.0 * std::sin(i * dTheta));
            EXPECT_EQ(obj.posAnterior[2][n], obj.pos[2][n]) << "Verlet starts from posAnterior on both shapes";
        }
    }
    // No wrap-around: the last row uses the one-sided cell stencil, which vanishes
    // on a cylinder, while the interior row sees the circle's curvature.
    const auto interior = obj.derivadaSegunda(1, 0, 0, 0);
    const auto borda = obj.derivadaSegunda(3, 0, 0, 0);
    // At 90 degrees the circle bends towards -z: (0 - 2 r + 0) / dTheta^2.
    EXPECT_NEAR(interior[2], -2.0 * 2.0 / (dTheta * dTheta), 1e-10);
    EXPECT_EQ(borda[1], 0.0);
    EXPECT_EQ(borda[2], 0.0);
}

TEST(ReferenciaConstrucao, ChristoffelSoEmGradesGrossas) {
    const ObjetoRef grosso = construirReferencia(cilindro(8, 3, 1.0, 3.0));
    double maior = 0;
    for (const auto& no : grosso.nos) {
        for (int m = 0; m < 2; m++) {
            EXPECT_EQ(no.christoffel[m][1][0], no.christoffel[m][0][1]);
            for (int k = 0; k < 2; k++) {
                for (int l = 0; l < 2; l++) maior = std::max(maior, std::fabs(no.christoffel[m][k][l]));
            }
        }
    }
    EXPECT_GT(maior, 1e-3);

    // Every spacing product is below 1e-4 here: all symbols are left at 0.
    const ObjetoRef fino = construirReferencia(cilindro(200, 10, 1.0, 0.3));
    for (const auto& no : fino.nos) {
        for (int m = 0; m < 2; m++) {
            for (int k = 0; k < 2; k++) {
                for (int l = 0; l < 2; l++) EXPECT_EQ(no.christoffel[m][k][l], 0.0);
            }
        }
    }
}

TEST(ReferenciaConstrucao, FormaInvalidaEhRecusada) {
    Cena cena = planoTresPorTres();
    cena.objeto = 1;
    try {
        construirReferencia(cena);
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Objeto invalido!");
    }
}

// ---------------------------------------------------------------------------
// Elastic terms

TEST(ReferenciaElastica, FormaDeRepousoNaoTemTensao) {
    Cena cena = lencolPendurado(3);
    ObjetoRef obj = construirReferencia(cena);
    obj.atualizarGeometria(1);
    EXPECT_EQ(obj.massa, obj.densidade0);
    for (int n = 0; n < 16; n++) {
        for (int k = 0; k < 2; k++) {
            for (int l = 0; l < 2; l++) {
                EXPECT_EQ(obj.alfa[k][l][n], 0.0);
                EXPECT_EQ(obj.beta[k][l][n], 0.0);
                EXPECT_EQ(obj.divBeta[k][l][n], 0.0);
                EXPECT_EQ(obj.nos[n].psiG[k][l], 0.0);
                EXPECT_EQ(obj.nos[n].psiB[k][l], 0.0);
                EXPECT_EQ(obj.nos[n].divBetaNo[k][l], 0.0);
            }
        }
    }
}

TEST(ReferenciaElastica, EsticarEmXDobraAAreaEDaATensaoDoExemplo) {
    Cena cena = planoTresPorTres();
    cena.eta[0][0] = 0.7;
    cena.eta[0][1] = 0.3;
    cena.eta[1][0] = 0.2;
    cena.eta[1][1] = 0.5;
    ObjetoRef obj = construirReferencia(cena);
    for (double& x : obj.pos[0]) x = 2 * x;
    obj.atualizarGeometria(1);
    EXPECT_EQ(obj.area, 2 * obj.area0);
    EXPECT_EQ(obj.massa, obj.densidade0 / 2);
    for (int i = 0; i < 3; i++) {
        for (int j = 0; j < 3; j++) {
            const int n = obj.idx(i, j);
            const auto& no = obj.nos[n];
            EXPECT_EQ(no.G[0][0], 4 * no.G0[0][0]);
            const double esperado = i < 2 ? 3 * 0.7 * no.H0[0][0] * no.H0[0][0] * 3 * no.G0[0][0] * 0.5 : 0.0;
            EXPECT_DOUBLE_EQ(obj.alfa[0][0][n], esperado) << i << "," << j;
            // Still flat: no bending anywhere, and the last row has no membrane stress.
            for (int k = 0; k < 2; k++) {
                for (int l = 0; l < 2; l++) EXPECT_EQ(obj.beta[k][l][n], 0.0);
            }
            if (i == 2) {
                EXPECT_EQ(obj.alfa[0][1][n], 0.0);
                EXPECT_EQ(obj.alfa[1][0][n], 0.0);
            }
        }
    }
}

TEST(ReferenciaElastica, LimpezaZeraSoOQueNaoPassaDe1e7) {
    ObjetoRef obj = construirReferencia(planoTresPorTres());
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double valores[] = {5e-8, 2e-7, 1e-7, -1e-7, -3e-7, nan};
    for (int n = 0; n < 6; n++) {
        obj.somaChapeu[1][n] = valores[n];
        obj.e_tio[2][n] = valores[n];
        obj.forcaExterna[0][n] = valores[n];
    }
    obj.limparForcas(1);
    const double esperados[] = {0, 2e-7, 0, 0, -3e-7};
    for (int n = 0; n < 5; n++) {
        EXPECT_EQ(obj.somaChapeu[1][n], esperados[n]) << n;
        EXPECT_EQ(obj.e_tio[2][n], esperados[n]) << n;
        EXPECT_EQ(obj.forcaExterna[0][n], valores[n]) << "external force is not cleaned";
    }
    EXPECT_TRUE(std::isnan(obj.somaChapeu[1][5]));
    EXPECT_TRUE(std::isnan(obj.e_tio[2][5]));
}

// ---------------------------------------------------------------------------
// Restrictions and external forces

TEST(ReferenciaRestricoes, JanelaDePassosUltimaLinhaVenceEForaDaGradeEhIgnorada) {
    Cena cena = planoTresPorTres();
    Restricao forca;
    forca.u = 1;
    forca.v = 2;
    forca.tipo = 3;
    forca.inicio = 5;
    forca.fim = 7;
    cena.restricoes.push_back(forca);
    Restricao fixa;
    fixa.u = 0;
    fixa.v = 0;
    fixa.inicio = 0;
    fixa.fim = 100;
    cena.restricoes.push_back(fixa);
    Restricao outraFixa = fixa;
    outraFixa.eixo[0] = 1;
    cena.restricoes.push_back(outraFixa);
    Restricao fora = fixa;
    fora.u = 3;
    cena.restricoes.push_back(fora);
    Restricao foraNegativo = fixa;
    foraNegativo.v = -1;
    cena.restricoes.push_back(foraNegativo);

    ObjetoRef obj = construirReferencia(cena);
    for (int passo = 1; passo <= 8; passo++) {
        obj.passoAtual = passo + 1;
        obj.atualizarRestricoes();
        EXPECT_EQ(obj.restricaoDoNo[obj.idx(1, 2)], (passo == 4 || passo == 5) ? 1 : 0) << "step " << passo;
        EXPECT_EQ(obj.restricaoDoNo[0], 3);
        int ativos = 0;
        for (int r : obj.restricaoDoNo) ativos += r != 0;
        EXPECT_EQ(ativos, (passo == 4 || passo == 5) ? 2 : 1);
    }
    EXPECT_TRUE(obj.componenteLivre(0, 0));
    EXPECT_FALSE(obj.componenteLivre(0, 1));
}

TEST(ReferenciaForcas, FluidoGravidadeEForcaPontualPorTipoDeRestricao) {
    Cena cena = planoTresPorTres();
    cena.massa = 9;
    cena.acel[0] = 1;
    cena.acel[1] = 2;
    cena.acel[2] = -9.8;
    cena.fluidoAtivo = true;
    cena.fluido[0] = 3;  // in the plane: no force from it
    cena.fluido[2] = 2;
    cena.fluido_cte = 0.5;
    Restricao fixa;
    fixa.u = 0;
    fixa.v = 0;
    fixa.eixo[0] = 1;
    fixa.eixo[1] = 1;
    fixa.eixo[2] = 0;
    fixa.fim = 100;
    Restricao forca;
    forca.u = 1;
    forca.v = 1;
    forca.tipo = 3;
    forca.forca[2] = 5;
    forca.fim = 100;
    cena.restricoes = {fixa, forca};

    ObjetoRef obj = construirReferencia(cena);
    obj.atualizarGeometria(1);
    obj.passoAtual = 2;
    obj.atualizarRestricoes();
    obj.calcularForcas(1);
    const double m = obj.massa;
    ASSERT_EQ(m, 9.0 / 4.0);

    const int fixo = obj.idx(0, 0), empurrado = obj.idx(1, 1), livre = obj.idx(2, 2);
    EXPECT_EQ(obj.forcaExterna[0][fixo], m * 1);
    EXPECT_EQ(obj.forcaExterna[1][fixo], m * 2);
    EXPECT_EQ(obj.forcaExterna[2][fixo], 0.0) << "held axis: no gravity, and no fluid at all";

    EXPECT_EQ(obj.forcaExterna[0][livre], m * 1);
    EXPECT_EQ(obj.forcaExterna[2][livre], 0.5 * 2 + m * -9.8);

    EXPECT_EQ(obj.forcaExterna[1][empurrado], m * 2);
    EXPECT_EQ(obj.forcaExterna[2][empurrado], 0.5 * 2 + m * -9.8 + 5);

    // Rest shape: no internal force anywhere.
    for (int n = 0; n < 9; n++) {
        for (int c = 0; c < 3; c++) {
            EXPECT_EQ(obj.somaChapeu[c][n], 0.0);
            EXPECT_EQ(obj.e_tio[c][n], 0.0);
        }
    }
}

// ---------------------------------------------------------------------------
// Integrators

TEST(ReferenciaIntegradores, SemForcasMovemDtVezesV0EVerletFicaParado) {
    const double v0[3] = {0.1, -0.2, 0.3};
    for (int solver = 3; solver <= 7; solver++) {
        Cena cena = planoTresPorTres();
        cena.solver = solver;
        cena.passo = 0.01;
        for (int c = 0; c < 3; c++) cena.velInicial[c] = v0[c];
        ObjetoRef obj = construirReferencia(cena);
        const ObjetoRef inicial = obj;
        for (int passo = 1; passo <= 2; passo++) {
            obj.avancarPasso(passo);
            for (int n = 0; n < 9; n++) {
                for (int c = 0; c < 3; c++) {
                    if (solver == 7) {
                        EXPECT_EQ(obj.pos[c][n], inicial.pos[c][n]) << "Verlet, step " << passo;
                    } else {
                        EXPECT_NEAR(obj.pos[c][n], inicial.pos[c][n] + passo * 0.01 * v0[c], 1e-15)
                            << "solver " << solver;
                    }
                }
            }
        }
    }
}

TEST(ReferenciaIntegradores, LeapfrogComecaComoPontoMedio) {
    ObjetoRef medio(lencolPendurado(4));
    ObjetoRef leapfrog(lencolPendurado(6));
    medio.inicializar();
    leapfrog.inicializar();
    medio.avancarPasso(1);
    leapfrog.avancarPasso(1);
    for (int n = 0; n < 16; n++) {
        for (int c = 0; c < 3; c++) {
            EXPECT_EQ(medio.pos[c][n], leapfrog.pos[c][n]);
            EXPECT_EQ(medio.vel[c][n], leapfrog.vel[c][n]);
        }
    }
    EXPECT_LT(medio.pos[2][15], 0.0) << "the sheet does fall";
}

TEST(ReferenciaIntegradores, SoEulerPreencheAceleracaoEForcaInterna) {
    ObjetoRef euler(lencolPendurado(3));
    ObjetoRef rk(lencolPendurado(5));
    euler.inicializar();
    rk.inicializar();
    euler.avancarPasso(1);
    rk.avancarPasso(1);
    EXPECT_NE(euler.aceleracao[2][15], 0.0);
    for (int n = 0; n < 16; n++) {
        for (int c = 0; c < 3; c++) {
            EXPECT_EQ(rk.aceleracao[c][n], 0.0);
            EXPECT_EQ(rk.forcaInterna[c][n], 0.0);
        }
    }
}

// ---------------------------------------------------------------------------
// Runs and files

TEST(ReferenciaArquivos, CantoFixoNuncaSeMoveEmNenhumIntegrador) {
    for (int solver = 3; solver <= 7; solver++) {
        PastaTemporaria pasta("canto" + std::to_string(solver));
        referencia::simularReferencia(lencolPendurado(solver), false, pasta.caminho());
        const auto primeiro = linhas(pasta.caminho() / "pontos0001.txt");
        const auto ultimo = linhas(pasta.caminho() / "pontos0005.txt");
        ASSERT_EQ(primeiro.size(), 3u + 32u);
        ASSERT_EQ(ultimo.size(), 2u + 32u);
        EXPECT_FALSE(fs::exists(pasta.caminho() / "pontos0006.txt"));
        EXPECT_EQ(ultimo[2], primeiro[3]) << "solver " << solver;
        EXPECT_NE(ultimo[2 + 30], primeiro[3 + 30]) << "the free far corner falls, solver " << solver;
    }
}

TEST(ReferenciaArquivos, FormatoDoQuadroEContagemDeLinhas) {
    Cena cena = tevra::cenaFolha(2, 3, 1, 1, 0);
    cena.massa = 3;
    cena.passo = 0.01;
    cena.acel[2] = -1;
    cena.quadros = 11;
    cena.intervalo = 5;
    PastaTemporaria pasta("formato");
    referencia::simularReferencia(cena, false, pasta.caminho());

    const auto q1 = linhas(pasta.caminho() / "pontos0001.txt");
    ASSERT_EQ(q1.size(), 15u);
    EXPECT_EQ(q1[0], "Objeto: 0");
    EXPECT_EQ(q1[1], "Area: 1");
    EXPECT_EQ(q1[2], "Densidade de Massa:  3");
    EXPECT_EQ(q1[3], "0: -0.5 -0.5 0");
    EXPECT_EQ(q1[4], "0: 0 0 1");
    EXPECT_EQ(q1[5], "1: -0.5 0 0");
    for (int k = 0; k < 12; k++) EXPECT_EQ(q1[3 + k].substr(0, 3), std::to_string(k / 2) + ": ");

    const auto q3 = linhas(pasta.caminho() / "pontos0003.txt");
    ASSERT_EQ(q3.size(), 14u);
    EXPECT_EQ(q3[0].substr(0, 6), "Area: ");
    EXPECT_EQ(q3[1], "Densidade de Massa:  3");
    EXPECT_FALSE(fs::exists(pasta.caminho() / "pontos0004.txt"));
    EXPECT_FALSE(fs::exists(pasta.caminho() / "dados0001.txt")) << "no dumps without the flag";
}

TEST(ReferenciaArquivos, DumpsSoComAFlagEComOsTitulosDoFormato) {
    Cena cena = planoTresPorTres();
    cena.grade_j = 2;  // 3 x 2 = 6 nodes
    cena.passo = 0.01;
    cena.quadros = 3;
    cena.intervalo = 1;
    PastaTemporaria pasta("dados");
    referencia::simularReferencia(cena, true, pasta.caminho());
    EXPECT_TRUE(fs::exists(pasta.caminho() / "dados0001.txt"));
    EXPECT_FALSE(fs::exists(pasta.caminho() / "dedos0001.txt"));
    EXPECT_TRUE(fs::exists(pasta.caminho() / "dedos0002.txt"));
    EXPECT_TRUE(fs::exists(pasta.caminho() / "dedos0003.txt"));

    const auto dump = linhas(pasta.caminho() / "dados0001.txt");
    ASSERT_EQ(dump.size(), 12u + 10u * 6u);
    EXPECT_EQ(dump[0], "Pontos:");
    EXPECT_EQ(dump[7], "Vetor Normal:");
    EXPECT_EQ(dump[14], "");
    EXPECT_EQ(dump[15], "Acelera\xE7\xE3o:");
    EXPECT_EQ(dump[16], "0: 0 0 0") << "frame-1 arrays start at zero";
    EXPECT_EQ(dump[23], "Forca Externa:");
    EXPECT_EQ(dump[31], "Forca Interna:");
    EXPECT_EQ(dump[39], "e_tio:");
    EXPECT_EQ(dump[47], "Termos e_chapeu:");
    EXPECT_EQ(dump[48], "0: 0 0 0");
    EXPECT_EQ(dump[51], "0: 0 0 0");
    EXPECT_EQ(dump[52], "1: 0 0 0");
    EXPECT_EQ(bytes(pasta.caminho() / "dedos0002.txt").find("\r"), std::string::npos);
}

TEST(ReferenciaArquivos, SolverDesconhecidoRepeteOQuadroInicial) {
    Cena cena = lencolPendurado(0);
    cena.restricoes.clear();
    cena.velInicial[2] = 1;
    PastaTemporaria pasta("semsolver");
    referencia::simularReferencia(cena, false, pasta.caminho());
    const auto primeiro = linhas(pasta.caminho() / "pontos0001.txt");
    const auto ultimo = linhas(pasta.caminho() / "pontos0005.txt");
    ASSERT_EQ(ultimo.size() + 1, primeiro.size());
    for (std::size_t k = 2; k < ultimo.size(); k++) EXPECT_EQ(ultimo[k], primeiro[k + 1]);
}

TEST(ReferenciaArquivos, UmQuadroSoQuandoNaoHaPassos) {
    Cena cena = planoTresPorTres();
    cena.quadros = 1;
    cena.intervalo = 1;
    PastaTemporaria pasta("umquadro");
    referencia::simularReferencia(cena, false, pasta.caminho());
    EXPECT_TRUE(fs::exists(pasta.caminho() / "pontos0001.txt"));
    EXPECT_FALSE(fs::exists(pasta.caminho() / "pontos0002.txt"));
    EXPECT_EQ(ObjetoRef::nomeArquivo("p", "pontos", 123), fs::path("p") / "pontos0123.txt");
    EXPECT_EQ(ObjetoRef::nomeArquivo("p", "pontos", 9999), fs::path("p") / "pontos9999.txt");
}
