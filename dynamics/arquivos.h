#pragma once

#include <filesystem>
#include <string>

#include "model/obj_deformavel.h"

namespace tevra {

// Name patterns of the run's files; "XXXX" becomes the four-digit frame number.
inline constexpr const char* kPadraoPontos = "pontosXXXX.txt";
inline constexpr const char* kPadraoDados = "dadosXXXX.txt";
inline constexpr const char* kPadraoDedos = "dedosXXXX.txt";

// The pattern with the four characters before its final ".txt" replaced by n (1 .. 9999).
std::filesystem::path nomeArquivoQuadro(const std::filesystem::path& padrao, int n);

// Outcome of one file: empty when written, else why not.
struct FalhaArquivo {
    std::string motivo;
    explicit operator bool() const { return !motivo.empty(); }
};

// Frame file: positions and normals of every node, with the first-frame header for n = 1.
FalhaArquivo gravarQuadro(const ObjDeformavel& obj, const std::filesystem::path& padrao, int n);
// Full data dump: positions, normals, acceleration, forces and the elastic terms.
FalhaArquivo gravarDados(const ObjDeformavel& obj, const std::filesystem::path& padrao, int n);

}  // namespace tevra
