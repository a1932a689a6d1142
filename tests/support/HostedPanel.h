// The editor panel as a host can set it up through the plug-in interface alone: the editor
// opened, then every parameter set to a value of its own, spread so that neighbouring controls
// show different frames; everything else as the editor opens. The Linux build records what its
// renderer draws for it as one hash per row (data/editor/hosted-panel-rows.txt), so that a
// Windows build, which cannot read the PNG reference, checks its window against the same pixels.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <span>
#include <sstream>
#include <string>
#include <vector>

namespace velmora::testing::hosted_panel {

inline constexpr int kParameterCount = 60;

constexpr float valueOf(int parameter) {
    return float(parameter * 37 % 100) / 99.0f;
}

// FNV-1a over the row's pixels (0xRRGGBB, anything above ignored), lowest byte first.
inline std::uint64_t rowHash(std::span<const std::uint32_t> row) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const std::uint32_t pixel : row)
        for (int shift = 0; shift < 24; shift += 8)
            hash = (hash ^ ((pixel >> shift) & 0xFFu)) * 0x100000001b3ull;
    return hash;
}

inline std::vector<std::uint64_t> rowHashes(std::span<const std::uint32_t> pixels, int width) {
    std::vector<std::uint64_t> hashes;
    for (std::size_t start = 0; start + std::size_t(width) <= pixels.size(); start += width)
        hashes.push_back(rowHash(pixels.subspan(start, std::size_t(width))));
    return hashes;
}

inline std::filesystem::path referencePath() {
    return std::filesystem::path(VELMORA_SOURCE_DIR) / "tests/data/editor/hosted-panel-rows.txt";
}

// One hexadecimal hash per line, the top row first; empty when the file cannot be read.
inline std::vector<std::uint64_t> readReference() {
    std::ifstream file(referencePath());
    std::vector<std::uint64_t> hashes;
    std::string line;
    while (std::getline(file, line))
        if (!line.empty()) hashes.push_back(std::stoull(line, nullptr, 16));
    return hashes;
}

inline bool writeReference(std::span<const std::uint64_t> hashes) {
    std::ofstream file(referencePath());
    for (const std::uint64_t hash : hashes)
        file << std::hex << std::setw(16) << std::setfill('0') << hash << '\n';
    return bool(file);
}

// The rows whose hashes differ, as text for a failure message ("12 13 40", at most `limit`).
inline std::string differingRows(std::span<const std::uint64_t> shown,
                                 std::span<const std::uint64_t> reference, int limit = 20) {
    std::ostringstream rows;
    int listed = 0;
    for (std::size_t row = 0; row < shown.size() && row < reference.size(); ++row)
        if (shown[row] != reference[row] && listed++ < limit) rows << row << ' ';
    if (listed > limit) rows << "and " << listed - limit << " more";
    return rows.str();
}

} // namespace velmora::testing::hosted_panel
