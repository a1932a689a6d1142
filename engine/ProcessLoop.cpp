// The per-sample signal path, one stage per function in processing order, for float and
// double host buffers alike. Never allocates, locks or waits.
#include "engine/DelayTiming.h"
#include "engine/Denormal.h"
#include "engine/Engine.h"

#include <algorithm>
#include <cmath>

namespace velmora::engine {

namespace {

constexpr double kWetOffset = 1e-15;

struct Stereo {
    double left;
    double right;
};

struct HostSample {
    Stereo main;
    Stereo side;
};

// Switches read once at the start of each sample, so the two filter placements and the line
// access of one sample all see the same setting.
struct SampleSwitches {
    bool fltOn;
    FilterPlacement placement;
    FilterType filterType;
    bool vcoOn;
    bool driveActive;
    bool rvbOn;
    bool bypass;
    double dryIntoReverb; // 1 in "out" mode, 0 in "fx"
};

class SignalPath {
  public:
    SignalPath(EngineState& state, double lfoIncrement) : s_(state), lfoIncrement_(lfoIncrement) {}

    Stereo process(const HostSample& in) {
        const SampleSwitches sw = readSwitches();
        s_.smoothing.step();
        Stereo x = applyInputGain(in.main);
        s_.meter.process(x.left, x.right);
        x = filterInput(x, sw);
        Stereo d = antiAlias(x, sw);
        lastDelayInput_ = d;
        lastVcoOn_ = sw.vcoOn;
        const Stereo envMod = detectAndDrive(d, sw);
        const Lfo::Values mod = modulate(envMod);
        const Stereo to = feedbackMatrix();
        const Stereo lineInput = muteInput(d);
        pushClockHistories(to, lineInput);
        Stereo y = accessLines(to, lineInput, mod, sw);
        y = fadeRetimes(y);
        const Stereo gateGain = gate(y);
        const Stereo z = filterLoop(y, sw);
        const Stereo w = lookAhead(z);
        const Stereo o = delayOutput(w, gateGain);
        Stereo wet = panAndMix(o, x, sw);
        reverb(wet, sw);
        const double duck = s_.ducker.process(in.side.left, in.side.right);
        const Stereo out = output(x, wet, duck, sw);
        return sw.bypass ? in.main : out;
    }

    // The delay input before the drive: what the anti-alias filter passes in a steady state,
    // so settling its memories on it lets the clocked mode start without a transient.
    Stereo lastDelayInput() const { return lastDelayInput_; }
    // VcoOn as the block's last sample saw it; a switch flipped after that sample
    // is handled by the next block.
    bool lastVcoOn() const { return lastVcoOn_; }

  private:
    double smoothed(Smoothed which) const { return s_.smoothing.value(which); }

    SampleSwitches readSwitches() const {
        return {s_.filterSettings.fltOn.get(),
                static_cast<FilterPlacement>(s_.filterSettings.placement.get()),
                static_cast<FilterType>(s_.filterSettings.type.get()),
                s_.path.vcoOn.get(),
                s_.path.driveActive.get(),
                s_.path.rvbOn.get() && s_.reverb.allocated(),
                s_.path.bypass.get(),
                s_.path.dryIntoReverb.get() ? 1.0 : 0.0};
    }

    Stereo applyInputGain(Stereo main) const {
        const double gain = smoothed(Smoothed::InputGain);
        return {gain * main.left, gain * main.right};
    }

    // Filter set-up for this sample, with the modulation prepared by the previous one; in the
    // "in" placement the dry signal and the delay input are filtered here.
    Stereo filterInput(Stereo x, const SampleSwitches& sw) {
        if (!sw.fltOn) return x;
        auto& pending = s_.pendingFilterModulation;
        if (pending.present) {
            s_.modulation.prepareFilterModulation(pending.mod, pending.cutoffDepth);
            pending.present = false;
        }
        const ModulationMix& mix = s_.modulation;
        s_.filter.configure(mix.cutoffMultiplier() * smoothed(Smoothed::CutoffHz),
                            mix.resonanceModulation() * smoothed(Smoothed::ResonanceDepth) +
                                smoothed(Smoothed::Resonance));
        if (sw.placement == FilterPlacement::Input) return filter(x, sw.filterType);
        return x;
    }

    Stereo filter(Stereo x, FilterType type) {
        const TwoLanes y = s_.filter.process(TwoLanes{x.left, x.right}, type);
        return {y[0], y[1]};
    }

    Stereo antiAlias(Stereo x, const SampleSwitches& sw) {
        if (!sw.vcoOn) return x;
        // Separate locals: the stage writes them one at a time, and reading them back as one
        // pair would stall on the two stores.
        double left = x.left;
        double right = x.right;
        s_.antiAlias.process(left, right);
        return {left, right};
    }

    // The envelope followers see the delay input before the drive shapes it.
    Stereo detectAndDrive(Stereo& d, const SampleSwitches& sw) {
        const TwoLanes env = s_.envelope.process(TwoLanes{d.left, d.right});
        const Stereo envMod{env[0], env[1]};
        s_.drive.process(d.left, d.right, smoothed(Smoothed::DriveGain), sw.driveActive);
        return envMod;
    }

