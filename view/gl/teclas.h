#pragma once

#include "view/gl/estado_vista.h"
#include "view/quadros/reprodutor.h"

namespace tevra {

// The keys of the animation window's table, as the window recognises them: a digit key
// of the main row (alone or with Shift), plus and minus of the numeric pad only, a letter
// whatever the modifiers, except Ctrl+S, which saves the picture instead of moving the
// surface. Anything else is Outra.
enum class Tecla {
    Outra,
    L,
    Um,
    Dois,
    M,
    Y,
    U,
    H,
    J,
    N,
    T,
    F,
    SetaCima,
    SetaBaixo,
    SetaEsquerda,
    SetaDireita,
    PaginaAcima,
    PaginaAbaixo,
    Q,
    W,
    A,
    S,
    Z,
    X,
    MaisNumerico,
    MenosNumerico,
    V,
    Esc,
    Inicio,        // Home: the view back to its start
    SalvarImagem,  // Ctrl+S
};

// What the window has to bring up to date after a key.
struct EfeitoTecla {
    bool vista = false;         // the picture
    bool reproducao = false;    // the playback: the play button, the counter, the pace
    bool salvarImagem = false;  // save the picture on screen (nothing else changes)
};

// FormKeyDown's table: every row whose key matches, in order (M matches two rows).
// The light keys move the selected light only while lighting is on. Home puts rotation,
// translation and scale back to their start values (lights and switches stay).
EfeitoTecla aplicarTecla(Tecla tecla, EstadoVista& vista, Reprodutor& reprodutor);

}  // namespace tevra
