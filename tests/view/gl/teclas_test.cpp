// The animation window's key table without a window: what each key does to the view and
// the player, and what the window is told to refresh.
#include <gtest/gtest.h>

#include "view/gl/teclas.h"

using namespace tevra;

namespace {

class Teclas : public ::testing::Test {
protected:
    EfeitoTecla tecla(Tecla t, int vezes = 1) {
        EfeitoTecla e;
        for (int i = 0; i < vezes; ++i) e = aplicarTecla(t, v, r);
        return e;
    }
    void esperarLuz(const Vetor3& luz, double x, double y, double z) {
        EXPECT_NEAR(luz.x, x, 1e-12);
        EXPECT_NEAR(luz.y, y, 1e-12);
        EXPECT_NEAR(luz.z, z, 1e-12);
    }

    EstadoVista v;
    Reprodutor r{10, 1, false};
};

TEST_F(Teclas, LinhasDaVistaAndamPeloSeuPassoSemLimites) {
    struct Caso {
        Tecla tecla;
        double Vetor3::*eixo;
        Vetor3 EstadoVista::*campo;
        double passo;
    };
    const Caso casos[] = {
        {Tecla::SetaCima, &Vetor3::x, &EstadoVista::rotacao, 3},
        {Tecla::SetaBaixo, &Vetor3::x, &EstadoVista::rotacao, -3},
        {Tecla::SetaEsquerda, &Vetor3::y, &EstadoVista::rotacao, -3},
        {Tecla::SetaDireita, &Vetor3::y, &EstadoVista::rotacao, 3},
        {Tecla::PaginaAcima, &Vetor3::z, &EstadoVista::rotacao, 1},
        {Tecla::PaginaAbaixo, &Vetor3::z, &EstadoVista::rotacao, -1},
        {Tecla::Q, &Vetor3::x, &EstadoVista::translacao, -1},
        {Tecla::W, &Vetor3::x, &EstadoVista::translacao, 1},
        {Tecla::A, &Vetor3::y, &EstadoVista::translacao, -1},
        {Tecla::S, &Vetor3::y, &EstadoVista::translacao, 1},
        {Tecla::Z, &Vetor3::z, &EstadoVista::translacao, -1},
        {Tecla::X, &Vetor3::z, &EstadoVista::translacao, 1},
    };
    for (const Caso& c : casos) {
        v = EstadoVista{};
        const double antes = (v.*c.campo).*c.eixo;
        const EfeitoTecla e = tecla(c.tecla, 200);  // far past any natural range: no wrapping
        EXPECT_DOUBLE_EQ((v.*c.campo).*c.eixo, antes + 200 * c.passo) << static_cast<int>(c.tecla);
        EXPECT_TRUE(e.vista);
        EXPECT_FALSE(e.reproducao);
        // Nothing else moved.
        Vetor3 resto = v.*c.campo;
        resto.*c.eixo = antes;
        EXPECT_EQ(resto.x, (EstadoVista{}.*c.campo).x);
        EXPECT_EQ(resto.y, (EstadoVista{}.*c.campo).y);
        EXPECT_EQ(resto.z, (EstadoVista{}.*c.campo).z);
    }
}

TEST_F(Teclas, AlternanciasLigamEDesligam) {
    for (auto [t, campo] :
         {std::pair{Tecla::L, &EstadoVista::iluminacaoLigada}, std::pair{Tecla::T, &EstadoVista::texturaLigada},
          std::pair{Tecla::F, &EstadoVista::preenchido}, std::pair{Tecla::V, &EstadoVista::perspectiva}}) {
        const bool antes = v.*campo;
        tecla(t);
        EXPECT_NE(v.*campo, antes) << static_cast<int>(t);
        tecla(t);
        EXPECT_EQ(v.*campo, antes) << static_cast<int>(t);
    }
}

TEST_F(Teclas, EscalaChegaAZeroDepoisDeCemMenosEDepoisEspelha) {
    tecla(Tecla::MaisNumerico, 2);
    EXPECT_NEAR(v.escala.x, 1.02, 1e-12);
    tecla(Tecla::MenosNumerico, 102);
    EXPECT_NEAR(v.escala.x, 0.0, 1e-9);
    EXPECT_NEAR(v.escala.y, 0.0, 1e-9);
    EXPECT_NEAR(v.escala.z, 0.0, 1e-9);
    tecla(Tecla::MenosNumerico);
    EXPECT_NEAR(v.escala.x, -0.01, 1e-9);
    EXPECT_NEAR(v.escala.y, -0.01, 1e-9);
    EXPECT_NEAR(v.escala.z, -0.01, 1e-9);
}

TEST_F(Teclas, TeclasDeLuzMovemALuzEscolhidaSoComIluminacaoLigada) {
    // Off, even with a marker shown: nothing moves, M only arms the choice.
    tecla(Tecla::Um);
    EXPECT_TRUE(v.marcaLuz0);
    for (Tecla t : {Tecla::Y, Tecla::U, Tecla::H, Tecla::J, Tecla::N, Tecla::M}) tecla(t, 3);
    esperarLuz(v.posLuz0, -20, 10, 20);
    esperarLuz(v.posLuz1, 20, 10, -20);
    EXPECT_TRUE(v.selecionandoLuz);
    tecla(Tecla::Um);  // chooses light 0: the marker stays as it was
    EXPECT_FALSE(v.selecionandoLuz);
    EXPECT_TRUE(v.marcaLuz0);

    tecla(Tecla::L);
    tecla(Tecla::Y, 2);
    tecla(Tecla::J);
    tecla(Tecla::N);
    esperarLuz(v.posLuz0, -20.6, 10.3, 19.7);

    // M, then 2: light 0 moves by +0.3 in z first (still selected), then light 1 is chosen.
    tecla(Tecla::M);
    esperarLuz(v.posLuz0, -20.6, 10.3, 20.0);
    tecla(Tecla::Dois);
    EXPECT_EQ(v.luzSelecionada, 1);
    EXPECT_FALSE(v.marcaLuz1) << "2 chose a light, it did not toggle a marker";
    tecla(Tecla::M);
    tecla(Tecla::U);
    tecla(Tecla::H);
    esperarLuz(v.posLuz1, 20.3, 9.7, -19.7);
    esperarLuz(v.posLuz0, -20.6, 10.3, 20.0);
    // The M just pressed armed the choice again: 1 goes back to light 0 without a marker change.
    tecla(Tecla::Um);
    EXPECT_EQ(v.luzSelecionada, 0);
    EXPECT_TRUE(v.marcaLuz0);
    tecla(Tecla::Dois);
    EXPECT_TRUE(v.marcaLuz1);
}

TEST_F(Teclas, EscReiniciaAReproducaoEEhAUnicaTeclaQueMexeNela) {
    r.quadroAtual = 7;
    for (int k = static_cast<int>(Tecla::Outra); k <= static_cast<int>(Tecla::SalvarImagem); ++k) {
        if (static_cast<Tecla>(k) == Tecla::Esc) continue;
        EXPECT_FALSE(tecla(static_cast<Tecla>(k)).reproducao) << k;
    }
    EXPECT_EQ(r.quadroAtual, 7);
    EXPECT_FALSE(r.tocando);

    const EstadoVista antes = v;
    const EfeitoTecla e = tecla(Tecla::Esc);
    EXPECT_TRUE(e.reproducao);
    EXPECT_EQ(r.quadroAtual, 1);
    EXPECT_TRUE(r.tocando);
    EXPECT_EQ(v.rotacao.x, antes.rotacao.x);
    // While playing, Esc starts over again.
    r.quadroAtual = 5;
    tecla(Tecla::Esc);
    EXPECT_EQ(r.quadroAtual, 1);
    EXPECT_TRUE(r.tocando);
}

TEST_F(Teclas, HomeVoltaRotacaoTranslacaoEEscalaAoInicioESoIsso) {
    tecla(Tecla::SetaCima, 5);
    tecla(Tecla::PaginaAcima, 2);
    tecla(Tecla::W, 3);
    tecla(Tecla::Z);
    tecla(Tecla::MenosNumerico, 30);
    for (Tecla t : {Tecla::L, Tecla::T, Tecla::F, Tecla::V, Tecla::Um, Tecla::M}) tecla(t);
    tecla(Tecla::U, 2);
    const EstadoVista antes = v;
    const EfeitoTecla e = tecla(Tecla::Inicio);
    EXPECT_TRUE(e.vista);
    EXPECT_FALSE(e.reproducao);
    const EstadoVista inicio;
    for (auto campo : {&EstadoVista::rotacao, &EstadoVista::translacao, &EstadoVista::escala}) {
        EXPECT_EQ((v.*campo).x, (inicio.*campo).x);
        EXPECT_EQ((v.*campo).y, (inicio.*campo).y);
        EXPECT_EQ((v.*campo).z, (inicio.*campo).z);
    }
    // The switches and the lights are not part of the view's place.
    EXPECT_EQ(v.iluminacaoLigada, antes.iluminacaoLigada);
    EXPECT_EQ(v.texturaLigada, antes.texturaLigada);
    EXPECT_EQ(v.preenchido, antes.preenchido);
    EXPECT_EQ(v.perspectiva, antes.perspectiva);
    EXPECT_EQ(v.marcaLuz0, antes.marcaLuz0);
    EXPECT_EQ(v.selecionandoLuz, antes.selecionandoLuz);
    esperarLuz(v.posLuz0, antes.posLuz0.x, antes.posLuz0.y, antes.posLuz0.z);
    EXPECT_NE(v.posLuz0.x, inicio.posLuz0.x);
}

TEST_F(Teclas, CtrlSPedeAImagemSemMexerEmNada) {
    tecla(Tecla::M);
    const EstadoVista antes = v;
    const EfeitoTecla e = tecla(Tecla::SalvarImagem);
    EXPECT_TRUE(e.salvarImagem);
    EXPECT_FALSE(e.vista);
    EXPECT_FALSE(e.reproducao);
    EXPECT_EQ(v.translacao.y, antes.translacao.y) << "not the S row";
    EXPECT_TRUE(v.selecionandoLuz);
    EXPECT_FALSE(tecla(Tecla::S).salvarImagem);
}

TEST_F(Teclas, OutrasTeclasNaoMudamNemPedemNada) {
    tecla(Tecla::M);  // even with a choice armed
    const EstadoVista antes = v;
    const EfeitoTecla e = tecla(Tecla::Outra);
    EXPECT_FALSE(e.vista);
    EXPECT_FALSE(e.reproducao);
    EXPECT_EQ(v.selecionandoLuz, antes.selecionandoLuz);
    EXPECT_EQ(v.marcaLuz0, antes.marcaLuz0);
    EXPECT_EQ(v.posLuz0.z, antes.posLuz0.z);
    EXPECT_EQ(r.quadroAtual, 1);
}

}  // namespace
