// Reads the programs stored in the plug-in's state chunk, so a host-side tool can select one
// by sending its values as parameter changes. Every length and count is checked against the
// bytes present; a malformed chunk yields nothing rather than a partial guess.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velmora::host {

inline constexpr int kStoredParameters = 60;
inline constexpr int kStoredPrograms = 61;

struct StoredProgram {
    std::string name;
    std::array<float, kStoredParameters> values{};
    std::bitset<kStoredParameters> present; // which values the chunk carried
};

// The 61 programs of a state chunk (version 2), or nothing when the chunk is not one.
std::optional<std::vector<StoredProgram>> readStoredPrograms(std::span<const std::uint8_t> chunk);

// The program named `nameOrIndex` (exact name first, then ignoring case), or the one with that
// number when the text is a number in range.
std::optional<int> findProgram(const std::vector<StoredProgram>& programs,
                               const std::string& nameOrIndex);

} // namespace velmora::host
