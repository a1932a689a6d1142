// Preset, bank and MIDI-settings files (and the stored defaults that hold the same bytes): round
// trips in both byte orders, the older single-type layouts, which program becomes current, and
// data that must be refused without changing any program or assignment.
#include "tests/presets/ChunkSamples.h"
#include "tests/presets/PresetRig.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace velmora::testing {
namespace {

using namespace chunk;

constexpr auto kAsFound = StoredOrder::AsFound;
constexpr auto kInverted = StoredOrder::Inverted;

std::string nameOf(const Program& program) {
    return std::string(program.nameView());
}

// An effect whose programs, names, current program and assignments all differ from a fresh one.
void edit(PresetRig& effect) {
    effect.setCurrentProgram(9);
    effect.setParameter(param::Mix, 0.375f);
    effect.setParameter(param::Cutoff, 0.8125f);
    char name[] = "Stored Nine";
    effect.setProgramName(name);
    effect.setCurrentProgram(40);
    effect.setParameter(param::FbGainR, 0.0625f);
    effect.setParameter(60 + param::Cutoff, (74 + 0.5f) / 129.0f);
    effect.setParameter(60 + param::Drive, (1 + 0.5f) / 129.0f);
}

TEST(PresetFiles, SavedFilesHaveTheirFixedSizes) {
    PresetRig effect;
    EXPECT_EQ(effect.buildPresetChunk().size(), 2129u);
    EXPECT_EQ(effect.buildBankChunk().size(), 127409u);
    EXPECT_EQ(effect.buildMidiSettingsChunk().size(), 1961u);
    EXPECT_EQ(effect.buildBankChunk().size(), kMaxStoredChunkBytes);
}

TEST(PresetFiles, BankAndMidiSettingsRoundTripInBothByteOrders) {
    PresetRig original;
    edit(original);
    const auto bank = original.buildBankChunk();
    const auto midi = original.buildMidiSettingsChunk();

    for (const bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "byte-reversed" : "native");
        PresetRig restored;
        EXPECT_EQ(restored.loadBankFile(reversed ? reversedChunk(bank) : bank, kAsFound),
                  LoadStatus::Loaded);
        EXPECT_EQ(restored.loadMidiSettingsFile(reversed ? reversedChunk(midi) : midi, kAsFound),
                  LoadStatus::Loaded);
        EXPECT_EQ(restored.buildBankChunk().size(), bank.size());
        for (int p = 0; p < kNumPrograms; ++p) {
            EXPECT_EQ(nameOf(restored.programs()[p]), nameOf(original.programs()[p]));
            for (int i = 0; i < kNumParameters; ++i)
                ASSERT_EQ(restored.programs()[p].values[i].get(),
                          original.programs()[p].values[i].get());
        }
        EXPECT_EQ(restored.buildMidiSettingsChunk(), midi);
        EXPECT_EQ(restored.controllerOfParameter(param::Cutoff), 74);
        EXPECT_EQ(restored.controllerOfParameter(param::Drive), 1);
        // A bank file always leaves program 0 current, whatever its header names.
        EXPECT_EQ(restored.getCurrentProgramIndex(), 0);
    }
}

TEST(PresetFiles, PresetRoundTripsIntoTheCurrentProgramInBothByteOrders) {
    PresetRig original;
    edit(original);
    original.setCurrentProgram(9);
    const auto preset = original.buildPresetChunk();

    for (const bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "byte-reversed" : "native");
        PresetRig restored;
        restored.setCurrentProgram(3);
        const Program untouched = restored.programs()[9];
        restored.renamedPrograms.clear();
        ASSERT_EQ(restored.loadPresetFile(reversed ? reversedChunk(preset) : preset, kAsFound),
                  LoadStatus::Loaded);
        EXPECT_EQ(restored.getCurrentProgramIndex(), 3);
        EXPECT_EQ(nameOf(restored.programs()[3]), "Stored Nine");
        EXPECT_EQ(restored.programs()[3].values[param::Mix].get(), 0.375f);
        EXPECT_EQ(restored.programs()[3].values[param::Cutoff].get(), 0.8125f);
        EXPECT_EQ(nameOf(restored.programs()[9]), nameOf(untouched));
        EXPECT_EQ(restored.renamedPrograms, std::vector<int>{3});
        EXPECT_EQ(restored.buildPresetChunk(), preset);
    }
}

TEST(PresetFiles, StoredBankSelectsTheProgramItsHeaderNames) {
    PresetRig original;
    edit(original);
    const auto bank = original.buildBankChunk();
    PresetRig restored;
    ASSERT_EQ(restored.loadStoredBank(bank), LoadStatus::Loaded);
    EXPECT_EQ(restored.getCurrentProgramIndex(), 40);
    ASSERT_EQ(restored.loadBankFile(bank, kAsFound), LoadStatus::Loaded);
    EXPECT_EQ(restored.getCurrentProgramIndex(), 0);
}

