// Loading scene scripts into the window's texts.
#include <gtest/gtest.h>

#include <sstream>

#include "app/cena/script_cena.h"
#include "base/erros.h"
#include "support/arquivos_teste.h"

using namespace tevra;

namespace {

const char* kScript = R"(delta_t = 0.001
n_passos = 1e3
pula = 10
tempo_animacao = 5
grid = 12 8
aceleracao = x = 0 y = 0 z = -9.8
velocidade = x = 1 y = 2 z = 3
eta = 10 1 2 11
qsi = 0.1 0.01 0.02 0.11
psi = 0 0.5 0.6 0
massa = 2.5
gama = 0.05
fluido = cte = 0.3 x = 4 y = 5 z = 6
obj_deformavel = plano 2 3 0.5
fronteira = a b c d e f g h i j k l
n_restricoes = 2
restricoes = {
0 0 fixo inicio=0 fim=100 x=0 y=0 z=0
3 4 forca inicio=5 fim=7 x=0.5 y=0 z=-1.5
}
)";

// A load as the window sees it: complete, or stopped with a message.
struct ResultadoCarga {
    bool completo = false;
    std::string erro;
};

template <class Fonte>
ResultadoCarga tentar(Fonte&& fonte, FormularioCena& f) {
    try {
        carregarScript(fonte, f);
        return {true, {}};
    } catch (const ErroEntrada& e) {
        return {false, e.what()};
    }
}

ResultadoCarga carregar(const std::string& texto, FormularioCena& f) {
    std::istringstream in(texto);
    return tentar(in, f);
}

ResultadoCarga carregarArquivo(const std::filesystem::path& arquivo, FormularioCena& f) { return tentar(arquivo, f); }

std::string trocar(std::string s, const std::string& de, const std::string& para) {
    const auto p = s.find(de);
    EXPECT_NE(p, std::string::npos) << de;
    return s.replace(p, de.size(), para);
}

TEST(ScriptCena, CarregaCadaBlocoNaSuaCaixa) {
    FormularioCena f;
    const ResultadoCarga r = carregar(kScript, f);
    ASSERT_TRUE(r.completo) << r.erro;
    const std::pair<const char*, const char*> esperado[] = {
        {"passoEdit", "0.001"}, {"quadrosEdit", "1e3"}, {"intervaloEdit", "10"},    {"tempoEdit", "5"},
        {"grade_i_Edit", "12"}, {"grade_j_Edit", "8"},  {"acel_z_Edit", "-9.8"},    {"vel_x_Edit", "1"},
        {"vel_y_Edit", "2"},    {"vel_z_Edit", "3"},    {"eta_00_Edit", "10"},      {"eta_01_Edit", "1"},
        {"eta_10_Edit", "2"},   {"eta_11_Edit", "11"},  {"qsi_10_Edit", "0.02"},    {"psi_01_Edit", "0.5"},
        {"massaEdit", "2.5"},   {"gamaEdit", "0.05"},   {"fluido_cte_Edit", "0.3"}, {"fluido_x_Edit", "4"},
        {"fluido_z_Edit", "6"}, {"comp_x_Edit", "2"},   {"comp_y_Edit", "3"},       {"comp_z_Edit", "0.5"},
    };
    for (const auto& [caixa, texto] : esperado) EXPECT_EQ(f.texto(caixa), texto) << caixa;
    EXPECT_EQ(f.objeto, "plano");
    EXPECT_FALSE(f.caixas.count("raioEdit"));
    ASSERT_EQ(f.restricoes.size(), 2u);
    EXPECT_EQ(f.restricoes[0], (std::array<std::string, 8>{"0", "0", "fixo", "0", "100", "0", "0", "0"}));
    EXPECT_EQ(f.restricoes[1], (std::array<std::string, 8>{"3", "4", "forca", "5", "7", "0.5", "0", "-1.5"}));
}

