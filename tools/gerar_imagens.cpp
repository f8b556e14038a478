// tevra-gerar-imagens DIR: draws the animation window's images as 24-bit BMP files in DIR:
// the texture flag_brasil_hi_4.bmp (the flag of Brazil) and the seven 24 x 24 tool-bar
// glyphs (a blue round button with a white symbol on a magenta background, magenta being
// the transparent colour). The files in assets/ were made by this program; a test checks
// that it still makes them byte for byte.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Cor {
    double r, g, b;
};

Cor misturar(Cor a, Cor b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

struct Imagem {
    int largura;
    int altura;
    std::vector<Cor> px;  // rows from the top
    Imagem(int l, int a, Cor fundo) : largura(l), altura(a), px(static_cast<std::size_t>(l) * a, fundo) {}
    Cor& operator()(int x, int y) { return px[static_cast<std::size_t>(y) * largura + x]; }
};

std::uint8_t byte(double v) {
    const double r = std::floor(v + 0.5);
    return static_cast<std::uint8_t>(r < 0 ? 0 : (r > 255 ? 255 : r));
}

bool gravarBmp(const std::filesystem::path& arquivo, Imagem& img) {
    const int linha = (img.largura * 3 + 3) / 4 * 4;
    const std::uint32_t dados = static_cast<std::uint32_t>(linha) * img.altura;
    std::vector<std::uint8_t> b;
    auto u16 = [&b](std::uint32_t v) {
        b.push_back(v & 0xFF);
        b.push_back((v >> 8) & 0xFF);
    };
    auto u32 = [&](std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    b.push_back('B');
    b.push_back('M');
    u32(14 + 40 + dados);
    u32(0);
    u32(14 + 40);
    u32(40);
    u32(static_cast<std::uint32_t>(img.largura));
    u32(static_cast<std::uint32_t>(img.altura));  // positive: rows stored bottom-up
    u16(1);
    u16(24);
    u32(0);  // BI_RGB
    u32(dados);
    u32(2835);
    u32(2835);
    u32(0);
    u32(0);
    for (int y = img.altura - 1; y >= 0; --y) {
        for (int x = 0; x < img.largura; ++x) {
            const Cor c = img(x, y);
            b.push_back(byte(c.b));
            b.push_back(byte(c.g));
            b.push_back(byte(c.r));
        }
        for (int p = img.largura * 3; p < linha; ++p) b.push_back(0);
    }
    FILE* f = std::fopen(arquivo.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(b.data(), 1, b.size(), f) == b.size();
    return std::fclose(f) == 0 && ok;
}

// Paints colour `cor` over the pixels covered by the shape, by the share of an 8 x 8
// sub-pixel grid that falls inside it (smooth edges). `dentro` takes pixel coordinates
// (x to the right, y down, pixel (0, 0) spanning 0 .. 1).
void pintar(Imagem& img, Cor cor, const std::function<bool(double, double)>& dentro) {
    constexpr int kSub = 8;
    for (int y = 0; y < img.altura; ++y)
        for (int x = 0; x < img.largura; ++x) {
            int n = 0;
            for (int sy = 0; sy < kSub; ++sy)
                for (int sx = 0; sx < kSub; ++sx)
                    if (dentro(x + (sx + 0.5) / kSub, y + (sy + 0.5) / kSub)) ++n;
            if (n > 0) img(x, y) = misturar(img(x, y), cor, static_cast<double>(n) / (kSub * kSub));
        }
}

// Which side of the line a-b the point p lies on.
double lado(double ax, double ay, double bx, double by, double px, double py) {
    return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
}

bool noTriangulo(double x, double y, const double t[6]) {
    const double a = lado(t[0], t[1], t[2], t[3], x, y);
    const double b = lado(t[2], t[3], t[4], t[5], x, y);
    const double c = lado(t[4], t[5], t[0], t[1], x, y);
    return (a >= 0 && b >= 0 && c >= 0) || (a <= 0 && b <= 0 && c <= 0);
}

// The flag of Brazil on a 20 x 14 grid of M = 12 pixels: green field, yellow rhombus 1.7 M
// from the edges, blue globe of radius 3.5 M, the white band between the arcs of radius
// 8 M and 8.5 M centred 2 M left of the middle of the lower edge, and a few white stars.
Imagem bandeira() {
    constexpr double M = 12.0;
    const Cor verde{0, 156, 59}, amarelo{255, 223, 0}, azul{0, 39, 118}, branco{255, 255, 255};
    Imagem img(static_cast<int>(20 * M), static_cast<int>(14 * M), verde);
    const double losango[4][2] = {{1.7 * M, 7 * M}, {10 * M, 1.7 * M}, {18.3 * M, 7 * M}, {10 * M, 12.3 * M}};
    pintar(img, amarelo, [&](double x, double y) {
        const double t1[6] = {losango[0][0], losango[0][1], losango[1][0], losango[1][1], losango[2][0], losango[2][1]};
        const double t2[6] = {losango[0][0], losango[0][1], losango[2][0], losango[2][1], losango[3][0], losango[3][1]};
        return noTriangulo(x, y, t1) || noTriangulo(x, y, t2);
    });
    const double cx = 10 * M, cy = 7 * M, raio = 3.5 * M;
    auto noGlobo = [&](double x, double y) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= raio * raio; };
    pintar(img, azul, noGlobo);
    const double ax = 8 * M, ay = 14 * M;
    pintar(img, branco, [&](double x, double y) {
        const double d2 = (x - ax) * (x - ax) + (y - ay) * (y - ay);
        return noGlobo(x, y) && d2 >= (8 * M) * (8 * M) && d2 <= (8.5 * M) * (8.5 * M);
    });
    // Stars in units of M from the globe's centre (the Southern Cross, Scorpius, Spica above the band).
    const double estrelas[][3] = {{0.2, 1.9, 0.22}, {0.9, 1.3, 0.18},  {-0.5, 1.2, 0.18}, {0.15, 0.6, 0.15},
                                  {0.55, 1.0, 0.1}, {-1.9, 0.9, 0.15}, {-2.3, 1.5, 0.12}, {-1.6, 1.9, 0.12},
                                  {1.9, 1.7, 0.15}, {2.3, 0.8, 0.12},  {-1.0, 2.6, 0.15}, {1.2, 2.7, 0.12},
                                  {2.6, -0.4, 0.18}};
    for (const auto& e : estrelas) {
        const double sx = cx + e[0] * M, sy = cy + e[1] * M, r = e[2] * M;
        pintar(img, branco, [&](double x, double y) {
            // A five-pointed star: radius varying between r and 0.45 r with the angle.
            const double dx = x - sx, dy = y - sy;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d > r) return false;
            const double ang = std::atan2(dx, -dy);
            const double fase = std::fmod(ang + 2 * M_PI, 2 * M_PI / 5) / (2 * M_PI / 5);
            const double k = std::fabs(fase - 0.5) * 2;  // 1 at a point, 0 between two points
            return d <= r * (0.45 + 0.55 * k);
        });
    }
    return img;
}

// A 24 x 24 glyph: magenta outside a blue round button (hard edge, since magenta counts as
// transparent), a lighter top, a darker rim, and the white symbol drawn by `simbolo`.
Imagem glifo(const std::function<bool(double, double)>& simbolo) {
    const Cor magenta{255, 0, 255}, branco{255, 255, 255};
    Imagem img(24, 24, magenta);
    const double c = 12.0;
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x) {
            const double dx = x + 0.5 - c, dy = y + 0.5 - c;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d > 11.3) continue;
            const double t = (y + 0.5) / 24.0;
            Cor azul = misturar(Cor{96, 160, 245}, Cor{16, 64, 176}, t);
            if (d > 10.1) azul = misturar(azul, Cor{8, 32, 110}, 0.6);
            img(x, y) = azul;
        }
    pintar(img, branco, simbolo);
    return img;
}

