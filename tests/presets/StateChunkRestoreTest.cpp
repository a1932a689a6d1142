// Saving and restoring the whole state: round trips in both byte orders, and chunks that must
// be rejected without changing any program or assignment.
#include "tests/presets/ChunkSamples.h"
#include "tests/presets/PresetRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora::testing {
namespace {

using namespace chunk;

constexpr std::size_t kRecords = 49; // first record of a state chunk
constexpr std::size_t kProgramBytes = kNameRecordBytes + 60 * kValueRecordBytes;

// An effect whose state differs from a fresh one in programs, names, the current program and
// the controller assignments.
void edit(PresetRig& effect) {
    effect.setCurrentProgram(7);
    effect.setParameter(param::Mix, 0.123f);
    effect.setParameter(param::Cutoff, 0.9f);
    char name[] = "Edited Seven";
    effect.setProgramName(name);
    effect.setCurrentProgram(33);
    effect.setParameter(param::FbGainL, 0.71f);
    effect.setParameter(60 + param::Cutoff, (7 + 0.5f) / 129.0f);
    effect.setParameter(60 + param::Mix, 0.5f);
    effect.assignController(param::Drive, 21);
}

TEST(StateChunkRestore, EditedStateRestoresIntoAFreshInstanceByteForByte) {
    PresetRig original;
    edit(original);
    const auto saved = original.stateChunk();

    PresetRig restored;
    ASSERT_EQ(restored.restore(saved), 0);
    EXPECT_EQ(restored.stateChunk(), saved);
    EXPECT_EQ(restored.getCurrentProgramIndex(), 33);
    EXPECT_EQ(restored.controllerOfParameter(param::Cutoff), 7);
    EXPECT_EQ(restored.parameterOfController(64), param::Mix);
    EXPECT_EQ(restored.controllerOfParameter(param::Drive), 21);
    char name[25];
    restored.getProgramNameIndexed(7, name);
    EXPECT_STREQ(name, "Edited Seven");

    // Applying the restored current program sends its 60 values through setParameter.
    ASSERT_GE(restored.parameterCalls.size(), 60u);
    const auto applied = restored.parameterCalls.end() - 60;
    for (int i = 0; i < 60; ++i)
        EXPECT_EQ(applied[i], std::make_pair(i, restored.programs()[33].values[i].get()));
    EXPECT_FLOAT_EQ(restored.programs()[33].values[param::FbGainL], 0.71f);
}

TEST(StateChunkRestore, ByteReversedStateRestoresTheSameState) {
    PresetRig original;
    edit(original);
    const auto saved = original.stateChunk();

    PresetRig restored;
    ASSERT_EQ(restored.restore(reversedState(saved)), 0);
    EXPECT_EQ(restored.stateChunk(), saved);
    EXPECT_EQ(restored.snapshot(), original.snapshot());
}

class RejectedStateChunk : public ::testing::Test {
  protected:
    void SetUp() override {
        edit(effect);
        good = effect.stateChunk();
        // Move away from the saved state so that an accepted chunk would show.
        effect.setCurrentProgram(2);
        effect.setParameter(param::Input, 0.2f);
        effect.assignController(param::Reso, 5);
        before = effect.snapshot();
    }

    void expectRejected(std::vector<std::byte> chunk, const char* what) {
        EXPECT_EQ(effect.restore(std::move(chunk)), -1) << what;
        EXPECT_EQ(effect.snapshot(), before) << what;
    }

    PresetRig effect;
    std::vector<std::byte> good;
    std::vector<std::byte> before;
};

TEST_F(RejectedStateChunk, ForeignIdOrUnknownVersion) {
    auto foreign = good;
    putWord(foreign, 4, 0x41424344);
    expectRejected(foreign, "foreign unique ID");

    auto future = good;
    putWord(future, 0, 0x03000000);
    expectRejected(future, "version 3");
    putWord(future, 0, 0);
    expectRejected(future, "version 0");
}

TEST_F(RejectedStateChunk, ValueOutsideTheRangeAtAnyRecord) {
    // Value records of the first, the 100th record, a middle and the last program, and one
    // in the other byte order.
    const std::vector<std::size_t> records{
        kRecords + kNameRecordBytes,
        kRecords + kProgramBytes + 38 * kValueRecordBytes + kNameRecordBytes,
        kRecords + 30 * kProgramBytes + kNameRecordBytes + 17 * kValueRecordBytes,
        kRecords + 60 * kProgramBytes + kNameRecordBytes + 59 * kValueRecordBytes};
    for (const std::size_t record : records) {
        for (const float bad : {1.5f, -0.01f, std::numeric_limits<float>::quiet_NaN()}) {
            auto chunk = good;
            putFloat(chunk, record + 24, bad);
            expectRejected(chunk, "bad value");
        }
    }
    auto reversed = reversedState(good);
    putFloat(reversed, records[1] + 24, 1.5f);
    std::reverse(reversed.begin() + static_cast<std::ptrdiff_t>(records[1] + 24),
                 reversed.begin() + static_cast<std::ptrdiff_t>(records[1] + 28));
    expectRejected(reversed, "bad value in a reversed chunk");
}

TEST_F(RejectedStateChunk, TruncatedChunks) {
    for (std::size_t size :
         {std::size_t{0}, std::size_t{7}, std::size_t{8}, std::size_t{48}, kRecords + 5,
          kRecords + kProgramBytes, good.size() / 2, good.size() - 32, good.size() - 1}) {
        expectRejected(
            std::vector<std::byte>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size)),
            "truncated");
    }
}