TEST(ScriptCena, PalavrasEntreBlocosEQuebrasDeLinhaNaoMudamNada) {
    FormularioCena base;
    ASSERT_TRUE(carregar(kScript, base).completo);

    std::string comentado = "Uma cena de teste\n" + std::string(kScript);
    comentado = trocar(comentado, "grid =", "comentario qualquer\n\n grid =");
    comentado = trocar(comentado, "massa =", "(massa total) massa =");
    FormularioCena a;
    ASSERT_TRUE(carregar(comentado, a).completo);

    std::string umPorLinha = kScript;
    for (char& c : umPorLinha)
        if (c == ' ') c = '\n';
    FormularioCena b;
    ASSERT_TRUE(carregar(umPorLinha, b).completo);

    std::string umaLinha = kScript;
    for (char& c : umaLinha)
        if (c == '\n') c = ' ';
    FormularioCena c;
    ASSERT_TRUE(carregar(umaLinha, c).completo);

    std::string crlf;
    for (char ch : std::string(kScript)) {
        if (ch == '\n') crlf += '\r';
        crlf += ch;
    }
    crlf = trocar(crlf, "eta =", "\t\v\f eta =");
    FormularioCena d;
    ASSERT_TRUE(carregar(crlf, d).completo);

    for (const FormularioCena* f : {&a, &b, &c, &d}) {
        EXPECT_EQ(f->caixas, base.caixas);
        EXPECT_EQ(f->objeto, base.objeto);
        EXPECT_EQ(f->restricoes, base.restricoes);
    }
}

TEST(ScriptCena, RotulosDosVetoresSaoTomadosPelaPosicao) {
    FormularioCena f;
    ASSERT_TRUE(carregar(trocar(kScript, "x = 0 y = 0 z = -9.8", "a b 7 c d 8 e f 9"), f).completo);
    EXPECT_EQ(f.texto("acel_x_Edit"), "7");
    EXPECT_EQ(f.texto("acel_y_Edit"), "8");
    EXPECT_EQ(f.texto("acel_z_Edit"), "9");
}

TEST(ScriptCena, SemFluidoAsCaixasGuardamOTexto) {
    FormularioCena f;
    f.caixas["fluido_cte_Edit"] = "antes";
    f.caixas["fluido_x_Edit"] = "1";
    ASSERT_TRUE(carregar(trocar(kScript, "fluido = cte = 0.3 x = 4 y = 5 z = 6", ""), f).completo);
    EXPECT_EQ(f.texto("fluido_cte_Edit"), "antes");
    EXPECT_EQ(f.texto("fluido_x_Edit"), "1");
    EXPECT_FALSE(f.caixas.count("fluido_y_Edit"));

    // A fluid block after the shape is never read.
    std::string depois = trocar(kScript, "fluido = cte = 0.3 x = 4 y = 5 z = 6", "");
    depois = trocar(depois, "fronteira", "fluido = cte = 9 x = 9 y = 9 z = 9 fronteira");
    FormularioCena g;
    ASSERT_TRUE(carregar(depois, g).completo);
    EXPECT_FALSE(g.caixas.count("fluido_cte_Edit"));
}

TEST(ScriptCena, QualquerFormaQueNaoPlanoEhCilindro) {
    for (const char* palavra : {"cilindro", "tubo", "Plano"}) {
        FormularioCena f;
        f.caixas["comp_x_Edit"] = "intacto";
        ASSERT_TRUE(carregar(trocar(kScript, "plano 2 3 0.5", std::string(palavra) + " 1.5 4"), f).completo);
        EXPECT_EQ(f.objeto, "cilindro");
        EXPECT_EQ(f.texto("raioEdit"), "1.5");
        EXPECT_EQ(f.texto("compEdit"), "4");
        EXPECT_EQ(f.texto("comp_x_Edit"), "intacto");
    }
}

TEST(ScriptCena, CamposDeRestricaoGuardamOQueVemDepoisDoPrimeiroIgual) {
    FormularioCena f;
    const std::string linha = "1 2 forca Inicio=10 10 a=b=c z= =";
    ASSERT_TRUE(carregar(trocar(kScript, "3 4 forca inicio=5 fim=7 x=0.5 y=0 z=-1.5", linha), f).completo);
    EXPECT_EQ(f.restricoes[1], (std::array<std::string, 8>{"1", "2", "forca", "10", "10", "b=c", "", ""}));
}

TEST(ScriptCena, ZeroRestricoesDeixaSoOCabecalhoMasPedeOBloco) {
    std::string zero = trocar(kScript, "n_restricoes = 2", "n_restricoes = 0");
    zero = zero.substr(0, zero.find("restricoes = {")) + "restricoes = { }";
    FormularioCena f;
    ASSERT_TRUE(carregar(zero, f).completo);
    EXPECT_TRUE(f.restricoes.empty());

    FormularioCena g;
    const ResultadoCarga r = carregar(zero.substr(0, zero.rfind("restricoes = {")), g);
    EXPECT_FALSE(r.completo);
    EXPECT_EQ(g.restricoes.size(), 1u) << "the grid keeps its rows";
}

