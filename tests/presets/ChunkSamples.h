// Sample chunks for tests: a state chunk as a big-endian machine writes it, and chunks of the
// older version-1 layout.
#pragma once

#include "tests/presets/PresetRig.h"

#include <algorithm>
#include <string>
#include <vector>

namespace velmora::testing {

inline constexpr std::size_t kStateRecordsOffset = chunk::kStatePrefixBytes + chunk::kHeaderBytes;

// Every 32-bit field of a state bytes byte-reversed, as a big-endian machine writes it.
inline std::vector<std::byte> reversedState(std::vector<std::byte> bytes) {
    const auto reverseAt = [&](std::size_t at) {
        std::reverse(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                     bytes.begin() + static_cast<std::ptrdiff_t>(at + 4));
    };
    reverseAt(0);
    reverseAt(4);
    reverseAt(8);
    for (std::size_t at = 13; at < kStateRecordsOffset; at += 4)
        reverseAt(at);
    for (std::size_t at = kStateRecordsOffset; at < bytes.size();) {
        const std::uint32_t type = wordAt(bytes, at);
        const std::uint32_t size = wordAt(bytes, at + 4);
        for (std::size_t word = 0; word < 3; ++word)
            reverseAt(at + 4 * word);
        if (type != chunk::kNameRecord)
            for (std::size_t word = 0; word < size / 4; ++word)
                reverseAt(at + 12 + 4 * word);
        at += 12 + size;
    }
    return bytes;
}

// A version-1 bytes: eight header words, `programs` blocks of a name and 60 values, and the
// controller table at its fixed offset.
inline std::vector<std::byte> legacyChunk(int programs, int current, std::size_t size = 16376) {
    std::vector<std::byte> bytes(size);
    putWord(bytes, 0, chunk::kStateVersion1);
    putWord(bytes, 4, chunk::kUniqueId);
    putWord(bytes, 8, static_cast<std::uint32_t>(programs));
    putWord(bytes, 12, static_cast<std::uint32_t>(current));
    for (int p = 0; p < programs && p < 61; ++p) {
        const std::size_t block = 32 + static_cast<std::size_t>(p) * 264;
        if (block + 264 > size) break;
        const std::string name = "Old " + std::to_string(p);
        std::memcpy(&bytes[block], name.data(), name.size());
        for (int i = 0; i < 60; ++i)
            putFloat(bytes, block + 24 + 4 * static_cast<std::size_t>(i),
                     static_cast<float>((p + i) % 10) / 10.0f);
    }
    if (size >= 16376)
        for (int i = 0; i < 60; ++i)
            putFloat(bytes, 16136 + 4 * static_cast<std::size_t>(i), 128.5f / 129.0f);
    return bytes;
}

} // namespace velmora::testing