TEST_F(RejectedStateChunk, LyingCountsAndSizes) {
    auto count = good;
    putWord(count, kStatePrefixBytes + 13, 3782);
    expectRejected(count, "one record more than present");
    putWord(count, kStatePrefixBytes + 13, 0x7FFFFFFF);
    expectRejected(count, "huge record count");
    putWord(count, kStatePrefixBytes + 13, 0xFFFFFFFF);
    expectRejected(count, "negative record count");

    const std::size_t lastProgram = kRecords + 60 * kProgramBytes;
    for (const std::uint32_t payload : {0x7FFFFFF0u, 0xFFFFFFF4u, 0x80000000u, 200000u, 4u}) {
        auto lying = good;
        putWord(lying, lastProgram + 4, payload);
        expectRejected(lying, "lying payload size of a name record");
        lying = good;
        putWord(lying, lastProgram + kNameRecordBytes + 4, payload);
        expectRejected(lying, "lying payload size of a value record");
    }
}

TEST(LegacyStateChunk, FullChunkRestoresProgramsAndAssignments) {
    PresetRig effect;
    auto chunk = legacyChunk(61, 5);
    putFloat(chunk, 16136 + 4 * param::Cutoff, (7 + 0.5f) / 129.0f);
    putFloat(chunk, 16136 + 4 * param::Mix, 2.0f); // skipped: not a controller value
    ASSERT_EQ(effect.restore(chunk), 0);
    EXPECT_EQ(effect.getCurrentProgramIndex(), 5);
    for (int p : {0, 5, 60}) {
        EXPECT_EQ(effect.programs()[p].nameView(), "Old " + std::to_string(p));
        for (int i = 0; i < 60; ++i)
            EXPECT_EQ(effect.programs()[p].values[i], static_cast<float>((p + i) % 10) / 10.0f);
    }
    EXPECT_EQ(effect.controllerOfParameter(param::Cutoff), 7);
    EXPECT_EQ(effect.parameterOfController(7), param::Cutoff);
    EXPECT_EQ(effect.controllerOfParameter(param::Mix), 999);
}

TEST(LegacyStateChunk, ReversedShortAndOddChunks) {
    // Byte-reversed: every 32-bit word but the names.
    PresetRig native;
    PresetRig reversed;
    auto chunk = legacyChunk(61, 1);
    putFloat(chunk, 16136 + 4 * param::Drive, (3 + 0.5f) / 129.0f);
    auto flipped = chunk;
    for (std::size_t at = 0; at + 4 <= flipped.size(); at += 4) {
        const bool inName = at >= 32 && at < 32 + 61 * 264 && (at - 32) % 264 < 24;
        if (!inName)
            std::reverse(flipped.begin() + static_cast<std::ptrdiff_t>(at),
                         flipped.begin() + static_cast<std::ptrdiff_t>(at + 4));
    }
    ASSERT_EQ(native.restore(chunk), 0);
    ASSERT_EQ(reversed.restore(flipped), 0);
    EXPECT_EQ(reversed.snapshot(), native.snapshot());
    EXPECT_EQ(reversed.controllerOfParameter(param::Drive), 3);

    // Shorter than the full layout: programs load, the controller table is absent and the
    // assignments stay as they were.
    PresetRig shortOne;
    shortOne.assignController(param::Reso, 9);
    ASSERT_EQ(shortOne.restore(legacyChunk(2, 1, 32 + 2 * 264)), 0);
    EXPECT_EQ(shortOne.programs()[1].nameView(), "Old 1");
    EXPECT_EQ(shortOne.programs()[2].nameView(), "Nagual") << "programs not in the chunk stay";
    EXPECT_EQ(shortOne.controllerOfParameter(param::Reso), 9);

    // No programs at all: only the controller table and the current program (out of range
    // becomes 0).
    PresetRig none;
    ASSERT_EQ(none.restore(legacyChunk(0, 99)), 0);
    EXPECT_EQ(none.programs()[0].nameView(), "Default");
    EXPECT_EQ(none.getCurrentProgramIndex(), 0);
}

TEST(LegacyStateChunk, BadValuesAndImpossibleLayoutsChangeNothing) {
    PresetRig effect;
    effect.assignController(param::Reso, 9);
    effect.setCurrentProgram(3);
    const auto before = effect.snapshot();

    auto bad = legacyChunk(61, 0);
    putFloat(bad, 32 + 40 * 264 + 24 + 4 * 7, 1.01f);
    EXPECT_EQ(effect.restore(bad), -1);
    EXPECT_EQ(effect.snapshot(), before) << "programs before the bad value are not kept";

    // More programs claimed than the bytes could hold a name for.
    EXPECT_EQ(effect.restore(legacyChunk(1000, 0, 2000)), -1);
    EXPECT_EQ(effect.restore(legacyChunk(61, 0, 31)), -1);
    EXPECT_EQ(effect.snapshot(), before);
}

} // namespace
} // namespace velmora::testing
