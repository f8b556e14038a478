#include "dynamics/arquivos.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <memory>

namespace tevra {

namespace {

// Text built in memory and written in one go; numbers as the stream's default
// notation prints them (%g, 6 significant digits).
class Texto {
public:
    explicit Texto(std::size_t reserva) { buf_.reserve(reserva); }

    Texto& operator<<(const char* s) {
        buf_.append(s);
        return *this;
    }
    Texto& operator<<(int v) {
        char tmp[16];
        auto r = std::to_chars(tmp, tmp + sizeof tmp, v);
        buf_.append(tmp, r.ptr);
        return *this;
    }
    Texto& operator<<(double v) {
        char tmp[32];
        auto r = std::to_chars(tmp, tmp + sizeof tmp, v, std::chars_format::general, 6);
        buf_.append(tmp, r.ptr);
        return *this;
    }
    // idx ": " a " " b " " c, one line.
    void linha(int idx, double a, double b, double c) { *this << idx << ": " << a << " " << b << " " << c << "\n"; }
    const std::string& str() const { return buf_; }

private:
    std::string buf_;
};

Escrita gravar(const std::filesystem::path& nome, const std::string& conteudo) {
    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(nome.c_str(), "wb"), &std::fclose);
    if (!f) return FalhaEscrita{nome, std::strerror(errno)};
    if (std::fwrite(conteudo.data(), 1, conteudo.size(), f.get()) != conteudo.size())
        return FalhaEscrita{nome, std::strerror(errno)};
    FILE* bruto = f.release();
    if (std::fclose(bruto) != 0) return FalhaEscrita{nome, std::strerror(errno)};
    return std::nullopt;
}

}  // namespace

Escrita gravarQuadro(const ObjDeformavel& obj, const std::filesystem::path& padrao, int n) {
    const std::filesystem::path nome = nomeArquivoQuadro(padrao, n);
    if (nome.empty())
        return FalhaEscrita{{}, "frame number " + std::to_string(n) + " does not fit a four-digit file name"};
    const int nos = obj.numNos();
    Texto t(static_cast<std::size_t>(nos) * 90 + 128);
    if (n == 1) {
        t << "Objeto: " << obj.objeto << "\n";
        t << "Area: " << obj.area0 << "\n";
    } else {
        t << "Area: " << obj.area << "\n";
    }
    t << "Densidade de Massa:  " << obj.densidade0 << "\n";
    for (int idx = 0; idx < nos; ++idx) {
        t.linha(idx, obj.pos[0][idx], obj.pos[1][idx], obj.pos[2][idx]);
        t.linha(idx, obj.nos.normal[0][idx], obj.nos.normal[1][idx], obj.nos.normal[2][idx]);
    }
    return gravar(nome, t.str());
}

Escrita gravarDados(const ObjDeformavel& obj, const std::filesystem::path& padrao, int n) {
    const std::filesystem::path nome = nomeArquivoQuadro(padrao, n);
    if (nome.empty())
        return FalhaEscrita{{}, "frame number " + std::to_string(n) + " does not fit a four-digit file name"};
    const int nos = obj.numNos();
    Texto t(static_cast<std::size_t>(nos) * 400 + 256);
    auto secao = [&](const char* titulo, double* const* v) {
        t << titulo << "\n";
        for (int idx = 0; idx < nos; ++idx) t.linha(idx, v[0][idx], v[1][idx], v[2][idx]);
    };
    secao("Pontos:", obj.pos);
    secao("Vetor Normal:", obj.nos.normal);
    secao("\nAcelera\xE7\xE3o:", obj.aceleracao);  // ISO 8859-1, as the files have always been
    secao("\nForca Externa:", obj.forcaExterna);
    secao("\nForca Interna:", obj.forcaInterna);
    secao("\ne_tio:", obj.e_tio);
    t << "\nTermos e_chapeu:\n";
    for (int idx = 0; idx < nos; ++idx)
        for (int q = 0; q < 4; ++q)
            t.linha(idx, obj.e_chapeu[q][0][idx], obj.e_chapeu[q][1][idx], obj.e_chapeu[q][2][idx]);
    return gravar(nome, t.str());
}

}  // namespace tevra
