// One stored program: a fixed 24-byte name and the normalised values of the 60 parameters.
#pragma once

#include "engine/ParameterIndex.h"
#include "presets/SharedFloat.h"

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace velmora {

inline constexpr int kProgramNameBytes = 24;

struct Program {
    std::array<char, kProgramNameBytes> name{};
    std::array<SharedFloat, kNumParameters> values{};

    // Keeps at most 24 characters: a shorter name is NUL-terminated and zero-padded, a longer
    // one keeps exactly its first 24 bytes and has no terminator. Never reads past 24 bytes.
    void setName(const char* text) {
        name.fill('\0');
        if (text == nullptr) return;
        for (std::size_t i = 0; i < name.size() && text[i] != '\0'; ++i)
            name[i] = text[i];
    }
    void setName(std::string_view text) {
        name.fill('\0');
        for (std::size_t i = 0; i < name.size() && i < text.size() && text[i] != '\0'; ++i)
            name[i] = text[i];
    }

    // The 24 name bytes exactly as stored in a chunk or file, terminator or not.
    void setNameBytes(std::span<const std::byte, kProgramNameBytes> bytes) {
        for (std::size_t i = 0; i < name.size(); ++i)
            name[i] = static_cast<char>(bytes[i]);
    }

    // The name as text: up to the first NUL, or all 24 bytes when there is none.
    std::string_view nameView() const {
        std::size_t length = 0;
        while (length < name.size() && name[length] != '\0')
            ++length;
        return {name.data(), length};
    }

    // Writes the 24 name bytes and a terminating NUL (25 bytes in all).
    void copyNameTo(char* text) const {
        for (std::size_t i = 0; i < name.size(); ++i)
            text[i] = name[i];
        text[name.size()] = '\0';
    }
};

} // namespace velmora
