#pragma once

#include <GL/gl.h>

#include "view/gl/malha.h"

namespace tevra {

// Every quad of the grid as one triangle strip, white on its near-left and far-right
// corners and blue on the others: the gradient the plain drawing shows. `vertice(v)` sets
// node v's texture coordinate and normal and emits its position, whatever the frame's
// storage.
template <class V>
void desenharTiras(int ni, int nj, bool fechada, V&& vertice) {
    percorrerQuads(ni, nj, fechada, [&](int k, int m) {
        glBegin(GL_TRIANGLE_STRIP);
        glColor3f(1.0f, 1.0f, 1.0f);
        vertice(k);
        glColor3f(0.0f, 0.0f, 1.0f);
        vertice(k + 1);
        glColor3f(0.0f, 0.0f, 1.0f);
        vertice(m);
        glColor3f(1.0f, 1.0f, 1.0f);
        vertice(m + 1);
        glEnd();
    });
}

}  // namespace tevra
