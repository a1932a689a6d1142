// The whole engine record: settings written by parameter changes (atomics, read afresh by the
// loop), coefficients set up for the sample rate, and the running state of the signal path.
#pragma once

#include "engine/AntiAliasFilter.h"
#include "engine/ChannelMap.h"
#include "engine/ClockedDelay.h"
#include "engine/DelayGate.h"
#include "engine/DelayLine.h"
#include "engine/Drive.h"
#include "engine/Ducker.h"
#include "engine/EnvelopeFollower.h"
#include "engine/GateLookahead.h"
#include "engine/InputMeter.h"
#include "engine/Lfo.h"
#include "engine/ModulationMix.h"
#include "engine/ParameterIndex.h"
#include "engine/RelaxedAtomic.h"
#include "engine/Reverb.h"
#include "engine/SmoothingSet.h"
#include "engine/StateVariableFilter.h"
#include "engine/TimeChangeFade.h"
#include "engine/ValueTables.h"

#include <array>
#include <cstddef>

namespace velmora::engine {

inline constexpr double kInitialSampleRate = 44100.0;

enum class DelayMode : int { Time = 0, Note = 1 };
enum class FilterPlacement : int { Input = 0, Feedback = 1, Output = 2 };
enum class LfoMode : int { Free = 0, Synced = 1, PhaseLocked = 2 };

// Timing of one delay channel. Written by parameter changes and tempo updates from any thread.
struct ChannelTiming {
    RelaxedAtomic<int> mode{static_cast<int>(DelayMode::Time)};
    RelaxedAtomic<int> numeratorIndex{0};   // into kDelayNumerators
    RelaxedAtomic<int> denominatorIndex{0}; // into kDenominatorTable
    RelaxedAtomic<int> rangeIndex{2};       // into kRangeMaximaMs
    RelaxedAtomic<double> rangeMaxMs{5000.0};
    RelaxedAtomic<double> freeTimeMs{2000.0};
    RelaxedAtomic<double> delayMs{2000.0};
    RelaxedAtomic<int> preNumeratorIndex{0};   // into kPreDelayNumerators
    RelaxedAtomic<int> preDenominatorIndex{1}; // into kDenominatorTable
};

struct LfoSettings {
    RelaxedAtomic<int> mode{static_cast<int>(LfoMode::Free)};
    RelaxedAtomic<int> numeratorIndex{0};
    RelaxedAtomic<int> denominatorIndex{0};
    RelaxedAtomic<double> rateHz{3.0};
    RelaxedAtomic<double> increment{0.0}; // radians per sample, read once per block
};

struct FilterSettings {
    RelaxedAtomic<bool> fltOn{false};
    RelaxedAtomic<int> type{static_cast<int>(FilterType::LowPass)};
    RelaxedAtomic<int> placement{static_cast<int>(FilterPlacement::Input)};
};

// Switches and unsmoothed values of the signal path.
struct PathSettings {
    std::array<RelaxedAtomic<double>, 2> feedbackSign{1.0, 1.0};
    std::array<RelaxedAtomic<double>, 2> delayOutputSign{1.0, 1.0};
    RelaxedAtomic<bool> dryIntoReverb{false}; // RvbMode "out"
    RelaxedAtomic<bool> bypass{false};
    RelaxedAtomic<bool> vcoOn{false}; // the clocked delay
    RelaxedAtomic<double> manualClockOffset{0.0};
    RelaxedAtomic<bool> driveActive{false};
    RelaxedAtomic<bool> rvbOn{false};
    RelaxedAtomic<double> reverbAmount{0.0};
    RelaxedAtomic<double> gateRelease{0.0}; // shared by both gates, from EnvSpeed
};

struct EngineState {
    // Parameter values as last accepted, 0..59.
    std::array<RelaxedAtomic<double>, kNumParameters> normalised{};

    // Sample rate and the values sized for it (written under engineLock only).
    RelaxedAtomic<double> sampleRate{kInitialSampleRate};
    int integerSampleRate = static_cast<int>(kInitialSampleRate);
    double fadeStep = 1.0;
    double gateAttack = 0.0;

    // Tempo.
    RelaxedAtomic<double> tempoBpm{kDefaultTempoBpm};
    RelaxedAtomic<double> normalisedTempo{normaliseTempo(kDefaultTempoBpm)};
    RelaxedAtomic<bool> hostTempoAvailable{false};

    ChannelMap channels;
    std::array<ChannelTiming, 2> timing;
    LfoSettings lfoSettings;
    FilterSettings filterSettings;
    PathSettings path;
    SmoothingSet smoothing;

    // The delay core.
    std::array<DelayLine, 2> lines;
    std::array<TimeChangeFade, 2> fades;
    std::array<double, 2> feedback{}; // produced by the previous sample, sign applied
    DelayGate gates;                  // both channels
    GateLookahead lookahead;
    Ducker ducker;
    InputMeter meter;

    // The stages.
    StateVariableFilter filter;
    Lfo lfo;
    EnvelopeFollower envelope;
    ModulationMix modulation;
    // The last sample's modulation, turned into the filter's cutoff multiplier and resonance
    // modulation only once the filter is on to use them (the result is the same, and a filter
    // that is off costs nothing).
    struct PendingFilterModulation {
        Lfo::Values mod{0.0, 0.0};
        double cutoffDepth = 0.0;
        bool present = false;
    } pendingFilterModulation;
    Drive drive;
    AntiAliasFilter antiAlias;
    ClockedDelay clocked;
    Reverb reverb;
};

} // namespace velmora::engine
