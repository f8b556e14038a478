#include "view/render/textura.h"

#include "view/gl/malha.h"
#include "view/imagem/leitor_bmp.h"

namespace tevra {

std::filesystem::path localizarTextura() {
    std::error_code ec;
    const std::filesystem::path aqui = std::filesystem::current_path(ec) / kArquivoTextura;
    if (std::filesystem::exists(aqui, ec)) return aqui;
    const std::filesystem::path programa = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        const std::filesystem::path aoLado = programa.parent_path() / kArquivoTextura;
        if (std::filesystem::exists(aoLado, ec)) return aoLado;
    }
    return aqui;
}

std::vector<std::uint8_t> lerTextura(const std::filesystem::path& arquivo) {
    const ImagemBmp img = lerBmp(arquivo);
    return montarTextura(img.largura, img.altura, [&img](int x, int y) { return img.cor(x, y); });
}

}  // namespace tevra
