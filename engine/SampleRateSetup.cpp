// Resume, suspend and reset, and everything that is sized or computed for the sample rate.
#include "engine/DelayTiming.h"
#include "engine/Engine.h"
#include "engine/PortableMaths.h"
#include "engine/TempoSync.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velmora::engine {

namespace {

constexpr double kMinSampleRate = 4096.0;
constexpr double kMaxSampleRate = 200000.0;
constexpr int kMinLatency = 1;
constexpr int kMaxLatency = 44100;

double acceptedSampleRate(double fs) {
    if (!std::isfinite(fs) || fs < kMinSampleRate || fs > kMaxSampleRate) return kInitialSampleRate;
    return fs;
}

int acceptedLatency(int samples) {
    if (samples < kMinLatency || samples > kMaxLatency)
        return static_cast<int>(InputMeter::kDefaultLength);
    return samples;
}

int driveWindowFor(int integerRate) {
    if (integerRate <= 25000) return 2;
    if (integerRate <= 50000) return 4;
    if (integerRate <= 100000) return 8;
    return 16;
}

double onePoleCoefficient(double cornerHz, double fs) {
    return 1.0 - maths::exp(-2.0 * std::numbers::pi * cornerHz / fs);
}

} // namespace

void Engine::resume(const ResumeRequest& request) {
    if (request.hostTempoBpm && std::isfinite(*request.hostTempoBpm)) {
        const double tempo = std::clamp(*request.hostTempoBpm, kMinTempoBpm, kMaxTempoBpm);
        state_.tempoBpm.set(tempo);
        state_.normalisedTempo.set(normaliseTempo(tempo));
        updateTempoDependents(kTempoAll);
    }
    if (!state_.channels.arrangementFixed() && request.connectedInputs &&
        request.connectedOutputs) {
        if (const auto routing = routingFor(*request.connectedInputs, *request.connectedOutputs))
            state_.channels.set(*routing);
    }
    const double fs = acceptedSampleRate(request.sampleRate);
    if (fs != state_.sampleRate.get()) applySampleRate(fs);
    const auto latency = static_cast<std::size_t>(acceptedLatency(request.outputLatency));
    if (latency != state_.meter.length()) state_.meter.allocate(latency);
    // Playback starts from cleared lines, so nothing is gained by gliding from values set while
    // suspended (a restored project, a program load): start at rest, exactly as set.
    suspend();
}

// Every rebuild that depends on the sample rate, in order. Allocates: construction and resume
// only, holding engineLock.
void Engine::applySampleRate(double fs) {
    EngineState& s = state_;
    s.sampleRate.set(fs);
    s.integerSampleRate = static_cast<int>(fs);
    s.fadeStep = maths::pow(0.001, 1000.0 / (fs * 100.0));
    s.filter.setSampleRate(fs);
    // The cutoff target is limited to half the rate it was set at; after a rise it must be
    // limited afresh, or the filter stays darker than its setting until the next edit.
    applyParameter(param::Cutoff, s.normalised[param::Cutoff].get());
    s.smoothing.setCoefficient(onePoleCoefficient(30.0, fs));
    s.lfo.setShapeCoefficient(onePoleCoefficient(500.0, fs));
    s.lookahead.allocate(static_cast<std::size_t>(fs / 1000.0));
    s.antiAlias.design(fs);

    // Ten seconds and one sample: 5000 ms of pre-delay plus 5000 ms of delay. Rounded up, so
    // that at a fractional rate the longest setting still fits (the same length at whole rates).
    const auto lineLength = static_cast<std::size_t>(10.0 * std::ceil(fs)) + 1;
    s.reverb.allocate(fs);
    applyParameter(param::RvbType, s.normalised[param::RvbType].get());
    for (int side = 0; side < 2; ++side) {
        DelayLine& line = s.lines[side];
        line.buffer.assign(lineLength, 0.0);
        line.write = 0;
        placeTaps(state_, side);
        s.fades[side].cancelRetime();
    }

    s.drive.setWindow(driveWindowFor(s.integerSampleRate));
    s.gateAttack = 1.0 - maths::exp(-1000.0 / fs);
    s.ducker.setAttack(1.0 - maths::exp(-1000.0 / (10.0 * fs)));
    applyEnvelopeSpeed(s.normalised[param::EnvSpeed].get());
    s.lfoSettings.increment.set(s.lfoSettings.rateHz.get() * 2.0 * std::numbers::pi / fs);
}

// Brings the engine to rest: smoothed values at their targets, no fade in progress, taps
// placed for the current settings, signal memory cleared.
void Engine::suspend() {
    EngineState& s = state_;
    s.smoothing.jumpToTargets();
    for (int side = 0; side < 2; ++side) {
        s.fades[side].settle();
        placeTaps(state_, side);
    }
    s.lfo.clearRandomTargets();
    reset();
}

// Clears all signal memory without moving any tap.
void Engine::reset() {
    EngineState& s = state_;
    for (DelayLine& line : s.lines)
        std::fill(line.buffer.begin(), line.buffer.end(), 0.0);
    s.lookahead.clear();
    s.meter.clear();
    s.drive.reset();
    s.ducker.reset();
    s.lfo.reset();
    s.envelope.reset();
    s.gates.reset();
    s.filter.reset();
    s.feedback = {};
    s.antiAlias.reset();
    s.clocked.reset();
    s.reverb.reset();
}

} // namespace velmora::engine
