// Which MIDI controller drives which parameter: the two lookup tables and the assignment value
// of every parameter as reported through parameters 60..119 and saved in chunks. Entries are
// atomics because the audio thread learns and routes while the editor thread edits them.
#pragma once

#include "engine/ParameterIndex.h"

#include <array>
#include <atomic>

namespace velmora {

inline constexpr int kNumControllers = 128;
inline constexpr int kNoAssignment = 999;
// Controllers 120..127 are the channel mode messages and are never learned.
inline constexpr int kFirstChannelModeController = 120;
// Parameters 60..119 carry the assignments of parameters 0..59.
inline constexpr int kFirstAssignmentParameter = kNumParameters;
inline constexpr int kEndAssignmentParameters = 2 * kNumParameters;

inline constexpr bool isControllerNumber(long long controller) {
    return controller >= 0 && controller < kNumControllers;
}

// Controller c as a normalised value, (c + 0.5) / 129; any c outside 0..127 encodes "none"
// as 128.
float encodeAssignment(int controller);
// The controller a normalised value names, or kNoAssignment (also for values outside 0..1).
int decodeAssignment(float value);

class ControllerAssignments {
  public:
    ControllerAssignments() { clearAll(); }

    // Every entry unassigned, every reported value the encoding of "none".
    void clearAll();

    // A write to parameter 60 + p. The value is kept as reported exactly as given; the previous
    // controller of p and another parameter holding the same controller keep their entries.
    void setFromValue(int parameter, float value);
    float reportedValue(int parameter) const;

    // Table operations; the reported value of every parameter they change follows its table
    // entry so that chunks save what the tables hold.
    void assign(int parameter, int controller);
    void unassignParameter(int parameter);
    void unassignController(int controller);
    // A learned controller takes over: it leaves any other parameter and the parameter's
    // previous controller stops driving it.
    void learn(int parameter, int controller);

    int controllerOf(int parameter) const;
    // The parameter a controller drives, when that parameter is itself assigned.
    int parameterOf(int controller) const;
    // The raw controller-to-parameter entry that routing follows.
    int routeOf(int controller) const;

  private:
    void setParameterEntry(int parameter, int controller);

    std::array<std::atomic<int>, kNumParameters> controllerOfParameter_{};
    std::array<std::atomic<int>, kNumControllers> parameterOfController_{};
    std::array<std::atomic<float>, kNumParameters> reported_{};
};

} // namespace velmora
