#include "engine/AntiAliasFilter.h"
#include "engine/ClockedDelay.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <random>

namespace velmora::engine {
namespace {

DelayLine makeLine(std::size_t length, std::size_t pre, std::size_t delay) {
    DelayLine line;
    line.buffer.assign(length, 0.0);
    line.placeTaps(pre, delay);
    return line;
}

struct Echo {
    int at = -1;
    double peak = 0.0;
};

// A raised-cosine pulse peaking at sample 8: smooth enough that a halved clock cannot skip it.
constexpr int kPulseCentre = 8;
double pulse(int n) {
    return n <= 2 * kPulseCentre ? 0.5 - 0.5 * std::cos(std::numbers::pi * n / kPulseCentre) : 0.0;
}

// Feeds the pulse into the line input (or the feedback input) and finds the loudest output,
// returning its time relative to the pulse's peak.
Echo runImpulse(double manualOffset, std::size_t pre, std::size_t delay, bool intoFeedback,
                int samples, int* emittedPerSample = nullptr) {
    DelayLine line = makeLine(20001, pre, delay);
    ClockedDelay clocked;
    Echo echo;
    for (int n = 0; n < samples; ++n) {
        const double impulse = pulse(n);
        clocked.pushInputs(0, intoFeedback ? impulse : 0.0, intoFeedback ? 0.0 : impulse);
        const std::size_t before = line.write;
        const double y = clocked.access(0, line, 0.0, 0.0, manualOffset);
        if (emittedPerSample && n > 0) {
            EXPECT_EQ((line.write + line.length() - before) % line.length(),
                      static_cast<std::size_t>(*emittedPerSample))
                << n;
        }
        if (std::fabs(y) > echo.peak) {
            echo.peak = std::fabs(y);
            echo.at = n - kPulseCentre;
        }
    }
    return echo;
}

TEST(ClockedDelay, ClockSpeedScalesTheEchoTimeThroughTheLine) {
    constexpr std::size_t kDelay = 1000;
    // Manual offset 0 is speed 1: one line sample per input sample.
    int one = 1;
    const Echo normal = runImpulse(0.0, 0, kDelay, false, 3000, &one);
    EXPECT_GE(normal.at, static_cast<int>(kDelay) + 1);
    EXPECT_LE(normal.at, static_cast<int>(kDelay) + 3);
    EXPECT_NEAR(normal.peak, 1.0, 1e-12) << "at speed 1 the cubic passes the samples";

    // Speed 2 (offset +1) reaches the tap in half the time, speed 0.5 (offset −1) in twice.
    int two = 2;
    const Echo fast = runImpulse(1.0, 0, kDelay, false, 3000, &two);
    EXPECT_GE(fast.at, static_cast<int>(kDelay / 2));
    EXPECT_LE(fast.at, static_cast<int>(kDelay / 2) + 3);
    const Echo slow = runImpulse(-1.0, 0, kDelay, false, 4000);
    EXPECT_GE(slow.at, static_cast<int>(2 * kDelay));
    EXPECT_LE(slow.at, static_cast<int>(2 * kDelay) + 6);
}

TEST(ClockedDelay, FeedbackInputEntersAtTheFeedbackTap) {
    // The line input is delayed by pre + delay, the feedback input only by delay.
    const Echo line = runImpulse(0.0, 300, 500, false, 2000);
    const Echo feedback = runImpulse(0.0, 300, 500, true, 2000);
    EXPECT_EQ(line.at - feedback.at, 300);
    EXPECT_NEAR(feedback.peak, 1.0, 1e-12);
}

TEST(ClockedDelay, ModulationDepthSelectsBetweenManualAndModulatedSpeed) {
    DelayLine line = makeLine(1000, 0, 100);
    ClockedDelay clocked;
    // Full depth ignores the manual offset: modulation −1 is the slowest clock.
    for (int n = 0; n < 10; ++n)
        clocked.access(0, line, -1.0, 1.0, 1.0);
    EXPECT_DOUBLE_EQ(clocked.speed(0), 0.5);
    // Depth −1 inverts the modulation.
    clocked.access(0, line, -1.0, -1.0, 0.0);
    EXPECT_DOUBLE_EQ(clocked.speed(0), 2.0);
    // Half depth: half of the modulation plus half of the manual offset.
    clocked.access(0, line, 1.0, 0.5, 1.0);
    EXPECT_DOUBLE_EQ(clocked.speed(0), 2.0);
    EXPECT_DOUBLE_EQ(clocked.speed(1), 1.0) << "the other side is untouched";
}

TEST(ClockedDelay, SuddenSpeedChangesKeepTheOutputBoundedAndEmitAtMostTwice) {
    DelayLine line = makeLine(5001, 0, 700);
    ClockedDelay clocked;
    for (int n = 0; n < 20000; ++n) {
        const double input = std::sin(2 * std::numbers::pi * 440.0 * n / 44100.0);
        clocked.pushInputs(0, 0.0, input);
        const double manual = (n / 37) % 2 ? 1.0 : -1.0; // jumps between the extremes
        const std::size_t before = line.write;
        const double y = clocked.access(0, line, 0.0, 0.0, manual);
        ASSERT_LE((line.write + line.length() - before) % line.length(), 2u);
        ASSERT_TRUE(std::isfinite(y));
        ASSERT_LT(std::fabs(y), 10.0);
        ASSERT_LT(clocked.accumulator(0), 1.0);
    }
    clocked.reset();
    EXPECT_EQ(clocked.speed(0), 1.0);
    EXPECT_EQ(clocked.accumulator(0), 0.0);
}

// The clocked access written out step by step, as the reference for the optimised one.
class LiteralClock {
  public:
    double access(DelayLine& line, double fb, double in, double mod, double depth, double manual) {
        push(feedbackHistory_, fb);
        push(inputHistory_, in);
        const double position = (mod * depth + (1.0 - std::fabs(depth)) * manual + 1.0) * 0.5;
        const double s = interpolateSpeed(position);
        const double a1 = 1.0 - (1.0 - a_) * s / previous_;
        a_ = a1 + s;
        double u = 1.0 - a1;
        while (a_ >= 1.0) {
            a_ = a_ - 1.0;
            const double t = u / s;
            line.buffer[line.write] = cr(inputHistory_, t);
            line.buffer[line.feedback] += cr(feedbackHistory_, t);
            push(readHistory_, line.buffer[line.read]);
            line.advance();
            u = u + 1.0;
        }
        previous_ = s;
        return cr(readHistory_, a_);
    }

