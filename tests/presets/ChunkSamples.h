// Sample chunks for tests: a state chunk as a big-endian machine writes it, and chunks of the
// older version-1 layout.
#pragma once

#include "tests/presets/PresetRig.h"

#include <algorithm>
#include <string>
#include <vector>

namespace velmora::testing {

inline constexpr std::size_t kStateRecordsOffset = chunk::kStatePrefixBytes + chunk::kHeaderBytes;

inline void reverseWordAt(std::vector<std::byte>& bytes, std::size_t at) {
    std::reverse(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                 bytes.begin() + static_cast<std::ptrdiff_t>(at + 4));
}

// Reverses the 41-byte chunk header at `at` (not its type byte) and every record after it.
inline void reverseChunkAt(std::vector<std::byte>& bytes, std::size_t at) {
    reverseWordAt(bytes, at);
    for (std::size_t word = at + 5; word < at + chunk::kHeaderBytes; word += 4)
        reverseWordAt(bytes, word);
    for (std::size_t record = at + chunk::kHeaderBytes; record < bytes.size();) {
        const std::uint32_t type = wordAt(bytes, record);
        const std::uint32_t size = wordAt(bytes, record + 4);
        for (std::size_t word = 0; word < 3; ++word)
            reverseWordAt(bytes, record + 4 * word);
        if (type != chunk::kNameRecord)
            for (std::size_t word = 0; word < size / 4; ++word)
                reverseWordAt(bytes, record + 12 + 4 * word);
        record += 12 + size;
    }
}

// Every 32-bit field of a state chunk byte-reversed, as a big-endian machine writes it.
inline std::vector<std::byte> reversedState(std::vector<std::byte> bytes) {
    reverseWordAt(bytes, 0);
    reverseWordAt(bytes, 4);
    reverseChunkAt(bytes, chunk::kStatePrefixBytes);
    return bytes;
}

// A preset, bank or MIDI-settings chunk as a big-endian machine writes it.
inline std::vector<std::byte> reversedChunk(std::vector<std::byte> bytes) {
    reverseChunkAt(bytes, 0);
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

// The older single-type file layouts: the ID and type byte, then names and floats. With
// `reversed` every 32-bit field is written byte-reversed.
class LegacyFile {
  public:
    LegacyFile(std::uint8_t type, bool reversed) : reversed_(reversed) {
        word(chunk::kUniqueId);
        bytes.push_back(std::byte{type});
    }
    LegacyFile& name(const std::string& text) {
        std::vector<std::byte> field(24);
        std::memcpy(field.data(), text.data(), std::min<std::size_t>(text.size(), 24));
        bytes.insert(bytes.end(), field.begin(), field.end());
        return *this;
    }
    LegacyFile& value(float v) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &v, 4);
        word(bits);
        return *this;
    }
    std::vector<std::byte> bytes;

  private:
    void word(std::uint32_t w) {
        const std::size_t at = bytes.size();
        bytes.resize(at + 4);
        putWord(bytes, at, w);
        if (reversed_) reverseWordAt(bytes, at);
    }
    bool reversed_;
};

// A sample value of program `p`, parameter `i` in an older file: distinct and inside 0..1.
inline float legacyValue(int p, int i) {
    return static_cast<float>((3 * p + i) % 17) / 16.0f;
}

} // namespace velmora::testing
