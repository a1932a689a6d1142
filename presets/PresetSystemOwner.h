// The effect as the preset system sees it: where applied values go, the host calls a program
// change makes, and the notifications the editor follows. The preset system knows nothing more
// of the effect, the plug-in interface or any GUI.
#pragma once

namespace velmora {

class PresetSystemOwner {
  public:
    virtual ~PresetSystemOwner() = default;

    // A value written as the host would write it: to the engine, the editor and, unless a
    // program is being applied, back into the current program (PresetSystem::setParameter).
    // Indices 60..119 are the controller assignments.
    virtual void applyParameter(int index, float value) = 0;
    // The host refreshes its parameter views on a display update and on an edit bracket.
    virtual void requestDisplayUpdate() = 0;
    virtual void beginHostEdit(int index) = 0;
    virtual void endHostEdit(int index) = 0;
    // MIDI is wanted from the host; asked again on every resume.
    virtual void requestMidi() = 0;

    // Notifications; the effect passes them on to its editor when it has one.
    // A program is becoming current: every value of it is applied between these two.
    virtual void programApplicationStarts(int /*program*/) {}
    virtual void programApplied(int /*program*/) {}
    // A program's name changed: its program-menu entry (and the name field when current).
    virtual void programNameChanged(int /*program*/) {}
    // A load made this program current: menu selection and name field follow.
    virtual void currentProgramShown(int /*program*/) {}
    // Learning or forgetting ended: the matching button goes back to off.
    virtual void learnButtonReleased() {}
    virtual void forgetButtonReleased() {}
    // The template was taken: the editor applies the stored start-up defaults.
    virtual void applyStartupDefaults() {}

  protected:
    PresetSystemOwner() = default;
    PresetSystemOwner(const PresetSystemOwner&) = default;
    PresetSystemOwner& operator=(const PresetSystemOwner&) = default;
};

} // namespace velmora
