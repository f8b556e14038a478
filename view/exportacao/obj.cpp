#include "view/exportacao/obj.h"

#include <charconv>

#include "view/gl/malha.h"

namespace tevra {

namespace {

class Linhas {
public:
    explicit Linhas(std::string& s) : s_(s) {}
    template <class T>
    Linhas& numero(T v) {
        char buf[32];
        // Shortest text that reads back as the same value.
        const auto r = std::to_chars(buf, buf + sizeof buf, v);
        s_.append(buf, r.ptr);
        return *this;
    }
    Linhas& texto(const char* t) {
        s_ += t;
        return *this;
    }
    void tres(const char* chave, double a, double b, double c) {
        texto(chave).numero(a).texto(" ").numero(b).texto(" ").numero(c).texto("\n");
    }

private:
    std::string& s_;
};

}  // namespace

void montarObj(const SuperficieExportada& s, const std::vector<std::int64_t>& quads, std::string& saida) {
    const std::int64_t nos = s.numNos();
    saida.clear();
    saida.reserve(static_cast<std::size_t>(nos) * 140 + quads.size() * 12 + 128);
    Linhas l(saida);
    l.texto("# Tevra surface, ").numero(s.gradeI).texto(" x ").numero(s.gradeJ).texto(" nodes\no superficie\n");
    for (std::int64_t v = 0; v < nos; ++v) l.tres("v ", s.pos[0][v], s.pos[1][v], s.pos[2][v]);
    for (std::int64_t v = 0; v < nos; ++v) {
        const CoordTextura t = coordTextura(static_cast<int>(v), s.gradeJ);
        l.texto("vt ").numero(t.s).texto(" ").numero(t.t).texto("\n");
    }
    if (const CampoNos* n = s.normal())
        for (std::int64_t v = 0; v < nos; ++v) l.tres("vn ", n->colunas[0][v], n->colunas[1][v], n->colunas[2][v]);
    const bool comNormal = s.normal() != nullptr;
    for (std::size_t q = 0; q < quads.size(); q += 4) {
        l.texto("f");
        for (std::size_t k = 0; k < 4; ++k) {
            const std::int64_t i = quads[q + k] + 1;
            l.texto(" ").numero(i).texto("/").numero(i);
            if (comNormal) l.texto("/").numero(i);
        }
        l.texto("\n");
    }
}

}  // namespace tevra
