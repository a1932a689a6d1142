// The preset bar along the bottom of the panel: program name field and menu, program rocker,
// file, default and memory buttons, MIDI learn and forget with the controller display, the
// keyboard-focus switch and the manual button. It builds its controls when the editor opens and
// forgets them when it closes, turns their changes into program and learning operations of the
// preset system, or asks its services for the rest, and on each idle shows what the effect
// posted and which controller drives the parameter under the pointer.
#pragma once

#include "editor/PresetBarLayout.h"
#include "editor/PresetBarNotices.h"
#include "editor/PresetBarServices.h"
#include "presets/PresetSystem.h"
#include "toolkit/CControlListener.h"
#include "toolkit/CFrame.h"
#include "toolkit/controls/COptionMenu.h"
#include "toolkit/controls/CParamDisplay.h"
#include "toolkit/controls/CTextEdit.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

namespace velmora::editor {

class PresetBar {
  public:
    explicit PresetBar(PresetSystem& presets);

    // Who carries out the file, default, memory, focus and manual requests; without services
    // those buttons do nothing.
    void setServices(std::unique_ptr<PresetBarServices> services) {
        services_ = std::move(services);
    }
    PresetBarServices* services() const { return services_.get(); }

    // UI thread. The controls go onto `frame` with `listener`, which hands their changes back
    // to valueChanged.
    void open(toolkit::CFrame& frame, toolkit::CControlListener* listener);
    void close();
    bool isOpen() const { return frame_ != nullptr; }
    void idle();
    void valueChanged(toolkit::CControl& control);

    // Any thread: posted, shown on the next idle.
    void programNameChanged(int program) { notices_.programRenamed(program); }
    void currentProgramShown(int program) { notices_.programShown(program); }
    void learnButtonReleased() { notices_.learnReleased(); }
    void forgetButtonReleased() { notices_.forgetReleased(); }

    // The open control with this tag, or null; tags::kControllerDisplay finds the display.
    toolkit::CControl* control(std::int32_t tag) const;

    // The editor's small font: the name field and the controller display.
    static toolkit::CFontDesc smallFont() { return {"sans", 9}; }

  private:
    std::unique_ptr<toolkit::CControl> makeControl(const layout::PresetBarPlacement& placement,
                                                   toolkit::CControlListener* listener) const;
    std::unique_ptr<toolkit::CControl> makeNameField(const layout::PresetBarPlacement& placement,
                                                     toolkit::CControlListener* listener) const;
    std::unique_ptr<toolkit::CControl> makeProgramMenu(const layout::PresetBarPlacement& placement,
                                                       toolkit::CControlListener* listener) const;
    std::unique_ptr<toolkit::CControl>
    makeControllerDisplay(const layout::PresetBarPlacement& placement) const;
    void showKeyboardFocusOption();

    void applyNotices();
    void showControllerUnderPointer();
    void stepProgram(float direction);
    void selectFromMenu();
    void renameCurrentProgram();
    void changeLearning(bool on);
    void changeForgetting(bool on);
    void changeKeyboardFocus(bool on);
    void openUserManual(toolkit::CControl& button);

    // Shows `program` as the menu's choice and its name in the name field.
    void showCurrent(int program, std::string_view name);
    void showName(std::string_view name);
    std::string_view nameOf(int program) const { return presets_.programs()[program].nameView(); }
    void setButton(std::int32_t tag, bool on);

    PresetSystem& presets_;
    std::unique_ptr<PresetBarServices> services_;
    PresetBarNotices notices_;
    toolkit::CFrame* frame_ = nullptr;
    // The open controls in table order; null while closed, or where one could not be made.
    std::array<toolkit::CControl*, layout::kPresetBar.size()> controls_{};
    toolkit::CTextEdit* nameField_ = nullptr;
    toolkit::COptionMenu* menu_ = nullptr;
    toolkit::CParamDisplay* controllerDisplay_ = nullptr;
};

} // namespace velmora::editor
