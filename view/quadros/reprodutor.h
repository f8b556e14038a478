#pragma once

namespace tevra {

// Which frame is on screen and whether it is playing. The window calls one operation per
// control and refreshes the play button and the frame counter afterwards; the pace (one
// frame per picture, at most one every 100 ms) is the window's.
class Reprodutor {
public:
    int numQuadros = 0;
    int quadroAtual = 1;  // 1-based
    bool tocando = false;

    // A new series was loaded: back to frame 1, playing or paused as before.
    void carregado(int quadros) {
        numQuadros = quadros;
        quadroAtual = 1;
    }

    // Play/pause: paused on the last frame restarts from the first; otherwise toggles.
    void playPause() {
        if (!tocando && quadroAtual == numQuadros) {
            quadroAtual = 1;
            tocando = true;
        } else {
            tocando = !tocando;
        }
    }
    void parar() {
        quadroAtual = 1;
        tocando = false;
    }
    void irParaPrimeiro() { quadroAtual = 1; }
    void irParaUltimo() {
        quadroAtual = numQuadros;
        tocando = false;
    }
    // Step buttons; false when at the end of the range (nothing changes).
    bool voltar() {
        if (quadroAtual <= 1) return false;
        --quadroAtual;
        return true;
    }
    bool avancar() {
        if (quadroAtual >= numQuadros) return false;
        ++quadroAtual;
        return true;
    }
    // Esc: play from the first frame.
    void reiniciar() {
        quadroAtual = 1;
        tocando = true;
    }

    // After a picture drawn while playing: true when a further frame follows (the window
    // steps to it after the pause), false when the last frame is on screen, which stops
    // playback there.
    bool aposImagem() {
        if (quadroAtual < numQuadros) return true;
        tocando = false;
        return false;
    }
};

}  // namespace tevra
