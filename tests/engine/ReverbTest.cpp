#include "engine/Reverb.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

namespace velmora::engine {
namespace {

constexpr ReverbType kTypes[] = {ReverbType::Spring, ReverbType::Plate};

void prepare(Reverb& reverb, ReverbType type, double fs, double damping = 0.5) {
    reverb.allocate(fs);
    reverb.setDamping(damping);
    reverb.layOut(type, fs);
}

TEST(Reverb, LinesArePowersOfTwoAndEveryTapFitsAtEveryRate) {
    // The longest taps, in units of the type's scale S.
    const double plateLongest = 3295698.3066 * 0.5;
    const double springLongest = 47647.92275589291 * 0.5;
    std::vector<double> rates{49999.0, 50000.0, 99999.0, 100000.0, 200000.0};
    for (double fs = 8000.0; fs <= 192000.0; fs += 4000.0)
        rates.push_back(fs);
    for (const double rate : rates) {
        Reverb plate;
        prepare(plate, ReverbType::Plate, rate);
        const std::size_t mask = plate.mask();
        ASSERT_EQ(mask, rate < 50000 ? 32767u : rate < 100000 ? 65535u : 131071u);
        const double length = rate * 44.1 * 5 / 1445024700.0 * plateLongest;
        ASSERT_LT(length, static_cast<double>(mask)) << rate;
        // B2 is the plate's longest line: the distance is L rounded up, never wrapped.
        ASSERT_EQ(plate.tapDistance(8), static_cast<std::size_t>(std::ceil(length))) << rate;

        plate.layOut(ReverbType::Spring, rate);
        const double springLength = rate / 303187.5 * springLongest;
        ASSERT_EQ(plate.tapDistance(4), static_cast<std::size_t>(std::ceil(springLength)));
    }
}

// Every tap's length in milliseconds (0 for a line the type leaves unused), A0..A5, B0..B5,
// C0..C3: the voicing both types are tuned to, the same at every rate.
constexpr std::array<double, Reverb::kLineCount> kSpringTapsMs{
    54.0375, 54.0375, 65.1628, 65.1628, 78.5783, 78.5783, 1.7001, 1.7001,
    1.4098,  1.4098,  1.2839,  1.2839,  8.5954,  8.4714,  7.0224, 7.1245};
constexpr std::array<double, Reverb::kLineCount> kPlateTapsMs{
    0,        0,        0,        0,        0,       0,       242.8,   203.142,
    251.4495, 191.2045, 233.7743, 223.1107, 47.7562, 17.8924, 34.9031, 13.4824};

TEST(Reverb, EveryTapSitsAtItsLengthInMillisecondsRoundedUpToWholeSamples) {
    for (const double fs : {22050.0, 44100.0, 48000.0, 96000.0, 192000.0}) {
        for (const ReverbType type : kTypes) {
            Reverb reverb;
            prepare(reverb, type, fs);
            const auto& taps = type == ReverbType::Plate ? kPlateTapsMs : kSpringTapsMs;
            for (int line = 0; line < Reverb::kLineCount; ++line) {
                // The table's four decimals leave at most 0.01 samples of doubt at 192 kHz.
                const double samples = taps[static_cast<std::size_t>(line)] * fs / 1000.0;
                const auto distance = static_cast<double>(reverb.tapDistance(line));
                EXPECT_GE(distance, samples - 0.02)
                    << fs << " type " << static_cast<int>(type) << " line " << line;
                EXPECT_LT(distance, samples + 1.02)
                    << fs << " type " << static_cast<int>(type) << " line " << line;
            }
        }
    }
}

TEST(Reverb, ZeroAmountPassesTheWetSignalWhileTheLinesFill) {
    for (const ReverbType type : kTypes) {
        Reverb reverb;
        prepare(reverb, type, 44100.0);
        std::minstd_rand random(11);
        std::uniform_real_distribution<double> signal(-1.0, 1.0);
        for (int n = 0; n < 4000; ++n) {
            const double inL = signal(random), inR = signal(random);
            double left = inL, right = inR;
            reverb.process(left, right, 0.0);
            ASSERT_EQ(left, inL);
            ASSERT_EQ(right, inR);
        }
        // Full amount with silent input now plays back what the lines took in.
        double energy = 0.0;
        for (int n = 0; n < 4000; ++n) {
            double left = 0.0, right = 0.0;
            reverb.process(left, right, 1.0);
            energy += left * left + right * right;
        }
        EXPECT_GT(energy, 1e-3) << static_cast<int>(type);
    }
}

TEST(Reverb, InputIsSummedToMono) {
    for (const ReverbType type : kTypes) {
        Reverb reverb;
        prepare(reverb, type, 44100.0);
        for (int n = 0; n < 5000; ++n) {
            double left = std::sin(n * 0.05), right = -left;
            reverb.process(left, right, 1.0);
            ASSERT_EQ(left, 0.0);
            ASSERT_EQ(right, 0.0);
        }
    }
}

TEST(Reverb, StaysFiniteBoundedAndDecaysForAllTypesDampingsAndRates) {
    for (const double fs : {8000.0, 44100.0, 96000.0, 192000.0}) {
        for (const ReverbType type : kTypes) {
            for (const double damping : {0.0, 0.5, 1.0}) {
                Reverb reverb;
                prepare(reverb, type, fs, damping);
                std::minstd_rand random(5);
                std::uniform_real_distribution<double> loud(-4.0, 4.0);
                const int burst = static_cast<int>(fs / 4);
                double peak = 0.0, early = 0.0, late = 0.0;
                for (int n = 0; n < 4 * burst; ++n) {
                    double left = n < burst ? loud(random) : 0.0;
                    double right = n < burst ? loud(random) : 0.0;
                    reverb.process(left, right, 1.0);
                    ASSERT_TRUE(std::isfinite(left) && std::isfinite(right));
                    const double level = std::max(std::fabs(left), std::fabs(right));
                    peak = std::max(peak, level);
                    if (n >= burst && n < 2 * burst) early = std::max(early, level);
                    if (n >= 3 * burst) late = std::max(late, level);
                }
                EXPECT_LT(peak, 50.0) << fs << " " << static_cast<int>(type) << " " << damping;
                EXPECT_LT(late, early) << fs << " " << static_cast<int>(type) << " " << damping;
            }
        }
    }
}

TEST(Reverb, TypeChangeDuringPlaybackReadsTheOldContentsAtNewTaps) {
    Reverb reverb;
    prepare(reverb, ReverbType::Spring, 48000.0);
    std::minstd_rand random(9);
    std::uniform_real_distribution<double> signal(-1.0, 1.0);
    for (int n = 0; n < 20000; ++n) {
        double left = signal(random), right = signal(random);
        reverb.process(left, right, 1.0);
    }
    reverb.layOut(ReverbType::Plate, 48000.0);
    double energy = 0.0;
    for (int n = 0; n < 20000; ++n) {
        double left = 0.0, right = 0.0;
        reverb.process(left, right, 1.0);
        ASSERT_TRUE(std::isfinite(left) && std::isfinite(right));
        ASSERT_LT(std::fabs(left) + std::fabs(right), 50.0);
        energy += left * left;
    }
    EXPECT_GT(energy, 0.0) << "the lines were not cleared";

    reverb.reset();
    double left = 0.0, right = 0.0;
    reverb.process(left, right, 1.0);
    EXPECT_EQ(left, 0.0);
    EXPECT_EQ(right, 0.0);
}

} // namespace
} // namespace velmora::engine
