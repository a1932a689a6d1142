// The factory bank as a whole: no two designs are near-copies of each other, together they show
// every stage of the effect, and a design made for sidechain ducking is keyed by the sidechain.
#include "engine/Engine.h"
#include "engine/ParameterDescriptions.h"
#include "engine/ValueTables.h"
#include "presets/FactoryPrograms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <limits>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::testing {
namespace {

using namespace param;

int stepOf(const FactoryRow& row, int parameter) {
    return velmora::stepOf(parameter, row[static_cast<std::size_t>(parameter)]);
}

double valueOf(const FactoryRow& row, int parameter) {
    return row[static_cast<std::size_t>(parameter)];
}

bool isOn(const FactoryRow& row, int parameter) {
    return stepOf(row, parameter) == 1;
}

bool muted(const FactoryRow& row, int parameter) {
    return valueOf(row, parameter) > 0.5;
}

void set(FactoryRow& row, int parameter, double value) {
    row[static_cast<std::size_t>(parameter)] = value;
}

// ---- Where a design's settings are heard ----

bool filterModulated(const FactoryRow& row) {
    return isOn(row, FltOn) && (valueOf(row, CutfMod) != 0.5 || valueOf(row, ResoMod) != 0.5);
}

bool clockModulated(const FactoryRow& row) {
    return isOn(row, VcoOn) && valueOf(row, VcoMod) != 0.5;
}

bool lfoHeard(const FactoryRow& row) {
    return valueOf(row, ModSrc) < 1.0 && (filterModulated(row) || clockModulated(row));
}

bool envelopeHeard(const FactoryRow& row) {
    return valueOf(row, ModSrc) > 0.0 && (filterModulated(row) || clockModulated(row));
}

bool gated(const FactoryRow& row) {
    return valueOf(row, DlyGateL) > 0.0032 || valueOf(row, DlyGateR) > 0.0032;
}

bool ducked(const FactoryRow& row) {
    return valueOf(row, Ducking) < 1.0;
}

// The delay a side is heard at, at 120 BPM, before the clock speed: free time or note value.
double delayMs(const FactoryRow& row, int mode, int numerator, int denominator, int range,
               int time) {
    if (stepOf(row, mode) == 0)
        return valueOf(row, time) * kRangeMaximaMs[static_cast<std::size_t>(stepOf(row, range))];
    const double n = kDelayNumerators[static_cast<std::size_t>(stepOf(row, numerator))];
    const double d = kDenominatorTable[static_cast<std::size_t>(stepOf(row, denominator))];
    return std::min(n * 240000.0 / (d * kDefaultTempoBpm), 5000.0);
}

// The pre-delay as a share of the delay (0..1).
double preShare(const FactoryRow& row, int numerator, int denominator) {
    const double n = kPreDelayNumerators[static_cast<std::size_t>(stepOf(row, numerator))];
    const double d = kDenominatorTable[static_cast<std::size_t>(stepOf(row, denominator))];
    return std::min(n / d, 1.0);
}

// A design as coordinates of what is heard, each 0..1: continuous values as they stand, steps
// spread over 0..1, delay times on a log scale from 1 ms to 5 s (so a note value and the same
// free time coincide). A coordinate of a stage that is off is NaN and left out of distances.
std::vector<double> soundingCoordinates(const FactoryRow& row) {
    constexpr double kSilent = std::numeric_limits<double>::quiet_NaN();
    const auto steps = [&](int p) {
        return static_cast<double>(stepOf(row, p)) / (describe(p).steps - 1);
    };
    const auto when = [&](bool heard, double coordinate) { return heard ? coordinate : kSilent; };
    const auto logTime = [](double ms) { return std::log(std::max(ms, 1.0)) / std::log(5000.0); };
    const bool filter = isOn(row, FltOn);
    const bool reverb = isOn(row, RvbOn);
    const bool clock = isOn(row, VcoOn);
    const bool lfo = lfoHeard(row);
    const bool synced = stepOf(row, LfoMode) > 0;
    const bool envelopeSpeedHeard = envelopeHeard(row) || gated(row) || ducked(row);

    return {valueOf(row, Input),
            valueOf(row, Output),
            valueOf(row, Mix),
            valueOf(row, FbGainL),
            valueOf(row, FbGainR),
            valueOf(row, FbPanL),
            valueOf(row, FbPanR),
            steps(FbInvL),
            steps(FbInvR),
            steps(DlyInvL),
            steps(DlyInvR),
            valueOf(row, Drive),
            valueOf(row, DlyPanL),
            valueOf(row, DlyPanR),
            valueOf(row, DlyGateL),
            valueOf(row, DlyGateR),
            valueOf(row, Ducking),
            muted(row, MuteInL) ? 1.0 : 0.0,
            muted(row, MuteInR) ? 1.0 : 0.0,
            logTime(delayMs(row, DlyModeL, DlyNumL, DlyDenL, RangeL, DlyTimeL)),
            logTime(delayMs(row, DlyModeR, DlyNumR, DlyDenR, RangeR, DlyTimeR)),
            preShare(row, PreNumL, PreDenL),
            preShare(row, PreNumR, PreDenR),
            steps(FltOn),
            when(filter, steps(FltType)),
            when(filter, steps(FltMode)),
            when(filter, valueOf(row, Cutoff)),
            when(filter, valueOf(row, Reso)),
            when(filter, valueOf(row, CutfMod)),
            when(filter, valueOf(row, ResoMod)),
            steps(VcoOn),
            when(clock, valueOf(row, VcoMan)),
            when(clock, valueOf(row, VcoMod)),
            when(lfo || envelopeHeard(row), valueOf(row, ModSrc)),
            when(lfo, steps(LFOWave)),
            when(lfo, steps(LfoMode)),
            when(lfo && !synced, valueOf(row, LFORate)),
            when(lfo && synced, steps(LfoNum)),
            when(lfo && synced, steps(LfoDen)),
            when(lfo, valueOf(row, LROffset)),
            when(envelopeHeard(row), valueOf(row, ModSens)),
            when(envelopeSpeedHeard, valueOf(row, EnvSpeed)),
            steps(RvbOn),
            when(reverb, steps(RvbMode)),
            when(reverb, steps(RvbType)),
            when(reverb, valueOf(row, RvbDamp)),
            when(reverb, valueOf(row, RvbAmt))};
}

double distance(const std::vector<double>& a, const std::vector<double>& b) {
    double sum = 0.0;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!std::isnan(a[i]) && !std::isnan(b[i])) sum += (a[i] - b[i]) * (a[i] - b[i]);
    return std::sqrt(sum);
}

