#include "app/cena/escrita_script.h"

#include <charconv>
#include <cmath>

namespace tevra {

std::string textoReal(double v) {
    char buf[64];
    // Plain decimals where they stay short, as a user types them (0.0002, not 2e-04); the
    // exponent for the very small and the very large. Both are the shortest text that
    // reads back to the same double.
    const double a = std::fabs(v);
    if (a == 0.0 || (a >= 1e-5 && a < 1e15)) {
        const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
        if (r.ec == std::errc()) return std::string(buf, r.ptr);
    }
    const auto r = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, r.ptr);
}

namespace {

class Script {
public:
    Script& operator<<(const std::string& s) {
        t_ += s;
        return *this;
    }
    Script& operator<<(const char* s) {
        t_ += s;
        return *this;
    }
    Script& operator<<(int v) {
        t_ += std::to_string(v);
        return *this;
    }
    Script& operator<<(double v) {
        t_ += textoReal(v);
        return *this;
    }
    void vetor(const char* chave, const Vetor3& v) {
        *this << chave << " = x = " << v.x << " y = " << v.y << " z = " << v.z << "\n";
    }
    void tensor(const char* chave, const double (&w)[2][2]) {
        *this << chave << " = " << w[0][0] << " " << w[0][1] << " " << w[1][0] << " " << w[1][1] << "\n";
    }
    std::string texto() && { return std::move(t_); }

private:
    std::string t_;
};

}  // namespace

std::string escreverScript(const Cena& c) {
    Script s;
    s << "delta_t = " << c.passo << "\n";
    s << "n_passos = " << c.quadros << "\n";
    s << "pula = " << c.intervalo << "\n";
    s << "tempo_animacao = " << c.tempo << "\n\n";
    s << "grid = " << c.grade_i << " " << c.grade_j << "\n\n";
    s.vetor("aceleracao", c.acel);
    s.vetor("velocidade", c.velInicial);
    s << "\n";
    s.tensor("eta", c.eta);
    s.tensor("qsi", c.qsi);
    s.tensor("psi", c.psi);
    s << "\nmassa = " << c.massa << "\n";
    s << "gama = " << c.gama << "\n\n";
    if (c.fluidoAtivo)
        s << "fluido = cte = " << c.fluido_cte << " x = " << c.fluido.x << " y = " << c.fluido.y
          << " z = " << c.fluido.z << "\n\n";
    if (c.objeto == ObjetoPlano)
        s << "obj_deformavel = plano " << c.comp[0] << " " << c.comp[1] << " " << c.comp[2] << "\n\n";
    else
        s << "obj_deformavel = cilindro " << c.raio << " " << c.comprimento << "\n\n";
    // The boundary block is read and never used; it keeps its place.
    s << "fronteira = { 0 0 0 0 0 0 0 0 0 0 0 0 }\n\n";
    s << "n_restricoes = " << static_cast<int>(c.restricoes.size()) << "\n";
    s << "restricoes = {\n";
    for (const Restricao& r : c.restricoes) {
        s << "  " << r.u << " " << r.v << " " << (r.tipo == RestricaoForca ? "forca" : "fixo");
        s << " inicio=" << r.inicio << " fim=" << r.fim;
        const char* eixos[3] = {" x=", " y=", " z="};
        for (int k = 0; k < 3; ++k) {
            s << eixos[k];
            if (r.tipo == RestricaoForca)
                s << r.forca[k];
            else
                s << r.eixo[k];
        }
        s << "\n";
    }
    s << "}\n\n";
    s << "solver = " << std::string(nomeSolver(c.solver).value_or(nomesSolver[0])) << "\n";
    return std::move(s).texto();
}

}  // namespace tevra
