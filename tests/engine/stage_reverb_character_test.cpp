// What a listener hears of each reverb type, measured from its impulse response: how long it
// rings, how loud it is on each side, and for the spring when the first echo arrives. The
// response is deterministic, so the ranges are tight: a changed tap length, feedback gain or
// damping constant fails here with the quantity named, not only as a different golden hash.
#include "engine/Reverb.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

namespace velmora::engine {
namespace {

// Long enough for the slowest case (plate, damping 0.5, about 3 s to fall 60 dB) to pass -35 dB
// with its energy still well above the part cut off at the end.
constexpr double kResponseSeconds = 6.0;

// Decay and level move by several times these for a 5 % change of a feedback line's length or
// gain, yet a reordering of the arithmetic (last-bit differences) moves them by far less.
constexpr double kDecayTolerance = 0.01;   // relative
constexpr double kLevelToleranceDb = 0.15; // per side
// A tap rounds up to whole samples, 0.023 ms at 44.1 kHz.
constexpr double kOnsetToleranceMs = 0.1;

struct ImpulseResponse {
    double fs = 0.0;
    std::vector<double> left, right;
};

// A unit impulse on the left input, the reverb alone (amount 1) on both outputs.
ImpulseResponse respond(ReverbType type, double fs, double damping) {
    Reverb reverb;
    reverb.allocate(fs);
    reverb.setDamping(damping);
    reverb.layOut(type, fs);
    ImpulseResponse response{fs, {}, {}};
    const auto length = static_cast<std::size_t>(kResponseSeconds * fs);
    response.left.reserve(length);
    response.right.reserve(length);
    for (std::size_t n = 0; n < length; ++n) {
        double left = n == 0 ? 1.0 : 0.0;
        double right = 0.0;
        reverb.process(left, right, 1.0);
        response.left.push_back(left);
        response.right.push_back(right);
    }
    return response;
}

// Time for the sound to fall by 60 dB, from the slope of the backward-integrated energy of
// both sides between −5 and −35 dB (the early part and the cut-off tail left out).
double decaySeconds(const ImpulseResponse& response) {
    const std::size_t length = response.left.size();
    std::vector<double> remaining(length + 1, 0.0);
    for (std::size_t n = length; n-- > 0;)
        remaining[n] = remaining[n + 1] + response.left[n] * response.left[n] +
                       response.right[n] * response.right[n];
    auto fallenBy = [&](double decibels) {
        const double threshold = remaining[0] * std::pow(10.0, -decibels / 10.0);
        std::size_t n = 0;
        while (n < length && remaining[n] > threshold)
            ++n;
        return static_cast<double>(n) / response.fs;
    };
    return 2.0 * (fallenBy(35.0) - fallenBy(5.0));
}

// Energy of one side's response: its power gain for a white input on the left, in dB.
double levelDb(const std::vector<double>& side) {
    double energy = 0.0;
    for (const double value : side)
        energy += value * value;
    return 10.0 * std::log10(energy);
}

double onsetMs(const std::vector<double>& side, double fs) {
    std::size_t n = 0;
    while (n < side.size() && std::fabs(side[n]) < 1e-9)
        ++n;
    return 1000.0 * static_cast<double>(n) / fs;
}

struct Expected {
    ReverbType type;
    double fs;
    double damping;
    double decaySeconds;
    double levelDb;
};

std::string describe(const Expected& e) {
    return std::string(e.type == ReverbType::Plate ? "plate" : "spring") + " at " +
           std::to_string(static_cast<int>(e.fs)) + " Hz, damping " + std::to_string(e.damping);
}

// Damping 0.5 and 1 at both rate groups of the lines: a longer tap, a stronger feedback or a
// brighter damping lengthens the decay; the output scaling and band-pass set the level. The
// rates differ slightly because every tap rounds to whole samples and the band-pass is
// designed per rate.
constexpr Expected kExpected[] = {
    {ReverbType::Spring, 44100.0, 0.5, 1.792, -13.88},
    {ReverbType::Spring, 44100.0, 1.0, 0.513, -20.66},
    {ReverbType::Spring, 96000.0, 0.5, 1.812, -14.95},
    {ReverbType::Spring, 96000.0, 1.0, 0.535, -21.24},
    {ReverbType::Plate, 44100.0, 0.5, 2.967, -10.90},
    {ReverbType::Plate, 44100.0, 1.0, 1.104, -8.19},
    {ReverbType::Plate, 96000.0, 0.5, 3.094, -12.00},
    {ReverbType::Plate, 96000.0, 1.0, 1.169, -9.44},
};

TEST(ReverbCharacter, DecayTimeAndLevelOfEachTypeLieInTheirRanges) {
    for (const Expected& expected : kExpected) {
        const ImpulseResponse response = respond(expected.type, expected.fs, expected.damping);
        const double decay = decaySeconds(response);
        EXPECT_NEAR(decay, expected.decaySeconds, kDecayTolerance * expected.decaySeconds)
            << "decay time (s to fall 60 dB) of the " << describe(expected);
        EXPECT_NEAR(levelDb(response.left), expected.levelDb, kLevelToleranceDb)
            << "left level (dB of an impulse's energy) of the " << describe(expected);
        EXPECT_NEAR(levelDb(response.right), expected.levelDb, kLevelToleranceDb)
            << "right level (dB of an impulse's energy) of the " << describe(expected);
    }
}

// The spring's first echo on the left comes through A0, its shortest feedback line (54.06 ms);
// on the right through A2 (65.17 ms), whatever the rate.
TEST(ReverbCharacter, SpringFirstEchoOnEachSideArrivesAfterItsLine) {
    for (const double fs : {44100.0, 96000.0}) {
        const ImpulseResponse response = respond(ReverbType::Spring, fs, 0.5);
        EXPECT_NEAR(onsetMs(response.left, fs), 54.06, kOnsetToleranceMs)
            << "left first echo (ms) of the spring at " << fs << " Hz";
        EXPECT_NEAR(onsetMs(response.right, fs), 65.17, kOnsetToleranceMs)
            << "right first echo (ms) of the spring at " << fs << " Hz";
    }
}

} // namespace
} // namespace velmora::engine