std::string nameOf(std::size_t program) {
    return std::string(kFactoryProgramNames[program]);
}

const FactoryRow& rowNamed(std::string_view name) {
    const auto at = std::find(kFactoryProgramNames.begin(), kFactoryProgramNames.end(), name);
    EXPECT_NE(at, kFactoryProgramNames.end()) << name;
    return kFactoryRows[static_cast<std::size_t>(at - kFactoryProgramNames.begin())];
}

// Less than one switch flipped (1.0). The old bank's near-copies lay closer: its three dotted
// spring dubs at 0.21 to 0.34, its two ducked dotted echoes at 0.40, two chorused plates at
// 0.599.
constexpr double kMinimumDistance = 0.6;

TEST(FactoryBank, NoTwoDesignsAreNearCopies) {
    std::vector<std::vector<double>> coordinates;
    for (const FactoryRow& row : kFactoryRows)
        coordinates.push_back(soundingCoordinates(row));
    double closest = 1e9;
    for (std::size_t a = 0; a < coordinates.size(); ++a)
        for (std::size_t b = a + 1; b < coordinates.size(); ++b) {
            const double d = distance(coordinates[a], coordinates[b]);
            closest = std::min(closest, d);
            EXPECT_GE(d, kMinimumDistance)
                << nameOf(a) << " and " << nameOf(b) << " are " << d << " apart";
        }
    std::printf("closest two designs: %.3f apart\n", closest);
}

