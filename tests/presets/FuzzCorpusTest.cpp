// The seed corpus of the setChunk fuzz target: a fresh state chunk, an edited one written by a
// big-endian machine and a version-1 chunk. With VELMORA_WRITE_FUZZ_CORPUS set, this writes
// the seeds into the source tree; otherwise it checks that the committed seeds still load.
#include "tests/presets/ChunkSamples.h"
#include "tests/presets/PresetTestEffect.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <ranges>
#include <string>

namespace velmora::testing {
namespace {

std::map<std::string, std::vector<std::byte>> seeds() {
    PresetTestEffect fresh;
    PresetTestEffect edited;
    edited.setCurrentProgram(12);
    edited.setParameter(param::Mix, 0.2f);
    char name[] = "Seed";
    edited.setProgramName(name);
    edited.assignController(param::Cutoff, 74);
    return {{"fresh_state", fresh.stateChunk()},
            {"reversed_state", reversedState(edited.stateChunk())},
            {"version1_state", legacyChunk(61, 3)}};
}

std::filesystem::path corpusDirectory() {
    return std::filesystem::path(VELMORA_SOURCE_DIR) / "tests/fuzz/corpus/fuzz_set_chunk";
}

TEST(FuzzCorpus, CommittedSeedsAreValidStateChunks) {
    const auto samples = seeds();
    if (std::getenv("VELMORA_WRITE_FUZZ_CORPUS") != nullptr) {
        std::filesystem::create_directories(corpusDirectory());
        for (const auto& [name, bytes] : samples) {
            std::ofstream file(corpusDirectory() / name, std::ios::binary);
            file.write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
        }
    }
    for (const auto& name : samples | std::views::keys) {
        std::ifstream file(corpusDirectory() / name, std::ios::binary);
        ASSERT_TRUE(file) << name << " is missing; run with VELMORA_WRITE_FUZZ_CORPUS=1";
        std::vector<char> raw{std::istreambuf_iterator<char>(file), {}};
        std::vector<std::byte> stored(raw.size());
        std::memcpy(stored.data(), raw.data(), raw.size());
        PresetTestEffect effect;
        EXPECT_EQ(effect.restore(stored), 0) << name;
    }
}

} // namespace
} // namespace velmora::testing