// A file whose ID says native while every other field is byte-reversed: the byte order was
// recorded wrongly, which the reversed load actions exist for.
TEST(PresetFiles, ReversedActionsReadFilesWhoseOrderWasRecordedWrongly) {
    PresetRig original;
    edit(original);
    auto preset = reversedChunk(original.buildPresetChunk());
    reverseWordAt(preset, 0);
    auto midi = reversedChunk(original.buildMidiSettingsChunk());
    reverseWordAt(midi, 0);

    PresetRig restored;
    const auto before = restored.snapshot();
    EXPECT_NE(restored.loadPresetFile(preset, kAsFound), LoadStatus::Loaded);
    EXPECT_NE(restored.loadMidiSettingsFile(midi, kAsFound), LoadStatus::Loaded);
    EXPECT_EQ(restored.snapshot(), before);

    EXPECT_EQ(restored.loadPresetFile(preset, kInverted), LoadStatus::Loaded);
    EXPECT_EQ(restored.loadMidiSettingsFile(midi, kInverted), LoadStatus::Loaded);
    EXPECT_EQ(restored.buildPresetChunk(), original.buildPresetChunk());
    EXPECT_EQ(restored.controllerOfParameter(param::Cutoff), 74);
}

TEST(PresetFiles, ProperFileLoadedWithTheReversedActionIsRefusedUnchanged) {
    PresetRig original;
    edit(original);
    PresetRig target;
    const auto before = target.snapshot();
    for (const auto& file : {original.buildPresetChunk(), original.buildBankChunk(),
                             original.buildMidiSettingsChunk()}) {
        EXPECT_NE(target.loadPresetFile(file, kInverted), LoadStatus::Loaded);
        EXPECT_NE(target.loadBankFile(file, kInverted), LoadStatus::Loaded);
        EXPECT_NE(target.loadMidiSettingsFile(file, kInverted), LoadStatus::Loaded);
    }
    EXPECT_EQ(target.snapshot(), before);
}

TEST(PresetFiles, OlderPresetSetsTheValuesItHoldsAndLeavesTheRestAtTheTemplate) {
    for (const bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "byte-reversed" : "native");
        LegacyFile file(kLegacyPresetType, reversed);
        file.name("Forty Values");
        for (int i = 0; i < 40; ++i)
            file.value(legacyValue(0, i));
        PresetRig effect;
        effect.setCurrentProgram(5);
        ASSERT_EQ(effect.loadPresetFile(file.bytes, kAsFound), LoadStatus::Loaded);
        const Program& loaded = effect.programs()[5];
        EXPECT_EQ(nameOf(loaded), "Forty Values");
        for (int i = 0; i < 40; ++i)
            EXPECT_EQ(loaded.values[i].get(), legacyValue(0, i)) << i;
        for (int i = 40; i < kNumParameters; ++i)
            EXPECT_EQ(loaded.values[i].get(), effect.templateProgram().values[i].get()) << i;
        EXPECT_EQ(effect.getCurrentProgramIndex(), 5);
    }
}

TEST(PresetFiles, OlderPresetWithMoreValuesThanParametersUsesTheFirst60) {
    LegacyFile file(kLegacyPresetType, false);
    file.name("Long");
    for (int i = 0; i < 64; ++i)
        file.value(legacyValue(1, i));
    file.value(7.0f); // past the parameters: never read
    PresetRig effect;
    ASSERT_EQ(effect.loadPresetFile(file.bytes, kAsFound), LoadStatus::Loaded);
    EXPECT_EQ(effect.programs()[0].values[59].get(), legacyValue(1, 59));
}

TEST(PresetFiles, OlderBankLoadsEveryBlockAndSelectsProgramZero) {
    for (const int valuesPerBlock : {60, 30, 70}) {
        for (const bool reversed : {false, true}) {
            SCOPED_TRACE(std::to_string(valuesPerBlock) + (reversed ? " reversed" : " native"));
            LegacyFile file(kLegacyBankType, reversed);
            for (int p = 0; p < kNumPrograms; ++p) {
                file.name("Old bank " + std::to_string(p));
                for (int i = 0; i < valuesPerBlock; ++i)
                    file.value(legacyValue(p, i));
            }
            PresetRig effect;
            effect.setCurrentProgram(12);
            ASSERT_EQ(effect.loadBankFile(file.bytes, kAsFound), LoadStatus::Loaded);
            EXPECT_EQ(effect.getCurrentProgramIndex(), 0);
            for (int p = 0; p < kNumPrograms; p += 20) {
                const Program& program = effect.programs()[p];
                EXPECT_EQ(nameOf(program), "Old bank " + std::to_string(p));
                for (int i = 0; i < kNumParameters; ++i) {
                    const float expected = i < valuesPerBlock
                                               ? legacyValue(p, i)
                                               : effect.templateProgram().values[i].get();
                    ASSERT_EQ(program.values[i].get(), expected) << p << "/" << i;
                }
            }
        }
    }
}