    Lfo::Values modulate(Stereo envMod) {
        const Lfo::Values lfo = s_.lfo.step(lfoIncrement_);
        const Lfo::Values mod = s_.modulation.blend(lfo, envMod.left, envMod.right,
                                                    smoothed(Smoothed::ModulationBlend));
        auto& pending = s_.pendingFilterModulation;
        pending.mod = mod;
        pending.cutoffDepth = smoothed(Smoothed::CutoffDepth);
        pending.present = true;
        return mod;
    }

    // A pan of 0 sends a channel's feedback into the left line, 1 into the right line.
    Stereo feedbackMatrix() const {
        const double a = s_.feedback[0] * smoothed(Smoothed::FeedbackGainLeft);
        const double b = s_.feedback[1] * smoothed(Smoothed::FeedbackGainRight);
        const double toRight =
            smoothed(Smoothed::FeedbackPanLeft) * a + smoothed(Smoothed::FeedbackPanRight) * b;
        const double toLeft = (a + b) - toRight;
        return {flushDenormal(toLeft), flushDenormal(toRight)};
    }

    Stereo muteInput(Stereo d) const {
        return {smoothed(Smoothed::MuteLeft) * d.left, smoothed(Smoothed::MuteRight) * d.right};
    }

    void pushClockHistories(Stereo to, Stereo lineInput) {
        s_.clocked.pushInputs(0, to.left, lineInput.left);
        s_.clocked.pushInputs(1, to.right, lineInput.right);
    }

    static double accessPlain(DelayLine& line, double input, double feedback) {
        line.buffer[line.write] = input;
        line.buffer[line.feedback] += feedback;
        const double y = line.buffer[line.read];
        line.advance();
        return y;
    }

    Stereo accessLines(Stereo to, Stereo lineInput, Lfo::Values mod, const SampleSwitches& sw) {
        if (sw.vcoOn) {
            const double depth = smoothed(Smoothed::ClockDepth);
            const double manual = s_.path.manualClockOffset.get();
            const auto y = s_.clocked.access(s_.lines, {mod.left, mod.right}, depth, manual);
            return {y[0], y[1]};
        }
        return {accessPlain(s_.lines[0], lineInput.left, to.left),
                accessPlain(s_.lines[1], lineInput.right, to.right)};
    }

    // While silent after a retime the taps jump to the new timing; W never moves.
    double fadeRetime(int side, double y) {
        TimeChangeFade& fade = s_.fades[side];
        if (fade.advance(s_.fadeStep)) placeTaps(s_, side);
        return y * fade.gain();
    }

    Stereo fadeRetimes(Stereo y) { return {fadeRetime(0, y.left), fadeRetime(1, y.right)}; }

    Stereo gate(Stereo y) {
        const TwoLanes thresholds{smoothed(Smoothed::GateThresholdLeft),
                                  smoothed(Smoothed::GateThresholdRight)};
        const TwoLanes gains = s_.gates.process(TwoLanes{y.left, y.right}, thresholds,
                                                s_.gateAttack, s_.path.gateRelease.get());
        return {gains[0], gains[1]};
    }

    // The filter in the loop ("fb") or on the output ("fx"); sets the feedback for the next
    // sample and returns the signal passed on.
    Stereo filterLoop(Stereo y, const SampleSwitches& sw) {
        const double signL = s_.path.feedbackSign[0].get();
        const double signR = s_.path.feedbackSign[1].get();
        if (sw.fltOn && sw.placement != FilterPlacement::Input) {
            const Stereo z = filter(y, sw.filterType);
            const Stereo fed = sw.placement == FilterPlacement::Feedback ? z : y;
            s_.feedback = {fed.left * signL, fed.right * signR};
            return z;
        }
        s_.feedback = {y.left * signL, y.right * signR};
        return y;
    }

    Stereo lookAhead(Stereo z) {
        s_.lookahead.exchange(z.left, z.right);
        return z;
    }

    Stereo delayOutput(Stereo w, Stereo gateGain) const {
        return {w.left * gateGain.left * s_.path.delayOutputSign[0].get(),
                w.right * gateGain.right * s_.path.delayOutputSign[1].get()};
    }

    Stereo panAndMix(Stereo o, Stereo dry, const SampleSwitches& sw) const {
        const double m = smoothed(Smoothed::Mix);
        const double toRight =
            smoothed(Smoothed::DelayPanLeft) * o.left + smoothed(Smoothed::DelayPanRight) * o.right;
        const double dryShare = (1.0 - m) * sw.dryIntoReverb;
        return {((o.left + o.right) - toRight) * m + dryShare * dry.left + kWetOffset,
                toRight * m + dryShare * dry.right + kWetOffset};
    }

    void reverb(Stereo& wet, const SampleSwitches& sw) {
        if (sw.rvbOn) s_.reverb.process(wet.left, wet.right, s_.path.reverbAmount.get());
    }

