#include "view/gl/cena_gl.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include "view/gl/malha.h"
#include "view/gl/tiras_gl.h"

namespace tevra {

namespace {

inline GLfloat f(double v) { return static_cast<GLfloat>(v); }

void marcadorDeLuz(const Vetor3& p) {
    glPushMatrix();
    glTranslatef(f(p.x), f(p.y), f(p.z));
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    GLUquadric* q = gluNewQuadric();
    if (q) {
        gluSphere(q, 1.0, 30, 30);
        gluDeleteQuadric(q);
    }
    glPopMatrix();
}

}  // namespace

void configurarEstadoFixo() {
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_NORMALIZE);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
}

void configurarLuzes() {
    const GLfloat ambienteModelo[] = {0.1f, 0.1f, 0.1f, 1.0f};
    const GLfloat branco[] = {1.0f, 1.0f, 1.0f, 1.0f};
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, 1);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, ambienteModelo);
    glLightfv(GL_LIGHT0, GL_AMBIENT, branco);
    glLightfv(GL_LIGHT1, GL_AMBIENT, branco);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, branco);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, branco);
    // No colour tracking: vertex colours leave the lit surface white.
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, branco);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, branco);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, 32.0f);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHT1);
}

unsigned carregarTextura(const std::vector<std::uint8_t>& texels) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    GLuint nome = 0;
    glGenTextures(1, &nome);
    glBindTexture(GL_TEXTURE_2D, nome);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    if (texels.size() == static_cast<std::size_t>(kLadoTextura) * kLadoTextura * 4)
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, kLadoTextura, kLadoTextura, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     texels.data());
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    return nome;
}

void desenharSuperficie(const NosSuperficie& nos, bool superficieFechada) {
    const int nj = nos.gradeJ;
    if (nos.numNos() != static_cast<std::size_t>(nos.gradeI) * static_cast<std::size_t>(nj)) return;
    auto vertice = [&](int v) {
        const CoordTextura c = coordTextura(v, nj);
        glTexCoord2f(c.s, c.t);
        glNormal3f(f(-nos.nx[v]), f(-nos.ny[v]), f(-nos.nz[v]));
        glVertex3f(f(nos.x[v]), f(nos.y[v]), f(nos.z[v]));
    };
    desenharTiras(nos.gradeI, nj, superficieFechada, vertice);
}

void desenharCena(const EstadoVista& vista, unsigned textura, unsigned lista) {
    desenharCena(
        vista, textura, lista == 0 ? std::function<void()>() : [lista] { glCallList(lista); });
}

void desenharCena(const EstadoVista& vista, unsigned textura, const std::function<void()>& superficie) {
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glPolygonMode(GL_FRONT_AND_BACK, vista.preenchido ? GL_FILL : GL_LINE);
    glBindTexture(GL_TEXTURE_2D, textura);

    // The square view volume fills the whole viewport: a window that is not square stretches it.
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    if (vista.perspectiva)
        glFrustum(-8.0, 8.0, -8.0, 8.0, 18.0, 45.0);
    else
        glOrtho(-15.0, 15.0, -15.0, 15.0, -15.0, 15.0);

    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (vista.perspectiva) gluLookAt(0.0, 0.0, 30.0, 0.0, 0.0, 0.0, 0.0, 1.0, 0.0);

    glPushMatrix();
    glRotatef(f(vista.rotacao.x), 1.0f, 0.0f, 0.0f);
    glRotatef(f(vista.rotacao.y), 0.0f, 1.0f, 0.0f);
    glRotatef(f(vista.rotacao.z), 0.0f, 0.0f, 1.0f);
    glTranslatef(f(vista.translacao.x), 0.0f, 0.0f);
    glTranslatef(0.0f, f(vista.translacao.y), 0.0f);
    glTranslatef(0.0f, 0.0f, f(vista.translacao.z));
    glScalef(f(vista.escala.x), f(vista.escala.y), f(vista.escala.z));

    if (vista.texturaLigada)
        glEnable(GL_TEXTURE_2D);
    else
        glDisable(GL_TEXTURE_2D);
    if (vista.iluminacaoLigada)
        glEnable(GL_LIGHTING);
    else
        glDisable(GL_LIGHTING);

    // Under the view's matrix, so the lights turn and move with the surface.
    const GLfloat luz0[] = {f(vista.posLuz0.x), f(vista.posLuz0.y), f(vista.posLuz0.z), 1.0f};
    const GLfloat luz1[] = {f(vista.posLuz1.x), f(vista.posLuz1.y), f(vista.posLuz1.z), 1.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, luz0);
    glLightfv(GL_LIGHT1, GL_POSITION, luz1);

    if (vista.iluminacaoLigada && vista.marcaLuz0) marcadorDeLuz(vista.posLuz0);
    if (vista.iluminacaoLigada && vista.marcaLuz1) marcadorDeLuz(vista.posLuz1);

    if (superficie) superficie();
    glPopMatrix();

    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
}

}  // namespace tevra
