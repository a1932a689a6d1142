// What a window backend provides: a child window inside the host's parent window that shows
// parts of the frame's framebuffer and delivers input. The frame does all drawing; a backend
// only presents pixels and translates events. One implementation per platform (X11, Win32)
// plus the offscreen one that tests and the snapshot tool drive by hand.
#pragma once

#include "toolkit/ButtonState.h"
#include "toolkit/Framebuffer.h"
#include "toolkit/Geometry.h"
#include "toolkit/KeyEvent.h"

#include <memory>

namespace velmora::toolkit {

// Receives the events of one window, in that window's pixel coordinates. The frame is the sink
// of its window; an open pop-up is the sink of its own. A pop-up holds the pointer while open,
// so a press outside it arrives with a point outside its size. A sink may close its own pop-up
// from inside one of these calls, so a backend touches the pop-up no more after delivering.
class PlatformEventSink {
  public:
    virtual void platformMouseDown(CPoint where, CButtonState buttons) = 0;
    virtual void platformMouseMoved(CPoint where, CButtonState buttons) = 0;
    virtual void platformMouseUp(CPoint where, CButtonState buttons) = 0;
    virtual void platformMouseExited() = 0;
    // One notch is a distance of 1; positive is away from the user.
    virtual void platformWheel(CPoint where, float distance, CButtonState modifiers) = 0;
    // True when the key was used; unused keys go back to the host where the platform allows.
    virtual bool platformKeyDown(const KeyEvent& key) = 0;
    // The window lost these pixels (uncovered, first shown) and needs them presented again.
    virtual void platformExpose(const PixelRect& area) = 0;
    virtual void platformFocusChanged(bool hasFocus) = 0;

  protected:
    ~PlatformEventSink() = default;
};

// A borderless window above everything (menus), placed in screen coordinates.
class PlatformPopup {
  public:
    virtual ~PlatformPopup() = default; // closes the window
    virtual void present(const Framebuffer& pixels, const PixelRect& area) = 0;
};

class PlatformWindow {
  public:
    virtual ~PlatformWindow() = default; // closes the window and frees everything it holds

    // Creates the child window in `parent` (an X11 Window id or an HWND, as a pointer-sized
    // value); false when that fails.
    virtual bool open(void* parent, int width, int height, PlatformEventSink& sink) = 0;
    // Copies this area of the framebuffer (the frame's size) to the screen.
    virtual void present(const Framebuffer& pixels, const PixelRect& area) = 0;
    // Delivers the queued events to the sinks; called from the frame's idle on the UI thread.
    virtual void pumpEvents() = 0;
    // The screen area pop-ups must fit in, and where the window's top-left corner lies on it.
    virtual PixelRect screenBounds() const = 0;
    virtual CPoint originOnScreen() const = 0;
    // A pop-up at `screenArea`; its events go to `sink`. Null when it cannot be created.
    virtual std::unique_ptr<PlatformPopup> openPopup(const PixelRect& screenArea,
                                                     PlatformEventSink& sink) = 0;
    virtual void takeKeyboardFocus() = 0;
};

// The backend of the platform being built (x11/ or win32/); each defines it once.
std::unique_ptr<PlatformWindow> createPlatformWindow();

} // namespace velmora::toolkit
