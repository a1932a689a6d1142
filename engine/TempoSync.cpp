#include "engine/TempoSync.h"
#include "engine/Engine.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velmora::engine {

namespace {
constexpr int kTempoRetries = 4;
} // namespace

void Engine::updateTempoDependents(unsigned flags) {
    if (flags & kTempoLfo) updateLfoTempo();
    if (flags & kTempoLeftDelay) updateSideTempo(0);
    if (flags & kTempoRightDelay) updateSideTempo(1);
}

// The tempo and the note value may change on another thread while a rate or time is being
// worked out (the host tempo is read on the audio thread, edits arrive elsewhere); the value
// is written again until the inputs it was computed from are still current, so the last
// writer never leaves a stale result behind.
void Engine::updateLfoTempo() {
    LfoSettings& lfo = state_.lfoSettings;
    if (lfo.mode.get() == static_cast<int>(LfoMode::Free)) return;
    for (int attempt = 0; attempt < kTempoRetries; ++attempt) {
        const double tempo = state_.tempoBpm.get();
        const int numerator = lfo.numeratorIndex.get();
        const int denominator = lfo.denominatorIndex.get();
        const double rate =
            std::clamp(noteRateHz(kLfoNumerators[numerator], kDenominatorTable[denominator], tempo),
                       kMinLfoRateHz, kMaxLfoRateHz);
        lfo.rateHz.set(rate);
        lfo.increment.set(rate * 2.0 * std::numbers::pi / state_.sampleRate.get());
        if (tempo == state_.tempoBpm.get() && numerator == lfo.numeratorIndex.get() &&
            denominator == lfo.denominatorIndex.get())
            return;
    }
}

void Engine::updateSideTempo(int side) {
    ChannelTiming& timing = state_.timing[side];
    if (timing.mode.get() != static_cast<int>(DelayMode::Note)) return;
    for (int attempt = 0; attempt < kTempoRetries; ++attempt) {
        const double tempo = state_.tempoBpm.get();
        const int numerator = timing.numeratorIndex.get();
        const int denominator = timing.denominatorIndex.get();
        const double ms = std::min(
            noteLengthMs(kDelayNumerators[numerator], kDenominatorTable[denominator], tempo),
            kMaxDelayMs);
        timing.freeTimeMs.set(ms);
        timing.delayMs.set(ms);
        if (tempo == state_.tempoBpm.get() && numerator == timing.numeratorIndex.get() &&
            denominator == timing.denominatorIndex.get())
            break;
    }
    // Even an unchanged time re-places the taps, through a fade.
    state_.fades[side].requestRetime();
}

void Engine::setNormalisedTempo(double normalised) {
    // A value outside 0..1 would give a tempo outside 30..400 BPM (a zero or negative tempo
    // breaks every synced time), so it is limited; a non-finite one changes nothing.
    if (!std::isfinite(normalised)) return;
    normalised = std::clamp(normalised, 0.0, 1.0);
    state_.normalisedTempo.set(normalised);
    state_.tempoBpm.set(kMinTempoBpm + 370.0 * normalised);
    updateTempoDependents(kTempoAll);
}

double Engine::tempoBpm() const {
    return state_.tempoBpm.get();
}
double Engine::normalisedTempo() const {
    return state_.normalisedTempo.get();
}
bool Engine::hostTempoAvailable() const {
    return state_.hostTempoAvailable.get();
}

// Block start: a host tempo that differs and lies in range re-times everything synced; one
// outside 30..400 BPM is ignored.
void Engine::readHostTempo(const HostTiming& timing) {
    if (!timing.tempoBpm) {
        state_.hostTempoAvailable.set(false);
        return;
    }
    state_.hostTempoAvailable.set(true);
    const double tempo = *timing.tempoBpm;
    if (tempo != state_.tempoBpm.get() && tempo >= kMinTempoBpm && tempo <= kMaxTempoBpm) {
        state_.tempoBpm.set(tempo);
        state_.normalisedTempo.set(normaliseTempo(tempo));
        updateTempoDependents(kTempoAll);
    }
}

} // namespace velmora::engine
