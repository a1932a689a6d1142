// One editor's own connection to the X server: the visual, colormap and graphics context its
// windows share, the windows it created, and the delivery of their events to the sinks.
// Every request runs under an X11ErrorTrap, so a window the host has already destroyed costs
// nothing but the request.
#pragma once

#include "toolkit/Framebuffer.h"
#include "toolkit/PlatformWindow.h"
#include "toolkit/x11/X11Input.h"

#include <X11/Xlib.h>

#include <memory>
#include <vector>

namespace velmora::toolkit {

class X11Display {
  public:
    // Connects to the server $DISPLAY names; null when none answers.
    static std::unique_ptr<X11Display> connect();
    // Takes over an open connection.
    explicit X11Display(Display* display) : display_(display) {}
    // Frees the shared resources and every window still open, then closes the connection.
    ~X11Display();
    X11Display(const X11Display&) = delete;
    X11Display& operator=(const X11Display&) = delete;

    Display* get() const { return display_; }
    Window root() const { return root_; }

    // Picks the 24-bit true-colour visual on the screen `parent` is on. False when `parent`
    // does not exist or its screen has no such visual with 32-bit pixels.
    bool prepareFor(Window parent);

    // A window at `area` in `parent`'s coordinates whose events go to `sink`; a pop-up is
    // placed by us rather than by a window manager, and is asked for no keys or focus.
    // 0 when the server refuses it.
    Window createWindow(Window parent, const PixelRect& area, PlatformEventSink& sink, bool popup);
    void map(Window window, bool raised);
    // Destroys a window made here, unless the server already did (with its parent).
    void destroyWindow(Window window);
    // False once the window is gone, destroyed here or by the server.
    bool exists(Window window) const;

    // Shows an area of `pixels` (the window's size) at the same place in the window.
    void put(Window window, const Framebuffer& pixels, const PixelRect& area);
    // Delivers every event already queued or waiting on the socket; never waits for one.
    void deliverEvents();

    // Sends every pointer event to `window` until ungrabbed; false when another client holds
    // the pointer.
    bool grabPointer(Window window);
    void ungrabPointer();
    void focus(Window window);

    PixelRect rootArea() const;
    CPoint positionOnRoot(Window window) const;

  private:
    struct Target {
        Window window;
        PlatformEventSink* sink;
        PixelRect exposed; // collected until the last Expose of a series
    };

    Target* find(Window window);
    bool supersededMotion(const XEvent& event) const;
    void deliver(XEvent& event);
    void deliverButton(const XButtonEvent& event, PlatformEventSink& sink);
    void deliverKey(XKeyEvent& event, PlatformEventSink& sink);
    void freeColormap();

    Display* display_;
    Window root_ = 0;
    Visual* visual_ = nullptr;
    Colormap colormap_ = 0;
    bool ownsColormap_ = false;
    GC gc_ = nullptr;
    std::vector<Target> targets_;
    ClickCounter clicks_;
};

} // namespace velmora::toolkit
