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
