// What a golden mismatch is explained with: the block hashes recorded beside each whole-render
// hash (one text file per setting under tests/data/golden/), a reference render kept in the
// build folder from the last passing run, and the parameter changes the render applied.
#pragma once

#include "tests/engine/GoldenRender.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <span>
#include <string>
#include <vector>

namespace velmora::engine::test {

struct BlockRecord {
    std::uint64_t peaks = 0;
    std::vector<std::uint64_t> blocks;
};

// Keyed by renderKey(): one record per rate and buffer type of a setting.
using BlockTable = std::map<std::string, BlockRecord>;

std::string renderKey(double sampleRate, bool doubleBuffers); // e.g. "44100-float"
std::string hex(std::uint64_t value);

BlockRecord recordOf(const GoldenRender& render);
// An empty table for a missing file; lines are "<key> peaks <hash>" and "<key> <block> <hash>".
BlockTable readBlockTable(const std::filesystem::path& path);
void writeBlockTable(const std::filesystem::path& path, const BlockTable& table);

// A parameter change as the render applied it: at the first block boundary after its time.
struct AppliedChange {
    std::size_t frame;
    int index;
    float value;
};

// Names the first differing block (from the record) and, given a reference render, the first
// differing frame with both values, then the parameter change in force there.
std::string describeMismatch(const GoldenRender& actual, const BlockRecord* recorded,
                             const GoldenRender* reference, std::span<const AppliedChange> changes);

} // namespace velmora::engine::test
