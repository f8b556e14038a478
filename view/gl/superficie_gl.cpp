#include "view/gl/superficie_gl.h"

#include <GL/gl.h>

#include <algorithm>

#include "view/gl/malha.h"
#include "view/gl/tiras_gl.h"

namespace tevra {

void MalhaSuperficie::preparar(int gi, int gj, bool fechada) {
    if (gi == gradeI_ && gj == gradeJ_ && fechada == fechada_) return;
    gradeI_ = gi;
    gradeJ_ = gj;
    fechada_ = fechada;
    const std::size_t n = static_cast<std::size_t>(gi) * static_cast<std::size_t>(gj);
    // Vertex v is node v in white, vertex n + v the same node in blue.
    texturas_.resize(4 * n);
    cores_.resize(6 * n);
    for (std::size_t v = 0; v < n; ++v) {
        const CoordTextura c = coordTextura(static_cast<int>(v), gj);
        for (std::size_t copia : {v, n + v}) {
            texturas_[2 * copia] = c.s;
            texturas_[2 * copia + 1] = c.t;
        }
        cores_[3 * v] = 1.0f;
        cores_[3 * v + 1] = 1.0f;
        cores_[3 * v + 2] = 1.0f;
        cores_[3 * (n + v)] = 0.0f;
        cores_[3 * (n + v) + 1] = 0.0f;
        cores_[3 * (n + v) + 2] = 1.0f;
    }
    indices_.clear();
    ultimo_ = -1;
    const auto azul = static_cast<std::uint32_t>(n);
    percorrerQuads(gi, gj, fechada, [&](int k, int m) {
        // The strip k (white), k + 1 (blue), m (blue), m + 1 (white) as its two triangles:
        // (0, 1, 2), then (2, 1, 3), the order the strip's second triangle is taken in.
        const auto uk = static_cast<std::uint32_t>(k), um = static_cast<std::uint32_t>(m);
        indices_.insert(indices_.end(), {uk, azul + uk + 1, azul + um, azul + um, azul + uk + 1, um + 1});
        ultimo_ = m + 1;
    });
    pos_.resize(6 * n);
    normais_.resize(6 * n);
}

void MalhaSuperficie::desenhar(const QuadroCompacto& q, bool fechada) {
    if (q.numNos() != static_cast<std::size_t>(q.gradeI) * static_cast<std::size_t>(q.gradeJ)) return;
    preparar(q.gradeI, q.gradeJ, fechada);
    if (indices_.empty()) return;
    const std::size_t n = q.numNos();
    std::copy(q.pos.begin(), q.pos.end(), pos_.begin());
    std::copy(q.pos.begin(), q.pos.end(), pos_.begin() + static_cast<std::ptrdiff_t>(3 * n));
    // Reversed: the float of -x is minus the float of x.
    for (std::size_t k = 0; k < 3 * n; ++k) normais_[k] = normais_[3 * n + k] = -q.normal[k];

    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_NORMAL_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, pos_.data());
    glNormalPointer(GL_FLOAT, 0, normais_.data());
    glColorPointer(3, GL_FLOAT, 0, cores_.data());
    glTexCoordPointer(2, GL_FLOAT, 0, texturas_.data());
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(indices_.size()), GL_UNSIGNED_INT, indices_.data());
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_NORMAL_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);

    // What the strips leave current: white, then the last vertex's coordinate and normal.
    const auto u = static_cast<std::size_t>(ultimo_);
    glColor3f(1.0f, 1.0f, 1.0f);
    glTexCoord2f(texturas_[2 * u], texturas_[2 * u + 1]);
    glNormal3f(normais_[3 * u], normais_[3 * u + 1], normais_[3 * u + 2]);
}

void desenharSuperficieImediata(const QuadroCompacto& q, bool superficieFechada) {
    const int nj = q.gradeJ;
    if (q.numNos() != static_cast<std::size_t>(q.gradeI) * static_cast<std::size_t>(nj)) return;
    auto vertice = [&](int v) {
        const CoordTextura c = coordTextura(v, nj);
        const std::size_t b = 3 * static_cast<std::size_t>(v);
        glTexCoord2f(c.s, c.t);
        glNormal3f(-q.normal[b], -q.normal[b + 1], -q.normal[b + 2]);
        glVertex3f(q.pos[b], q.pos[b + 1], q.pos[b + 2]);
    };
    desenharTiras(q.gradeI, nj, superficieFechada, vertice);
}

void DesenhoSuperficie::desenhar(const QuadroCompacto& q, bool fechada, bool preenchido) {
    if (preenchido) {
        malha_.desenhar(q, fechada);
        return;
    }
    if (lista_ == 0) lista_ = glGenLists(1);
    if (lista_ == 0) return;
    if (listaDoQuadro_ != q.versao || listaFechada_ != fechada || q.versao == 0) {
        glNewList(lista_, GL_COMPILE);
        desenharSuperficieImediata(q, fechada);
        glEndList();
        listaDoQuadro_ = q.versao;
        listaFechada_ = fechada;
    }
    glCallList(lista_);
}

void DesenhoSuperficie::liberar() {
    if (lista_ != 0) glDeleteLists(lista_, 1);
    lista_ = 0;
    listaDoQuadro_ = 0;
}

}  // namespace tevra