  private:
    using History = std::array<double, 4>;
    static void push(History& h, double v) { h = {h[1], h[2], h[3], v}; }
    static double cr(const History& h, double t) {
        const auto& [p0, p1, p2, p3] = h;
        return 0.5 * (2 * p1 + (p2 - p0) * t + (2 * p0 - 5 * p1 + 4 * p2 - p3) * t * t +
                      (3 * p1 - 3 * p2 + p3 - p0) * t * t * t);
    }
    History feedbackHistory_{}, inputHistory_{}, readHistory_{};
    double a_ = 0.0;
    double previous_ = 1.0;
};

TEST(ClockedDelay, MatchesTheLiteralClockBitForBit) {
    // Smooth modulation, steady speeds (where the accumulator sits on its boundaries, at 1, 2
    // and 0.5) and jumps between the extremes, so every emission decision is exercised.
    std::minstd_rand random(3);
    std::uniform_real_distribution<double> noise(-1.0, 1.0);
    DelayLine fast = makeLine(4001, 37, 900);
    DelayLine literal = makeLine(4001, 37, 900);
    ClockedDelay clocked;
    LiteralClock reference;
    for (int n = 0; n < 60000; ++n) {
        const double in = std::sin(0.05 * n) + 0.1 * noise(random);
        const double fb = 0.3 * noise(random);
        const int phase = n / 5000;
        double mod = 0.0, depth = 0.0, manual = 0.0;
        if (phase % 4 == 0) {
            depth = 0.8;
            mod = std::sin(0.001 * n);
        } else if (phase % 4 == 1) {
            manual = phase % 3 - 1.0; // speeds 1, 2 and 0.5 held
        } else if (phase % 4 == 2) {
            manual = (n / 13) % 2 ? 1.0 : -1.0;
        } else {
            depth = noise(random);
            mod = noise(random);
            manual = noise(random);
        }
        clocked.pushInputs(0, fb, in);
        const double y = clocked.access(0, fast, mod, depth, manual);
        const double expected = reference.access(literal, fb, in, mod, depth, manual);
        ASSERT_EQ(std::bit_cast<std::uint64_t>(y), std::bit_cast<std::uint64_t>(expected)) << n;
        ASSERT_EQ(fast.write, literal.write) << n;
    }
    EXPECT_EQ(fast.buffer, literal.buffer);
}

TEST(AntiAliasFilter, SettledMemoriesStartWithoutTransient) {
    AntiAliasFilter filter;
    filter.design(44100.0);
    filter.settle(0.7, -0.3);
    for (int n = 0; n < 100; ++n) {
        double left = 0.7, right = -0.3;
        filter.process(left, right);
        ASSERT_NEAR(left, 0.7, 1e-12);
        ASSERT_NEAR(right, -0.3, 1e-12);
    }
    // Unsettled, the same step rings for a while.
    filter.reset();
    double left = 0.7, right = -0.3;
    filter.process(left, right);
    EXPECT_GT(std::fabs(left - 0.7), 0.1);
}

TEST(AntiAliasFilter, IsAStableUnityGainLowPassAtEveryRate) {
    for (const double fs : {8000.0, 22050.0, 28000.0, 32000.0, 44100.0, 96000.0, 192000.0}) {
        AntiAliasFilter filter;
        filter.design(fs);
        EXPECT_LT(filter.cornerHz(), fs / 2) << fs;
        if (fs > 28000.0) {
            EXPECT_EQ(filter.cornerHz(), 14000.0);
        }
        // Impulse response decays; DC gain 1; Nyquist removed.
        double tail = 0.0, dc = 0.0, nyquist = 0.0;
        for (int n = 0; n < 4000; ++n) {
            double impulse = n == 0 ? 1.0 : 0.0, unused = 0.0;
            filter.process(impulse, unused);
            ASSERT_TRUE(std::isfinite(impulse));
            if (n >= 3000) tail = std::max(tail, std::fabs(impulse));
        }
        filter.reset();
        for (int n = 0; n < 4000; ++n) {
            double one = 1.0, alternating = n % 2 ? 1.0 : -1.0;
            filter.process(one, alternating);
            dc = one;
            if (n >= 3000) nyquist = std::max(nyquist, std::fabs(alternating));
        }
        EXPECT_LT(tail, 1e-9) << fs;
        EXPECT_NEAR(dc, 1.0, 1e-9) << fs;
        EXPECT_LT(nyquist, 1e-6) << fs;
    }
}

} // namespace
} // namespace velmora::engine
