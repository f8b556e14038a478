#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

#include <cstdint>
#include <vector>

#include "view/gl/malha.h"

// The animation window's images: the surface texture and the tool-bar glyphs.
namespace imagens {

inline constexpr const char* kTextura = tevra::kArquivoTextura;
inline constexpr const char* kGlifoPausa = "pause_blue24_h.bmp";
inline constexpr const char* kGlifoPlay = "play_blue24_h.bmp";
inline constexpr const char* kGlifoParar = "stop_blue24_h.bmp";
inline constexpr const char* kGlifoInicio = "first_blue24_h.bmp";
inline constexpr const char* kGlifoFim = "last_blue24_h.bmp";
inline constexpr const char* kGlifoVoltar = "back_blue24_h.bmp";
inline constexpr const char* kGlifoAvancar = "forward_blue24_h.bmp";

// The texture file: in the current directory, else next to the program; the first of the
// two when it is in neither (so that a report names where it was looked for first).
QString localizarTextura();

// The glyph of that name built into the program.
QString glifoEmbutido(const char* nome);

// Puts the play and pause glyphs into the home's Imagens folder when they are missing
// there; the folder is created when needed. Returns what could not be written (empty: all
// in place).
QString instalarGlifos();

// Reads an image file; on failure `erro` says why and the image is null.
QImage lerImagem(const QString& arquivo, QString& erro);

// A glyph as the tool bar shows it: magenta (255, 0, 255) becomes transparent.
QPixmap pixmapDoGlifo(const QImage& glifo);

// The 256 x 256 RGBA texels of the texture (transposed; white outside the image).
std::vector<std::uint8_t> texelsDaImagem(const QImage& imagem);

}  // namespace imagens
