// The byte layout of the chunks: sizes, header fields and record placement that stored
// projects and files depend on.
#include "tests/presets/PresetRig.h"

#include "presets/FactoryPrograms.h"

#include <gtest/gtest.h>

namespace velmora::testing {
namespace {

using namespace chunk;

constexpr std::size_t kBankInState = kStatePrefixBytes;                     // bank header offset
constexpr std::size_t kFirstStateRecord = kStatePrefixBytes + kHeaderBytes; // 49

// Offset of program p's name record, and of its value record for parameter i, in a bank.
constexpr std::size_t programRecord(int p) {
    return kHeaderBytes + static_cast<std::size_t>(p) * (kNameRecordBytes + 60 * kValueRecordBytes);
}
constexpr std::size_t valueRecord(int p, int i) {
    return programRecord(p) + kNameRecordBytes + static_cast<std::size_t>(i) * kValueRecordBytes;
}

void expectHeader(std::span<const std::byte> chunk, std::uint8_t type, std::uint32_t records,
                  std::uint32_t current, std::uint32_t dataSize) {
    EXPECT_EQ(wordAt(chunk, 0), kUniqueId);
    EXPECT_EQ(std::to_integer<std::uint8_t>(chunk[4]), type);
    EXPECT_EQ(wordAt(chunk, 5), kFormatVersion);
    EXPECT_EQ(wordAt(chunk, 9), 60u);
    EXPECT_EQ(wordAt(chunk, 13), records);
    EXPECT_EQ(wordAt(chunk, 17), current);
    EXPECT_EQ(wordAt(chunk, 21), dataSize);
    for (std::size_t offset = 25; offset < 41; ++offset)
        EXPECT_EQ(chunk[offset], std::byte{0});
}

TEST(ChunkLayout, FreshStateChunkHasTheFullSizeAndEmbeddedCounts) {
    PresetRig effect;
    const auto state = effect.stateChunk();
    ASSERT_EQ(state.size(), 129337u);
    EXPECT_EQ(wordAt(state, 0), kStateVersion2);
    EXPECT_EQ(wordAt(state, 4), kUniqueId);
    const std::span bank = std::span<const std::byte>(state).subspan(kBankInState);
    expectHeader(bank, kBankType, 61 * 61 + 60, 0, 127368);

    // The appended controller records follow the bank records, one per parameter, reporting
    // "no assignment".
    const std::size_t controllers = kBankInState + 41 + 127368;
    for (int p = 0; p < 60; ++p) {
        const std::size_t at = controllers + static_cast<std::size_t>(p) * kValueRecordBytes;
        EXPECT_EQ(wordAt(state, at), 2u);
        EXPECT_EQ(wordAt(state, at + 4), 20u);
        EXPECT_EQ(wordAt(state, at + 8), 0u);
        EXPECT_EQ(wordAt(state, at + 12), static_cast<std::uint32_t>(p));
        EXPECT_EQ(wordAt(state, at + 16) | wordAt(state, at + 20), 0u);
        EXPECT_EQ(std::bit_cast<float>(wordAt(state, at + 24)), 128.5f / 129.0f);
        EXPECT_EQ(wordAt(state, at + 28), 0u);
    }
    EXPECT_EQ(kFirstStateRecord, 49u);
}

TEST(ChunkLayout, PresetBankAndMidiChunksHaveTheirSizesAndHeaders) {
    PresetRig effect;
    effect.setCurrentProgram(24);

    const auto preset = effect.buildPresetChunk();
    ASSERT_EQ(preset.size(), 2129u);
    expectHeader(preset, kPresetType, 61, 0, 2088);

    const auto bank = effect.buildBankChunk();
    ASSERT_EQ(bank.size(), 127409u);
    expectHeader(bank, kBankType, 61 * 61, 24, 127368);

    const auto midi = effect.buildMidiSettingsChunk();
    ASSERT_EQ(midi.size(), 1961u);
    expectHeader(midi, kMidiSettingsType, 60, 0, 1920);

    // The preset chunk carries the current program with program fields 0.
    EXPECT_EQ(wordAt(preset, 41 + 8), 0u);
    EXPECT_EQ(std::string_view(reinterpret_cast<const char*>(&preset[41 + 12])), "Ping Pong");
}

TEST(ChunkLayout, BankRecordsCarryEveryFactoryRowAndName) {
    PresetRig effect;
    const auto bank = effect.buildBankChunk();
    for (int p = 0; p < 61; ++p) {
        const std::size_t name = programRecord(p);
        ASSERT_EQ(wordAt(bank, name), 0u);
        ASSERT_EQ(wordAt(bank, name + 4), 156u);
        ASSERT_EQ(wordAt(bank, name + 8), static_cast<std::uint32_t>(p));
        const std::string_view expectedName = kFactoryProgramNames[static_cast<std::size_t>(p)];
        EXPECT_EQ(std::memcmp(&bank[name + 12], expectedName.data(), expectedName.size()), 0);
        for (std::size_t i = name + 12 + expectedName.size(); i < name + kNameRecordBytes; ++i)
            ASSERT_EQ(bank[i], std::byte{0}) << "name padding and payload tail are zero";
        for (int i = 0; i < 60; ++i) {
            const std::size_t value = valueRecord(p, i);
            ASSERT_EQ(wordAt(bank, value), 1u);
            ASSERT_EQ(wordAt(bank, value + 8), static_cast<std::uint32_t>(p));
            ASSERT_EQ(wordAt(bank, value + 12), static_cast<std::uint32_t>(i));
            ASSERT_EQ(std::bit_cast<float>(wordAt(bank, value + 24)),
                      static_cast<float>(
                          kFactoryRows[static_cast<std::size_t>(p)][static_cast<std::size_t>(i)]));
        }
    }
}

TEST(ChunkLayout, FactoryTableHoldsTheFixedRowsAndOnlyNormalisedValues) {
    EXPECT_EQ(kFactoryProgramNames[0], "Default");
    EXPECT_EQ(kFactoryProgramNames[1], "Cirrostratus");
    EXPECT_EQ(kFactoryProgramNames[24], "Ping Pong");
    EXPECT_EQ(kFactoryProgramNames[60], "Bass Drone");
    EXPECT_EQ(kFactoryRows[0][6], 1.0);
    EXPECT_EQ(kFactoryRows[0][35], 0.4);
    EXPECT_EQ(kFactoryRows[24][52], 0.39);
    EXPECT_EQ(kFactoryRows[60][16], 0.492443);
    for (const auto& row : kFactoryRows)
        for (const double value : row)
            EXPECT_TRUE(value >= 0.0 && value <= 1.0);
    for (const auto name : kFactoryProgramNames)
        EXPECT_LE(name.size(), 20u) << name;
    for (std::size_t a = 0; a < kFactoryRows.size(); ++a)
        for (std::size_t b = a + 1; b < kFactoryRows.size(); ++b)
            EXPECT_NE(kFactoryRows[a], kFactoryRows[b]) << a << " and " << b << " are the same";
}

} // namespace
} // namespace velmora::testing
