#pragma once

#include <optional>

#include "model/nucleo.h"

namespace tevra {

// Which build of the row kernels a sweep runs: one node at a time, two lanes (SSE2, every
// x86-64) or four (AVX2, chosen only when the processor has it). All three give the same bits.
enum class Caminho { Escalar, SSE2, AVX2 };

// The kernels in use: the ones forced by forcarCaminho, else those the environment variable
// TEVRA_SIMD names ("escalar", "sse2", "avx2"), else the widest this processor runs.
Caminho caminhoAtivo();

// Makes every later sweep use `c` (nothing: back to the automatic choice). False, and no
// change, when the processor cannot run it.
bool forcarCaminho(std::optional<Caminho> c);

bool processadorTemAvx2();
const char* nomeCaminho(Caminho c);

namespace nucleo {
// The model's kernels of a variant.
const TabelaModelo& tabelaModelo(Caminho c);
}  // namespace nucleo

}  // namespace tevra