TEST(PresetFiles, OlderMidiSettingsAssignTheControllersTheyHold) {
    for (const bool reversed : {false, true}) {
        SCOPED_TRACE(reversed ? "byte-reversed" : "native");
        LegacyFile file(kLegacyMidiSettingsType, reversed);
        for (int i = 0; i < kNumParameters; ++i)
            file.value((static_cast<float>(i == 7 ? 11 : 128) + 0.5f) / 129.0f);
        PresetRig effect;
        effect.assignController(param::Reso, 3);
        ASSERT_EQ(effect.loadMidiSettingsFile(file.bytes, kAsFound), LoadStatus::Loaded);
        EXPECT_EQ(effect.controllerOfParameter(7), 11);
        EXPECT_EQ(effect.parameterOfController(11), 7);
        EXPECT_EQ(effect.controllerOfParameter(param::Reso), kNoAssignment);
    }
}

// The chunk layout skips a controller record it cannot use and goes on with the others.
TEST(PresetFiles, MidiSettingsRecordWithABadValueIsSkippedAlone) {
    PresetRig original;
    edit(original);
    auto midi = original.buildMidiSettingsChunk();
    const std::size_t cutoffRecord = kHeaderBytes + param::Cutoff * kValueRecordBytes;
    putFloat(midi, cutoffRecord + kRecordHeadBytes + kValueOffset, 1.5f);
    PresetRig effect;
    ASSERT_EQ(effect.loadMidiSettingsFile(midi, kAsFound), LoadStatus::Loaded);
    EXPECT_EQ(effect.controllerOfParameter(param::Drive), 1);
    EXPECT_EQ(effect.controllerOfParameter(param::Cutoff), kNoAssignment);
}

// ---- Refusals: every one names its reason and leaves the whole state as it was ----

enum class Kind { Preset, Bank, Midi };

struct Damaged {
    std::string what;
    Kind kind;
    std::vector<std::byte> bytes;
    LoadStatus reason;
};

std::vector<std::byte> withWord(std::vector<std::byte> bytes, std::size_t at, std::uint32_t w) {
    putWord(bytes, at, w);
    return bytes;
}

std::vector<std::byte> withByte(std::vector<std::byte> bytes, std::size_t at, std::uint8_t b) {
    bytes[at] = std::byte{b};
    return bytes;
}

std::vector<std::byte> withFloat(std::vector<std::byte> bytes, std::size_t at, float value) {
    putFloat(bytes, at, value);
    return bytes;
}

std::vector<std::byte> cut(std::vector<std::byte> bytes, std::size_t size) {
    bytes.resize(size);
    return bytes;
}

