#pragma once

#include <cstdint>
#include <vector>

#include "view/quadros/quadro_compacto.h"

namespace tevra {

// Draws frames of one grid from vertex arrays: the same quads, vertices, colours, texture
// coordinates and reversed normals, in the same order, as the immediate-mode
// desenharSuperficie, so that filled polygons come out the same to the pixel (outlines do
// not: see DesenhoSuperficie), but nothing is kept per frame beyond its compact floats. Needs a current OpenGL 1.1 context while drawing; holds no
// OpenGL object, so one instance may serve any context.
//
// Each node has two vertices, a white one and a blue one, since a node is a white corner of
// some quads and a blue corner of others; a quad is the two triangles its four-vertex strip
// stands for, in the strip's own vertex order.
class MalhaSuperficie {
public:
    // Draws `quadro` (a grid of at least 2 x 2 nodes; anything else draws nothing). The
    // current colour, normal and texture coordinate are left as the last strip of the
    // immediate-mode drawing leaves them, as later drawing (the light markers' spheres)
    // picks them up.
    void desenhar(const QuadroCompacto& quadro, bool fechada);

private:
    void preparar(int gi, int gj, bool fechada);

    int gradeI_ = -1;
    int gradeJ_ = -1;
    bool fechada_ = false;
    std::vector<float> texturas_;         // 2 a vertex
    std::vector<float> cores_;            // 3 a vertex
    std::vector<std::uint32_t> indices_;  // 6 a quad
    std::vector<float> pos_, normais_;    // one frame, 3 a vertex, rebuilt at every picture
    int ultimo_ = -1;                     // node of the last vertex issued
};

// How the window draws a frame, the same to the pixel as a display list compiled from the
// immediate-mode desenharSuperficie: filled polygons from vertex arrays (MalhaSuperficie);
// outlines from one display list of the frame on screen, compiled when another frame comes
// to be outlined. Mesa compiles a list's strips into one long strip joined by degenerate
// triangles, whose edges show in outline, and where it splits a long list is its own
// business: only a list of the same calls draws the same lines.
//
// Needs the same current OpenGL 1.1 context for every call (a caller with its own context
// makes its own instance); liberar() before that context goes.
class DesenhoSuperficie {
public:
    DesenhoSuperficie() = default;
    DesenhoSuperficie(const DesenhoSuperficie&) = delete;
    DesenhoSuperficie& operator=(const DesenhoSuperficie&) = delete;

    // `preenchido` tells which polygon mode the picture has set.
    void desenhar(const QuadroCompacto& quadro, bool fechada, bool preenchido);
    // Deletes the outline's list.
    void liberar();
    // The context went, and the list with it: nothing to delete.
    void esquecer() {
        lista_ = 0;
        listaDoQuadro_ = 0;
    }
    // Memory held for the grid beyond the frames, counting an outline list at its size in
    // Mesa (about 230 bytes a node).
    static std::size_t bytesPorNo() { return kBytesPorNoDesenho; }

private:
    static constexpr std::size_t kBytesPorNoDesenho = 384;

    MalhaSuperficie malha_;
    unsigned lista_ = 0;
    std::uint64_t listaDoQuadro_ = 0;  // QuadroCompacto::versao compiled into lista_
    bool listaFechada_ = false;
};

// The strips of desenharSuperficie (cena_gl.h) in immediate mode from a compact frame: the
// same calls with the same values.
void desenharSuperficieImediata(const QuadroCompacto& quadro, bool superficieFechada);

}  // namespace tevra