TEST(ScriptCena, ContagemInvalidaParaACargaSemMexerNaGrade) {
    FormularioCena f;
    f.restricoes = {{"9", "9", "x", "1", "2", "3", "4", "5"}};
    const ResultadoCarga r = carregar(trocar(kScript, "n_restricoes = 2", "n_restricoes = dois"), f);
    EXPECT_FALSE(r.completo);
    EXPECT_EQ(r.erro, "'dois' is not a valid integer value");
    EXPECT_EQ(f.restricoes.size(), 1u);
    EXPECT_EQ(f.restricoes[0][0], "9");
    EXPECT_EQ(f.texto("gamaEdit"), "0.05") << "boxes filled before the error keep their text";
}

TEST(ScriptCena, ContagemNegativaEhRecusadaComOValor) {
    FormularioCena f;
    f.restricoes = {{"9", "9", "x", "1", "2", "3", "4", "5"}};
    const ResultadoCarga r = carregar(trocar(kScript, "n_restricoes = 2", "n_restricoes = -3"), f);
    EXPECT_FALSE(r.completo) << "it used to load as no restriction at all";
    EXPECT_EQ(r.erro, "The restriction count must not be negative (it is -3)");
    EXPECT_EQ(f.restricoes[0][0], "9");
}

TEST(ScriptCena, FimDeArquivoEmQualquerPontoDaUmErroClaro) {
    const std::string texto = kScript;
    // Cut the script after every token: each cut must end the load with a message, never hang.
    std::size_t cortes = 0;
    for (std::size_t p = 0; p < texto.size(); ++p) {
        if (texto[p] != ' ' && texto[p] != '\n') continue;
        if (texto.find_first_not_of(" \n}", p) == std::string::npos) break;
        FormularioCena f;
        const ResultadoCarga r = carregar(texto.substr(0, p), f);
        EXPECT_FALSE(r.completo) << p;
        EXPECT_FALSE(r.erro.empty()) << p;
        ++cortes;
    }
    EXPECT_GT(cortes, 100u);

    FormularioCena f;
    EXPECT_EQ(carregar("delta_t = 1\nn_passos = 2\n", f).erro, "The script ends before the keyword \"pula\"");
    EXPECT_EQ(carregar(texto.substr(0, texto.find("y = 2")), f).erro,
              "The script ends inside the \"velocidade\" block");
}

TEST(ScriptCena, PalavraChaveForaDeOrdemNuncaEhEncontrada) {
    std::string s = trocar(kScript, "pula = 10\n", "");
    s = "pula = 10\n" + s;
    FormularioCena f;
    const ResultadoCarga r = carregar(s, f);
    EXPECT_FALSE(r.completo);
    EXPECT_EQ(r.erro, "The script ends before the keyword \"pula\"");
}

TEST(ScriptCena, TokensDeAte31CaracteresPassamOsMaioresSaoRecusados) {
    const std::string t31(31, 'a');
    FormularioCena f;
    ASSERT_TRUE(carregar(trocar(kScript, "massa = 2.5", "massa = " + t31), f).completo);
    EXPECT_EQ(f.texto("massaEdit"), t31);
    const ResultadoCarga r = carregar(trocar(kScript, "massa = 2.5", "massa = " + t31 + "b"), f);
    EXPECT_FALSE(r.completo);
    EXPECT_NE(r.erro.find("longer than 31"), std::string::npos) << r.erro;
    // Even in a comment, and even a huge one.
    EXPECT_FALSE(carregar(std::string(100000, 'x') + " " + kScript, f).completo);
}

TEST(ScriptCena, ArquivoQueNaoAbreEhRelatado) {
    FormularioCena f;
    const ResultadoCarga r = carregarArquivo("/nao/existe/script.anisot1", f);
    EXPECT_FALSE(r.completo);
    EXPECT_NE(r.erro.find("/nao/existe/script.anisot1"), std::string::npos);

    PastaTemporaria pasta;
    EXPECT_FALSE(carregarArquivo(*pasta, f).completo);
    escreverArquivo(pasta / "s.txt", kScript);
    EXPECT_TRUE(carregarArquivo(pasta / "s.txt", f).completo);
}

}  // namespace
