// libFuzzer harness: frame texts through the frame reader and into a series, then the series
// played back within its memory budget.
//
// An input is four bytes of set-up, then the frames of one showing, each a control byte and
// a frame text, the frames parted by the byte 0x1E (a byte no frame text needs):
//   byte 0, 1   the grid: 0 .. 15 nodes along i and along j
//   byte 2      the frames the series is asked for: 0 .. 15
//   byte 3      the memory budget: 0 none, else (byte 3 - 1) % 8 compact frames
//   control     bit 0: read from a file as well, which must agree with reading from memory
//               bit 1: into a buffer of another grid
//               bits 2-4: k > 0 puts the text 5 k bytes before the end of the file reader's
//               first block, so that items straddle two blocks
//               bits 5-7: frames skipped before this one (7: jump past the last frame a file
//               name can hold)
// The reader must never read out of bounds and must agree with itself from memory and from a
// file; the series must keep the promises of its header: every frame shows itself when it
// was read complete, else the last complete frame before it; the node arrays only ever hold
// the last complete frame; the compact frames it keeps are those frames, within the budget;
// and playback always finds the picture on screen once it has read what it was told to.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "view/quadros/leitor_quadros.h"
#include "view/quadros/quadro_compacto.h"
#include "view/quadros/serie_quadros.h"

