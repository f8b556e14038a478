#include "view/gl/teclas.h"

namespace tevra {

namespace {

// 1 and 2 either pick the light that M asked for or toggle that light's marker.
void teclaDeLuz(EstadoVista& v, int luz, bool& marca) {
    if (v.selecionandoLuz) {
        v.luzSelecionada = luz;
        v.selecionandoLuz = false;
    } else {
        marca = !marca;
    }
}

void escalar(Vetor3& escala, double passo) {
    escala.x += passo;
    escala.y += passo;
    escala.z += passo;
}

}  // namespace

EfeitoTecla aplicarTecla(Tecla tecla, EstadoVista& v, Reprodutor& reprodutor) {
    EfeitoTecla efeito;
    if (tecla == Tecla::Outra) return efeito;
    if (tecla == Tecla::SalvarImagem) {
        efeito.salvarImagem = true;
        return efeito;
    }
    efeito.vista = true;

    // M is both "choose a light" and "selected light +z": the first row comes first, so the
    // light moved is still the one selected before.
    if (tecla == Tecla::L) v.iluminacaoLigada = !v.iluminacaoLigada;
    if (tecla == Tecla::Um) teclaDeLuz(v, 0, v.marcaLuz0);
    if (tecla == Tecla::Dois) teclaDeLuz(v, 1, v.marcaLuz1);
    if (tecla == Tecla::M) v.selecionandoLuz = true;
    if (v.iluminacaoLigada) {
        Vetor3& luz = v.luzSelecionadaPos();
        if (tecla == Tecla::Y) luz.x -= 0.3;
        if (tecla == Tecla::U) luz.x += 0.3;
        if (tecla == Tecla::H) luz.y -= 0.3;
        if (tecla == Tecla::J) luz.y += 0.3;
        if (tecla == Tecla::N) luz.z -= 0.3;
        if (tecla == Tecla::M) luz.z += 0.3;
    }

    switch (tecla) {
        case Tecla::T: v.texturaLigada = !v.texturaLigada; break;
        case Tecla::F: v.preenchido = !v.preenchido; break;
        case Tecla::SetaCima: v.rotacao.x += 3; break;
        case Tecla::SetaBaixo: v.rotacao.x -= 3; break;
        case Tecla::SetaEsquerda: v.rotacao.y -= 3; break;
        case Tecla::SetaDireita: v.rotacao.y += 3; break;
        case Tecla::PaginaAcima: v.rotacao.z += 1; break;
        case Tecla::PaginaAbaixo: v.rotacao.z -= 1; break;
        case Tecla::Q: v.translacao.x -= 1; break;
        case Tecla::W: v.translacao.x += 1; break;
        case Tecla::A: v.translacao.y -= 1; break;
        case Tecla::S: v.translacao.y += 1; break;
        case Tecla::Z: v.translacao.z -= 1; break;
        case Tecla::X: v.translacao.z += 1; break;
        // No limit: the scale goes through zero and mirrors the surface.
        case Tecla::MaisNumerico: escalar(v.escala, 0.01); break;
        case Tecla::MenosNumerico: escalar(v.escala, -0.01); break;
        case Tecla::V: v.perspectiva = !v.perspectiva; break;
        case Tecla::Inicio: {
            const EstadoVista inicio;
            v.rotacao = inicio.rotacao;
            v.translacao = inicio.translacao;
            v.escala = inicio.escala;
            break;
        }
        case Tecla::Esc:
            reprodutor.reiniciar();
            efeito.reproducao = true;
            break;
        default: break;
    }
    return efeito;
}

}  // namespace tevra
