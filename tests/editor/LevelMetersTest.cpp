// The bar meters: a peak's level in dB across the meter's 24 dB, the jump up and the half-second
// fall, a wrapping tick counter, and the peaks taken from a running effect.
#include "editor/LevelMeters.h"
#include "engine/ParameterIndex.h"
#include "plugin/DelayEffect.h"
#include "tests/editor/QuietHost.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace velmora::editor {
namespace {

constexpr float kTolerance = 1e-4f;

TEST(LevelMeters, PeakLevelIsLinearInDecibelsOverTheTopTwentyFourDecibels) {
    EXPECT_NEAR(meterTarget(0.5f), 0.74914f, kTolerance); // -6.02 dB
    EXPECT_NEAR(meterTarget(1.0f), 1.0f, kTolerance);
    EXPECT_NEAR(meterTarget(4.0f), 1.0f, kTolerance);     // above full scale stays full
    EXPECT_NEAR(meterTarget(0.1f), 0.16667f, kTolerance); // -20 dB
    EXPECT_EQ(meterTarget(0.05f), 0.0f);                  // below the -24 dB floor
    EXPECT_EQ(meterTarget(0.0f), 0.0f);
    EXPECT_EQ(meterTarget(std::nanf("")), 0.0f);
    // Just above the floor the meter starts from empty, without a jump.
    EXPECT_NEAR(meterTarget(0.0631f), 0.0f, 1e-3f);
}

TEST(LevelMeters, ChannelsJumpUpAtOnceAndApart) {
    LevelMeters meters{0};
    meters.update(0.5f, 0.05f, 10);
    EXPECT_NEAR(meters.left(), 0.74914f, kTolerance);
    EXPECT_EQ(meters.right(), 0.0f);
    meters.update(0.5f, 1.0f, 20);
    EXPECT_NEAR(meters.right(), 1.0f, kTolerance);
}

TEST(LevelMeters, FullScaleFallsEmptyInHalfASecond) {
    LevelMeters meters{1000};
    meters.update(1.0f, 1.0f, 1000);
    meters.update(0.0f, 0.0f, 1100);
    EXPECT_NEAR(meters.left(), 0.8f, kTolerance);
    meters.update(0.0f, 0.0f, 1250);
    EXPECT_NEAR(meters.left(), 0.5f, kTolerance);
    meters.update(0.0f, 0.0f, 1500);
    EXPECT_EQ(meters.left(), 0.0f);
    meters.update(0.0f, 0.0f, 1600); // stays at empty, never below
    EXPECT_EQ(meters.right(), 0.0f);
}

TEST(LevelMeters, AQuietPeakShowsOnlyWhileTheMeterIsStillFalling) {
    LevelMeters meters{0};
    meters.update(1.0f, 0.05f, 0);
    meters.update(0.05f, 0.05f, 100); // 0.05 alone reads as empty
    EXPECT_NEAR(meters.left(), 0.8f, kTolerance);
    EXPECT_EQ(meters.right(), 0.0f);
    // A peak above what is left of the fall lifts the meter again.
    meters.update(0.5f, 0.5f, 200);
    EXPECT_NEAR(meters.left(), 0.74914f, kTolerance);
}

TEST(LevelMeters, FallKeepsItsPaceAcrossATickWrap) {
    constexpr std::uint32_t kNearWrap = 0xFFFFFF9Cu; // 100 ms before the counter wraps
    LevelMeters meters{kNearWrap};
    meters.update(1.0f, 1.0f, kNearWrap);
    meters.update(0.0f, 0.0f, 150); // 250 ms later
    EXPECT_NEAR(meters.left(), 0.5f, kTolerance);
    EXPECT_NEAR(meters.right(), 0.5f, kTolerance);
}

// A constant half-scale input at unity gain, long enough to pass the meter's delay ring.
TEST(LevelMeters, ReadsAndClearsTheEffectsPeaks) {
    DelayEffect effect(&testing::quietHost);
    effect.setParameter(param::Input, 0.5f);
    effect.setSampleRate(44100.0f);
    effect.setBlockSize(512);
    effect.resume();
    constexpr int kFrames = 512;
    std::vector<float> signal(kFrames, 0.5f);
    std::vector<float> silence(kFrames, 0.0f);
    std::vector<float> left(kFrames), right(kFrames);
    std::array<float*, 4> inputs{signal.data(), signal.data(), silence.data(), silence.data()};
    std::array<float*, 2> outputs{left.data(), right.data()};
    for (int block = 0; block < 8; ++block)
        effect.processReplacing(inputs.data(), outputs.data(), kFrames);

    LevelMeters meters{0};
    meters.update(effect, 10);
    EXPECT_NEAR(meters.left(), 0.74914f, 1e-3f);
    EXPECT_NEAR(meters.right(), 0.74914f, 1e-3f);
    // The peaks were taken: with no audio since, the meters only fall.
    meters.update(effect, 110);
    EXPECT_NEAR(meters.left(), 0.74914f - 0.2f, 1e-3f);
}

} // namespace
} // namespace velmora::editor
