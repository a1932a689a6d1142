// The engine side of a parameter write: each of the 60 normalised values becomes the targets,
// switches and coefficients the loop reads.
#include "engine/Engine.h"
#include "engine/ParameterDescriptions.h"
#include "engine/PortableMaths.h"
#include "engine/TempoSync.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velmora::engine {

namespace {

constexpr double kMaxCutoffHz = 16000.0;

// A host may send anything: a non-finite value counts as 0 and the rest is limited to 0..1,
// so no derived time, gain or index can leave the range the engine is sized for.
double sanitise(float value) {
    if (!std::isfinite(value)) return 0.0;
    return std::clamp(static_cast<double>(value), 0.0, 1.0);
}

// The sign an inversion switch gives: -1 when on.
double sign(int index, double value) {
    return stepOf(index, value) == 1 ? -1.0 : 1.0;
}

bool isOn(int index, double value) {
    return stepOf(index, value) == 1;
}

double depth(double value) {
    return 2.0 * (value - 0.5);
}

// 0 for the left channel's parameter, 1 for the right one's.
int sideOf(const ParameterDescription& description) {
    return description.channel == Channel::Right ? 1 : 0;
}

int sideOf(int index) {
    return sideOf(describe(index));
}

unsigned tempoFlagOf(int side) {
    return side == 0 ? kTempoLeftDelay : kTempoRightDelay;
}

} // namespace

void Engine::setParameter(int index, float value) {
    applyParameter(index, sanitise(value));
}

void Engine::applyParameter(int index, double value) {
    const ParameterDescription& description = describe(index);
    if (description.group == EngineGroup::None) return;
    // The ignored time write in "note" mode stores nothing; every other row stores the value.
    const bool ignoredTimeWrite =
        (index == param::DlyTimeL || index == param::DlyTimeR) &&
        state_.timing[sideOf(description)].mode.get() == static_cast<int>(DelayMode::Note);
    if (ignoredTimeWrite) return;
    state_.normalised[index].set(value);

    switch (description.group) {
    case EngineGroup::Level:
        applyLevelRow(index, value);
        break;
    case EngineGroup::Modulation:
        applyModulationRow(index, value);
        break;
    case EngineGroup::Filter:
        applyFilterRow(index, value);
        break;
    case EngineGroup::Timing:
        applyTimingRow(index, value);
        break;
    case EngineGroup::Reverb:
        applyReverbRow(index, value);
        break;
    case EngineGroup::Switch:
        applySwitchRow(index, value);
        break;
    case EngineGroup::None:
        break;
    }
}

double Engine::parameterValue(int index) const {
    if (index < 0 || index >= kNumParameters) return 0.0;
    return state_.normalised[index].get();
}

void Engine::applyLevelRow(int index, double value) {
    SmoothingSet& smoothing = state_.smoothing;
    switch (index) {
    case param::Input:
        smoothing.setTarget(Smoothed::InputGain, 4.0 * value * value);
        break;
    case param::Output:
        smoothing.setTarget(Smoothed::OutputGain, 4.0 * value * value);
        break;
    case param::Mix:
        smoothing.setTarget(Smoothed::Mix, value);
        break;
    case param::FbGainL:
    case param::FbGainR:
        smoothing.setTarget(index == param::FbGainL ? Smoothed::FeedbackGainLeft
                                                    : Smoothed::FeedbackGainRight,
                            value);
        break;
    case param::FbPanL:
    case param::FbPanR:
        smoothing.setTarget(
            index == param::FbPanL ? Smoothed::FeedbackPanLeft : Smoothed::FeedbackPanRight, value);
        break;
    case param::FbInvL:
    case param::FbInvR:
        state_.path.feedbackSign[sideOf(index)].set(sign(index, value));
        break;
    case param::DlyInvL:
    case param::DlyInvR:
        state_.path.delayOutputSign[sideOf(index)].set(sign(index, value));
        break;
    case param::DlyPanL:
    case param::DlyPanR:
        smoothing.setTarget(
            index == param::DlyPanL ? Smoothed::DelayPanLeft : Smoothed::DelayPanRight, value);
        break;
    case param::DlyGateL:
    case param::DlyGateR:
        smoothing.setTarget(index == param::DlyGateL ? Smoothed::GateThresholdLeft
                                                     : Smoothed::GateThresholdRight,
                            value * value);
        break;
    case param::Ducking:
        state_.ducker.setThreshold(maths::pow(10.0, 1.5 * (value - 1.0)));
        break;
    case param::MuteInL:
    case param::MuteInR:
        smoothing.setTarget(index == param::MuteInL ? Smoothed::MuteLeft : Smoothed::MuteRight,
                            value <= 0.5 ? 1.0 : 0.0);
        break;
    default:
        break;
    }
}

