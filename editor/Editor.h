// The effect's editor: the 942 by 171 panel the host opens in its window. It builds the
// controls of the layout table between open and close, turns control changes into parameter
// changes (ControlActions), and shows what the effect does on every idle: parameter values that
// arrived from any thread, the link, the tempo, the readout and the meters. The object lives as
// long as the effect; the page and the link survive closing and reopening.
#pragma once

#include "editor/ControlActions.h"
#include "editor/LevelMeters.h"
#include "editor/PanelControls.h"
#include "editor/PendingParameters.h"
#include "editor/ValueReadout.h"
#include "plugin/DelayEffect.h"
#include "plugin/EffectEditor.h"
#include "toolkit/CControlListener.h"
#include "toolkit/CFrame.h"
#include "toolkit/EditorInterface.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace velmora::editor {

class Editor final : public EffectEditor,
                     private toolkit::EditorInterface,
                     private toolkit::CControlListener {
  public:
    // Puts an open frame into the host's parent window; false when no window could be made.
    // The default opens the platform's window; tests open an offscreen one.
    using FrameOpener = std::function<bool(toolkit::CFrame& frame, void* parent)>;
    static bool openPlatformWindow(toolkit::CFrame& frame, void* parent);

    explicit Editor(DelayEffect& effect, FrameOpener opener = openPlatformWindow);
    ~Editor() override;

    // The host's editor calls (UI thread).
    bool getRect(ERect** rect) override;
    bool open(void* parentWindow) override;
    void close() override;
    void idle() override;
    bool onKeyDown(VstKeyCode& key) override;
    bool onKeyUp(VstKeyCode& key) override;
    bool setKnobMode(VstInt32 mode) override;

    // From the effect, on any thread: posted, shown on the next idle.
    void setParameter(VstInt32 index, float value) override;
    void linkOff() override;
    void linkOn() override;

    bool isOpen() const { return frame_ != nullptr; }
    toolkit::CFrame* frame() const { return frame_.get(); }
    toolkit::CControl* control(std::int32_t tag) const { return controls_.find(tag); }
    bool showsRightPage() const { return state_.showRight; }
    bool isLinked() const { return state_.linked; }
    std::int32_t editedTag() const { return editedTag_; }

  private:
    // The frame's editor interface: edit brackets by control tag.
    void beginEdit(std::int32_t tag) override;
    void endEdit(std::int32_t tag) override;
    toolkit::KnobMode getKnobMode() const override { return knobMode_; }

    // The listener of every control.
    void valueChanged(toolkit::CControl* control) override;
    void controlBeginEdit(toolkit::CControl* control) override;
    void controlEndEdit(toolkit::CControl* control) override;

    void buildControls();
    float initialValue(const layout::ControlPlacement& placement) const;
    void showPostedParameters();
    void showLinkState();
    void showTempo();
    void showReadout();
    void showMeters();
    std::int32_t knobUnderMouse() const;

    DelayEffect& effect_;
    FrameOpener opener_;
    ERect rect_;
    PanelState state_;
    PanelControls controls_;
    ControlActions actions_;
    PendingParameters pending_;
    ValueReadout readout_;
    LevelMeters meters_;
    std::unique_ptr<toolkit::CFrame> frame_;
    toolkit::KnobMode knobMode_ = toolkit::kLinearMode;
    // The control whose gesture is in progress, -1 when none: the readout shows its value.
    std::int32_t editedTag_ = -1;
};

} // namespace velmora::editor