namespace {

constexpr char kSeparador = '\x1e';
// The file reader's block, past which an item has to be carried over.
constexpr std::size_t kBlocoLeitor = std::size_t{1} << 16;

[[noreturn]] void falhar(const char* oque, int n) {
    std::fprintf(stderr, "fuzz_quadro: frame %d: %s\n", n, oque);
    std::abort();
}

// One file of this process for the frames read from disk, removed at exit.
class ArquivoDoProcesso {
public:
    ArquivoDoProcesso() {
        std::string modelo = (std::filesystem::temp_directory_path() / "tevra-fuzz-XXXXXX").string();
        if (!::mkdtemp(modelo.data())) {
            std::perror("fuzz_quadro: mkdtemp");
            std::abort();
        }
        pasta_ = modelo;
        caminho_ = pasta_ / "pontos0001.txt";
    }
    ~ArquivoDoProcesso() {
        std::error_code ec;
        std::filesystem::remove_all(pasta_, ec);
    }
    const std::filesystem::path& escrever(std::string_view texto) const {
        std::FILE* f = std::fopen(caminho_.c_str(), "wb");
        if (!f || std::fwrite(texto.data(), 1, texto.size(), f) != texto.size() || std::fclose(f) != 0) {
            std::perror("fuzz_quadro: writing the frame file");
            std::abort();
        }
        return caminho_;
    }
    // Removed after each reading: writing over an existing file makes the file system flush
    // it to disk at close, which would slow the fuzzer down a hundredfold.
    void apagar() const { ::unlink(caminho_.c_str()); }

private:
    std::filesystem::path pasta_;
    std::filesystem::path caminho_;
};

const ArquivoDoProcesso& arquivo() {
    static const ArquivoDoProcesso a;
    return a;
}

template <typename T>
bool mesmosBytes(const std::vector<T>& u, const std::vector<T>& v) {
    return u.size() == v.size() && (u.empty() || std::memcmp(u.data(), v.data(), u.size() * sizeof(T)) == 0);
}

bool mesmosValores(const tevra::NosSuperficie& a, const tevra::NosSuperficie& b) {
    return a.gradeI == b.gradeI && a.gradeJ == b.gradeJ && mesmosBytes(a.x, b.x) && mesmosBytes(a.y, b.y) &&
           mesmosBytes(a.z, b.z) && mesmosBytes(a.nx, b.nx) && mesmosBytes(a.ny, b.ny) && mesmosBytes(a.nz, b.nz);
}

bool mesmoQuadro(const tevra::QuadroCompacto& a, const tevra::QuadroCompacto& b) {
    return a.gradeI == b.gradeI && a.gradeJ == b.gradeJ && mesmosBytes(a.pos, b.pos) && mesmosBytes(a.normal, b.normal);
}

bool todosFinitos(const tevra::NosSuperficie& nos) {
    for (const auto* v : {&nos.x, &nos.y, &nos.z, &nos.nx, &nos.ny, &nos.nz})
        for (double d : *v)
            if (!std::isfinite(d)) return false;
    return true;
}

// One frame text read as the viewer reads it, checked against the same text read from a file.
tevra::ResultadoLeitura ler(std::string_view texto, bool primeiro, bool doArquivo, tevra::NosSuperficie& nos, int n) {
    tevra::NosSuperficie deMemoria = nos;
    const tevra::ResultadoLeitura r = tevra::lerQuadro(texto, primeiro, deMemoria);
    if (r.estado == tevra::EstadoQuadro::Completo) {
        if (!todosFinitos(deMemoria)) falhar("a complete frame holds a non-finite value", n);
        if (primeiro != r.objeto.has_value()) falhar("\"Objeto:\" read on a frame other than the first", n);
    }
    if (r.estado == tevra::EstadoQuadro::GradeDiferente &&
        (r.nosNoArquivo == static_cast<long long>(nos.numNos()) || r.nosNoArquivo < 1))
        falhar("a frame of another grid is said to hold this grid's node count", n);
    if (!doArquivo) {
        nos = std::move(deMemoria);
        return r;
    }
    const tevra::ResultadoLeitura f = tevra::lerQuadro(arquivo().escrever(texto), primeiro, nos);
    arquivo().apagar();
    // A file is read up to a bound far above what the writer writes; below it, both agree.
    const std::size_t limite = 4096 + nos.numNos() * 1024;
    if (texto.size() < limite) {
        const bool mesmoObjeto = f.objeto.has_value() == r.objeto.has_value() &&
                                 (!f.objeto || std::memcmp(&*f.objeto, &*r.objeto, sizeof(double)) == 0);
        if (f.estado != r.estado || !mesmoObjeto || f.nosNoArquivo != r.nosNoArquivo || f.maisNos != r.maisNos ||
            !mesmosValores(nos, deMemoria))
            falhar("the same text reads differently from a file and from memory", n);
    } else if (f.estado == tevra::EstadoQuadro::Completo) {
        falhar("a file longer than any frame of its grid was read as complete", n);
    }
    return f;
}

std::shared_ptr<const tevra::QuadroCompacto> compacto(const tevra::NosSuperficie& nos) {
    auto q = std::make_shared<tevra::QuadroCompacto>();
    tevra::compactar(nos, *q);
    return q;
}

// What the series holds in memory agrees with what it was given, and fits its budget. Only
// complete frames may be in memory: counting their bytes alone must give the whole sum.
void conferirMemoria(const tevra::SerieQuadros& serie,
                     const std::map<int, std::shared_ptr<const tevra::QuadroCompacto>>& feitos, int n) {
    std::size_t soma = 0;
    for (const auto& [p, feito] : feitos) {
        const auto q = serie.quadro(p);
        if (!q) continue;
        if (!mesmoQuadro(*q, *feito)) falhar("a picture in memory is not the complete frame of its number", n);
        soma += q->bytes();
    }
    if (soma != serie.bytesGuardados()) falhar("the bytes in memory are miscounted, or a picture is not a frame", n);
    if (soma > serie.orcamento()) falhar("the pictures in memory exceed the budget", n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    if (tamanho < 4) return 0;
    const int gradeI = dados[0] % 16;
    const int gradeJ = dados[1] % 16;
    const int pedidos = dados[2] % 16;
    const std::size_t porQuadro = static_cast<std::size_t>(std::max(gradeI * gradeJ, 1)) * tevra::kBytesPorNoCompacto;
    const bool semLimite = dados[3] == 0;
    const std::size_t orcamento =
        semLimite ? std::numeric_limits<std::size_t>::max() : static_cast<std::size_t>((dados[3] - 1) % 8) * porQuadro;
    std::string_view resto(reinterpret_cast<const char*>(dados) + 4, tamanho - 4);

    tevra::SerieQuadros serie;
    if (!serie.iniciar(pedidos, gradeI, gradeJ, orcamento)) falhar("a small grid was refused", 0);

    // What the series must show, kept apart from it: for each frame number, the frame whose
    // picture it shows; the values of the last complete frame; the compact frame made of
    // each complete frame; the first frame of another node count.
    std::vector<int> esperada(1, 0);
    int ultimaCompleta = 0;
    bool fechada = false;
    int primeiraDeOutraGrade = 0;
    tevra::NosSuperficie ultimos;
    ultimos.alocar(gradeI, gradeJ);
    std::map<int, std::shared_ptr<const tevra::QuadroCompacto>> feitos;
    std::string texto;

    int n = 0;
    while (!resto.empty()) {
        const std::size_t fim = std::min(resto.find(kSeparador), resto.size());
        const std::string_view pedaco = resto.substr(0, fim);
        resto.remove_prefix(std::min(fim + 1, resto.size()));
        if (pedaco.empty()) continue;

        const unsigned controle = static_cast<unsigned char>(pedaco[0]);
        const int pulados = static_cast<int>(controle >> 5);
        const int proximo = pulados == 7 ? std::max(n + 1, tevra::kMaxQuadros - 1) : n + 1 + pulados;
        if (proximo > tevra::kMaxQuadros + 8) break;
        n = proximo;
        const unsigned recuo = (controle >> 2) & 7u;
        texto.assign(recuo == 0 ? 0 : kBlocoLeitor - 5 * recuo, ' ');
        texto.append(pedaco.substr(1));

        tevra::NosSuperficie lido;
        const bool outraGrade = (controle & 2) != 0;
        lido.alocar(outraGrade ? gradeI + 1 : gradeI, outraGrade ? gradeJ + 1 : gradeJ);
        const tevra::ResultadoLeitura r = ler(texto, n == 1, (controle & 1) != 0, lido, n);
        const tevra::NosSuperficie copia = lido;
        const bool completo = r.estado == tevra::EstadoQuadro::Completo && !outraGrade;
        const auto feito = completo ? compacto(lido) : nullptr;

        const bool aceito = serie.aceitar(n, lido, r, feito);
        if (aceito != completo) falhar("a frame was taken in though not complete, or the other way round", n);
        if (n == 1 && r.objeto) fechada = *r.objeto != 0.0;
        if (r.estado == tevra::EstadoQuadro::GradeDiferente && primeiraDeOutraGrade == 0) primeiraDeOutraGrade = n;
        for (int q = static_cast<int>(esperada.size()); q < n; ++q) esperada.push_back(ultimaCompleta);
        // Frames past the last file name take the picture number of that file.
        const int imagem = std::min(n, tevra::kMaxQuadros);
        if (completo) {
            ultimaCompleta = n;
            ultimos = copia;
            feitos[imagem] = feito;
        }
        esperada.push_back(completo ? n : ultimaCompleta);

        if (serie.quadrosProntos() != n) falhar("the frames taken in are not counted", n);
        if (!mesmosValores(serie.nos(), ultimos)) falhar("the node arrays do not hold the last complete frame", n);
        if (serie.superficieFechada() != fechada) falhar("the tube flag does not follow frame 1", n);
        if ((serie.outraGrade() ? serie.outraGrade()->n : 0) != primeiraDeOutraGrade)
            falhar("the first frame of another grid is not the one reported", n);
        if (semLimite && completo && !serie.quadro(imagem)) falhar("a series without a budget let a picture go", n);
        conferirMemoria(serie, feitos, n);
    }

    serie.concluir();
    const int total = serie.numQuadros();
    if (total != std::max(pedidos, n)) falhar("the series has the wrong length", total);
    if (serie.quadrosProntos() != total) falhar("a concluded series is not ready", total);
    for (int q = static_cast<int>(esperada.size()); q <= total; ++q) esperada.push_back(ultimaCompleta);
    // Frame numbers past the last file name share its picture; they are left out here.
    const int ultimoComArquivo = std::min(total, tevra::kMaxQuadros - 1);
    for (int q = 1; q <= ultimoComArquivo; ++q)
        if (serie.imagemDoQuadro(q) != esperada[static_cast<std::size_t>(q)])
            falhar("a frame shows another picture than the last complete frame up to it", q);
    if (serie.imagemDoQuadro(0) != 0 || serie.imagemDoQuadro(total + 1) != 0)
        falhar("a frame outside the series has a picture", total + 1);

    // Playback as the window does it: at each frame, read again what the series asks for, in
    // its order. A picture is asked for once at most, and never when it is in memory.
    const bool cabeUm = orcamento >= porQuadro;
    for (int q = 1; q <= std::min(ultimoComArquivo, 16); ++q) {
        serie.posicionar(q);
        const std::vector<int> pedidas = serie.aLer(q);
        for (std::size_t k = 0; k < pedidas.size(); ++k) {
            const int p = pedidas[k];
            if (k > 0 && p <= pedidas[k - 1]) falhar("pictures to read again are not in playback order", q);
            const auto f = feitos.find(p);
            if (f == feitos.end()) falhar("a picture to read again is not a complete frame", q);
            if (serie.quadro(p)) falhar("a picture in memory is asked for again", q);
            serie.guardar(p, f->second);
        }
        conferirMemoria(serie, feitos, q);
        const int p = serie.imagemDoQuadro(q);
        if (p > 0 && cabeUm && !serie.quadro(p)) falhar("the picture on screen is not in memory after reading", q);
    }
    return 0;
}