void Engine::applyModulationRow(int index, double value) {
    SmoothingSet& smoothing = state_.smoothing;
    LfoSettings& lfo = state_.lfoSettings;
    switch (index) {
    case param::LFOWave:
        state_.lfo.setWave(stepOf(index, value));
        break;
    case param::LFORate: {
        // Also in the synced modes, until the next tempo recomputation.
        const double rate = std::max(maths::pow(16.0, value) - 1.0, kMinLfoRateHz);
        lfo.rateHz.set(rate);
        lfo.increment.set(rate * 2.0 * std::numbers::pi / state_.sampleRate.get());
        break;
    }
    case param::LROffset:
        state_.lfo.setOffset((value - 0.5) * std::numbers::pi);
        break;
    case param::ModSrc:
        smoothing.setTarget(Smoothed::ModulationBlend, value);
        break;
    case param::CutfMod:
        smoothing.setTarget(Smoothed::CutoffDepth, depth(value));
        break;
    case param::VcoMan:
        state_.path.manualClockOffset.set(depth(value));
        break;
    case param::VcoMod:
        smoothing.setTarget(Smoothed::ClockDepth, depth(value));
        break;
    case param::Drive:
        smoothing.setTarget(Smoothed::DriveGain, maths::pow(2.0, 4.0 * value));
        state_.path.driveActive.set(value > 0.0);
        break;
    case param::EnvSpeed:
        applyEnvelopeSpeed(value);
        break;
    case param::LfoMode:
        lfo.mode.set(stepOf(index, value));
        if (lfo.mode.get() != static_cast<int>(LfoMode::Free)) updateTempoDependents(kTempoLfo);
        break;
    case param::LfoNum:
        lfo.numeratorIndex.set(stepOf(index, value));
        updateTempoDependents(kTempoLfo);
        break;
    case param::LfoDen:
        lfo.denominatorIndex.set(stepOf(index, value));
        updateTempoDependents(kTempoLfo);
        break;
    case param::ModSens:
        state_.envelope.setSensitivity(maths::pow(2.0, 4.0 * value));
        break;
    case param::ResoMod:
        smoothing.setTarget(Smoothed::ResonanceDepth, depth(value));
        break;
    default:
        break;
    }
}

// Envelope, ducking-release and gate-release coefficients from EnvSpeed at the current rate.
// (The ducking attack depends on the rate alone and is set with it.)
void Engine::applyEnvelopeSpeed(double value) {
    const double fs = state_.sampleRate.get();
    const double envelopeMs = 900.0 * value + 100.0;
    state_.envelope.setCoefficient(
        1.0 - maths::exp(-2.0 * std::numbers::pi * 1000.0 / (envelopeMs * fs)));
    const double duckReleaseMs = value >= 0.01 ? 3000.0 * value : 30.0;
    state_.ducker.setRelease(1.0 - maths::exp(-1000.0 / (duckReleaseMs * fs)));
    const double gateReleaseMs = value >= 0.03 ? 1000.0 * value : 30.0;
    state_.path.gateRelease.set(1.0 - maths::exp(-1000.0 / (gateReleaseMs * fs)));
}

void Engine::applyFilterRow(int index, double value) {
    switch (index) {
    case param::FltType:
        state_.filterSettings.type.set(stepOf(index, value));
        break;
    case param::Cutoff:
        applyCutoff(value);
        break;
    case param::Reso:
        state_.smoothing.setTarget(Smoothed::Resonance, std::max(value, 0.05));
        break;
    case param::FltMode:
        state_.filterSettings.placement.set(stepOf(index, value));
        break;
    default:
        break;
    }
}

void Engine::applyCutoff(double value) {
    const double hz = 64.0 * maths::pow(2.0, 8.0 * value) - 14.0;
    state_.smoothing.setTarget(Smoothed::CutoffHz,
                               std::min({hz, kMaxCutoffHz, state_.sampleRate.get() * 0.5}));
}