TEST(FactoryBank, DistanceSeesWhatSoundsAndIgnoresWhatIsOff) {
    const FactoryRow& base = rowNamed("Studio One"); // no filter, no reverb, clock off
    FactoryRow silentChanges = base;
    set(silentChanges, Cutoff, 0.1);  // the filter is off
    set(silentChanges, RvbAmt, 0.9);  // the reverb is off
    set(silentChanges, VcoMod, 0.9);  // the clocked delay is off
    set(silentChanges, LFORate, 0.9); // nothing listens to the LFO
    EXPECT_EQ(distance(soundingCoordinates(base), soundingCoordinates(silentChanges)), 0.0);

    FactoryRow sameTimeAsNote = base; // 1/4 at 120 BPM is 500 ms
    set(sameTimeAsNote, DlyModeL, 0.25);
    set(sameTimeAsNote, RangeL, 0.5);
    set(sameTimeAsNote, DlyTimeL, 0.5);
    EXPECT_NEAR(distance(soundingCoordinates(base), soundingCoordinates(sameTimeAsNote)), 0.0,
                1e-9);

    FactoryRow longer = base;
    set(longer, DlyDenL, 0.05); // a whole note instead of a quarter
    EXPECT_GT(distance(soundingCoordinates(base), soundingCoordinates(longer)), 0.1);
}

TEST(FactoryBank, TogetherTheDesignsUseEveryStage) {
    struct Stage {
        std::string_view what;
        std::function<bool(const FactoryRow&)> uses;
    };
    const auto filterAt = [](int placement) {
        return [placement](const FactoryRow& row) {
            return isOn(row, FltOn) && stepOf(row, FltMode) == placement;
        };
    };
    const auto modulatedFrom = [](int target, bool envelope) {
        return [target, envelope](const FactoryRow& row) {
            const bool source = envelope ? envelopeHeard(row) : lfoHeard(row);
            return isOn(row, FltOn) && valueOf(row, target) != 0.5 && source;
        };
    };
    const std::vector<Stage> stages{
        {"a clock running fast",
         [](const FactoryRow& r) { return isOn(r, VcoOn) && valueOf(r, VcoMan) > 0.6; }},
        {"a clock running slow",
         [](const FactoryRow& r) { return isOn(r, VcoOn) && valueOf(r, VcoMan) < 0.4; }},
        {"a clock jumping by octaves",
         [](const FactoryRow& r) {
             return clockModulated(r) && lfoHeard(r) && stepOf(r, LFOWave) == 1 &&
                    std::abs(valueOf(r, VcoMod) - 0.5) >= 0.25;
         }},
        {"high feedback", [](const FactoryRow& r) { return valueOf(r, FbGainL) >= 0.8; }},
        {"the filter at the input", filterAt(0)},
        {"the filter in the feedback loop", filterAt(1)},
        {"the filter on the echoes", filterAt(2)},
        {"the gate", gated},
        {"delay-output pans",
         [](const FactoryRow& r) {
             return valueOf(r, DlyPanL) != 0.0 || valueOf(r, DlyPanR) != 1.0;
         }},
        {"cutoff from the LFO", modulatedFrom(CutfMod, false)},
        {"cutoff from the envelope", modulatedFrom(CutfMod, true)},
        {"resonance from the LFO", modulatedFrom(ResoMod, false)},
        {"resonance from the envelope", modulatedFrom(ResoMod, true)},
        {"ducking", ducked},
        {"an LFO numerator above 1",
         [](const FactoryRow& r) {
             return lfoHeard(r) && stepOf(r, LfoMode) > 0 && stepOf(r, LfoNum) > 0;
         }},
        {"delay inversion",
         [](const FactoryRow& r) { return isOn(r, DlyInvL) || isOn(r, DlyInvR); }},
        {"input gain", [](const FactoryRow& r) { return valueOf(r, Input) != 0.5; }},
        {"a muted input",
         [](const FactoryRow& r) { return muted(r, MuteInL) != muted(r, MuteInR); }},
        {"feedback inversion",
         [](const FactoryRow& r) { return isOn(r, FbInvL) || isOn(r, FbInvR); }},
        {"the reverb over everything",
         [](const FactoryRow& r) { return isOn(r, RvbOn) && stepOf(r, RvbMode) == 1; }}};
    for (const Stage& stage : stages) {
        const auto users = std::count_if(kFactoryRows.begin(), kFactoryRows.end(), stage.uses);
        EXPECT_GE(users, 1) << "no design uses " << stage.what;
    }
    // Stages the bank is meant to show more than once.
    EXPECT_GE(std::count_if(kFactoryRows.begin(), kFactoryRows.end(), gated), 3);
    EXPECT_GE(std::count_if(kFactoryRows.begin(), kFactoryRows.end(), ducked), 5);
}

