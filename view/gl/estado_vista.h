#pragma once

#include "model/vetor3.h"

namespace tevra {

// How the surface is looked at: changed only by the animation window's keys and kept
// while the window lives (showing it again does not reset it).
struct EstadoVista {
    bool preenchido = true;  // filled polygons, else outlines
    bool texturaLigada = false;
    bool iluminacaoLigada = false;
    bool perspectiva = true;  // perspective with camera, else orthographic
    bool marcaLuz0 = false;   // marker sphere at light 0
    bool marcaLuz1 = false;
    bool selecionandoLuz = false;  // the next 1 or 2 picks the light to move
    int luzSelecionada = 0;
    Vetor3 posLuz0{-20, 10, 20};
    Vetor3 posLuz1{20, 10, -20};
    Vetor3 rotacao{20, -20, 0};  // degrees about x, y, z
    Vetor3 escala{1, 1, 1};
    Vetor3 translacao{0, 0, 0};

    Vetor3& luzSelecionadaPos() { return luzSelecionada == 0 ? posLuz0 : posLuz1; }
};

}  // namespace tevra
