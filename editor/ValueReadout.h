// The LED readout's idle work: choose what to show from the edit in progress or what lies
// under the mouse, ask the effect for its display record, and light the ten elements. A
// too-long note value blinks. Kept apart from the editor so that it runs without a window.
#pragma once

#include "editor/ReadoutElements.h"
#include "toolkit/Geometry.h"

#include <cstdint>

namespace velmora {
class DelayEffect;
}

namespace velmora::editor {

inline constexpr std::int32_t kNoTag = -1;

// What the editor knows at an idle call.
struct ReadoutInput {
    std::int32_t editedTag = kNoTag;      // the control being edited
    toolkit::CPoint mouse{-1, -1};        // window coordinates; (-1, -1) outside the window
    std::int32_t knobUnderMouse = kNoTag; // tag of the knob under the mouse
    bool showRight = false;               // the right channel's page is on show
};

class ValueReadout {
  public:
    // A note value blinks on and off for this long each.
    static constexpr std::uint32_t kBlinkMs = 250;

    explicit ValueReadout(std::uint32_t nowMs) : blinkTick_(nowMs) {}

    // The editor calls this on every open, so a reopened window starts with the note shown.
    void resetBlink() { blinkVisible_ = true; }

    // One idle call: the values of the readout elements, tags 64 to 73 in order.
    ReadoutValues update(DelayEffect& effect, const ReadoutInput& input, std::uint32_t nowMs);

    bool blinkVisible() const { return blinkVisible_; }

  private:
    int chooseIndex(DelayEffect& effect, const ReadoutInput& input, std::uint32_t nowMs);
    int indexUnderMouse(DelayEffect& effect, const ReadoutInput& input, std::uint32_t nowMs);
    int indexUnderEdit(DelayEffect& effect, const ReadoutInput& input, std::uint32_t nowMs);
    int lfoIndex(DelayEffect& effect);
    int delayIndex(DelayEffect& effect, bool right, std::uint32_t nowMs);
    int preDelayIndex(DelayEffect& effect, bool right, std::uint32_t nowMs);
    void blinkWhileTooLong(const DelayEffect& effect, int selector, std::uint32_t nowMs);

    bool blinkVisible_ = true;
    std::uint32_t blinkTick_;
};

} // namespace velmora::editor
