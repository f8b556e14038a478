#include "view/render/video.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "base/gravacao.h"

extern char** environ;

namespace tevra {

FormatoVideo formatoDoVideo(const std::filesystem::path& arquivo) {
    std::string ext = arquivo.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext == ".mp4") return FormatoVideo::Mp4;
    if (ext == ".webm") return FormatoVideo::Webm;
    if (ext == ".mkv") return FormatoVideo::Mkv;
    throw ErroEntrada("--video " + arquivo.string() +
                      ": the name must end in .mp4 (H.264), .webm (VP9) or .mkv (lossless FFV1)");
}

std::vector<std::string> argumentosFfmpeg(FormatoVideo formato, int largura, int altura, double fps,
                                          const std::filesystem::path& destino) {
    char taxa[32];
    std::snprintf(taxa, sizeof taxa, "%g", fps);
    std::vector<std::string> a = {"-hide_banner",
                                  "-nostats",
                                  "-loglevel",
                                  "error",
                                  "-y",
                                  "-f",
                                  "rawvideo",
                                  "-pix_fmt",
                                  "rgba",
                                  "-s",
                                  std::to_string(largura) + "x" + std::to_string(altura),
                                  "-r",
                                  taxa,
                                  "-i",
                                  "-"};
    const bool impar = largura % 2 != 0 || altura % 2 != 0;
    auto junta = [&a](std::initializer_list<const char*> l) { a.insert(a.end(), l.begin(), l.end()); };
    switch (formato) {
        case FormatoVideo::Mp4:
            if (impar) junta({"-vf", "pad=ceil(iw/2)*2:ceil(ih/2)*2"});
            junta({"-c:v", "libx264", "-preset", "medium", "-crf", "18", "-pix_fmt", "yuv420p", "-movflags",
                   "+faststart", "-f", "mp4"});
            break;
        case FormatoVideo::Webm:
            if (impar) junta({"-vf", "pad=ceil(iw/2)*2:ceil(ih/2)*2"});
            junta({"-c:v", "libvpx-vp9", "-crf", "31", "-b:v", "0", "-deadline", "good", "-cpu-used", "4", "-row-mt",
                   "1", "-pix_fmt", "yuv420p", "-f", "webm"});
            break;
        case FormatoVideo::Mkv: junta({"-c:v", "ffv1", "-pix_fmt", "bgr0", "-f", "matroska"}); break;
    }
    a.push_back(destino.string());
    return a;
}

std::filesystem::path procurarPrograma(const std::string& nome) {
    const char* path = std::getenv("PATH");
    std::string lista = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t inicio = 0;
    while (inicio <= lista.size()) {
        const std::size_t fim = std::min(lista.find(':', inicio), lista.size());
        const std::string pasta = lista.substr(inicio, fim - inicio);
        const std::filesystem::path p = std::filesystem::path(pasta.empty() ? "." : pasta) / nome;
        std::error_code ec;
        if (std::filesystem::is_regular_file(p, ec) && ::access(p.c_str(), X_OK) == 0) return p;
        inicio = fim + 1;
    }
    return {};
}

SaidaVideo::SaidaVideo(std::filesystem::path arquivo, double fps, std::filesystem::path programa)
    : arquivo_(std::move(arquivo)),
      temporario_(nomeTemporario(arquivo_)),
      programa_(std::move(programa)),
      formato_(formatoDoVideo(arquivo_)),
      fps_(fps) {
    registro_ = temporario_;
    registro_.replace_extension(".log");
    if (programa_.empty()) programa_ = procurarPrograma("ffmpeg");
    if (programa_.empty()) falhar("ffmpeg was not found on PATH (Debian: apt-get install ffmpeg)");
}

SaidaVideo::~SaidaVideo() {
    if (!concluido_) abandonar();
}

void SaidaVideo::falhar(std::string motivo) {
    if (!falha_) falha_ = FalhaEscrita{arquivo_, std::move(motivo)};
}

