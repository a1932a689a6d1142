#include "tests/engine/GoldenDiagnosis.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iomanip>
#include <optional>
#include <sstream>

namespace velmora::engine::test {

namespace {

struct FrameRange {
    std::size_t first;
    std::size_t last;
};

std::string seconds(const GoldenRender& render, std::size_t frame) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(4) << render.seconds(frame) << " s";
    return text.str();
}

// The first block whose hash differs from the record (a block missing on either side counts).
std::string describeBlocks(const GoldenRender& actual, const BlockRecord& recorded,
                           std::optional<FrameRange>& firstBlock) {
    const auto blocks = blockHashes(actual);
    const std::size_t count = std::max(blocks.size(), recorded.blocks.size());
    std::size_t differing = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const bool same =
            i < blocks.size() && i < recorded.blocks.size() && blocks[i] == recorded.blocks[i];
        if (same) continue;
        ++differing;
        if (!firstBlock) {
            const std::size_t first = i * kFramesPerBlock;
            firstBlock = FrameRange{first, first + kFramesPerBlock - 1};
        }
    }
    std::ostringstream text;
    if (firstBlock) {
        text << "first differing block: frames " << firstBlock->first << ".." << firstBlock->last
             << " (" << seconds(actual, firstBlock->first) << " to "
             << seconds(actual, firstBlock->last + 1) << "), block "
             << firstBlock->first / kFramesPerBlock << " of " << recorded.blocks.size() << "; "
             << differing << " blocks differ\n";
    } else if (peakHash(actual) != recorded.peaks) {
        text << "every block matches the record; the meter peaks differ (now " << actual.peaks[0]
             << ", " << actual.peaks[1] << ")\n";
    } else {
        text << "every block and the peaks match the record, so the whole-render hash in the "
                "test and the recorded blocks disagree: one of them is out of date\n";
    }
    return text.str();
}

std::optional<std::size_t> firstDifferingFrame(const GoldenRender& actual,
                                               const GoldenRender& reference) {
    const auto [mine, theirs] = std::ranges::mismatch(actual.frames, reference.frames);
    if (mine == actual.frames.end() && theirs == reference.frames.end()) return std::nullopt;
    return static_cast<std::size_t>(mine - actual.frames.begin()) / actual.frameSize();
}

std::string describeFrame(const GoldenRender& actual, const GoldenRender& reference,
                          std::size_t frame) {
    std::ostringstream text;
    text << std::setprecision(17) << "first differing frame: " << frame << " ("
         << seconds(actual, frame) << ")";
    if (frame >= actual.frameCount() || frame >= reference.frameCount()) {
        text << ": the renders have " << actual.frameCount() << " and " << reference.frameCount()
             << " frames\n";
        return text.str();
    }
    static constexpr const char* kSides[] = {"left", "right"};
    for (int channel = 0; channel < 2; ++channel)
        text << (channel == 0 ? ": " : ", ") << kSides[channel] << " "
             << actual.sample(frame, channel) << " (reference " << reference.sample(frame, channel)
             << ")";
    text << "\n";
    return text.str();
}

// The parameter change in force at `range.first` and any applied inside the range.
std::string describeSetting(const GoldenRender& actual, FrameRange range,
                            std::span<const AppliedChange> changes) {
    std::ostringstream text;
    text << "setting there: ";
    const auto inForce = std::ranges::count_if(
        changes, [&](const AppliedChange& change) { return change.frame <= range.first; });
    if (inForce == 0) {
        text << "the initial parameters";
    } else {
        const AppliedChange& last = changes[static_cast<std::size_t>(inForce - 1)];
        text << "the initial parameters and " << inForce << " of " << changes.size()
             << " changes, the last parameter " << last.index << " = " << last.value
             << " from frame " << last.frame << " (" << seconds(actual, last.frame) << ")";
    }
    for (const AppliedChange& change : changes)
        if (change.frame > range.first && change.frame <= range.last)
            text << "; parameter " << change.index << " = " << change.value << " at frame "
                 << change.frame << " inside the range";
    text << "\n";
    return text.str();
}

} // namespace

std::string renderKey(double sampleRate, bool doubleBuffers) {
    std::ostringstream key;
    key << static_cast<long>(sampleRate) << (doubleBuffers ? "-double" : "-float");
    return key.str();
}

std::string hex(std::uint64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%016llx", static_cast<unsigned long long>(value));
    return text;
}

BlockRecord recordOf(const GoldenRender& render) {
    return {peakHash(render), blockHashes(render)};
}

BlockTable readBlockTable(const std::filesystem::path& path) {
    BlockTable table;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line.front() == '#') continue;
        std::istringstream fields(line);
        std::string key, position, hash;
        fields >> key >> position >> hash;
        const std::uint64_t value = std::stoull(hash, nullptr, 16);
        BlockRecord& record = table[key];
        if (position == "peaks") {
            record.peaks = value;
            continue;
        }
        const std::size_t block = std::stoul(position);
        if (record.blocks.size() <= block) record.blocks.resize(block + 1);
        record.blocks[block] = value;
    }
    return table;
}

void writeBlockTable(const std::filesystem::path& path, const BlockTable& table) {
    std::ofstream file(path, std::ios::trunc);
    file << "# Golden render hashes per " << kFramesPerBlock
         << " frames, by rate and buffer type, and of the meter peaks.\n"
            "# Written by EngineGoldenTest with VELMORA_GOLDEN_RECORD=1; see tests/README.md.\n";
    for (const auto& [key, record] : table) {
        file << key << " peaks " << hex(record.peaks) << "\n";
        for (std::size_t i = 0; i < record.blocks.size(); ++i)
            file << key << " " << i << " " << hex(record.blocks[i]) << "\n";
    }
}

std::string describeMismatch(const GoldenRender& actual, const BlockRecord* recorded,
                             const GoldenRender* reference,
                             std::span<const AppliedChange> changes) {
    std::string text;
    std::optional<FrameRange> where;
    if (recorded)
        text += describeBlocks(actual, *recorded, where);
    else
        text += "no block hashes recorded for this render\n";

    if (reference && reference->sampleSize == actual.sampleSize) {
        if (const auto frame = firstDifferingFrame(actual, *reference)) {
            text += describeFrame(actual, *reference, *frame);
            where = FrameRange{*frame, *frame};
        } else {
            text += "the samples equal the reference render\n";
        }
    } else {
        text += "no reference render from a passing run, so the exact frame is not known\n";
    }
    if (where) text += describeSetting(actual, *where, changes);
    return text;
}

} // namespace velmora::engine::test
