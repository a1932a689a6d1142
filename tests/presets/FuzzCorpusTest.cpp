// The seed corpora of the fuzz targets: for setChunk a fresh state chunk, an edited one written
// by a big-endian machine and a version-1 chunk; for the chunk loaders one chunk of each kind;
// for each kind of file its chunk in both byte orders and its older layout. With
// VELMORA_WRITE_FUZZ_CORPUS set, this writes the seeds into the source tree; otherwise it checks
// that the committed seeds still load.
#include "tests/presets/ChunkSamples.h"
#include "tests/presets/PresetRig.h"

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

using Seeds = std::map<std::string, std::vector<std::byte>>;

Seeds stateSeeds() {
    PresetRig fresh;
    PresetRig edited;
    edited.setCurrentProgram(12);
    edited.setParameter(param::Mix, 0.2f);
    char name[] = "Seed";
    edited.setProgramName(name);
    edited.assignController(param::Cutoff, 74);
    return {{"fresh_state", fresh.stateChunk()},
            {"reversed_state", reversedState(edited.stateChunk())},
            {"version1_state", legacyChunk(61, 3)}};
}

// The file loaders' seeds: one chunk of each kind.
Seeds fileSeeds() {
    PresetRig effect;
    effect.setCurrentProgram(24);
    effect.assignController(param::Mix, 11);
    return {{"preset", effect.buildPresetChunk()},
            {"bank", effect.buildBankChunk()},
            {"midi_settings", effect.buildMidiSettingsChunk()}};
}

// One kind of file as the project writes it: native, byte-reversed and the older layout (the
// older bank byte-reversed, so that the large bank is committed only once).
Seeds presetFileSeeds() {
    PresetRig effect;
    effect.setCurrentProgram(24);
    LegacyFile legacy(chunk::kLegacyPresetType, false);
    legacy.name("Older preset");
    for (int i = 0; i < 40; ++i)
        legacy.value(legacyValue(2, i));
    return {{"preset", effect.buildPresetChunk()},
            {"reversed_preset", reversedChunk(effect.buildPresetChunk())},
            {"older_preset", legacy.bytes}};
}

Seeds bankFileSeeds() {
    PresetRig effect;
    effect.setCurrentProgram(5);
    LegacyFile legacy(chunk::kLegacyBankType, true);
    for (int p = 0; p < kNumPrograms; ++p) {
        legacy.name("Older " + std::to_string(p));
        for (int i = 0; i < 60; ++i)
            legacy.value(legacyValue(p, i));
    }
    return {{"bank", effect.buildBankChunk()}, {"reversed_older_bank", legacy.bytes}};
}

Seeds midiSettingsFileSeeds() {
    PresetRig effect;
    effect.assignController(param::Mix, 11);
    effect.assignController(param::Cutoff, 74);
    LegacyFile legacy(chunk::kLegacyMidiSettingsType, false);
    for (int i = 0; i < 60; ++i)
        legacy.value((static_cast<float>(i % 3 == 0 ? i : 128) + 0.5f) / 129.0f);
    return {{"midi_settings", effect.buildMidiSettingsChunk()},
            {"reversed_midi_settings", reversedChunk(effect.buildMidiSettingsChunk())},
            {"older_midi_settings", legacy.bytes}};
}

std::filesystem::path corpusDirectory(const char* target) {
    return std::filesystem::path(VELMORA_SOURCE_DIR) / "tests/fuzz/corpus" / target;
}

// Writes the seeds when asked to, then checks the committed ones.
template <class Loads> void checkCorpus(const char* target, const Seeds& samples, Loads loads) {
    if (std::getenv("VELMORA_WRITE_FUZZ_CORPUS") != nullptr) {
        std::filesystem::create_directories(corpusDirectory(target));
        for (const auto& [name, bytes] : samples) {
            std::ofstream file(corpusDirectory(target) / name, std::ios::binary);
            file.write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
        }
    }
    for (const auto& name : samples | std::views::keys) {
        std::ifstream file(corpusDirectory(target) / name, std::ios::binary);
        ASSERT_TRUE(file) << name << " is missing; run with VELMORA_WRITE_FUZZ_CORPUS=1";
        std::vector<char> raw{std::istreambuf_iterator<char>(file), {}};
        std::vector<std::byte> stored(raw.size());
        std::memcpy(stored.data(), raw.data(), raw.size());
        EXPECT_TRUE(loads(stored)) << name;
    }
}

TEST(FuzzCorpus, CommittedSeedsAreValidChunks) {
    checkCorpus("fuzz_set_chunk", stateSeeds(), [](const std::vector<std::byte>& bytes) {
        PresetRig effect;
        return effect.restore(bytes) == 0;
    });
    checkCorpus("fuzz_load_file_chunk", fileSeeds(), [](const std::vector<std::byte>& bytes) {
        PresetRig effect;
        const auto header = chunk::readHeader(chunk::ChunkReader(bytes, false), 0);
        const auto records = std::span<const std::byte>(bytes).subspan(chunk::kHeaderBytes);
        if (!header) return false;
        if (header->type == chunk::kPresetType)
            return effect.loadPresetChunk(records, *header, false);
        if (header->type == chunk::kBankType) return effect.loadBankChunk(records, *header, false);
        return effect.loadMidiSettingsChunk(records, *header, false);
    });
    const auto asFound = chunk::StoredOrder::AsFound;
    checkCorpus("fuzz_preset_file", presetFileSeeds(), [&](const std::vector<std::byte>& bytes) {
        PresetRig effect;
        return effect.loadPresetFile(bytes, asFound) == chunk::LoadStatus::Loaded;
    });
    checkCorpus("fuzz_bank_file", bankFileSeeds(), [&](const std::vector<std::byte>& bytes) {
        PresetRig effect;
        return effect.loadBankFile(bytes, asFound) == chunk::LoadStatus::Loaded;
    });
    checkCorpus("fuzz_midi_settings_file", midiSettingsFileSeeds(),
                [&](const std::vector<std::byte>& bytes) {
                    PresetRig effect;
                    return effect.loadMidiSettingsFile(bytes, asFound) == chunk::LoadStatus::Loaded;
                });
}

} // namespace
} // namespace velmora::testing
