#include "engine/Engine.h"
#include "engine/ParameterDescriptions.h"
#include "engine/PortableMaths.h"

#include <cmath>
#include <numbers>

namespace velmora::engine {

Engine::Engine() {
    state_.meter.allocate(InputMeter::kDefaultLength);
    applySampleRate(kInitialSampleRate);
    // Until the rate first changes the shape smoothing keeps its construction value.
    state_.lfo.setShapeCoefficient(
        1.0 - maths::exp(-2.0 * std::numbers::pi * 1000.0 / kInitialSampleRate));
    // Applied through the parameter rows in index order, the construction values give unity
    // gains, half mix, delay pans hard left and right, 3 Hz LFO, 16 kHz cutoff, resonance 0.05,
    // 100 ms envelope, both delays "time" at 2000 ms of 5000 ms, pre-delay 0/2, clocked mode
    // on, ducking at -30 dB, no feedback with each channel in its own line, and the inputs open.
    for (int index = 0; index < kNumParameters; ++index)
        applyParameter(index, describe(index).initial);
    suspend();
}

double Engine::sampleRate() const {
    return state_.sampleRate.get();
}

double Engine::delayMs(Side side) const {
    return state_.timing[static_cast<int>(side)].delayMs.get();
}

double Engine::lfoRateHz() const {
    return state_.lfoSettings.rateHz.get();
}

double Engine::cutoffTargetHz() const {
    return state_.smoothing.target(Smoothed::CutoffHz);
}

double Engine::lfoOffsetRadians() const {
    return (state_.normalised[param::LROffset].get() - 0.5) * std::numbers::pi;
}

double Engine::driveGainTarget() const {
    return state_.smoothing.target(Smoothed::DriveGain);
}

void Engine::takePeakLevels(float& left, float& right) {
    state_.meter.takePeaks(left, right);
}

// A pair matches when the two values, taken as 32-bit floats, differ by at most 0.01; the
// pans mirror, so they match when they add up to 1.
bool Engine::sidesMatch() const {
    const auto value = [this](int index) {
        return static_cast<float>(state_.normalised[index].get());
    };
    const auto close = [](float a, float b) { return std::fabs(a - b) <= 0.01f; };
    const auto same = [&](int left, int right) { return close(value(left), value(right)); };
    const auto mirrored = [&](int left, int right) {
        return close(value(left) + value(right), 1.0f);
    };
    if (!same(param::DlyTimeL, param::DlyTimeR)) return false;
    return same(param::FbGainL, param::FbGainR) && mirrored(param::FbPanL, param::FbPanR) &&
           mirrored(param::DlyPanL, param::DlyPanR) && same(param::DlyGateL, param::DlyGateR) &&
           same(param::FbInvL, param::FbInvR) && same(param::DlyInvL, param::DlyInvR) &&
           same(param::RangeL, param::RangeR) && same(param::DlyModeL, param::DlyModeR) &&
           same(param::DlyNumL, param::DlyNumR) && same(param::DlyDenL, param::DlyDenR);
}

bool Engine::setSpeakerArrangement(int inputs, int outputs) {
    const auto routing = routingFor(inputs, outputs);
    if (!routing) return false;
    state_.channels.set(*routing);
    state_.channels.fixArrangement();
    return true;
}

bool Engine::arrangementFixed() const {
    return state_.channels.arrangementFixed();
}

} // namespace velmora::engine
