#pragma once

#include <cstdint>
#include <span>

namespace tevra {

// Code lengths of a prefix code for the symbol counts, none longer than `limite` bits (at
// most 15) and 0 for a symbol that never occurs. The code is complete, as inflaters want:
// when fewer than two symbols occur, the one that does (or symbol 0) and a neighbour get one
// bit each. `comprimentos` has one entry per count; at least two counts, at most 288.
void comprimentosHuffman(std::span<const std::uint32_t> contagens, int limite, std::span<std::uint8_t> comprimentos);

// The canonical codes of those lengths (RFC 1951, 3.2.2), bit-reversed: deflate sends a code
// from its first bit, and the bit writer fills bytes from the low bit.
void codigosCanonicos(std::span<const std::uint8_t> comprimentos, std::span<std::uint16_t> codigos);

}  // namespace tevra
