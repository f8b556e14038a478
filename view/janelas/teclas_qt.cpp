#include "view/janelas/teclas_qt.h"

using tevra::Tecla;

Tecla teclaDaJanela(int tecla, Qt::KeyboardModifiers modificadores) {
    const bool tecladoNumerico = modificadores.testFlag(Qt::KeypadModifier);
    switch (tecla) {
        case Qt::Key_1:
        case Qt::Key_Exclam: return tecladoNumerico ? Tecla::Outra : Tecla::Um;
        case Qt::Key_2:
        case Qt::Key_At: return tecladoNumerico ? Tecla::Outra : Tecla::Dois;
        case Qt::Key_Plus: return tecladoNumerico ? Tecla::MaisNumerico : Tecla::Outra;
        case Qt::Key_Minus: return tecladoNumerico ? Tecla::MenosNumerico : Tecla::Outra;
        case Qt::Key_L: return Tecla::L;
        case Qt::Key_M: return Tecla::M;
        case Qt::Key_Y: return Tecla::Y;
        case Qt::Key_U: return Tecla::U;
        case Qt::Key_H: return Tecla::H;
        case Qt::Key_J: return Tecla::J;
        case Qt::Key_N: return Tecla::N;
        case Qt::Key_T: return Tecla::T;
        case Qt::Key_F: return Tecla::F;
        case Qt::Key_Up: return Tecla::SetaCima;
        case Qt::Key_Down: return Tecla::SetaBaixo;
        case Qt::Key_Left: return Tecla::SetaEsquerda;
        case Qt::Key_Right: return Tecla::SetaDireita;
        case Qt::Key_PageUp: return Tecla::PaginaAcima;
        case Qt::Key_PageDown: return Tecla::PaginaAbaixo;
        case Qt::Key_Q: return Tecla::Q;
        case Qt::Key_W: return Tecla::W;
        case Qt::Key_A: return Tecla::A;
        // Ctrl+S saves the picture; S alone (or with Shift or Alt) moves the surface.
        case Qt::Key_S: return modificadores.testFlag(Qt::ControlModifier) ? Tecla::SalvarImagem : Tecla::S;
        case Qt::Key_Z: return Tecla::Z;
        case Qt::Key_X: return Tecla::X;
        case Qt::Key_V: return Tecla::V;
        case Qt::Key_Escape: return Tecla::Esc;
        case Qt::Key_Home: return Tecla::Inicio;
        default: return Tecla::Outra;
    }
}
