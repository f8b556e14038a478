// From the window's texts to a ready surface.
#include <gtest/gtest.h>

#include <cmath>

#include "app/cena/configuracao.h"
#include "app/cena/conversao_cena.h"
#include "base/conversao.h"
#include "base/erros.h"
#include "base/memoria.h"
#include "dynamics/gravador_quadros.h"
#include "model/solver.h"

using namespace tevra;

namespace {

FormularioCena formValido() {
    FormularioCena f;
    auto& c = f.caixas;
    c[caixa::passo] = "0.001";
    c[caixa::quadros] = "100";
    c[caixa::intervalo] = "10";
    c[caixa::tempo] = "5";
    c[caixa::grade_i] = "6";
    c[caixa::grade_j] = "4";
    for (int k = 0; k < 3; ++k) {
        c[caixa::acel[k]] = k == 2 ? "-9.8" : "0";
        c[caixa::vel[k]] = "0";
    }
    for (int a = 0; a < 4; ++a) {
        c[caixa::eta[a]] = "1";
        c[caixa::qsi[a]] = "0.1";
        c[caixa::psi[a]].assign(1, '0');  // GCC 12 warns (-Wrestrict) on a one-letter literal here
    }
    c[caixa::massa] = "1";
    c[caixa::gama] = "0.1";
    f.objeto = "plano";
    c[caixa::comp[0]] = "2";
    c[caixa::comp[1]] = "1";
    c[caixa::comp[2]] = "0";
    f.restricoes.clear();
    return f;
}

std::string erroDe(const FormularioCena& f, char sep = '.') {
    try {
        criarObjeto(f, sep);
    } catch (const ErroEntrada& e) {
        return e.what();
    }
    return "";
}

TEST(Conversao, NumerosComSeparadorDoUsuario) {
    EXPECT_EQ(paraReal("0.5", '.'), 0.5);
    EXPECT_EQ(paraReal("0,5", ','), 0.5);
    EXPECT_FALSE(paraReal("0.5", ','));
    EXPECT_FALSE(paraReal("0,5", '.'));
    EXPECT_EQ(paraReal("-1e-3", '.'), -1e-3);
    EXPECT_EQ(paraReal("+2E3", '.'), 2000.0);
    EXPECT_EQ(paraReal(" 7 ", '.'), 7.0);
    EXPECT_EQ(paraReal(".5", '.'), 0.5);
    for (const char* ruim : {"", " ", "abc", "1e", "1.2.3", "nan", "inf", "0x10", "1e999", "--1", "1 2", "e5", "."})
        EXPECT_FALSE(paraReal(ruim, '.')) << ruim;
    EXPECT_EQ(paraInteiro("-42"), -42);
    EXPECT_EQ(paraInteiro("+7"), 7);
    EXPECT_EQ(paraInteiro("2147483647"), 2147483647);
    for (const char* ruim : {"", "1.0", "2147483648", "1e3", "x", "-", "3 4"}) EXPECT_FALSE(paraInteiro(ruim)) << ruim;
    EXPECT_EQ(mensagemRealInvalido("a,b"), "'a,b' is not a valid floating point value");
    EXPECT_EQ(mensagemInteiroInvalido(""), "'' is not a valid integer value");
}

TEST(Configuracao, PreencheOObjetoNaOrdemDaJanela) {
    FormularioCena f = formValido();
    f.solver = "Runge-Kutta";
    f.caixas[caixa::quadros] = "1e3";
    f.caixas[caixa::intervalo] = "10.9";
    f.caixas[caixa::eta[1]] = "0.25";
    f.caixas[caixa::vel[1]] = "3";
    f.caixas[caixa::tempo] = "12.5";
    auto o = criarObjeto(f, '.');
    EXPECT_EQ(o->solver, SolverRungeKutta);
    EXPECT_EQ(o->grade_i, 6);
    EXPECT_EQ(o->grade_j, 4);
    EXPECT_EQ(o->quadros, 1000);
    EXPECT_EQ(o->intervalo, 10);
    EXPECT_EQ(o->eta[0][1], 0.25);
    EXPECT_EQ(o->velInicial.y, 3.0);
    EXPECT_EQ(o->acel.z, -9.8);
    EXPECT_EQ(o->tempo, 12.5);
    EXPECT_EQ(o->objeto, ObjetoPlano);
    EXPECT_EQ(o->comp[0], 2.0);
    EXPECT_EQ(o->fluidoAtivo, 0);
    EXPECT_EQ(o->flagDados, 0);
    EXPECT_EQ(o->nRestricoes, 0);
}

TEST(Configuracao, FluidoSoComConstantePreenchida) {
    FormularioCena f = formValido();
    f.caixas[caixa::fluido[0]] = "lixo";
    EXPECT_EQ(criarObjeto(f, '.')->fluidoAtivo, 0);

    f.caixas[caixa::fluido_cte] = " ";  // a blank counts: then every fluid box must convert
    EXPECT_EQ(erroDe(f), "'lixo' is not a valid floating point value");
    for (int k = 0; k < 3; ++k) f.caixas[caixa::fluido[k]] = std::to_string(k + 1);
    EXPECT_EQ(erroDe(f), "' ' is not a valid floating point value");
    f.caixas[caixa::fluido_cte] = "0.5";
    auto o = criarObjeto(f, '.');
    EXPECT_EQ(o->fluidoAtivo, 1);
    EXPECT_EQ(o->fluido_cte, 0.5);
    EXPECT_EQ(o->fluido.z, 3.0);
}

TEST(Configuracao, SoAsCaixasDaFormaEscolhidaSaoLidas) {
    FormularioCena f = formValido();
    f.caixas[caixa::raio] = "";
    EXPECT_EQ(erroDe(f), "");
    f.objeto = "cilindro";
    EXPECT_EQ(erroDe(f), "'' is not a valid floating point value");
    f.caixas[caixa::raio] = "1";
    f.caixas[caixa::comprimento] = "3";
    f.caixas[caixa::comp[0]] = "";
    auto o = criarObjeto(f, '.');
    EXPECT_EQ(o->objeto, ObjetoCilindro);
    EXPECT_EQ(o->raio, 1.0);
    f.objeto = "";  // the empty item also means the tube
    EXPECT_EQ(criarObjeto(f, '.')->objeto, ObjetoCilindro);
}

TEST(Configuracao, RestricoesPorTipo) {
    FormularioCena f = formValido();
    f.restricoes = {{"1", "2", "forca", "0", "50", "0.5", "0", "-1.5"}, {"0", "0", "", "1", "9", "0", "1", "0"}};
    auto o = criarObjeto(f, '.');
    ASSERT_EQ(o->nRestricoes, 2);
    EXPECT_EQ(o->restricoes[0].tipo, RestricaoForca);
    EXPECT_EQ(o->restricoes[0].forca.x, 0.5);
    EXPECT_EQ(o->restricoes[0].forca.z, -1.5);
    EXPECT_EQ(o->restricoes[1].tipo, RestricaoFixa) << "any other text, even empty, fixes";
    EXPECT_EQ(o->restricoes[1].eixo[1], 1);
    EXPECT_EQ(o->restricoes[1].fim, 9);

    f.restricoes[0][2] = "fixo";
    EXPECT_EQ(erroDe(f), "'0.5' is not a valid integer value");
    f.restricoes = {std::array<std::string, 8>{}};  // the empty row of a window that loaded nothing
    EXPECT_EQ(erroDe(f), "'' is not a valid integer value");
}

TEST(Configuracao, PrimeiroValorRuimNaOrdemDeLeituraEhOReportado) {
    FormularioCena f = formValido();
    f.caixas[caixa::grade_i] = "seis";
    f.caixas[caixa::grade_j] = "quatro";
    EXPECT_EQ(erroDe(f), "'quatro' is not a valid integer value") << "grade_j is read first";
    f = formValido();
    f.caixas[caixa::massa] = "1,5";
    f.caixas[caixa::passo] = "x";
    EXPECT_EQ(erroDe(f), "'1,5' is not a valid floating point value");
    f = formValido();
    f.caixas[caixa::quadros] = "cem";
    EXPECT_EQ(erroDe(f), "'cem' is not a valid floating point value");
}

TEST(Configuracao, SeparadorDecimalDoUsuario) {
    FormularioCena f = formValido();
    f.caixas[caixa::gama] = "0,5";
    f.caixas[caixa::acel[2]] = "-9,8";
    f.caixas[caixa::passo] = "1e-3";
    for (int a = 0; a < 4; ++a) f.caixas[caixa::qsi[a]] = "0,1";
    auto o = criarObjeto(f, ',');
    EXPECT_EQ(o->qsi[1][1], 0.1);
    EXPECT_EQ(o->gama, 0.5);
    EXPECT_EQ(o->acel.z, -9.8);
    f.caixas[caixa::gama] = "0.5";
    EXPECT_EQ(erroDe(f, ','), "'0.5' is not a valid floating point value");
}

TEST(Configuracao, RecusaOQueNaoSePodeSimular) {
    FormularioCena f = formValido();
    f.solver = "Euler";
    EXPECT_NE(erroDe(f).find("'Euler' is not a solver"), std::string::npos);

    for (const char* g : {"1", "0", "-3"}) {
        f = formValido();
        f.caixas[caixa::grade_i] = g;
        EXPECT_NE(erroDe(f).find("at least 2 nodes"), std::string::npos) << g;
    }
    f = formValido();
    f.objeto = "cilindro";
    f.caixas[caixa::raio] = "1";
    f.caixas[caixa::comprimento] = "1";
    f.caixas[caixa::grade_j] = "1";
    EXPECT_NE(erroDe(f).find("at least 2 nodes"), std::string::npos);

    f = formValido();
    f.caixas[caixa::grade_i] = "40000000";
    f.caixas[caixa::grade_j] = "1000000";
    const std::string memoria = erroDe(f);
    EXPECT_NE(memoria.find("needs"), std::string::npos) << memoria;
    EXPECT_NE(memoria.find("PB of memory"), std::string::npos) << memoria;

    f = formValido();
    f.caixas[caixa::comp[0]] = "0";
    EXPECT_NE(erroDe(f).find("no area"), std::string::npos);
    f = formValido();
    f.caixas[caixa::comp[1]] = "0";
    EXPECT_NE(erroDe(f).find("no area"), std::string::npos);
    f.caixas[caixa::comp[2]] = "3";
    EXPECT_EQ(erroDe(f), "") << "a sheet standing in y = 0 still has area";
    for (const char* caixaZero : {caixa::raio, caixa::comprimento}) {
        f = formValido();
        f.objeto = "cilindro";
        f.caixas[caixa::raio] = "1";
        f.caixas[caixa::comprimento] = "2";
        f.caixas[caixaZero] = "0";
        EXPECT_NE(erroDe(f).find("no area"), std::string::npos) << caixaZero;
    }

    f = formValido();
    f.caixas[caixa::intervalo] = "0.9";
    EXPECT_NE(erroDe(f).find("at least 1"), std::string::npos);
    f = formValido();
    f.caixas[caixa::quadros] = "20001";
    f.caixas[caixa::intervalo] = "2";
    EXPECT_NE(erroDe(f).find("10001 frames"), std::string::npos) << erroDe(f);
    f.caixas[caixa::quadros] = "1e12";
    EXPECT_NE(erroDe(f).find("too large"), std::string::npos);
}

// The box a refusal names, with the refusal's text.
std::pair<std::optional<OrigemEntrada>, std::string> origemDe(const FormularioCena& f, char sep = '.') {
    try {
        converterCena(f, sep);
    } catch (const ErroEntrada& e) {
        return {e.origem, e.what()};
    }
    return {std::nullopt, ""};
}

TEST(OrigemDoErro, CadaValorRuimNomeiaSuaCaixaEOTextoNaoMuda) {
    std::vector<const char*> reais = {caixa::passo, caixa::quadros, caixa::intervalo,
                                      caixa::tempo, caixa::massa,   caixa::gama};
    for (int k = 0; k < 3; ++k) reais.insert(reais.end(), {caixa::acel[k], caixa::vel[k], caixa::comp[k]});
    for (int a = 0; a < 4; ++a) reais.insert(reais.end(), {caixa::eta[a], caixa::qsi[a], caixa::psi[a]});
    for (const char* nome : reais) {
        FormularioCena f = formValido();
        f.caixas[nome] = std::string(1, 'x');
        const auto [origem, texto] = origemDe(f);
        ASSERT_TRUE(origem) << nome;
        EXPECT_EQ(*origem, OrigemEntrada{nome}) << nome;
        EXPECT_EQ(texto, "'x' is not a valid floating point value") << nome;
    }
    for (const char* nome : {caixa::grade_i, caixa::grade_j}) {
        FormularioCena f = formValido();
        f.caixas[nome] = "";
        const auto [origem, texto] = origemDe(f);
        EXPECT_EQ(origem, OrigemEntrada{nome});
        EXPECT_EQ(texto, "'' is not a valid integer value");
    }
    // The fluid's and the tube's boxes, once they are read.
    FormularioCena f = formValido();
    f.caixas[caixa::fluido_cte] = "0.1";
    for (const char* nome : {caixa::fluido[0], caixa::fluido[1], caixa::fluido[2], caixa::fluido_cte}) {
        for (const char* b : caixa::fluido) f.caixas[b] = "0";
        f.caixas[caixa::fluido_cte] = "0.1";
        f.caixas[nome] = "u";
        EXPECT_EQ(origemDe(f).first, OrigemEntrada{nome});
    }
    f = formValido();
    f.objeto = "cilindro";
    f.caixas[caixa::raio] = "r";
    EXPECT_EQ(origemDe(f).first, OrigemEntrada{caixa::raio});
    f.caixas[caixa::raio] = "1";
    EXPECT_EQ(origemDe(f).first, OrigemEntrada{caixa::comprimento}) << "the tube's length is empty";
}

TEST(OrigemDoErro, CelulasDaTabelaDeRestricoes) {
    FormularioCena f = formValido();
    f.restricoes = {{"0", "0", "fixo", "0", "9", "0", "0", "0"}, {"1", "1", "forca", "0", "9", "0.5", "0", "-1.5"}};
    for (int coluna = 1; coluna <= 8; ++coluna) {
        for (int linha = 0; linha < 2; ++linha) {
            if (coluna == 3) continue;  // any type text is a type
            FormularioCena g = f;
            g.restricoes[linha][coluna - 1] = std::string(1, '?');
            const auto [origem, texto] = origemDe(g);
            ASSERT_TRUE(origem) << linha << " " << coluna;
            EXPECT_EQ(*origem, (OrigemEntrada{{}, linha, coluna}));
            EXPECT_TRUE(origem->celula());
            const bool real = linha == 1 && coluna >= 6;
            EXPECT_EQ(texto, real ? "'?' is not a valid floating point value" : "'?' is not a valid integer value");
        }
    }
    EXPECT_EQ(legendaDaOrigem(OrigemEntrada{{}, 3, 4}), "restriction 3, column Inicio");
    EXPECT_EQ(legendaDaOrigem(OrigemEntrada{{}, 0, 8}), "restriction 0, column Z");
}

TEST(OrigemDoErro, VerificacoesApontamACaixaQueAsCausa) {
    auto origem = [](FormularioCena f) { return origemDe(f).first; };
    FormularioCena f = formValido();
    f.solver = "Euler";
    EXPECT_EQ(origem(f), OrigemEntrada{caixa::solver});
    f = formValido();
    f.caixas[caixa::grade_i] = "1";
    EXPECT_EQ(origem(f), OrigemEntrada{caixa::grade_i});
    f = formValido();
    f.caixas[caixa::grade_j] = "1";
    EXPECT_EQ(origem(f), OrigemEntrada{caixa::grade_j});
    f = formValido();
    f.caixas[caixa::comp[0]] = "0";
    EXPECT_EQ(origem(f), OrigemEntrada{caixa::comp[0]});
    f = formValido();
    f.caixas[caixa::comp[1]] = "0";
    EXPECT_EQ(origem(f), OrigemEntrada{caixa::comp[1]});
    f = formValido();
    f.caixas[caixa::intervalo] = "0";
    EXPECT_EQ(origem(f), OrigemEntrada{caixa::intervalo});
    f = formValido();
    f.caixas[caixa::quadros] = "1e12";
    EXPECT_EQ(origem(f), OrigemEntrada{caixa::quadros});
    f.caixas[caixa::quadros] = "200000";
    EXPECT_NE(origemDe(f).second.find("frames"), std::string::npos);
    EXPECT_EQ(origem(f), OrigemEntrada{caixa::quadros}) << "too many frames";
}

TEST(NumerosLocais, PontoViraOSeparadorDoUsuarioEOResultadoNaoMuda) {
    FormularioCena f = formValido();
    f.caixas[caixa::passo] = "1.5e-3";
    f.caixas[caixa::tempo] = "abc.d";
    f.restricoes = {{"0", "1", "forca", "2", "9", "0.5", "-1", "+2.25"}};
    FormularioCena local = f;
    localizarNumeros(local, ',');
    EXPECT_EQ(local.caixas[caixa::passo], "1,5e-3");
    EXPECT_EQ(local.caixas[caixa::acel[2]], "-9,8");
    EXPECT_EQ(local.caixas[caixa::grade_i], "6");
    EXPECT_EQ(local.caixas[caixa::tempo], "abc.d") << "a text that is no number stays as it is";
    EXPECT_EQ(local.restricoes[0], (std::array<std::string, 8>{"0", "1", "forca", "2", "9", "0,5", "-1", "+2,25"}));
    f.caixas[caixa::tempo] = local.caixas[caixa::tempo] = "5";
    EXPECT_EQ(converterCena(local, ','), converterCena(f, '.'));

    FormularioCena ponto = f;
    localizarNumeros(ponto, '.');
    EXPECT_EQ(ponto.caixas, f.caixas);
    EXPECT_EQ(ponto.restricoes, f.restricoes);
}

TEST(Configuracao, MassaEPassoNaoPositivosEIteracoesNegativasSaoRecusados) {
    const std::pair<const char*, std::pair<const char*, const char*>> casos[] = {
        {caixa::massa, {"0", "The mass must be greater than 0 (it is 0)"}},
        {caixa::massa, {"-1", "The mass must be greater than 0 (it is -1)"}},
        {caixa::massa, {"-0", "The mass must be greater than 0 (it is -0)"}},
        {caixa::passo, {"0", "The time step must be greater than 0 (it is 0)"}},
        {caixa::passo, {"-0.001", "The time step must be greater than 0 (it is -0.001)"}},
        {caixa::quadros, {"-5", "The iteration count must not be negative (it is -5)"}},
        {caixa::quadros, {"-0.5", ""}},  // truncated to 0: no step, only frame 1
        {caixa::quadros, {"0", ""}},
        {caixa::massa, {"1e-300", ""}},
        {caixa::passo, {"1e-12", ""}},
    };
    for (const auto& [nome, caso] : casos) {
        FormularioCena f = formValido();
        f.caixas[nome] = caso.first;
        EXPECT_EQ(erroDe(f), caso.second) << nome << " = " << caso.first;
    }
    // The typed scene of any front door goes through the same check.
    Cena c = converterCena(formValido(), '.');
    c.massa = std::nan("");
    EXPECT_THROW(verificarCena(c), ErroEntrada);
}

TEST(Configuracao, MemoriaComparadaComADisponivelEComOsDumps) {
    const unsigned long long tem = memoriaDisponivel();
    const unsigned long long semDados =
        ObjDeformavel::bytesPorNo(SolverEulerSemiExplicito) + GravadorQuadros::bytesPorNo(false);
    const unsigned long long comDados =
        ObjDeformavel::bytesPorNo(SolverEulerSemiExplicito) + GravadorQuadros::bytesPorNo(true);
    ASSERT_GT(comDados, semDados * 13 / 10) << "the dumps' copies and text are counted";
    // A square grid halfway between what fits with and without the data dumps.
    const auto lado = static_cast<int>(std::sqrt(static_cast<double>(tem) / ((semDados + comDados) / 2.0)));
    if (static_cast<long long>(lado) * lado > 2147483647LL / 16) GTEST_SKIP() << "more memory than a grid can index";
    EXPECT_NO_THROW(verificarGrade(lado, lado, SolverEulerSemiExplicito, false));
    try {
        verificarGrade(lado, lado, SolverEulerSemiExplicito, true);
        ADD_FAILURE() << "a grid that fits only without the dumps was taken with them";
    } catch (const ErroEntrada& e) {
        const std::string m = e.what();
        EXPECT_NE(m.find("of memory with the data dumps; "), std::string::npos) << m;
        EXPECT_NE(m.find(" is available"), std::string::npos) << m;
    }
}

}  // namespace

TEST(Configuracao, GravacaoRecusaIntervaloNuloEQuadrosDemais) {
    auto recusa = [](int quadros, int intervalo) -> std::optional<std::string> {
        try {
            verificarGravacao(quadros, intervalo);
            return std::nullopt;
        } catch (const ErroEntrada& e) {
            return e.what();
        }
    };
    EXPECT_TRUE(recusa(10, 0).has_value());
    EXPECT_TRUE(recusa(10, -3).has_value());
    EXPECT_FALSE(recusa(9999, 1).has_value());
    EXPECT_TRUE(recusa(10000, 1).has_value()) << "9999 steps and the initial frame";
    EXPECT_FALSE(recusa(19998, 2).has_value());
    EXPECT_FALSE(recusa(0, 1).has_value());
    EXPECT_NE(recusa(10000, 1)->find("10000"), std::string::npos);
}
