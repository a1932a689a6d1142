// Chunks are little-endian on every target; a byte-reversed source is read by swapping each
// 32-bit field.
#pragma once

#include <bit>
#include <cstdint>

namespace velmora::chunk {

inline constexpr std::uint32_t reverseBytes(std::uint32_t word) {
    return ((word & 0x000000FFu) << 24) | ((word & 0x0000FF00u) << 8) |
           ((word & 0x00FF0000u) >> 8) | ((word & 0xFF000000u) >> 24);
}

inline std::uint32_t floatBits(float value) {
    return std::bit_cast<std::uint32_t>(value);
}
inline float floatFromBits(std::uint32_t bits) {
    return std::bit_cast<float>(bits);
}

} // namespace velmora::chunk
