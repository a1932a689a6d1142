#include "engine/StateVariableFilter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>

namespace velmora::engine {
namespace {

constexpr FilterType kAllTypes[] = {FilterType::LowPass, FilterType::BandPass,
                                    FilterType::HighPass};

TEST(StateVariableFilter, StaysBoundedAtFullResonanceWithLoudInputAtEveryType) {
    std::minstd_rand random(7);
    for (const double amplitude : {1.0, 4.0, 100.0}) {
        std::uniform_real_distribution<double> loud(-amplitude, amplitude);
        for (const double cutoff : {60.0, 1000.0, 8800.0, 13400.0, 16000.0}) {
            for (const double resonance : {1.0, 0.05}) {
                for (const FilterType type : kAllTypes) {
                    StateVariableFilter filter;
                    filter.setSampleRate(44100.0);
                    filter.configure(cutoff, resonance);
                    if (resonance == 1.0) {
                        ASSERT_EQ(filter.dampingCoefficient(), 0.0);
                    }
                    double peak = 0.0;
                    for (int n = 0; n < 8000; ++n) {
                        // A square at the cutoff, then noise: the worst cases for a resonator.
                        const double square =
                            std::sin(2 * std::numbers::pi * cutoff * n / 44100.0) > 0 ? 1 : -1;
                        const double input = n < 4000 ? amplitude * square : loud(random);
                        const TwoLanes out = filter.process(TwoLanes{input, -input}, type);
                        const double left = out[0];
                        const double right = out[1];
                        ASSERT_TRUE(std::isfinite(left) && std::isfinite(right))
                            << amplitude << " " << cutoff << " " << static_cast<int>(type);
                        peak = std::max({peak, std::fabs(left), std::fabs(right)});
                    }
                    EXPECT_LT(peak, 30.0 * amplitude)
                        << amplitude << " " << cutoff << " " << static_cast<int>(type);
                }
            }
        }
    }
}

TEST(StateVariableFilter, EffectiveCutoffNeverExceedsTheLimit) {
    for (const double fs : {22050.0, 44100.0, 96000.0, 192000.0}) {
        StateVariableFilter filter;
        filter.setSampleRate(fs);
        EXPECT_DOUBLE_EQ(filter.cutoffLimit(), fs / 2.75);

        filter.configure(fs / 2.75, 0.5);
        const double atLimit = filter.frequencyCoefficient();
        // The coefficient for running at twice the rate: 2 sin(π fc / (2 fs)).
        EXPECT_NEAR(atLimit, 2.0 * std::sin(std::numbers::pi / 5.5), 1e-6);
        for (const double multiplied : {fs, 8.0 * 16000.0, 1e12}) {
            filter.configure(multiplied, 0.5);
            EXPECT_EQ(filter.frequencyCoefficient(), atLimit) << fs << " " << multiplied;
        }
        filter.configure(std::nan(""), std::nan(""));
        EXPECT_EQ(filter.frequencyCoefficient(), 0.0);
    }
}

TEST(StateVariableFilter, OutputsSelectLowBandAndHighResponses) {
    // A constant passes the low-pass and is removed by the band- and high-pass.
    const std::pair<FilterType, double> expected[] = {
        {FilterType::LowPass, 1.0}, {FilterType::BandPass, 0.0}, {FilterType::HighPass, 0.0}};
    for (const auto& [type, settled] : expected) {
        StateVariableFilter filter;
        filter.setSampleRate(44100.0);
        filter.configure(1000.0, 0.05);
        double out = 0.0;
        for (int n = 0; n < 4410; ++n)
            out = filter.process(TwoLanes{1.0, 0.0}, type)[0];
        EXPECT_NEAR(out, settled, 1e-6) << static_cast<int>(type);
    }

    // A tone well above a low cutoff is strongly attenuated by the low-pass.
    StateVariableFilter filter;
    filter.setSampleRate(44100.0);
    filter.configure(200.0, 0.05);
    double peak = 0.0;
    for (int n = 0; n < 8820; ++n) {
        const double tone = std::sin(2 * std::numbers::pi * 8000.0 * n / 44100.0);
        const double out = filter.process(TwoLanes{tone, 0.0}, FilterType::LowPass)[0];
        if (n > 4410) peak = std::max(peak, std::fabs(out));
    }
    EXPECT_LT(peak, 0.01);
}

// The filter as its design states it, written plainly, one channel: the plug-in must match it
// bit for bit at every level a full-scale signal gives.
struct PlainFilter {
    double f = 0.0, q = 0.0, low = 0.0, band = 0.0, high = 0.0;
    double process(double u, FilterType type) {
        double sum = 0.0;
        for (int pass = 0; pass < 2; ++pass) {
            const double old = (band + 1e-30) - 1e-30;
            low = low + f * old;
            high = u - q * old - low;
            band = old + f * high - 0.075 * (old * old * old);
            sum += type == FilterType::LowPass ? low : type == FilterType::BandPass ? band : high;
        }
        return 0.5 * sum;
    }
};

TEST(StateVariableFilter, FullScaleSignalsTakeThePlainCubicStepExactly) {
    std::minstd_rand random(5);
    std::uniform_real_distribution<double> fullScale(-1.0, 1.0);
    // Near the cutoff limit at the lowest resonances the plain step is already close to running
    // away at full scale; there the filter departs from it (see the overload test below).
    const std::pair<double, double> settings[] = {{60.0, 0.05},    {60.0, 1.0},    {1000.0, 0.05},
                                                  {1000.0, 0.5},   {8800.0, 0.05}, {8800.0, 0.9},
                                                  {15000.0, 0.05}, {15000.0, 1.0}, {16036.0, 0.2},
                                                  {16036.0, 0.5},  {16036.0, 1.0}};
    for (const auto& [cutoff, resonance] : settings) {
        {
            for (const FilterType type : kAllTypes) {
                StateVariableFilter filter;
                filter.setSampleRate(44100.0);
                filter.configure(cutoff, resonance);
                PlainFilter plain{filter.frequencyCoefficient(), filter.dampingCoefficient()};
                for (int n = 0; n < 8000; ++n) {
                    const double square =
                        std::sin(2 * std::numbers::pi * cutoff * n / 44100.0) > 0 ? 1 : -1;
                    const double input = n < 4000 ? square : fullScale(random);
                    const double expected = plain.process(input, type);
                    ASSERT_EQ(filter.process(TwoLanes{input, 0.0}, type)[0], expected)
                        << cutoff << " " << resonance << " " << static_cast<int>(type) << " " << n;
                }
            }
        }
    }
}

// Driven far past full scale, then silent: the output must die away, not hold a constant or a
// limit cycle (the plain cubic step overshoots and flips the band state at these levels).
TEST(StateVariableFilter, OverloadDecaysToSilenceOnceTheInputStops) {
    std::minstd_rand random(9);
    for (const double level : {0.5, 2.0, 3.0, 50.0, 4000.0}) {
        std::uniform_real_distribution<double> loud(-level, level);
        for (const double cutoff : {200.0, 8000.0, 16036.0}) {
            for (const double resonance : {0.05, 0.5, 0.8}) {
                for (const FilterType type : kAllTypes) {
                    StateVariableFilter filter;
                    filter.setSampleRate(44100.0);
                    filter.configure(cutoff, resonance);
                    double loudest = 0.0;
                    double tail = 0.0;
                    for (int n = 0; n < 44100; ++n) {
                        // Noise, then a step held at the level, then silence.
                        const double input = n < 4000 ? loud(random) : n < 6000 ? level : 0.0;
                        const TwoLanes out = filter.process(TwoLanes{input, -input}, type);
                        const double magnitude = std::max(std::fabs(out[0]), std::fabs(out[1]));
                        loudest = std::max(loudest, magnitude);
                        if (n >= 44100 - 4410) tail = std::max(tail, magnitude);
                    }
                    SCOPED_TRACE(testing::Message() << level << " " << cutoff << " " << resonance
                                                    << " " << static_cast<int>(type));
                    ASSERT_TRUE(std::isfinite(loudest));
                    EXPECT_LT(loudest, 30.0 * level);
                    EXPECT_LT(tail, 1e-9 * level);
                }
            }
        }
    }
}

TEST(StateVariableFilter, ResetClearsStatesAndCoefficients) {
    StateVariableFilter filter;
    filter.setSampleRate(44100.0);
    filter.configure(1000.0, 0.7);
    for (int n = 0; n < 100; ++n)
        filter.process(bothLanes(1.0), FilterType::LowPass);
    filter.reset();
    EXPECT_EQ(filter.frequencyCoefficient(), 0.0);
    filter.configure(1000.0, 0.7);
    const TwoLanes out = filter.process(bothLanes(0.0), FilterType::LowPass);
    EXPECT_EQ(out[0], 0.0);
    EXPECT_EQ(out[1], 0.0);
}

} // namespace
} // namespace velmora::engine
