#include "view/quadros/leitor_quadros.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <system_error>
#include <vector>

#include "base/leitura_real.h"
#include "base/leitura_real_curta.h"
#include "base/nomes_arquivos.h"
#include "base/tevra_home.h"
#include "view/quadros/inicios_itens.h"

namespace tevra {

void NosSuperficie::alocar(int gi, int gj) {
    gradeI = gi > 0 ? gi : 0;
    gradeJ = gj > 0 ? gj : 0;
    const std::size_t n = static_cast<std::size_t>(gradeI) * static_cast<std::size_t>(gradeJ);
    for (auto* v : {&x, &y, &z, &nx, &ny, &nz}) v->assign(n, 0.0);
}

namespace {

// No label or number the writer writes comes near this; a longer item is not one of them.
constexpr std::size_t kMaxItem = 256;
constexpr std::size_t kBloco = 1 << 16;

// The text the direct path indexes at a time: room for the starts of its items, 32 for each
// 64 bytes at most, is kept per thread.
constexpr std::size_t kLote = 1 << 14;

// The items of a text, whole or read from a file descriptor in blocks, up to `limite` bytes.
class Itens {
public:
    explicit Itens(std::string_view t) : p_(t.data()), fim_(t.data() + t.size()), limite_(t.size()) { reservar(); }
    Itens(int fd, std::size_t limite) : fd_(fd), limite_(limite) {
        // One buffer per thread, kept between frames: a series is hundreds of files.
        thread_local std::vector<char> buffer;
        buffer.resize(kBloco + kMaxItem);
        buf_ = buffer.data();
        p_ = fim_ = buf_;
        reservar();
    }

    // The next item; false at the end of the text (or of what may be read), on a read
    // error, or on an item too long to be a label or a number.
    bool proximo(std::string_view& item) {
        for (;;) {
            while (p_ != fim_ && branco(*p_)) ++p_;
            if (p_ != fim_) break;
            const char* nada = p_;
            if (!encher(nada)) return false;
        }
        const char* ini = p_;
        for (;;) {
            while (p_ != fim_ && !branco(*p_)) ++p_;
            if (static_cast<std::size_t>(p_ - ini) > kMaxItem) return falhar();
            // The item may go on in the next block: keep its start.
            if (p_ != fim_ || !encher(ini)) break;
        }
        item = std::string_view(ini, static_cast<std::size_t>(p_ - ini));
        return !erro_;
    }

    bool pular() {
        std::string_view s;
        return proximo(s);
    }

    // Reads one whole item as a finite number; false at the end or on anything else.
    bool numero(double& v) {
        std::string_view s;
        return proximo(s) && numeroDoItem(s.data(), s.data() + s.size(), v);
    }

    // One node of the writer's form when the buffer holds all of it: into a[0..5], as lerNo
    // would read it, true. False, with nothing consumed, for anything else: lerNo then reads
    // it. Its eight items are the next eight of the index, whose bounds are known before any
    // is read, so the numbers are read side by side rather than one after the other.
    bool noDireto(double* a) {
        // The items that lerNo has read since.
        while (ki_ < ni_ && base_ + inicios_[ki_] < p_) ++ki_;
        if (ni_ - ki_ < 8 && !indexar()) return false;
        const char* ini[8];
        for (int k = 0; k < 8; ++k) ini[k] = base_ + inicios_[ki_ + k];
        // Every byte a number may look at is in the buffer; a label as long as the other path
        // refuses is left to it.
        if (fim_ - ini[7] < kAlcanceRealCurto || ini[1] - ini[0] > static_cast<std::ptrdiff_t>(kMaxItem) ||
            ini[5] - ini[4] > static_cast<std::ptrdiff_t>(kMaxItem))
            return false;
        bool ok = true;
        const char* fim = nullptr;
#pragma GCC unroll 6
        for (int j = 0; j < 6; ++j) {
            const char* item = ini[j < 3 ? j + 1 : j + 2];
            double numerador, divisor;
            if (fracaoDoItem(item, fim, numerador, divisor)) {
                a[j] = numerador / divisor;
            } else {
                // No writer's number is 16 bytes long: the other path reads one that is.
                ok &= fim - item < 16 && (lerRealCurtoLongo(item, fim, a[j]) || numeroDoItem(item, fim, a[j]));
            }
        }
        if (!ok) return false;
        p_ = fim;
        ki_ += 8;
        return true;
    }

    bool erro() const { return erro_; }
    // Reading stopped at the limit with more of the file left.
    bool cortado() const { return cortado_; }

private:
    // The item [ini, fim) as a finite number, the same on both paths.
    static bool numeroDoItem(const char* ini, const char* fim, double& v) {
        // lerReal takes no leading plus, as from_chars; the stream accepts one.
        if (*ini == '+' && fim - ini > 1) ++ini;
        double lido;
        if (!lerReal(ini, fim, lido) || !std::isfinite(lido)) return false;
        v = lido;
        return true;
    }

    void reservar() {
        thread_local std::vector<std::uint32_t> inicios;
        inicios.resize(kLote / 2);
        inicios_ = inicios.data();
    }

    // The items of the whole pieces of 64 bytes from p_ on, up to kLote bytes; false when
    // that makes fewer than a node's eight.
    bool indexar() {
        const std::size_t pedacos = std::min(static_cast<std::size_t>(fim_ - p_), kLote) / 64;
        base_ = p_;
        ni_ = marcarInicios(p_, pedacos, inicios_);
        ki_ = 0;
        return ni_ >= 8;
    }

