// Overrides of a loaded scene: each must give the scene of the script edited by hand, and
// each mistake must be refused with a line that names it.
#include <gtest/gtest.h>

#include <sstream>

#include "app/cena/conversao_cena.h"
#include "app/cena/escrita_script.h"
#include "app/cena/script_cena.h"
#include "app/cena/sobreposicoes.h"
#include "base/erros.h"

using namespace tevra;

namespace {

const char* kScript = R"(delta_t = 0.001 n_passos = 41 pula = 10 tempo_animacao = 1
grid = 7 6
aceleracao = x = 0 y = 0 z = -9.8
velocidade = x = 0 y = 0 z = 0
eta = 5 0.5 0.5 5 qsi = 0.01 0 0 0.01 psi = 0.1 0 0 0.1
massa = 1 gama = 0.1
fluido = c = 0.1 x = 0 y = 1 z = 1
obj_deformavel = plano 2 1 0
fronteira 0 0 0 0 0 0 0 0 0 0 0 0 0
n_restricoes = 2
restricoes = { 0 0 fixo a=0 b=1000 x=0 y=0 z=0
 6 5 forca a=3 b=20 x=0.5 y=0 z=-1.5 }
)";

Cena deTexto(const std::string& script) {
    std::istringstream in(script);
    FormularioCena f;
    carregarScript(in, f);
    return converterCena(f, '.');
}

std::string editado(std::string s, const std::string& de, const std::string& para) {
    const auto p = s.find(de);
    EXPECT_NE(p, std::string::npos) << de;
    return p == std::string::npos ? s : s.replace(p, de.size(), para);
}

struct Caso {
    std::vector<std::string> sobreposicoes;
    std::string de, para;  // the same change made by hand to the script's text
};

TEST(Sobreposicoes, CadaChaveDaACenaDoScriptEditadoAMao) {
    const Caso casos[] = {
        {{"delta_t=1e-4"}, "delta_t = 0.001", "delta_t = 1e-4"},
        {{"n_passos=2001.9"}, "n_passos = 41", "n_passos = 2001.9"},
        {{"pula=1e1"}, "pula = 10", "pula = 1e1"},
        {{"tempo_animacao=2.5"}, "tempo_animacao = 1", "tempo_animacao = 2.5"},
        {{"grid=32,32"}, "grid = 7 6", "grid = 32 32"},
        {{"grid.j=9"}, "grid = 7 6", "grid = 7 9"},
        {{"grid.i=3"}, "grid = 7 6", "grid = 3 6"},
        {{"aceleracao.z=-1.62"}, "z = -9.8", "z = -1.62"},
        {{"aceleracao=1,2,3"}, "x = 0 y = 0 z = -9.8", "x = 1 y = 2 z = 3"},
        {{"velocidade.y=0.25"}, "velocidade = x = 0 y = 0", "velocidade = x = 0 y = 0.25"},
        {{"eta=60,0,0,60"}, "eta = 5 0.5 0.5 5", "eta = 60 0 0 60"},
        {{"eta.01=5"}, "eta = 5 0.5 0.5 5", "eta = 5 5 0.5 5"},
        {{"qsi.10=-0.2"}, "qsi = 0.01 0 0 0.01", "qsi = 0.01 0 -0.2 0.01"},
        {{"psi=1,2,3,4"}, "psi = 0.1 0 0 0.1", "psi = 1 2 3 4"},
        {{"massa=2"}, "massa = 1", "massa = 2"},
        {{"gama=-0"}, "gama = 0.1", "gama = -0"},
        {{"gama=0.30000000000000004"}, "gama = 0.1", "gama = 0.30000000000000004"},
        {{"fluido.cte=0.3"}, "c = 0.1", "c = 0.3"},
        {{"fluido.z=-2"}, "y = 1 z = 1\nobj", "y = 1 z = -2\nobj"},
        {{"fluido=0.7,1,2,3"}, "c = 0.1 x = 0 y = 1 z = 1", "c = 0.7 x = 1 y = 2 z = 3"},
        {{"fluido=off"}, "fluido = c = 0.1 x = 0 y = 1 z = 1", ""},
        {{"obj_deformavel=cilindro,0.5,2"}, "plano 2 1 0", "cilindro 0.5 2"},
        {{"obj_deformavel=plano,3,0,1.5"}, "plano 2 1 0", "plano 3 0 1.5"},
        {{"obj_deformavel.y=4"}, "plano 2 1 0", "plano 2 4 0"},
        {{"obj_deformavel=cilindro,1,1", "obj_deformavel.raio=0.75"}, "plano 2 1 0", "cilindro 0.75 1"},
        {{"restricoes.0.fim=500"}, "b=1000", "b=500"},
        {{"restricoes.0.y=1"}, "x=0 y=0 z=0", "x=0 y=1 z=0"},
        {{"restricoes.1.x=-2.25"}, "x=0.5", "x=-2.25"},
        {{"restricoes.1.u=5", "restricoes.1.inicio=4"}, "6 5 forca a=3", "5 5 forca a=4"},
        {{"solver=Verlet"}, "b=20 x=0.5 y=0 z=-1.5 }", "b=20 x=0.5 y=0 z=-1.5 } solver = Verlet"},
        {{"solver=Semi-explicit Euler", "solver=Runge-Kutta"}, "z=-1.5 }", "z=-1.5 } solver = Runge-Kutta"},
        {{"massa=3", "massa=4"}, "massa = 1", "massa = 4"},
    };
    const Cena base = deTexto(kScript);
    for (const Caso& c : casos) {
        Cena sobreposta = base;
        ASSERT_NO_THROW(aplicarSobreposicoes(sobreposta, c.sobreposicoes)) << c.sobreposicoes[0];
        const Cena aMao = deTexto(editado(kScript, c.de, c.para));
        EXPECT_TRUE(sobreposta == aMao) << c.sobreposicoes[0];
        // The text also tells -0 from 0 and names the solver.
        EXPECT_EQ(escreverScript(sobreposta), escreverScript(aMao)) << c.sobreposicoes[0];
    }
}

