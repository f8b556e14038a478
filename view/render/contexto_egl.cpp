#include "view/render/contexto_egl.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <GL/glext.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

namespace tevra {

struct ContextoEGL::Estado {
    EGLDisplay display = EGL_NO_DISPLAY;
    EGLContext contexto = EGL_NO_CONTEXT;
    GLuint quadro = 0;
    GLuint cor = 0;
    GLuint profundidade = 0;
    PFNGLDELETEFRAMEBUFFERSPROC apagarQuadros = nullptr;
    PFNGLDELETERENDERBUFFERSPROC apagarBuffers = nullptr;
    PFNGLBINDFRAMEBUFFERPROC ligarQuadro = nullptr;
    bool inverteAoLer = false;        // Mesa hands the rows from the top itself (GL_MESA_pack_invert)
    std::vector<std::uint8_t> lidos;  // else the framebuffer as read, rows from the bottom
};

namespace {

std::string erroEGL(const char* oque) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%s failed (EGL error 0x%04X)", oque, static_cast<unsigned>(eglGetError()));
    return buf;
}

bool temExtensao(const char* lista, const char* nome) {
    if (!lista) return false;
    const std::size_t n = std::strlen(nome);
    for (const char* p = lista; (p = std::strstr(p, nome)) != nullptr; p += n)
        if ((p == lista || p[-1] == ' ') && (p[n] == ' ' || p[n] == '\0')) return true;
    return false;
}

template <class F>
F funcao(const char* nome) {
    return reinterpret_cast<F>(eglGetProcAddress(nome));
}

}  // namespace

std::unique_ptr<ContextoEGL> ContextoEGL::criar(int largura, int altura, std::string& erro) {
    auto e = std::make_unique<Estado>();
    // Client extensions are asked of no display; a library without any answers null.
    if (!temExtensao(eglQueryString(EGL_NO_DISPLAY, EGL_EXTENSIONS), "EGL_MESA_platform_surfaceless")) {
        erro = "EGL has no surfaceless platform (Mesa's EGL_MESA_platform_surfaceless); install libegl-mesa0";
        return nullptr;
    }
    e->display = eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (e->display == EGL_NO_DISPLAY) {
        erro = erroEGL("eglGetPlatformDisplay (surfaceless)");
        return nullptr;
    }
    if (!eglInitialize(e->display, nullptr, nullptr)) {
        erro = erroEGL("eglInitialize");
        return nullptr;
    }
    if (!eglBindAPI(EGL_OPENGL_API)) {
        erro = erroEGL("eglBindAPI (desktop OpenGL)");
        return nullptr;
    }
    // The platform has no window surfaces: the configurations are those of pbuffers. The
    // context draws into a framebuffer object and needs no surface at all.
    const EGLint atributos[] = {EGL_SURFACE_TYPE,
                                EGL_PBUFFER_BIT,
                                EGL_RENDERABLE_TYPE,
                                EGL_OPENGL_BIT,
                                EGL_RED_SIZE,
                                8,
                                EGL_GREEN_SIZE,
                                8,
                                EGL_BLUE_SIZE,
                                8,
                                EGL_DEPTH_SIZE,
                                24,
                                EGL_NONE};
    EGLConfig config = nullptr;
    EGLint n = 0;
    if (!eglChooseConfig(e->display, atributos, &config, 1, &n) || n < 1) {
        erro = "EGL offers no OpenGL configuration with 24-bit colour and depth";
        return nullptr;
    }
    // No version asked: the compatibility profile, where OpenGL 1.1 and display lists live.
    e->contexto = eglCreateContext(e->display, config, EGL_NO_CONTEXT, nullptr);
    if (e->contexto == EGL_NO_CONTEXT) {
        erro = erroEGL("eglCreateContext");
        return nullptr;
    }
    if (!eglMakeCurrent(e->display, EGL_NO_SURFACE, EGL_NO_SURFACE, e->contexto)) {
        erro = erroEGL("eglMakeCurrent without a surface");
        eglDestroyContext(e->display, e->contexto);
        return nullptr;
    }
    std::unique_ptr<ContextoEGL> c(new ContextoEGL(std::move(e), largura, altura));
    Estado& s = *c->estado_;

    auto gerarQuadros = funcao<PFNGLGENFRAMEBUFFERSPROC>("glGenFramebuffers");
    auto gerarBuffers = funcao<PFNGLGENRENDERBUFFERSPROC>("glGenRenderbuffers");
    auto ligarBuffer = funcao<PFNGLBINDRENDERBUFFERPROC>("glBindRenderbuffer");
    auto reservar = funcao<PFNGLRENDERBUFFERSTORAGEPROC>("glRenderbufferStorage");
    auto anexar = funcao<PFNGLFRAMEBUFFERRENDERBUFFERPROC>("glFramebufferRenderbuffer");
    auto situacao = funcao<PFNGLCHECKFRAMEBUFFERSTATUSPROC>("glCheckFramebufferStatus");
    s.apagarQuadros = funcao<PFNGLDELETEFRAMEBUFFERSPROC>("glDeleteFramebuffers");
    s.apagarBuffers = funcao<PFNGLDELETERENDERBUFFERSPROC>("glDeleteRenderbuffers");
    s.ligarQuadro = funcao<PFNGLBINDFRAMEBUFFERPROC>("glBindFramebuffer");
    if (!gerarQuadros || !gerarBuffers || !ligarBuffer || !reservar || !anexar || !situacao || !s.apagarQuadros ||
        !s.apagarBuffers || !s.ligarQuadro) {
        erro = "this OpenGL has no framebuffer objects";
        return nullptr;
    }

    GLint maxBuffer = 0;
    GLint maxVista[2] = {0, 0};
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &maxBuffer);
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, maxVista);
    const int limiteL = std::min(maxBuffer, maxVista[0]), limiteA = std::min(maxBuffer, maxVista[1]);
    if (largura < 1 || altura < 1 || largura > limiteL || altura > limiteA) {
        erro = "a picture of " + std::to_string(largura) + "x" + std::to_string(altura) +
               " pixels is beyond this OpenGL (at most " + std::to_string(limiteL) + "x" + std::to_string(limiteA) +
               ")";
        return nullptr;
    }

    while (glGetError() != GL_NO_ERROR) {}
    gerarQuadros(1, &s.quadro);
    s.ligarQuadro(GL_FRAMEBUFFER, s.quadro);
    gerarBuffers(1, &s.cor);
    ligarBuffer(GL_RENDERBUFFER, s.cor);
    reservar(GL_RENDERBUFFER, GL_RGBA8, largura, altura);
    anexar(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, s.cor);
    gerarBuffers(1, &s.profundidade);
    ligarBuffer(GL_RENDERBUFFER, s.profundidade);
    reservar(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, largura, altura);
    anexar(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, s.profundidade);
    if (glGetError() != GL_NO_ERROR || situacao(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        erro = "no off-screen framebuffer of " + std::to_string(largura) + "x" + std::to_string(altura) +
               " pixels could be made (out of memory?)";
        return nullptr;
    }
    glViewport(0, 0, largura, altura);
    s.inverteAoLer = temExtensao(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)), "GL_MESA_pack_invert");
    return c;
}

