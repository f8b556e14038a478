#pragma once

#include <cstddef>
#include <cstdint>

namespace tevra {

// The Adler-32 checksum of a zlib stream (RFC 1950), carried on from `adler` (1 at the start).

// After n more bytes from p.
std::uint32_t adler32Bytes(std::uint32_t adler, const std::uint8_t* p, std::size_t n);

// After n more bytes of value c, in a few operations whatever n.
std::uint32_t adler32Repetido(std::uint32_t adler, std::uint8_t c, std::size_t n);

}  // namespace tevra
