// The user at the desktop, as Windows sees one: mouse and keyboard input made with SendInput,
// which goes through the system's input queue to the window under the pointer or with the
// keyboard focus, exactly as a real mouse's and keyboard's input does. Points are in the client
// coordinates of a window; a drag moves in steps, as a hand does.
#pragma once

#include <windows.h>

#include <string_view>

namespace velmora::testing {

class SyntheticInput {
  public:
    // Where in `window` the pointer goes; the window's client area must be on screen.
    explicit SyntheticInput(HWND window) : window_(window) {}

    // False when the system refused the input (another desktop is active, say).
    bool moveTo(POINT client);
    bool click(POINT client);
    bool drag(POINT from, POINT to, int steps = 8);
    // Notches of the wheel where the pointer is: positive away from the user.
    bool turnWheel(POINT client, int notches);
    // A key press and release by virtual-key code, with Shift held for it when asked.
    bool typeKey(WORD virtualKey, bool shift = false);
    // Each character of plain ASCII letters and digits as the key that types it.
    bool typeText(std::string_view text);

    // Where the pointer is now, in the window's client coordinates.
    POINT pointer() const;

  private:
    POINT toScreen(POINT client) const;
    bool press(DWORD flags, DWORD data = 0);
    bool key(WORD virtualKey, bool up);

    HWND window_;
};

} // namespace velmora::testing
