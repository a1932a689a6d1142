// Catches the X errors of one connection for as long as it lives. The host has its own error
// handler (Xlib's default one ends the process), and a request of ours can fail through no
// fault of ours: the host destroyed the parent first, focus went to a window not yet mapped.
// The host's handler is back in place when the trap ends, and errors of other connections
// still reach it in the meantime. Only the editor's UI thread sets traps.
#pragma once

#include <X11/Xlib.h>

namespace velmora::toolkit {

class X11ErrorTrap {
  public:
    explicit X11ErrorTrap(Display* display);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    // Waits until the server has answered every request sent so far; true when none of the
    // requests made while the trap was set failed.
    bool sync();
    bool failed() const { return errors_ > 0; }

  private:
    static int handle(Display* display, XErrorEvent* error);

    Display* display_;
    X11ErrorTrap* outer_;
    XErrorHandler previous_;
    int errors_ = 0;
};

} // namespace velmora::toolkit
