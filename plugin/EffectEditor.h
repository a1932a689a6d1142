// The editor as the effect knows it: the plug-in interface's editor with the notifications the
// effect and its preset system send. The editor layer implements it; the effect needs nothing
// more of the editor, so plugin/ never depends on editor/.
#pragma once

#include "vst2/AEffEditor.h"

namespace velmora {

class EffectEditor : public AEffEditor {
  public:
    using AEffEditor::AEffEditor;

    // A program is being applied: linked controls stop following each other until it is done,
    // so the program's own values for both sides arrive unchanged.
    virtual void linkOff() {}
    virtual void linkOn() {}
    // A program's name changed: its program-menu entry (and the name field when current).
    virtual void programNameChanged(int /*program*/) {}
    // A load made this program current: menu selection and name field follow.
    virtual void currentProgramShown(int /*program*/) {}
    // Learning or forgetting ended: the matching button goes back to off.
    virtual void learnButtonReleased() {}
    virtual void forgetButtonReleased() {}
    // The preset template was taken: the editor applies the stored start-up defaults.
    virtual void applyStartupDefaults() {}
};

} // namespace velmora
