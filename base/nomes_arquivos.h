#pragma once

#include <filesystem>

namespace tevra {

// Name patterns of a run's files; "XXXX" becomes the four-digit frame number.
inline constexpr const char* kPadraoPontos = "pontosXXXX.txt";
inline constexpr const char* kPadraoDados = "dadosXXXX.txt";
inline constexpr const char* kPadraoDedos = "dedosXXXX.txt";
// A picture of a frame (tevra-render, the animation window's Ctrl+S).
inline constexpr const char* kPadraoImagem = "quadroXXXX.png";

// The pattern with the four characters before its final ".txt" replaced by n (1 .. 9999);
// empty when n does not fit or the pattern has no room for it.
std::filesystem::path nomeArquivoQuadro(const std::filesystem::path& padrao, int n);

// Frame n of the series recorded in `pasta`: pontosNNNN.txt. Empty for n outside 1 .. 9999.
std::filesystem::path caminhoQuadro(const std::filesystem::path& pasta, int n);

// The picture of frame n in `pasta`: quadroNNNN.png. Empty for n outside 1 .. 9999.
std::filesystem::path caminhoImagem(const std::filesystem::path& pasta, int n);

}  // namespace tevra
