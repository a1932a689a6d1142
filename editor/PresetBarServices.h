// What the preset bar's file, default, memory, keyboard-focus and manual buttons ask for. The
// bar decides from the gesture what is wanted (which file kind, byte-reversed or not, store or
// clear); an implementation over the file codecs, the settings store, the file dialogs and the
// shell does it. All calls come on the UI thread.
#pragma once

#include "presets/FileKinds.h"

#include <optional>
#include <string>

namespace velmora::editor {

enum class Memo { a, b };

// Something the user must read, for the editor to show when the desktop could not.
struct UserMessage {
    std::string caption;
    std::string text;
};

class PresetBarServices {
  public:
    virtual ~PresetBarServices() = default;

    // Asks for a file and loads it; `reversed` reads it with every 32-bit field byte-reversed.
    virtual void loadFile(FileKind kind, bool reversed) = 0;
    virtual void saveFile(FileKind kind) = 0;
    // The per-user default the next instance starts with.
    virtual void storeDefault(FileKind kind) = 0;
    virtual void clearDefault(FileKind kind) = 0;
    // The A/B memories hold the current program.
    virtual void storeMemo(Memo memo) = 0;
    virtual void recallMemo(Memo memo) = 0;
    // The stored keyboard-focus option.
    virtual void storeKeyboardFocus(bool on) = 0;
    virtual bool storedKeyboardFocus() const = 0;
    virtual void openUserManual() = 0;
    // Every idle of the open editor: outcomes of dialogs and of the manual's opening.
    virtual void idle() {}
    // The editor window closed: a dialog still open is closed too.
    virtual void editorClosed() {}
    // A message waiting to be shown in the editor, once.
    virtual std::optional<UserMessage> takeMessage() { return std::nullopt; }
};

} // namespace velmora::editor