    // In "fx" mode the dry signal goes straight out; in "out" mode it is already in the wet sum.
    Stereo output(Stereo dry, Stereo wet, double duck, const SampleSwitches& sw) const {
        const double dryShare = (1.0 - sw.dryIntoReverb) * (1.0 - smoothed(Smoothed::Mix));
        const double gain = smoothed(Smoothed::OutputGain);
        return {(dry.left * dryShare + duck * wet.left) * gain,
                (dry.right * dryShare + duck * wet.right) * gain};
    }

    EngineState& s_;
    const double lfoIncrement_;
    Stereo lastDelayInput_{0.0, 0.0};
    bool lastVcoOn_ = false;
};

// Far above any real signal (+60 dBFS), low enough that every stage stays finite with it.
constexpr double kInputLimit = 1000.0;

// Out of line and cold, so the compiler keeps the ordinary path a branch that is never taken
// instead of computing both answers for every sample.
[[gnu::cold, gnu::noinline]] double admitOutOfRange(double x) {
    return std::isfinite(x) ? std::copysign(kInputLimit, x) : 0.0;
}

// The input stage: a non-finite sample is silence and a huge one is held at the limit, so one
// bad sample from the host cannot poison the recursive states. An ordinary sample passes
// untouched through a single well-predicted comparison.
inline double admitSample(double x) {
    if (std::fabs(x) <= kInputLimit) [[likely]]
        return x; // false for a NaN
    return admitOutOfRange(x);
}

// A host may leave an input it has nothing for (a sidechain) without a buffer: it reads as
// silence.
template <typename Sample> double sampleAt(const Sample* channel, int i) {
    return channel ? admitSample(static_cast<double>(channel[i])) : 0.0;
}

// Without both output buffers the block cannot run; whatever buffer there is gets silence, so
// the host never hears stale samples.
template <typename Sample>
bool outputsPresent(Sample* const* outputs, const ChannelIndices& map, int frames) {
    Sample* const left = outputs[map.outLeft];
    Sample* const right = outputs[map.outRight];
    if (left && right) return true;
    for (Sample* channel : {left, right})
        if (channel) std::fill_n(channel, frames, Sample(0));
    return false;
}

} // namespace

template <typename Sample>
void Engine::runBlock(const Sample* const* inputs, Sample* const* outputs, int frames,
                      const HostTiming& timing) {
    EngineState& s = state_;
    s.drive.beginBlock();
    readHostTempo(timing);
    double increment = s.lfoSettings.increment.get();
    if (s.lfoSettings.mode.get() == static_cast<int>(LfoMode::PhaseLocked)) {
        // A position that is not a number would stick in the phase: it counts as none.
        const std::optional<double> position =
            timing.ppqPosition && std::isfinite(*timing.ppqPosition) ? timing.ppqPosition
                                                                     : std::nullopt;
        increment =
            s.lfo.lockPhase(position, kLfoNumerators[s.lfoSettings.numeratorIndex.get()],
                            kDenominatorTable[s.lfoSettings.denominatorIndex.get()], increment);
    }
    const double nyquist = s.sampleRate.get() * 0.5;
    if (s.smoothing.value(Smoothed::CutoffHz) > nyquist)
        s.smoothing.setValue(Smoothed::CutoffHz, nyquist);

    const ChannelIndices map = s.channels.get();
    if (frames <= 0 || !inputs || !outputs || !outputsPresent(outputs, map, frames)) return;

    // The channel buffers stay put for the block; only their samples are read and written.
    const Sample* const mainLeft = inputs[map.mainLeft];
    const Sample* const mainRight = inputs[map.mainRight];
    const Sample* const sideLeft = inputs[map.sideLeft];
    const Sample* const sideRight = inputs[map.sideRight];
    Sample* const outLeft = outputs[map.outLeft];
    Sample* const outRight = outputs[map.outRight];
    SignalPath path(s, increment);
    for (int i = 0; i < frames; ++i) {
        const HostSample in{{sampleAt(mainLeft, i), sampleAt(mainRight, i)},
                            {sampleAt(sideLeft, i), sampleAt(sideRight, i)}};
        const Stereo out = path.process(in);
        // Right slot cleared first, so one shared output channel receives outL + outR.
        outRight[i] = Sample(0);
        outLeft[i] = static_cast<Sample>(out.left);
        outRight[i] = static_cast<Sample>(outRight[i] + out.right);
    }

    // Keeps the anti-alias filter settled on the delay input while the clocked mode is off, so
    // switching it on starts without a transient.
    if (!path.lastVcoOn()) {
        const Stereo last = path.lastDelayInput();
        s.antiAlias.settle(last.left, last.right);
    }
}

void Engine::process(const float* const* inputs, float* const* outputs, int frames,
                     const HostTiming& timing) {
    runBlock(inputs, outputs, frames, timing);
}

void Engine::process(const double* const* inputs, double* const* outputs, int frames,
                     const HostTiming& timing) {
    runBlock(inputs, outputs, frames, timing);
}

} // namespace velmora::engine
