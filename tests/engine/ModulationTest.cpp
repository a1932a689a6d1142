#include "engine/EnvelopeFollower.h"
#include "engine/Lfo.h"
#include "engine/ModulationMix.h"
#include "engine/ModulationTables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace velmora::engine {
namespace {

constexpr double kPi = std::numbers::pi;

TEST(ModulationTables, SpeedCurveSpansHalfToDoubleAndLimitsItsPosition) {
    EXPECT_DOUBLE_EQ(interpolateSpeed(0.0), 0.5);
    EXPECT_DOUBLE_EQ(interpolateSpeed(0.5), 1.0);
    EXPECT_DOUBLE_EQ(interpolateSpeed(1.0), 2.0);
    EXPECT_DOUBLE_EQ(interpolateSpeed(-3.0), 0.5);
    EXPECT_DOUBLE_EQ(interpolateSpeed(7.0), 2.0);
    EXPECT_NEAR(interpolateSpeed(0.75), std::sqrt(2.0), 1e-6);
    EXPECT_DOUBLE_EQ(interpolateSpeed(std::nan("")), 0.5);
}

TEST(Lfo, SineIsReadSteppedFromTheTableAtTheShiftedPhase) {
    Lfo lfo;
    lfo.setWave(Lfo::Sine);
    lfo.setOffset(0.0);
    const Lfo::Values atZero = lfo.step(kPi / 2);
    EXPECT_DOUBLE_EQ(atZero.left, std::sin(2 * kPi * 499 / 999));
    EXPECT_NEAR(atZero.left, 0.0031, 1e-4);
    const Lfo::Values atQuarter = lfo.step(kPi / 2);
    EXPECT_NEAR(atQuarter.left, -1.0, 1e-3);
    EXPECT_EQ(atQuarter.left, atQuarter.right);

    // A quarter-cycle offset puts the sides a quarter apart: left at −π/2 reads about +1.
    Lfo shifted;
    shifted.setWave(Lfo::Sine);
    shifted.setOffset(kPi / 2);
    const Lfo::Values v = shifted.step(0.0);
    EXPECT_NEAR(v.left, 1.0, 1e-3);
    EXPECT_NEAR(v.right, -1.0, 1e-3);
}

TEST(Lfo, TriangleAndPhaseWrapFollowTheShape) {
    Lfo lfo;
    lfo.setWave(Lfo::Triangle);
    const double increment = 2 * kPi / 8;
    // Phases 0, π/4, π/2, 3π/4, then wrapped to −π, −3π/4, ...
    const double expected[] = {0.0, 0.5, 1.0, 0.5, 0.0, -0.5, -1.0, -0.5, 0.0};
    for (const double value : expected)
        EXPECT_NEAR(lfo.step(increment).left, value, 1e-6);
    EXPECT_LE(std::fabs(lfo.phase()), kPi);
}

TEST(Lfo, RandomWaveGivesEqualSidesAtCentredOffsetOnly) {
    Lfo centred;
    centred.setWave(Lfo::Random);
    centred.setShapeCoefficient(0.05);
    centred.setOffset(0.0);
    bool changed = false;
    for (int n = 0; n < 20000; ++n) {
        const Lfo::Values v = centred.step(0.01);
        ASSERT_EQ(v.left, v.right) << n;
        ASSERT_LE(std::fabs(v.left), 1.0);
        changed |= v.left != 0.0;
    }
    EXPECT_TRUE(changed);

    Lfo offset;
    offset.setWave(Lfo::Random);
    offset.setShapeCoefficient(0.05);
    offset.setOffset(kPi / 3);
    bool differed = false;
    for (int n = 0; n < 20000; ++n) {
        const Lfo::Values v = offset.step(0.01);
        differed |= v.left != v.right;
    }
    EXPECT_TRUE(differed);
}

TEST(Lfo, PhaseLockFollowsSongPositionAndHoldsStillWithout) {
    Lfo lfo;
    lfo.setWave(Lfo::Saw);
    lfo.setShapeCoefficient(1.0);
    // No position: phase 0 and increment 0, so every step reads the same value.
    EXPECT_EQ(lfo.lockPhase(std::nullopt, 1, 4, 0.3), 0.0);
    for (int n = 0; n < 100; ++n)
        EXPECT_EQ(lfo.step(0.0).left, 0.0);
    EXPECT_EQ(lfo.phase(), 0.0);

    // A quarter-note cycle: a quarter of the way in is π/2, three quarters is −π/2.
    EXPECT_EQ(lfo.lockPhase(4.25, 1, 4, 0.3), 0.3);
    EXPECT_NEAR(lfo.phase(), kPi / 2, 1e-12);
    lfo.lockPhase(4.75, 1, 4, 0.3);
    EXPECT_NEAR(lfo.phase(), -kPi / 2, 1e-12);
    // Two whole notes (8 quarter notes) per cycle: position 2 is a quarter.
    lfo.lockPhase(2.0, 2, 1, 0.3);
    EXPECT_NEAR(lfo.phase(), kPi / 2, 1e-12);
}

TEST(Lfo, SmoothedWavesApproachTheirTargetsAndResetKeepsRandomTargets) {
    Lfo lfo;
    lfo.setWave(Lfo::Square);
    lfo.setShapeCoefficient(0.5);
    lfo.lockPhase(4.25, 1, 4, 0.0); // φ = π/2: target +1
    EXPECT_DOUBLE_EQ(lfo.step(0.0).left, 0.5);
    EXPECT_DOUBLE_EQ(lfo.step(0.0).left, 0.75);
    lfo.reset();
    EXPECT_EQ(lfo.values().left, 0.0);
    EXPECT_EQ(lfo.phase(), 0.0);
}

TEST(ModulationMix, BlendsSourcesAndMapsCutoffToThreeOctaves) {
    ModulationMix mix;
    EXPECT_EQ(mix.cutoffMultiplier(), 1.0);
    EXPECT_EQ(mix.resonanceModulation(), 0.0);

    const Lfo::Values mod = mix.blend({1.0, -1.0}, -0.5, 0.5, 0.25);
    EXPECT_DOUBLE_EQ(mod.left, 0.75 - 0.125);
    EXPECT_DOUBLE_EQ(mod.right, -0.75 + 0.125);

    mix.prepareFilterModulation({1.0, -0.3}, 1.0);
    EXPECT_NEAR(mix.cutoffMultiplier(), 8.0, 1e-9);
    EXPECT_EQ(mix.resonanceModulation(), -0.3);
    mix.prepareFilterModulation({-1.0, 0.0}, 1.0);
    EXPECT_NEAR(mix.cutoffMultiplier(), 0.125, 1e-9);
    mix.prepareFilterModulation({1.0, 0.0}, -1.0); // negative depth inverts
    EXPECT_NEAR(mix.cutoffMultiplier(), 0.125, 1e-9);
    mix.prepareFilterModulation({1.0, 0.0}, 0.0);
    EXPECT_DOUBLE_EQ(mix.cutoffMultiplier(), 1.0);
}

TEST(EnvelopeFollower, FollowsScaledLevelAsBipolarModulation) {
    EnvelopeFollower follower;
    follower.setSensitivity(2.0);
    follower.setCoefficient(0.01);
    TwoLanes mod{};
    for (int n = 0; n < 5000; ++n)
        mod = follower.process(TwoLanes{n % 2 ? -0.25 : 0.25, 0.0});
    EXPECT_NEAR(follower.envelope(0), 0.5, 1e-9);
    EXPECT_NEAR(mod[0], 0.0, 1e-9);
    EXPECT_EQ(mod[1], -1.0) << "sides are independent";
    EXPECT_EQ(follower.envelope(1), 0.0);
    follower.reset();
    EXPECT_EQ(follower.envelope(0), 0.0);
}

} // namespace
} // namespace velmora::engine
