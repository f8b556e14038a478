#include "app/cena/script_cena.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <optional>
#include <vector>

#include "app/cena/conversao_cena.h"
#include "base/conversao.h"
#include "base/erros.h"
#include "base/texto_imprimivel.h"

namespace tevra {

namespace {

bool branco(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Token reader with the one current token of the loader.
class Leitor {
public:
    explicit Leitor(std::istream& in) : in_(in) {}

    std::string atual;

    // Next token into `atual`; false at the end of the file.
    bool ler() {
        std::streambuf* sb = in_.rdbuf();
        int c = sb->sgetc();
        while (c != EOF && branco(c)) c = sb->snextc();
        if (c == EOF) return false;
        std::string t;
        while (c != EOF && !branco(c)) {
            if (t.size() == kMaxToken)
                throw ErroEntrada("The script holds a token longer than " + std::to_string(kMaxToken) +
                                  " characters, starting '" + textoImprimivel(t) + "'");
            t.push_back(static_cast<char>(c));
            c = sb->snextc();
        }
        atual = std::move(t);
        return true;
    }

    // Reads one token that must be there: `onde` names the block for the message.
    const std::string& lerEm(const char* onde) {
        if (!ler()) throw ErroEntrada(std::string("The script ends inside the \"") + onde + "\" block");
        return atual;
    }

    void pular(int n, const char* onde) {
        for (int k = 0; k < n; ++k) lerEm(onde);
    }

    // The keyword anywhere in the rest of the file; false, with the file read to its end,
    // when it is not there.
    bool buscarOpcional(const char* chave) {
        while (atual != chave)
            if (!ler()) return false;
        return true;
    }

    // While the current token is not one of the keywords, read the next one; the current
    // token is tested before anything is read.
    void buscar(const char* chave, const char* outra = nullptr) {
        while (atual != chave && !(outra && atual == outra)) {
            if (!ler()) throw ErroEntrada(std::string("The script ends before the keyword \"") + chave + "\"");
        }
    }

private:
    std::istream& in_;
};

// The text after the first "=", or the whole token without one.
std::string depoisDoIgual(const std::string& t) {
    const std::size_t p = t.find('=');
    return p == std::string::npos ? t : t.substr(p + 1);
}

}  // namespace

void carregarScript(std::istream& entrada, FormularioCena& f) {
    Leitor L(entrada);
    auto valorSimples = [&](const char* chave, const char* destino) {
        L.buscar(chave);
        L.pular(1, chave);
        f.caixas[destino] = L.lerEm(chave);
    };
    auto vetor = [&](const char* chave, const char* const destino[3]) {
        L.buscar(chave);
        L.pular(1, chave);
        for (int c = 0; c < 3; ++c) {
            L.pular(2, chave);  // label and separator, taken by position
            f.caixas[destino[c]] = L.lerEm(chave);
        }
    };
    auto tensor = [&](const char* chave, const char* const destino[4]) {
        L.buscar(chave);
        L.pular(1, chave);
        for (int a = 0; a < 4; ++a) f.caixas[destino[a]] = L.lerEm(chave);
    };

    valorSimples("delta_t", caixa::passo);
    valorSimples("n_passos", caixa::quadros);
    valorSimples("pula", caixa::intervalo);
    valorSimples("tempo_animacao", caixa::tempo);
    L.buscar("grid");
    L.pular(1, "grid");
    f.caixas[caixa::grade_i] = L.lerEm("grid");
    f.caixas[caixa::grade_j] = L.lerEm("grid");
    vetor("aceleracao", caixa::acel);
    vetor("velocidade", caixa::vel);
    tensor("eta", caixa::eta);
    tensor("qsi", caixa::qsi);
    tensor("psi", caixa::psi);
    valorSimples("massa", caixa::massa);
    valorSimples("gama", caixa::gama);

    // The fluid block is optional and only counts before the shape.
    L.buscar("obj_deformavel", "fluido");
    if (L.atual == "fluido") {
        L.pular(3, "fluido");
        f.caixas[caixa::fluido_cte] = L.lerEm("fluido");
        for (int c = 0; c < 3; ++c) {
            L.pular(2, "fluido");
            f.caixas[caixa::fluido[c]] = L.lerEm("fluido");
        }
    }

    L.buscar("obj_deformavel");
    L.pular(1, "obj_deformavel");
    const std::string forma = L.lerEm("obj_deformavel");
    if (forma == "plano") {
        f.objeto = "plano";
        for (int c = 0; c < 3; ++c) f.caixas[caixa::comp[c]] = L.lerEm("obj_deformavel");
    } else {
        f.objeto = "cilindro";
        f.caixas[caixa::raio] = L.lerEm("obj_deformavel");
        f.caixas[caixa::comprimento] = L.lerEm("obj_deformavel");
    }

    L.buscar("fronteira");
    L.pular(13, "fronteira");  // boundary values reach no part of the system

    L.buscar("n_restricoes");
    L.pular(1, "n_restricoes");
    const std::string textoN = L.lerEm("n_restricoes");
    const std::optional<int> n = paraInteiro(textoN);
    if (!n) throw ErroEntrada(mensagemInteiroInvalido(textoN));
    if (*n < 0) throw ErroEntrada("The restriction count must not be negative (it is " + std::to_string(*n) + ")");

    L.buscar("restricoes");
    L.pular(2, "restricoes");
    std::vector<std::array<std::string, 8>> linhas;
    for (int r = 1; r <= *n; ++r) {
        std::array<std::string, 8> linha;
        for (int c = 1; c <= 8; ++c) {
            const std::string& t = L.lerEm("restricoes");
            linha[c - 1] = (c <= 3) ? t : depoisDoIgual(t);
        }
        linhas.push_back(std::move(linha));
    }

    // "solver = NAME" may follow the restrictions; older scripts leave the solver to the
    // window or the runner, and any other use of the word there stays a comment.
    // "Semi-explicit Euler" is the one name of two words.
    std::string solver = f.solver;
    while (L.buscarOpcional("solver")) {
        if (!L.ler()) break;
        if (L.atual != "=") continue;
        if (!L.ler()) break;
        std::string nome = L.atual;
        if (nome == "Semi-explicit" && L.ler()) nome += " " + L.atual;
        solver = std::move(nome);
        break;
    }
    f.restricoes = std::move(linhas);
    f.solver = std::move(solver);
}

void carregarScript(const std::filesystem::path& arquivo, FormularioCena& form) {
    std::error_code ec;
    if (std::filesystem::is_directory(arquivo, ec))
        throw ErroEntrada("Cannot open the script '" + textoImprimivel(arquivo.string()) + "': it is a folder");
    std::ifstream in(arquivo, std::ios::binary);
    if (!in)
        throw ErroEntrada("Cannot open the script '" + textoImprimivel(arquivo.string()) +
                          "': " + std::strerror(errno));
    carregarScript(in, form);
}

Cena carregarCena(const std::filesystem::path& arquivo) {
    FormularioCena form;
    carregarScript(arquivo, form);
    return converterCena(form, '.');
}

}  // namespace tevra