ContextoEGL::ContextoEGL(std::unique_ptr<Estado> estado, int largura, int altura)
    : estado_(std::move(estado)), largura_(largura), altura_(altura) {}

ContextoEGL::~ContextoEGL() {
    Estado& s = *estado_;
    if (s.contexto == EGL_NO_CONTEXT) return;
    if (eglMakeCurrent(s.display, EGL_NO_SURFACE, EGL_NO_SURFACE, s.contexto)) {
        if (s.ligarQuadro) s.ligarQuadro(GL_FRAMEBUFFER, 0);
        if (s.apagarQuadros && s.quadro) s.apagarQuadros(1, &s.quadro);
        const GLuint buffers[] = {s.cor, s.profundidade};
        if (s.apagarBuffers) s.apagarBuffers(2, buffers);
        eglMakeCurrent(s.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    }
    eglDestroyContext(s.display, s.contexto);
    // The display is one per process and may serve other contexts: it is not terminated.
}

void ContextoEGL::tornarAtual() {
    if (eglGetCurrentContext() != estado_->contexto)
        eglMakeCurrent(estado_->display, EGL_NO_SURFACE, EGL_NO_SURFACE, estado_->contexto);
}

void ContextoEGL::liberar() {
    if (eglGetCurrentContext() == estado_->contexto)
        eglMakeCurrent(estado_->display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
}

bool ContextoEGL::invertendoAoLer() const { return estado_->inverteAoLer; }

void ContextoEGL::inverterAoLer(bool sim) {
    tornarAtual();
    estado_->inverteAoLer =
        sim && temExtensao(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)), "GL_MESA_pack_invert");
}

void ContextoEGL::ler(Imagem& destino) {
    const std::size_t bytes = static_cast<std::size_t>(largura_) * 4;
    const std::size_t total = bytes * static_cast<std::size_t>(altura_);
    // A picture of the right size is reused as it is.
    if (destino.largura != largura_ || destino.altura != altura_ || destino.rgba.size() != total) {
        destino.largura = largura_;
        destino.altura = altura_;
        destino.rgba.resize(total);
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (estado_->inverteAoLer) {
        // Straight into the picture: a frame's 1.4 MB at 600 x 600 are not moved twice.
        glPixelStorei(GL_PACK_INVERT_MESA, GL_TRUE);
        glReadPixels(0, 0, largura_, altura_, GL_RGBA, GL_UNSIGNED_BYTE, destino.rgba.data());
        glPixelStorei(GL_PACK_INVERT_MESA, GL_FALSE);
        return;
    }
    std::vector<std::uint8_t>& lidos = estado_->lidos;
    lidos.resize(total);
    glReadPixels(0, 0, largura_, altura_, GL_RGBA, GL_UNSIGNED_BYTE, lidos.data());
    // Bottom-up as read: one pass into the picture, rows end for end, rather than a swap in
    // place (half again as many bytes moved).
    for (int y = 0; y < altura_; ++y)
        std::memcpy(destino.rgba.data() + static_cast<std::size_t>(y) * bytes,
                    lidos.data() + static_cast<std::size_t>(altura_ - 1 - y) * bytes, bytes);
}

}  // namespace tevra