TEST(Sobreposicoes, FluidoNumaCenaSemFluido) {
    const std::string semFluido = editado(kScript, "fluido = c = 0.1 x = 0 y = 1 z = 1", "");
    Cena c = deTexto(semFluido);
    aplicarSobreposicao(c, "fluido=0.2,0,0,-1");
    EXPECT_TRUE(c ==
                deTexto(editado(semFluido, "obj_deformavel", "fluido = c = 0.2 x = 0 y = 0 z = -1 obj_deformavel")));
}

std::string erroDe(Cena& c, const std::string& s) {
    try {
        aplicarSobreposicao(c, s);
    } catch (const ErroEntrada& e) {
        return e.what();
    }
    return "";
}

TEST(Sobreposicoes, RecusaComUmaLinhaQueNomeiaASobreposicao) {
    const std::pair<std::string, std::string> casos[] = {
        {"etta=5", "unknown key 'etta'; the keys are delta_t, "},
        {"massa", "an override is KEY=VALUE"},
        {"massa=um", "'um' is not a valid floating point value"},
        {"massa=1,5", "'1,5' is not a valid floating point value"},
        {"n_passos=1e12", "'1e12' is too large for the iteration count"},
        {"grid=32", "2 values separated by commas expected (I,J), not 1"},
        {"grid=32,3.5", "'3.5' is not a valid integer value"},
        {"grid.k=3", "'grid' has no component 'k'; its components are .i, .j"},
        {"eta=1,2,3", "4 values separated by commas expected (A00,A01,A10,A11), not 3"},
        {"eta.=1", "'eta.' names no component after the point"},
        {"massa.x=1", "'massa' holds one value and has no components"},
        {"fluido=on", "4 values separated by commas expected (CTE,X,Y,Z or off), not 1"},
        {"obj_deformavel=plane,1,1,0", "the shape is 'plano' or 'cilindro', not 'plane'"},
        {"obj_deformavel=cilindro,1", "3 values separated by commas expected (cilindro,R,L), not 2"},
        {"obj_deformavel.raio=1", "the scene's surface is a sheet (plano); the tube's .raio needs"},
        {"restricoes.2.fim=5", "the scene has 2 restriction row(s), numbered from 0; there is no row '2'"},
        {"restricoes.0=5", "give a row and a field: restricoes.K.F"},
        {"restricoes.0.tipo=forca", "the type of a restriction row comes from the script"},
        {"restricoes.0.x=0.5", "'0.5' is not a valid integer value"},
        {"n_restricoes=3", "the restriction rows come from the script"},
        {"solver=Euler",
         "'Euler' is not a solver; choose Semi-explicit Euler, Midpoint, Runge-Kutta, Leapfrog or Verlet"},
    };
    const Cena base = deTexto(kScript);
    for (const auto& [sobreposicao, motivo] : casos) {
        Cena c = base;
        const std::string erro = erroDe(c, sobreposicao);
        EXPECT_EQ(erro.rfind(sobreposicao + ": ", 0), 0u) << "starts with the override as given: " << erro;
        EXPECT_NE(erro.find(motivo), std::string::npos) << erro;
        EXPECT_EQ(erro.find('\n'), std::string::npos) << erro;
        EXPECT_TRUE(c == base) << "a refused override changes nothing: " << sobreposicao;
    }

    Cena semFluido = deTexto(editado(kScript, "fluido = c = 0.1 x = 0 y = 1 z = 1", ""));
    EXPECT_NE(erroDe(semFluido, "fluido.cte=0.3").find("the scene has no fluid; give the whole block"),
              std::string::npos);
    Cena tubo = base;
    aplicarSobreposicao(tubo, "obj_deformavel=cilindro,1,2");
    EXPECT_NE(erroDe(tubo, "obj_deformavel.x=1").find("is a tube (cilindro); the sheet's .x needs"), std::string::npos);
}

