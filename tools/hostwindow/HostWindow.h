// A host's editor window on X11: a mapped top-level window on a connection of its own, into
// which a plug-in opens its editor as a child. Its own connection keeps it apart from the
// editor's, as a host's UI toolkit is.
#pragma once

#include "tools/hostwindow/WindowImage.h"

#include <cstdint>
#include <memory>
#include <string>

// Xlib's types without its macros, which clash with the names of users (None, Bool, Status).
struct _XDisplay;

namespace velmora::host {

class HostWindow {
  public:
    // Connects to $DISPLAY; null when no server answers.
    static std::unique_ptr<HostWindow> connect();
    ~HostWindow(); // destroys the window and closes the connection
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    // Creates the window at the given size with a plain background, maps it and waits until
    // the server shows it. A window made before is destroyed first. False when that fails.
    bool open(int width, int height, const std::string& title, std::uint32_t background);
    // Destroys the window (and with it any editor still inside it), as a host closing its
    // window without asking the plug-in first.
    void destroy();
    // Handles what the server sent this connection (nothing here needs answering, but the
    // queue must not grow while the editor runs).
    void pumpEvents();

    // The X11 Window id a plug-in's effEditOpen receives; 0 when no window is open.
    std::uintptr_t id() const { return window_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // What the window shows now, children included (its editor's pixels); empty when the
    // server cannot give it.
    WindowImage capture() const;
    // The child windows the plug-in made in it.
    int childCount() const;

  private:
    explicit HostWindow(_XDisplay* display) : display_(display) {}

    _XDisplay* display_;
    unsigned long window_ = 0;
    int width_ = 0;
    int height_ = 0;
};

} // namespace velmora::host