void Engine::applyTimingRow(int index, double value) {
    const int side = sideOf(index);
    ChannelTiming& timing = state_.timing[side];
    switch (index) {
    case param::DlyModeL:
    case param::DlyModeR:
        applyDelayMode(side, value);
        break;
    case param::DlyNumL:
    case param::DlyNumR:
        timing.numeratorIndex.set(stepOf(index, value));
        updateTempoDependents(tempoFlagOf(side));
        break;
    case param::DlyDenL:
    case param::DlyDenR:
        timing.denominatorIndex.set(stepOf(index, value));
        updateTempoDependents(tempoFlagOf(side));
        break;
    case param::RangeL:
    case param::RangeR:
        applyRange(side, value);
        break;
    case param::DlyTimeL:
    case param::DlyTimeR:
        applyDelayTime(side, value);
        break;
    case param::PreNumL:
    case param::PreNumR:
        timing.preNumeratorIndex.set(stepOf(index, value));
        state_.fades[side].requestRetime();
        break;
    case param::PreDenL:
    case param::PreDenR:
        timing.preDenominatorIndex.set(stepOf(index, value));
        state_.fades[side].requestRetime();
        break;
    default:
        break;
    }
}

// To "note" the side follows the tempo; back to "time" it keeps the time it had, choosing the
// smallest range that holds it.
void Engine::applyDelayMode(int side, double value) {
    ChannelTiming& timing = state_.timing[side];
    const int mode = stepOf(param::DlyModeL + side, value);
    timing.mode.set(mode);
    if (mode == static_cast<int>(DelayMode::Note)) {
        updateTempoDependents(tempoFlagOf(side));
        return;
    }
    const double freeMs = timing.freeTimeMs.get();
    const int range = freeMs > 1000.0 ? 2 : freeMs > 100.0 ? 1 : 0;
    const double rangeMax = kRangeMaximaMs[range];
    timing.rangeIndex.set(range);
    timing.rangeMaxMs.set(rangeMax);
    state_.normalised[param::RangeL + side].set(stepValue(range, describe(param::RangeL).steps));
    state_.normalised[param::DlyTimeL + side].set(freeMs / rangeMax);
}

void Engine::applyRange(int side, double value) {
    ChannelTiming& timing = state_.timing[side];
    const int range = stepOf(param::RangeL + side, value);
    const double oldMax = timing.rangeMaxMs.get();
    const double newMax = kRangeMaximaMs[range];
    RelaxedAtomic<double>& timeValue = state_.normalised[param::DlyTimeL + side];
    const double scaled = std::min(timeValue.get() * oldMax / newMax, 1.0);
    timeValue.set(scaled);
    timing.rangeIndex.set(range);
    timing.rangeMaxMs.set(newMax);
    timing.freeTimeMs.set(scaled * newMax);
    timing.delayMs.set(scaled * newMax);
    state_.fades[side].requestRetime();
    updateTempoDependents(tempoFlagOf(side));
}

// Only reached in "time" mode (the caller ignores the write otherwise).
void Engine::applyDelayTime(int side, double value) {
    ChannelTiming& timing = state_.timing[side];
    const double ms = value * timing.rangeMaxMs.get();
    timing.freeTimeMs.set(ms);
    timing.delayMs.set(ms);
    state_.fades[side].requestRetime();
}

void Engine::applyReverbRow(int index, double value) {
    switch (index) {
    case param::RvbMode:
        state_.path.dryIntoReverb.set(isOn(index, value));
        break;
    case param::RvbType:
        applyReverbType(value);
        break;
    case param::RvbDamp:
        state_.reverb.setDamping(value);
        break;
    case param::RvbAmt:
        state_.path.reverbAmount.set(value);
        break;
    default:
        break;
    }
}

// The caller holds engineLock: the re-layout moves indices the loop uses.
void Engine::applyReverbType(double value) {
    if (!state_.reverb.allocated()) return;
    state_.reverb.layOut(static_cast<ReverbType>(stepOf(param::RvbType, value)),
                         state_.sampleRate.get());
}

void Engine::applySwitchRow(int index, double value) {
    const bool on = isOn(index, value);
    switch (index) {
    case param::Bypass:
        state_.path.bypass.set(on);
        break;
    case param::FltOn:
        state_.filterSettings.fltOn.set(on);
        break;
    case param::VcoOn:
        state_.path.vcoOn.set(on);
        break;
    case param::RvbOn:
        state_.path.rvbOn.set(on);
        break;
    default:
        break;
    }
}

} // namespace velmora::engine
