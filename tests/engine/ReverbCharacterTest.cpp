// What a listener hears of each reverb type, measured from its impulse response: how long it
// rings, how loud it is on each side, and for the spring when the first echo arrives. The
// response is deterministic, so the ranges are tight: a changed tap length, feedback gain or
// damping constant fails here with the quantity named, not only as a different golden hash.
#include "engine/Reverb.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <numbers>
#include <sstream>
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
// A 10 % shift of the output band-pass moves the colour by 0.014 octave or more.
constexpr double kColourToleranceOctaves = 0.01;
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

// Energy of a band-pass (Q 4.32, a third of an octave wide) over the response.
double bandEnergy(const std::vector<double>& side, double centre, double fs) {
    const double angle = 2.0 * std::numbers::pi * centre / fs;
    const double alpha = std::sin(angle) / (2.0 * 4.32);
    const double b0 = alpha / (1.0 + alpha);
    const double a1 = -2.0 * std::cos(angle) / (1.0 + alpha);
    const double a2 = (1.0 - alpha) / (1.0 + alpha);
    double x1 = 0.0, x2 = 0.0, y1 = 0.0, y2 = 0.0, energy = 0.0;
    for (const double x : side) {
        const double y = b0 * (x - x2) - a1 * y1 - a2 * y2;
        x2 = x1;
        x1 = x;
        y2 = y1;
        y1 = y;
        energy += y * y;
    }
    return energy;
}

// Colour: the energy-weighted mean band of both sides, in octaves above 1 kHz, over the
// third-octave bands from 100 Hz to 10 kHz. The output band-pass and the damping set it.
double colourOctaves(const ImpulseResponse& response) {
    double total = 0.0, weighted = 0.0;
    for (int band = -10; band <= 10; ++band) {
        const double octaves = band / 3.0;
        const double centre = 1000.0 * std::pow(2.0, octaves);
        const double energy = bandEnergy(response.left, centre, response.fs) +
                              bandEnergy(response.right, centre, response.fs);
        total += energy;
        weighted += energy * octaves;
    }
    return weighted / total;
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
    double colourOctaves;
};

std::string describe(const Expected& e) {
    std::ostringstream text;
    text << (e.type == ReverbType::Plate ? "plate" : "spring") << " at " << e.fs << " Hz, damping "
         << e.damping;
    return text.str();
}

// Damping 0.5 and 1 at both rate groups of the lines: a longer tap, a stronger feedback or a
// brighter damping lengthens the decay; the output scaling and band-pass set the level, the
// band-pass and the damping the colour. The
// rates differ slightly because every tap rounds to whole samples and the band-pass is
// designed per rate.
constexpr Expected kExpected[] = {
    {ReverbType::Spring, 44100.0, 0.5, 1.792, -13.88, 0.699},
    {ReverbType::Spring, 44100.0, 1.0, 0.513, -20.66, 0.173},
    {ReverbType::Spring, 96000.0, 0.5, 1.812, -14.95, 1.237},
    {ReverbType::Spring, 96000.0, 1.0, 0.535, -21.24, 0.818},
    {ReverbType::Plate, 44100.0, 0.5, 2.967, -10.90, 1.770},
    {ReverbType::Plate, 44100.0, 1.0, 1.104, -8.19, 1.884},
    {ReverbType::Plate, 96000.0, 0.5, 3.094, -12.00, 1.969},
    {ReverbType::Plate, 96000.0, 1.0, 1.169, -9.44, 2.019},
};

TEST(ReverbCharacter, DecayTimeLevelAndColourOfEachTypeLieInTheirRanges) {
    for (const Expected& expected : kExpected) {
        const ImpulseResponse response = respond(expected.type, expected.fs, expected.damping);
        const double decay = decaySeconds(response);
        EXPECT_NEAR(decay, expected.decaySeconds, kDecayTolerance * expected.decaySeconds)
            << "decay time (s to fall 60 dB) of the " << describe(expected);
        EXPECT_NEAR(levelDb(response.left), expected.levelDb, kLevelToleranceDb)
            << "left level (dB of an impulse's energy) of the " << describe(expected);
        EXPECT_NEAR(levelDb(response.right), expected.levelDb, kLevelToleranceDb)
            << "right level (dB of an impulse's energy) of the " << describe(expected);
        EXPECT_NEAR(colourOctaves(response), expected.colourOctaves, kColourToleranceOctaves)
            << "colour (mean band, octaves above 1 kHz) of the " << describe(expected);
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
