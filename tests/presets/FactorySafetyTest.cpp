// Every factory program rendered through the engine on a musical test phrase: the output stays
// finite and at or below full scale (0 dBFS), and only a program named as a drone may keep sounding
// on its own.
#include "engine/Engine.h"
#include "presets/FactoryPrograms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string_view>
#include <vector>

namespace velmora::testing {
namespace {

constexpr double kSampleRate = 44100.0;
constexpr std::size_t kPhraseSeconds = 6;
constexpr std::size_t kTailSeconds = 10;
constexpr std::size_t kSecond = 44100;

using Channel = std::vector<double>;

// Plucked notes of a few octaves with a noise burst on every bar, left and right slightly
// different, scaled to a peak of exactly -6 dBFS.
std::vector<Channel> testPhrase() {
    const std::size_t length = kPhraseSeconds * kSecond;
    std::vector<Channel> phrase(2, Channel(length, 0.0));
    constexpr double notes[] = {110.0, 220.0, 329.63, 440.0, 261.63, 523.25, 196.0, 880.0};
    std::uint32_t noise = 12345;
    const std::size_t noteSpacing = kSecond / 4;
    for (std::size_t start = 0, n = 0; start + noteSpacing <= length; start += noteSpacing, ++n) {
        const double frequency = notes[n % std::size(notes)];
        for (std::size_t i = 0; i < noteSpacing; ++i) {
            const double t = static_cast<double>(i) / kSampleRate;
            const double envelope = std::exp(-t * 9.0);
            double tone = 0.0;
            for (int harmonic = 1; harmonic <= 5; ++harmonic)
                tone += std::sin(2.0 * std::numbers::pi * frequency * harmonic * t) / harmonic;
            noise = noise * 1664525u + 1013904223u;
            const double white = static_cast<double>(noise >> 8) / 8388608.0 - 1.0;
            const double burst = (n % 4 == 0) ? white * std::exp(-t * 40.0) : 0.0;
            phrase[0][start + i] = envelope * tone + burst;
            phrase[1][start + i] = envelope * tone * 0.8 - burst * 0.6;
        }
    }
    double peak = 0.0;
    for (const auto& channel : phrase)
        for (const double sample : channel)
            peak = std::max(peak, std::abs(sample));
    for (auto& channel : phrase)
        for (double& sample : channel)
            sample *= 0.5 / peak;
    return phrase;
}

struct Rendering {
    bool finite = true;
    double peak = 0.0;
    std::vector<double> secondRms; // per second of output, both channels
};

Rendering render(const FactoryRow& row, const std::vector<Channel>& phrase) {
    engine::Engine engine;
    engine.setSpeakerArrangement(2, 2);
    for (int i = 0; i < kNumParameters; ++i)
        engine.setParameter(i, static_cast<float>(row[static_cast<std::size_t>(i)]));
    engine.updateTempoDependents(engine::kTempoAll);
    // As the effect is after construction: suspended, then resumed by the host.
    engine.suspend();
    engine::ResumeRequest request;
    request.sampleRate = kSampleRate;
    engine.resume(request);

    const std::size_t total = (kPhraseSeconds + kTailSeconds) * kSecond;
    constexpr std::size_t kBlock = 512;
    std::vector<double> inL(kBlock), inR(kBlock), outL(kBlock), outR(kBlock);
    const double* inputs[] = {inL.data(), inR.data()};
    double* outputs[] = {outL.data(), outR.data()};
    Rendering result;
    result.secondRms.assign(kPhraseSeconds + kTailSeconds, 0.0);
    for (std::size_t start = 0; start < total; start += kBlock) {
        const std::size_t frames = std::min(kBlock, total - start);
        for (std::size_t i = 0; i < frames; ++i) {
            const std::size_t at = start + i;
            inL[i] = at < phrase[0].size() ? phrase[0][at] : 0.0;
            inR[i] = at < phrase[1].size() ? phrase[1][at] : 0.0;
        }
        engine.process(inputs, outputs, static_cast<int>(frames), engine::HostTiming{});
        for (std::size_t i = 0; i < frames; ++i) {
            const double l = outL[i];
            const double r = outR[i];
            result.finite = result.finite && std::isfinite(l) && std::isfinite(r);
            result.peak = std::max({result.peak, std::abs(l), std::abs(r)});
            result.secondRms[(start + i) / kSecond] += (l * l + r * r) / (2.0 * kSecond);
        }
    }
    for (double& energy : result.secondRms)
        energy = std::sqrt(energy);
    return result;
}

double decibels(double linear) {
    return 20.0 * std::log10(std::max(linear, 1e-12));
}

TEST(FactorySafety, EveryProgramStaysFiniteWithinFullScaleAndDiesAway) {
    const auto phrase = testPhrase();
    for (std::size_t p = 0; p < kFactoryRows.size(); ++p) {
        const std::string_view name = kFactoryProgramNames[p];
        const Rendering out = render(kFactoryRows[p], phrase);
        const double loudest = *std::max_element(out.secondRms.begin(), out.secondRms.end());
        const double last = out.secondRms.back();
        std::printf("%2zu %-22s peak %6.1f dBFS  loudest second %6.1f dB  last second %6.1f dB\n",
                    p, std::string(name).c_str(), decibels(out.peak), decibels(loudest),
                    decibels(last));
        EXPECT_TRUE(out.finite) << name;
        EXPECT_LE(out.peak, 1.0) << name << " peaks above 0 dBFS";
        if (name.find("Drone") != std::string_view::npos) continue;
        // Ten seconds after the phrase a program without endless feedback has died away:
        // its last second lies far below its loudest one, or is near silence.
        const bool diedAway = decibels(last) < decibels(loudest) - 30.0 || decibels(last) < -70.0;
        EXPECT_TRUE(diedAway) << name << " still sounds " << decibels(last) - decibels(loudest)
                              << " dB below its loudest second";
    }
}

} // namespace
} // namespace velmora::testing