    // Moves [guardar, fim_) to the buffer's start (guardar follows it) and reads the next
    // block behind it; false when nothing more comes.
    bool encher(const char*& guardar) {
        if (fd_ < 0 || fimDoTexto_ || erro_) {
            fimDoTexto_ = true;
            return false;
        }
        const std::size_t resto = static_cast<std::size_t>(fim_ - guardar);
        std::memmove(buf_, guardar, resto);
        ni_ = ki_ = 0;  // the index was of the text where it lay
        p_ = buf_ + (p_ - guardar);
        fim_ = buf_ + resto;
        guardar = buf_;
        const std::size_t falta = limite_ - std::min(limite_, total_);
        if (falta == 0) {
            cortado_ = true;
            fimDoTexto_ = true;
            return false;
        }
        ssize_t n;
        do {
            n = ::read(fd_, buf_ + resto, std::min(kBloco, falta));
        } while (n < 0 && errno == EINTR);
        if (n < 0) erro_ = true;
        if (n <= 0) {
            fimDoTexto_ = true;
            return false;
        }
        total_ += static_cast<std::size_t>(n);
        fim_ += n;
        return true;
    }

    bool falhar() {
        erro_ = true;
        return false;
    }

    int fd_ = -1;
    char* buf_ = nullptr;
    const char* p_;
    const char* fim_;
    std::size_t limite_;
    std::size_t total_ = 0;
    bool fimDoTexto_ = false;
    bool erro_ = false;
    bool cortado_ = false;
    // The direct path's index: where the items after base_ start, as offsets.
    std::uint32_t* inicios_ = nullptr;
    const char* base_ = nullptr;
    std::size_t ni_ = 0;
    std::size_t ki_ = 0;
};

// One node: its label and three numbers, twice. How far it got: 0 nothing read (the text
// had ended), 1 the node is whole, -1 anything else.
int lerNo(Itens& it, double* a) {
    std::string_view rotulo;
    if (!it.proximo(rotulo)) return 0;
    if (!it.numero(a[0]) || !it.numero(a[1]) || !it.numero(a[2])) return -1;
    if (!it.pular() || !it.numero(a[3]) || !it.numero(a[4]) || !it.numero(a[5])) return -1;
    return 1;
}

ResultadoLeitura ler(Itens& it, bool primeiroQuadro, NosSuperficie& nos) {
    ResultadoLeitura r;
    r.estado = EstadoQuadro::Incompleto;
    double v;
    if (primeiroQuadro) {
        if (!it.pular() || !it.numero(v)) return r;
        r.objeto = v;
    }
    // "Area:" and its value, then "Densidade de Massa:" and its value: read past, not kept.
    if (!it.pular() || !it.numero(v)) return r;
    if (!it.pular() || !it.pular() || !it.pular() || !it.numero(v)) return r;
    const std::size_t n = nos.numNos();
    double no[6];
    for (std::size_t idx = 0; idx < n; ++idx) {
        const int lido = it.noDireto(no) ? 1 : lerNo(it, no);
        if (lido == 0 && idx > 0 && !it.erro() && !it.cortado()) {
            // Ended cleanly after a whole node: a frame of a smaller grid.
            r.estado = EstadoQuadro::GradeDiferente;
            r.nosNoArquivo = static_cast<long long>(idx);
        }
        if (lido != 1) return r;
        nos.x[idx] = no[0];
        nos.y[idx] = no[1];
        nos.z[idx] = no[2];
        nos.nx[idx] = no[3];
        nos.ny[idx] = no[4];
        nos.nz[idx] = no[5];
    }
    // The writer writes nothing after the last node: whole nodes there make a larger grid.
    long long extra = 0;
    for (int lido; (lido = it.noDireto(no) ? 1 : lerNo(it, no)) != 0; ++extra)
        if (lido < 0) {
            if (!it.cortado()) return r;
            break;
        }
    if (it.erro()) return r;
    if (extra > 0 || it.cortado()) {
        r.estado = EstadoQuadro::GradeDiferente;
        r.nosNoArquivo = static_cast<long long>(n) + extra;
        r.maisNos = it.cortado();
        return r;
    }
    r.estado = EstadoQuadro::Completo;
    return r;
}

class Descritor {
public:
    explicit Descritor(int fd) : fd_(fd) {}
    ~Descritor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descritor(const Descritor&) = delete;
    Descritor& operator=(const Descritor&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

}  // namespace

ResultadoLeitura lerQuadro(std::string_view texto, bool primeiroQuadro, NosSuperficie& nos) {
    Itens it(texto);
    return ler(it, primeiroQuadro, nos);
}

bool arquivoRegular(const std::filesystem::path& arquivo) {
    struct stat st;
    return !arquivo.empty() && ::stat(arquivo.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

ResultadoLeitura lerQuadro(const std::filesystem::path& arquivo, bool primeiroQuadro, NosSuperficie& nos) {
    ResultadoLeitura r;
    // A FIFO would block the open until a writer comes; a device may do anything.
    if (!arquivoRegular(arquivo)) return r;
    // Not blocking, in case it was swapped for a FIFO since; checked again once open.
    const Descritor f(::open(arquivo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat st;
    if (f.fd() < 0 || ::fstat(f.fd(), &st) != 0 || !S_ISREG(st.st_mode)) return r;
    // Far more than any frame of this grid takes (the writer's lines are under 80 bytes): a
    // larger file is not read past that, so a huge stray file costs no more than a frame.
    Itens it(f.fd(), 4096 + nos.numNos() * 1024);
    return ler(it, primeiroQuadro, nos);
}

std::filesystem::path caminhoQuadro(int n) { return caminhoQuadro(tevra::home::tmp(), n); }

}  // namespace tevra
