// A host's editor window: a shown top-level window into which a plug-in opens its editor as a
// child, and the message handling a host's UI thread does for it. One implementation per
// platform: x11/ (a connection of its own, kept apart from the editor's as a host's UI toolkit
// is) and win32/ (a window of this thread, whose queue the editor's windows share).
#pragma once

#include "tools/hostwindow/WindowImage.h"

#include <cstdint>
#include <memory>
#include <string>

namespace velmora::host {

class HostWindow {
  public:
    // Connects to the desktop ($DISPLAY on X11); null when there is none to show windows on.
    static std::unique_ptr<HostWindow> connect();
    ~HostWindow(); // destroys the window and lets go of the desktop
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    // Creates the window with a client area of the given size and a plain background, shows it
    // and waits until the desktop does. A window made before is destroyed first. False when
    // that fails.
    bool open(int width, int height, const std::string& title, std::uint32_t background);
    // Destroys the window (and with it any editor still inside it), as a host closing its
    // window without asking the plug-in first.
    void destroy();
    // Handles what the desktop sent: on X11 only this connection's events; on Windows every
    // message of the thread's queue, the editor's included, as a host's message loop does.
    void pumpEvents();
    // Windows hosts differ in whether their loop calls TranslateMessage, which makes WM_CHAR of
    // key presses; the pump does by default. X11 has no such step and ignores it.
    void setTranslatesKeys(bool translates) { translatesKeys_ = translates; }

    // What effEditOpen receives: the X11 Window id or the HWND; 0 when no window is open.
    std::uintptr_t id() const;
    int width() const { return width_; }
    int height() const { return height_; }
    // What the client area shows now, children included (its editor's pixels); empty when the
    // desktop cannot give it.
    WindowImage capture() const;
    // The windows the plug-in made in it.
    int childCount() const;

  private:
    struct Native; // the platform's connection and window
    explicit HostWindow(std::unique_ptr<Native> native);

    std::unique_ptr<Native> native_;
    int width_ = 0;
    int height_ = 0;
    bool translatesKeys_ = true;
};

} // namespace velmora::host
