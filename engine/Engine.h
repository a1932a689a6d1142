// The audio engine as the plug-in shell sees it: parameter application, timing, the process
// loop for both sample types, and the lifecycle calls. It knows nothing of VST records or
// threads; the shell holds engineLock around process, resume, suspend and the reverb-type row.
#pragma once

#include "engine/EngineState.h"

#include <optional>

namespace velmora::engine {

enum class Side { Left = 0, Right = 1 };

// What the host answered at the start of a block.
struct HostTiming {
    std::optional<double> tempoBpm;    // answer to the tempo request, if any
    std::optional<double> ppqPosition; // song position in quarter notes, if any
};

// What the shell gathered from the host for resume.
struct ResumeRequest {
    std::optional<double> hostTempoBpm; // the host's tempo, if it answered
    // Consecutive connected inputs (0..4) and outputs (0..2), probed only while the host has
    // not fixed the speaker arrangement.
    std::optional<int> connectedInputs;
    std::optional<int> connectedOutputs;
    double sampleRate = 44100.0; // the rate the host last set; out of range means 44100
    int outputLatency = 1024;    // the host's output latency; out of range means 1024
};

// Bits of updateTempoDependents.
inline constexpr unsigned kTempoLeftDelay = 1;
inline constexpr unsigned kTempoRightDelay = 2;
inline constexpr unsigned kTempoLfo = 4;
inline constexpr unsigned kTempoAll = kTempoLeftDelay | kTempoRightDelay | kTempoLfo;

class Engine {
  public:
    // Construction for 44100 Hz; ends with the same sequence as suspend.
    Engine();

    // Engine side of a parameter write, indices 0..59 (43, 44 and others change nothing).
    // Safe from any thread except RvbType, for which the caller holds engineLock. A value that
    // is not a finite number counts as 0, and values are limited to 0..1, so no host value can
    // push a time, gain or table index outside what the engine is sized for.
    void setParameter(int index, float value);
    // Records value as the current one of index 0..59 without applying its row; the link copy
    // needs it where the row ignores the write (a delay time while its side is in "note" mode).
    void storeValue(int index, double value) {
        if (index >= 0 && index < kNumParameters) state_.normalised[index].set(value);
    }
    // The current normalised value the engine accepted for index 0..59 (0 for others).
    double parameterValue(int index) const;

    void updateTempoDependents(unsigned flags);
    void setNormalisedTempo(double normalised);
    double tempoBpm() const;
    double normalisedTempo() const;
    bool hostTempoAvailable() const;

    // Derived values the displays and the editor read.
    double sampleRate() const;
    double delayMs(Side side) const;
    double lfoRateHz() const;
    double cutoffTargetHz() const;
    double lfoOffsetRadians() const;
    double driveGainTarget() const;
    void takePeakLevels(float& left, float& right);

    // Left/right link helpers.
    bool sidesMatch() const;

    // Channel routing: the host's arrangement (answers false and changes nothing for a pair
    // not in the channel table).
    bool setSpeakerArrangement(int inputs, int outputs);
    bool arrangementFixed() const;

    // Lifecycle; the caller holds engineLock.
    void resume(const ResumeRequest& request);
    void suspend();
    void reset();

    // One block; inputs has at least 1 channel pointer (up to 4), outputs 1 or 2, as the
    // channel map says. Never allocates.
    void process(const float* const* inputs, float* const* outputs, int frames,
                 const HostTiming& timing);
    void process(const double* const* inputs, double* const* outputs, int frames,
                 const HostTiming& timing);

    const EngineState& state() const { return state_; }

  private:
    // Parameter rows, grouped by what they drive; value already limited to 0..1.
    void applyParameter(int index, double value);
    void applyLevelRow(int index, double value);
    void applyModulationRow(int index, double value);
    void applyFilterRow(int index, double value);
    void applyTimingRow(int index, double value);
    void applyReverbRow(int index, double value);
    void applySwitchRow(int index, double value);
    void applyDelayMode(int side, double value);
    void applyRange(int side, double value);
    void applyDelayTime(int side, double value);
    void applyEnvelopeSpeed(double value);
    void applyCutoff(double value);
    void applyReverbType(double value);

    // Delay timing.
    void updateSideTempo(int side);
    void updateLfoTempo();

    // Sample-rate set-up: every buffer and coefficient that depends on fs.
    void applySampleRate(double fs);
    void readHostTempo(const HostTiming& timing);

    template <typename Sample>
    void runBlock(const Sample* const* inputs, Sample* const* outputs, int frames,
                  const HostTiming& timing);

    EngineState state_;
};

} // namespace velmora::engine