std::vector<Damaged> damagedSamples() {
    PresetRig source;
    edit(source);
    const auto preset = source.buildPresetChunk();
    const auto bank = source.buildBankChunk();
    const auto midi = source.buildMidiSettingsChunk();
    constexpr std::size_t kDataSize = 21;
    constexpr std::size_t kRecordCount = 13;
    // The value of the 100th record of the bank (the first program's name record and its 60
    // values, then the second program's name and its 38th value).
    const std::size_t hundredth = kHeaderBytes + 2 * kNameRecordBytes + 97 * kValueRecordBytes +
                                  kRecordHeadBytes + kValueOffset;
    const std::size_t firstPresetValue = kHeaderBytes + kNameRecordBytes;

    LegacyFile legacyPreset(kLegacyPresetType, false);
    legacyPreset.name("Bad");
    for (int i = 0; i < 60; ++i)
        legacyPreset.value(i == 33 ? -0.25f : 0.5f);
    LegacyFile legacyMidi(kLegacyMidiSettingsType, false);
    for (int i = 0; i < 60; ++i)
        legacyMidi.value(i == 59 ? std::numeric_limits<float>::quiet_NaN() : 0.5f);
    LegacyFile legacyBank(kLegacyBankType, false);
    for (int p = 0; p < kNumPrograms; ++p) {
        legacyBank.name("B");
        for (int i = 0; i < 60; ++i)
            legacyBank.value(p == 60 && i == 59 ? 1.0001f : 0.5f);
    }
    LegacyFile tinyBank(kLegacyBankType, false); // blocks too short for a name
    tinyBank.name("only one name");

    std::vector<std::byte> huge = bank;
    huge.push_back(std::byte{0});

    return {
        {"empty", Kind::Preset, {}, LoadStatus::TooShort},
        {"four bytes", Kind::Midi, cut(midi, 4), LoadStatus::TooShort},
        {"larger than any file", Kind::Bank, huge, LoadStatus::TooLarge},
        {"foreign id", Kind::Preset, withWord(preset, 0, 0x41424344u), LoadStatus::ForeignId},
        {"bank through the preset load", Kind::Preset, bank, LoadStatus::UnknownType},
        {"preset through the bank load", Kind::Bank, preset, LoadStatus::UnknownType},
        {"type of no layout", Kind::Midi, withByte(midi, 4, 0x23), LoadStatus::UnknownType},
        {"header cut short", Kind::Preset, cut(preset, 30), LoadStatus::Truncated},
        {"records cut short", Kind::Bank, cut(bank, bank.size() - 1), LoadStatus::Truncated},
        {"data size past the end", Kind::Preset, withWord(preset, kDataSize, 2089),
         LoadStatus::Truncated},
        {"negative data size", Kind::Midi, withWord(midi, kDataSize, 0xFFFFFFF0u),
         LoadStatus::Truncated},
        {"record count past the data", Kind::Preset, withWord(preset, kRecordCount, 62),
         LoadStatus::Malformed},
        {"record size past the data", Kind::Midi, withWord(midi, kHeaderBytes + 4, 0x7FFFFFFFu),
         LoadStatus::Malformed},
        {"negative record count", Kind::Bank, withWord(bank, kRecordCount, 0xFFFFFFFFu),
         LoadStatus::Empty},
        {"bank value 1.5 in the 100th record", Kind::Bank, withFloat(bank, hundredth, 1.5f),
         LoadStatus::ValueOutOfRange},
        {"preset value NaN", Kind::Preset,
         withFloat(preset, firstPresetValue + kRecordHeadBytes + kValueOffset,
                   std::numeric_limits<float>::quiet_NaN()),
         LoadStatus::ValueOutOfRange},
        {"older preset shorter than its name", Kind::Preset, cut(legacyPreset.bytes, 28),
         LoadStatus::Truncated},
        {"older preset value below 0", Kind::Preset, legacyPreset.bytes,
         LoadStatus::ValueOutOfRange},
        {"older bank's last value above 1", Kind::Bank, legacyBank.bytes,
         LoadStatus::ValueOutOfRange},
        {"older bank too short for its names", Kind::Bank, tinyBank.bytes, LoadStatus::Truncated},
        {"older MIDI settings with NaN", Kind::Midi, legacyMidi.bytes, LoadStatus::ValueOutOfRange},
        {"older MIDI settings without values", Kind::Midi, cut(legacyMidi.bytes, 8),
         LoadStatus::Empty},
    };
}

LoadStatus load(PresetRig& effect, const Damaged& sample, StoredOrder order) {
    switch (sample.kind) {
    case Kind::Preset:
        return effect.loadPresetFile(sample.bytes, order);
    case Kind::Bank:
        return effect.loadBankFile(sample.bytes, order);
    case Kind::Midi:
        return effect.loadMidiSettingsFile(sample.bytes, order);
    }
    return LoadStatus::Loaded;
}

TEST(PresetFiles, RefusedDataNamesItsReasonAndChangesNothing) {
    for (const auto& sample : damagedSamples()) {
        SCOPED_TRACE(sample.what);
        PresetRig effect;
        edit(effect);
        const auto before = effect.snapshot();
        const std::size_t calls = effect.parameterCalls.size();
        effect.renamedPrograms.clear();
        EXPECT_EQ(load(effect, sample, kAsFound), sample.reason) << describe(sample.reason);
        EXPECT_EQ(effect.snapshot(), before);
        EXPECT_EQ(effect.parameterCalls.size(), calls);
        EXPECT_TRUE(effect.renamedPrograms.empty());
    }
}

// The stored defaults and memories take the same layouts through the same decoder.
TEST(PresetFiles, StoredValuesRefuseWhatFilesRefuse) {
    for (const auto& sample : damagedSamples()) {
        SCOPED_TRACE(sample.what);
        PresetRig effect;
        const auto before = effect.snapshot();
        const LoadStatus status =
            sample.kind == Kind::Preset ? effect.loadStoredPreset(sample.bytes)
            : sample.kind == Kind::Bank ? effect.loadStoredBank(sample.bytes)
                                        : effect.loadStoredMidiSettings(sample.bytes);
        EXPECT_EQ(status, sample.reason);
        EXPECT_EQ(effect.snapshot(), before);
    }
}

} // namespace
} // namespace velmora::testing