TEST(Sobreposicoes, BytesDeControleSaemEscapadosNaMensagem) {
    // A command line can carry any byte but NUL: none of them reaches the terminal raw,
    // wherever the message quotes the override.
    const std::pair<std::string, std::string> casos[] = {
        {"et\x1b[2Ja=5", "et\\x1B[2Ja=5: unknown key 'et\\x1B[2Ja'"},
        {"grid.\r=3", "grid.\\x0D=3: 'grid' has no component '\\x0D'"},
        {"massa.\x07=1", "'massa' holds one value"},
        {"obj_deformavel=pl\x7f"
         "ano,1,1,0",
         "not 'pl\\x7Fano'"},
        {"restricoes.\n1.fim=5", "there is no row '\\x0A1'"},
        {"massa=\xc3\xa9", "massa=\xc3\xa9: '\xc3\xa9' is not a valid floating point value"},
    };
    const Cena base = deTexto(kScript);
    for (const auto& [sobreposicao, trecho] : casos) {
        Cena c = base;
        const std::string erro = erroDe(c, sobreposicao);
        EXPECT_NE(erro.find(trecho), std::string::npos) << erro;
        for (const char b : erro) EXPECT_FALSE(b >= 0 && b < 0x20) << "raw control byte in: " << erro;
        EXPECT_EQ(erro.find('\x7f'), std::string::npos) << erro;
    }
}

TEST(Sobreposicoes, ListaParaNaPrimeiraRecusada) {
    Cena c = deTexto(kScript);
    const Cena antes = c;
    EXPECT_THROW(aplicarSobreposicoes(c, {"massa=2", "gama=x", "delta_t=5"}), ErroEntrada);
    EXPECT_EQ(c.massa, 2.0) << "the ones before it were applied";
    EXPECT_EQ(c.gama, antes.gama);
    EXPECT_EQ(c.passo, antes.passo) << "nothing after it";
}

}  // namespace