bool barra(double x, double y, double x0, double x1) { return x >= x0 && x <= x1 && y >= 7 && y <= 17; }

// Base on the vertical line x = a from y 7 to 17, pointing to x = ponta at y 12.
bool triangulo(double x, double y, double a, double ponta) {
    const double t[6] = {a, 7, a, 17, ponta, 12};
    return noTriangulo(x, y, t);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: tevra-gerar-imagens DIR\n");
        return 2;
    }
    const std::filesystem::path pasta = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(pasta, ec);

    struct Arquivo {
        const char* nome;
        std::function<Imagem()> desenho;
    };
    const Arquivo arquivos[] = {
        {"flag_brasil_hi_4.bmp", bandeira},
        {"play_blue24_h.bmp", [] { return glifo([](double x, double y) { return triangulo(x, y, 9, 17.5); }); }},
        {"pause_blue24_h.bmp",
         [] { return glifo([](double x, double y) { return barra(x, y, 8, 11) || barra(x, y, 13, 16); }); }},
        {"stop_blue24_h.bmp",
         [] { return glifo([](double x, double y) { return x >= 8 && x <= 16 && y >= 8 && y <= 16; }); }},
        {"first_blue24_h.bmp",
         [] { return glifo([](double x, double y) { return barra(x, y, 7, 9) || triangulo(x, y, 17, 9.5); }); }},
        {"last_blue24_h.bmp",
         [] { return glifo([](double x, double y) { return triangulo(x, y, 7, 14.5) || barra(x, y, 15, 17); }); }},
        {"back_blue24_h.bmp",
         [] { return glifo([](double x, double y) { return triangulo(x, y, 14, 6.5) || barra(x, y, 15, 17); }); }},
        {"forward_blue24_h.bmp",
         [] { return glifo([](double x, double y) { return barra(x, y, 7, 9) || triangulo(x, y, 10, 17.5); }); }},
    };
    int falhas = 0;
    for (const auto& a : arquivos) {
        Imagem img = a.desenho();
        if (!gravarBmp(pasta / a.nome, img)) {
            std::fprintf(stderr, "tevra-gerar-imagens: cannot write %s\n", (pasta / a.nome).c_str());
            ++falhas;
        }
    }
    return falhas == 0 ? 0 : 1;
}
