// Programs as the host and the preset bar see them: names, the single host program, applying
// a program, and the preset, bank and MIDI-settings loads.
#include "tests/presets/PresetRig.h"

#include "presets/ChunkReader.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora::testing {
namespace {

using namespace chunk;

std::string nameOf(PresetRig& effect, int index) {
    char text[32];
    std::memset(text, 'x', sizeof text);
    if (!effect.getProgramNameIndexed(index, text)) return "<none>";
    return text;
}

TEST(Programs, NamesKeepAtMost24CharactersAndAlwaysEndTerminated) {
    PresetRig effect;
    EXPECT_EQ(nameOf(effect, 0), "Default");
    EXPECT_EQ(nameOf(effect, 1), "Cirrostratus");
    EXPECT_EQ(nameOf(effect, 17), "Raptures Of The Deep");
    EXPECT_EQ(nameOf(effect, 60), "Bass Drone");
    EXPECT_EQ(nameOf(effect, 61), "<none>");
    EXPECT_EQ(nameOf(effect, -1), "<none>");

    char exact[] = "ABCDEFGHIJKLMNOPQRSTUVWX";
    effect.setProgramName(exact);
    char text[32];
    std::memset(text, 'x', sizeof text);
    effect.getProgramName(text);
    EXPECT_STREQ(text, "ABCDEFGHIJKLMNOPQRSTUVWX");
    EXPECT_EQ(text[25], 'x') << "at most 25 bytes are written";

    char longer[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ1234";
    effect.setProgramName(longer);
    effect.getProgramName(text);
    EXPECT_STREQ(text, "ABCDEFGHIJKLMNOPQRSTUVWX");
    EXPECT_EQ(effect.renamedPrograms, (std::vector<int>{0, 0}));

    char shorter[] = "Hi";
    effect.setProgramName(shorter);
    const auto& name = effect.programs()[0].name;
    EXPECT_TRUE(std::all_of(name.begin() + 2, name.end(), [](char c) { return c == 0; }));
}

TEST(Programs, ApplyingSendsEveryValueWithoutWritingBack) {
    PresetRig effect;
    effect.parameterCalls.clear();
    effect.setCurrentProgram(24);
    ASSERT_EQ(effect.parameterCalls.size(), 60u);
    for (int i = 0; i < 60; ++i)
        EXPECT_EQ(effect.parameterCalls[static_cast<std::size_t>(i)],
                  std::make_pair(i, effect.programs()[24].values[i].get()));
    EXPECT_EQ(effect.updateDisplayCount, 1);
    EXPECT_EQ(effect.editBrackets, 1);
    EXPECT_FALSE(effect.isApplyingProgram());

    // Edits go into the current program only; 43 and 44 are kept like any other value.
    effect.setParameter(43, 0.7f);
    effect.setParameter(param::Mix, 1.7f);
    EXPECT_EQ(effect.getParameter(43), 0.7f);
    EXPECT_EQ(effect.getParameter(param::Mix), 1.0f) << "kept loadable";
    EXPECT_EQ(effect.programs()[23].values[43], 0.0f);

    effect.parameterCalls.clear();
    effect.setCurrentProgram(61);
    effect.setCurrentProgram(-1);
    EXPECT_TRUE(effect.parameterCalls.empty());
    EXPECT_EQ(effect.getCurrentProgramIndex(), 24);
}

// The records of a chunk built by the effect, with its header already read, as the file
// actions hand them over.
struct ParsedChunk {
    std::vector<std::byte> bytes;
    ChunkHeader header;
    std::span<const std::byte> records() const {
        return std::span<const std::byte>(bytes).subspan(kHeaderBytes);
    }
};

ParsedChunk parse(std::vector<std::byte> bytes) {
    ParsedChunk chunk{std::move(bytes), {}};
    chunk.header = *readHeader(ChunkReader(chunk.bytes, false), 0);
    return chunk;
}

TEST(Programs, PresetLoadReplacesTheCurrentProgramFromTheTemplate) {
    PresetRig source;
    source.setCurrentProgram(24);
    const auto preset = parse(source.buildPresetChunk());

    PresetRig target;
    target.setCurrentProgram(3);
    ASSERT_TRUE(target.loadPresetChunk(preset.records(), preset.header, false));
    EXPECT_EQ(target.getCurrentProgramIndex(), 3);
    EXPECT_EQ(target.programs()[3].nameView(), "Ping Pong");
    EXPECT_EQ(target.programs()[3].values, source.programs()[24].values);

    // Only some values in the chunk: the rest come from the template, not the old program.
    auto partial = preset;
    partial.header.recordCount = 1 + 10;
    target.setCurrentProgram(5);
    ASSERT_TRUE(target.loadPresetChunk(partial.records(), partial.header, false));
    EXPECT_EQ(target.programs()[5].values[9], source.programs()[24].values[9]);
    EXPECT_EQ(target.programs()[5].values[52], target.templateProgram().values[52]);

    // A bad value restores the program as it was.
    auto bad = preset;
    putFloat(bad.bytes, kHeaderBytes + kNameRecordBytes + 30 * kValueRecordBytes + 24, 3.0f);
    const Program before = target.programs()[5];
    EXPECT_FALSE(target.loadPresetChunk(bad.records(), bad.header, false));
    EXPECT_EQ(target.programs()[5].values, before.values);
    EXPECT_EQ(target.programs()[5].name, before.name);
}

TEST(Programs, BankLoadRollsBackOnABadValueAndSelectsItsCurrentProgram) {
    PresetRig source;
    source.setCurrentProgram(40);
    source.setParameter(param::Mix, 0.01f);
    const auto bank = parse(source.buildBankChunk());

    PresetRig target;
    target.setParameter(param::Mix, 0.99f);
    const auto before = target.snapshot();
    auto bad = bank;
    // The 100th record: program 1's 38th value record.
    putFloat(bad.bytes,
             kHeaderBytes + (kNameRecordBytes + 60 * kValueRecordBytes) + kNameRecordBytes +
                 37 * kValueRecordBytes + 24,
             1.5f);
    EXPECT_FALSE(target.loadBankChunk(bad.records(), bad.header, false));
    EXPECT_EQ(target.snapshot(), before);

    auto negative = bank;
    negative.header.recordCount = -1;
    EXPECT_FALSE(target.loadBankChunk(negative.records(), negative.header, false));
    EXPECT_EQ(target.snapshot(), before);

    ASSERT_TRUE(target.loadBankChunk(bank.records(), bank.header, false));
    EXPECT_EQ(target.getCurrentProgramIndex(), 40);
    EXPECT_EQ(target.programs()[40].values[param::Mix], 0.01f);
    EXPECT_EQ(target.renamedPrograms.size(), 61u);
}

TEST(Programs, MidiSettingsLoadSkipsBadRecordsAndAppliesTheRest) {
    PresetRig source;
    source.assignController(param::Cutoff, 74);
    source.assignController(param::Reso, 71);
    auto midi = parse(source.buildMidiSettingsChunk());
    putFloat(midi.bytes, kHeaderBytes + param::Cutoff * kValueRecordBytes + 24, -1.0f);

    PresetRig target;
    ASSERT_TRUE(target.loadMidiSettingsChunk(midi.records(), midi.header, false));
    EXPECT_EQ(target.controllerOfParameter(param::Cutoff), 999);
    EXPECT_EQ(target.controllerOfParameter(param::Reso), 71);
}

} // namespace
} // namespace velmora::testing