void SaidaVideo::iniciar(int largura, int altura) {
    largura_ = largura;
    altura_ = altura;
    int tubo[2];
    if (::pipe2(tubo, O_CLOEXEC) != 0) {
        falhar(std::string("no pipe to ffmpeg: ") + std::strerror(errno));
        return;
    }
    std::vector<std::string> args = argumentosFfmpeg(formato_, largura, altura, fps_, temporario_);
    args.insert(args.begin(), programa_.string());
    std::vector<char*> argv;
    for (std::string& s : args) argv.push_back(s.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t acoes;
    posix_spawn_file_actions_init(&acoes);
    posix_spawn_file_actions_adddup2(&acoes, tubo[0], STDIN_FILENO);
    posix_spawn_file_actions_addopen(&acoes, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&acoes, STDERR_FILENO, registro_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int r = posix_spawn(&pid_, programa_.c_str(), &acoes, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&acoes);
    ::close(tubo[0]);
    if (r != 0) {
        ::close(tubo[1]);
        pid_ = -1;
        falhar(programa_.string() + " could not be started: " + std::strerror(r));
        return;
    }
    entrada_ = tubo[1];
}

void SaidaVideo::quadro(const Imagem& imagem) {
    if (falha_ || concluido_) return;
    if (pid_ < 0) iniciar(imagem.largura, imagem.altura);
    if (falha_) return;
    if (imagem.largura != largura_ || imagem.altura != altura_) {
        falhar("the pictures changed size");
        return;
    }
    // A stopped ffmpeg must not kill this process with SIGPIPE: the signal is held on this
    // thread while writing and taken back if the write raised it.
    sigset_t tubo, antes;
    sigemptyset(&tubo);
    sigaddset(&tubo, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &tubo, &antes);
    const auto* p = reinterpret_cast<const char*>(imagem.rgba.data());
    std::size_t resta = imagem.rgba.size();
    int erro = 0;
    while (resta > 0) {
        const ssize_t n = ::write(entrada_, p, resta);
        if (n < 0) {
            if (errno == EINTR) continue;
            erro = errno;
            break;
        }
        p += n;
        resta -= static_cast<std::size_t>(n);
    }
    if (erro == EPIPE) {
        const timespec zero{0, 0};
        sigtimedwait(&tubo, nullptr, &zero);
    }
    pthread_sigmask(SIG_SETMASK, &antes, nullptr);
    if (erro != 0) {
        ::close(entrada_);
        entrada_ = -1;
        const std::string motivo = esperarFfmpeg();
        falhar(motivo.empty() ? std::string("writing to ffmpeg: ") + std::strerror(erro) : motivo);
        return;
    }
    ++quadros_;
}

std::string SaidaVideo::esperarFfmpeg() {
    if (pid_ < 0) return {};
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {}
    pid_ = -1;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return {};
    // Its last line says why.
    std::ifstream in(registro_);
    std::string linha, ultima;
    while (std::getline(in, linha))
        if (!linha.empty()) ultima = linha;
    std::string motivo = "ffmpeg stopped";
    if (WIFEXITED(status))
        motivo += " with status " + std::to_string(WEXITSTATUS(status));
    else if (WIFSIGNALED(status))
        motivo += " by signal " + std::to_string(WTERMSIG(status));
    return ultima.empty() ? motivo : motivo + ": " + ultima;
}

Escrita SaidaVideo::concluir() {
    if (concluido_) return falha_;
    concluido_ = true;
    if (entrada_ >= 0) {
        ::close(entrada_);
        entrada_ = -1;
    }
    if (pid_ >= 0) {
        const std::string motivo = esperarFfmpeg();
        if (!motivo.empty()) falhar(motivo);
    } else if (!falha_ && quadros_ == 0) {
        falhar("no picture to make a video of");
    }
    std::error_code ec;
    if (!falha_) {
        if (!std::filesystem::exists(temporario_, ec))
            falhar("ffmpeg wrote no file");
        else if (std::filesystem::rename(temporario_, arquivo_, ec); ec)
            falhar(ec.message());
    }
    std::filesystem::remove(temporario_, ec);
    std::filesystem::remove(registro_, ec);
    return falha_;
}

void SaidaVideo::abandonar() {
    concluido_ = true;
    if (entrada_ >= 0) ::close(entrada_);
    entrada_ = -1;
    if (pid_ >= 0) {
        ::kill(pid_, SIGTERM);
        int status;
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {}
        pid_ = -1;
    }
    std::error_code ec;
    std::filesystem::remove(temporario_, ec);
    std::filesystem::remove(registro_, ec);
}

}  // namespace tevra
