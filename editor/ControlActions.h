// What a user change of a control does to the parameters: the direct writes, the channel
// pages, the link between the channels, the note-value steppers and the time nudges, and the
// square-law sliders. Runs on the UI thread, from the editor's control listener.
#pragma once

#include "editor/PanelControls.h"
#include "plugin/DelayEffect.h"

#include <atomic>
#include <cstdint>

namespace velmora::editor {

// The editor's page and link: both outlive the window, so the next open shows them again.
struct PanelState {
    bool showRight = false;
    // Set from whatever thread applies a program (the effect turns the link off around it).
    std::atomic<bool> linked{false};
};

class ControlActions {
  public:
    ControlActions(DelayEffect& effect, const PanelControls& controls, PanelState& state)
        : effect_(effect), controls_(controls), state_(state) {}

    // The user changed this control's value.
    void valueChanged(toolkit::CControl& control);

    // A page-bound control starts or ends a gesture: the parameters it writes are bracketed
    // for the host. The end closes exactly what the start opened, even if the link changed in
    // between.
    void beginGesture(std::int32_t tag);
    void endGesture(std::int32_t tag);

    // The index of a pair's parameter on the shown page, and of its partner.
    int shown(const layout::Binding& pair) const { return pair.shown(state_.showRight); }
    int partner(const layout::Binding& pair) const { return pair.shown(!state_.showRight); }

  private:
    static float multiplierOf(const toolkit::CControl& control);
    void writePair(const layout::Binding& pair, float value, bool mirrored);
    void showDelayTiming();
    void changeDelayMode(float value);
    void changeRange(float value);
    void dragDelayTime(float root);
    void dragLfoRate(float root);
    void dragTempo(float root);
    void stepPreDelay(const layout::Binding& stepped, const layout::Binding& other, bool up);
    void step(int index, bool up);
    void nudgeDelayTime(int index, float milliseconds);
    void nudgeLfoRate(bool up);
    void showPage(bool right);
    void changeLink(toolkit::CControl& button);
    void copyShownChannel();
    void copyTimingWhenLinked();

    bool delayInNoteMode() const;
    bool lfoInNoteMode() const;
    float parameter(int index) const { return effect_.getParameter(index); }
    void write(int index, float value) { effect_.setParameterAutomated(index, value); }
    void writeBracketed(int index, float value);

    DelayEffect& effect_;
    const PanelControls& controls_;
    PanelState& state_;
    // The parameters the gesture in progress has bracketed, or -1.
    int bracketedShown_ = -1;
    int bracketedPartner_ = -1;
};

} // namespace velmora::editor