// The old bank kept 52 of 58 feedback gains within 0.40..0.60 and 54 of 58 mixes within
// 0.40..0.50: most designs sat on the same two settings.
TEST(FactoryBank, FeedbackAndMixSpreadAcrossTheirRanges) {
    std::size_t middleFeedback = 0, middleMix = 0, designs = 0;
    for (std::size_t p = 0; p < kFactoryRows.size(); ++p) {
        const std::string_view name = kFactoryProgramNames[p];
        if (name == "Default" || name == "Ping Pong" || name == "Bass Drone") continue;
        ++designs;
        const double feedback =
            std::max(valueOf(kFactoryRows[p], FbGainL), valueOf(kFactoryRows[p], FbGainR));
        const double mix = valueOf(kFactoryRows[p], Mix);
        middleFeedback += feedback >= 0.4 && feedback <= 0.6;
        middleMix += mix >= 0.4 && mix <= 0.5;
    }
    EXPECT_LE(middleFeedback, designs / 2);
    EXPECT_LE(middleMix, designs / 2);
}

// ---- Ducking keyed by the sidechain ----

// Wet output of a design (its mix set fully wet) over 3 s of a steady tone on the main input,
// with the sidechain carrying `keyLevel` of noise; RMS of the last second.
double wetLevelWithKey(FactoryRow row, double keyLevel) {
    set(row, Mix, 1.0);
    constexpr double kRate = 44100.0;
    engine::Engine engine;
    EXPECT_TRUE(engine.setSpeakerArrangement(4, 2));
    for (int i = 0; i < kNumParameters; ++i)
        engine.setParameter(i, static_cast<float>(row[static_cast<std::size_t>(i)]));
    engine.updateTempoDependents(engine::kTempoAll);
    engine.suspend();
    engine::ResumeRequest request;
    request.sampleRate = kRate;
    engine.resume(request);

    constexpr int kBlock = 256;
    constexpr int kSeconds = 3;
    std::vector<double> main(kBlock), key(kBlock), outL(kBlock), outR(kBlock);
    const double* inputs[] = {main.data(), main.data(), key.data(), key.data()};
    double* outputs[] = {outL.data(), outR.data()};
    std::uint32_t noise = 99;
    double energy = 0.0;
    std::size_t counted = 0;
    for (int start = 0; start < kSeconds * 44100; start += kBlock) {
        for (int i = 0; i < kBlock; ++i) {
            main[static_cast<std::size_t>(i)] =
                0.25 * std::sin(2.0 * std::numbers::pi * 220.0 * (start + i) / kRate);
            noise = noise * 1664525u + 1013904223u;
            key[static_cast<std::size_t>(i)] =
                keyLevel * (static_cast<double>(noise >> 8) / 8388608.0 - 1.0);
        }
        engine.process(inputs, outputs, kBlock, engine::HostTiming{});
        if (start < (kSeconds - 1) * 44100) continue;
        for (int i = 0; i < kBlock; ++i) {
            energy += outL[static_cast<std::size_t>(i)] * outL[static_cast<std::size_t>(i)] +
                      outR[static_cast<std::size_t>(i)] * outR[static_cast<std::size_t>(i)];
            counted += 2;
        }
    }
    return std::sqrt(energy / static_cast<double>(counted));
}

TEST(FactoryBank, PressureIsPushedDownByTheSidechainNotByTheSteadyPlaying) {
    const FactoryRow& pressure = rowNamed("Pressure");
    const double unkeyed = wetLevelWithKey(pressure, 0.0);
    const double keyed = wetLevelWithKey(pressure, 0.5);
    ASSERT_GT(unkeyed, 1e-3) << "the echoes should sound without a key";
    EXPECT_LT(20.0 * std::log10(keyed / unkeyed), -6.0);
}

} // namespace
} // namespace velmora::testing
