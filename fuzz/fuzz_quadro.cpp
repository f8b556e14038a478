// libFuzzer harness: frame texts through the frame reader and into a series.
//
// An input is four bytes of set-up, then the frames of one showing, each a control byte and
// a frame text, the frames parted by the byte 0x1E (a byte no frame text needs):
//   byte 0, 1   the grid: 0 .. 8 nodes along i and along j
//   byte 2      the frames the series is asked for: 0 .. 15
//   byte 3      unused, kept for later set-up
//   control     low bits: 1 read from a file instead of from memory, 2 into a buffer of
//               another grid; high three bits: frames skipped before this one (7: jump
//               past the last frame a file name can hold)
// The reader must never read out of bounds and must agree with itself from memory and from a
// file; the series must keep the promises of its header: every frame shows itself when it
// was read complete, else the last complete frame before it, and the node arrays only ever
// hold the last complete frame.
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "view/quadros/leitor_quadros.h"
#include "view/quadros/serie_quadros.h"

namespace {

constexpr char kSeparador = '\x1e';

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

bool mesmosValores(const tevra::NosSuperficie& a, const tevra::NosSuperficie& b) {
    auto iguais = [](const std::vector<double>& u, const std::vector<double>& v) {
        return u.size() == v.size() && (u.empty() || std::memcmp(u.data(), v.data(), u.size() * sizeof(double)) == 0);
    };
    return a.gradeI == b.gradeI && a.gradeJ == b.gradeJ && iguais(a.x, b.x) && iguais(a.y, b.y) && iguais(a.z, b.z) &&
           iguais(a.nx, b.nx) && iguais(a.ny, b.ny) && iguais(a.nz, b.nz);
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
        if (f.estado != r.estado || !mesmoObjeto || !mesmosValores(nos, deMemoria))
            falhar("the same text reads differently from a file and from memory", n);
    }
    return f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dados, std::size_t tamanho) {
    if (tamanho < 4) return 0;
    const int gradeI = dados[0] % 9;
    const int gradeJ = dados[1] % 9;
    const int pedidos = dados[2] % 16;
    std::string_view resto(reinterpret_cast<const char*>(dados) + 4, tamanho - 4);

    tevra::SerieQuadros serie;
    if (!serie.iniciar(pedidos, gradeI, gradeJ)) falhar("a small grid was refused", 0);

    // What the series must show, kept apart from it: for each frame number, the frame whose
    // picture it shows; and the values of the last complete frame.
    std::vector<int> esperada(1, 0);
    int ultimaCompleta = 0;
    bool fechada = false;
    tevra::NosSuperficie ultimos;
    ultimos.alocar(gradeI, gradeJ);

    int n = 0;
    while (!resto.empty()) {
        const std::size_t fim = std::min(resto.find(kSeparador), resto.size());
        const std::string_view pedaco = resto.substr(0, fim);
        resto.remove_prefix(std::min(fim + 1, resto.size()));
        if (pedaco.empty()) continue;

        const unsigned controle = static_cast<unsigned char>(pedaco[0]);
        const std::string_view texto = pedaco.substr(1);
        const int pulados = static_cast<int>(controle >> 5);
        const int proximo = pulados == 7 ? std::max(n + 1, tevra::kMaxQuadros - 1) : n + 1 + pulados;
        if (proximo > tevra::kMaxQuadros + 8) break;
        n = proximo;

        tevra::NosSuperficie lido;
        const bool outraGrade = (controle & 2) != 0;
        lido.alocar(outraGrade ? gradeI + 1 : gradeI, outraGrade ? gradeJ + 1 : gradeJ);
        const tevra::ResultadoLeitura r = ler(texto, n == 1, (controle & 1) != 0, lido, n);
        const tevra::NosSuperficie copia = lido;

        const bool aceito = serie.aceitar(n, lido, r);
        const bool completo = r.estado == tevra::EstadoQuadro::Completo && !outraGrade;
        if (aceito != completo) falhar("a frame was taken in though not complete, or the other way round", n);
        if (n == 1 && r.objeto) fechada = *r.objeto != 0.0;
        for (int q = static_cast<int>(esperada.size()); q < n; ++q) esperada.push_back(ultimaCompleta);
        if (completo) {
            ultimaCompleta = n;
            ultimos = copia;
        }
        esperada.push_back(completo ? n : ultimaCompleta);

        if (serie.quadrosProntos() != n) falhar("the frames taken in are not counted", n);
        if (!mesmosValores(serie.nos(), ultimos)) falhar("the node arrays do not hold the last complete frame", n);
        if (serie.superficieFechada() != fechada) falhar("the tube flag does not follow frame 1", n);
    }

    serie.concluir();
    const int total = serie.numQuadros();
    if (total != std::max(pedidos, n)) falhar("the series has the wrong length", total);
    if (serie.quadrosProntos() != total) falhar("a concluded series is not ready", total);
    for (int q = static_cast<int>(esperada.size()); q <= total; ++q) esperada.push_back(ultimaCompleta);
    // Frame numbers past the last file name share its picture; they are left out here.
    for (int q = 1; q <= std::min(total, tevra::kMaxQuadros - 1); ++q)
        if (serie.imagemDoQuadro(q) != esperada[static_cast<std::size_t>(q)])
            falhar("a frame shows another picture than the last complete frame up to it", q);
    if (serie.imagemDoQuadro(0) != 0 || serie.imagemDoQuadro(total + 1) != 0)
        falhar("a frame outside the series has a picture", total + 1);
    return 0;
}
