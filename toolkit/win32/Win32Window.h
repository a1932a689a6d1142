// The Win32 backend: the frame's child window inside the host's parent HWND, presented with
// GDI from the frame's framebuffer, and its pop-ups as topmost windows that hold the mouse
// while open.
//
// Messages reach the window procedure through the host's own message loop, on the UI thread,
// often from inside calls we make ourselves (SetCapture, SetFocus and CreateWindowEx send
// messages before they return). So the procedure only translates and queues; the sinks hear
// of them from pumpEvents, never re-entered from inside one of their own calls, exactly as
// with the X11 backend. Keys a sink does not use are posted on to the parent window then.
//
// Closing leaves nothing behind: the windows go with this object (unless the host destroyed
// them first, with its parent), and the window class with the last editor of the module.
#pragma once

#include "toolkit/PlatformWindow.h"
#include "toolkit/win32/Win32WindowClass.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace velmora::toolkit {

class Win32Popup;

class Win32Window final : public PlatformWindow {
  public:
    Win32Window();
    ~Win32Window() override;
    Win32Window(const Win32Window&) = delete;
    Win32Window& operator=(const Win32Window&) = delete;

    // `parent` is the host's HWND. Fails when it is no window or no window can be made.
    bool open(void* parent, int width, int height, PlatformEventSink& sink) override;
    void present(const Framebuffer& pixels, const PixelRect& area) override;
    void pumpEvents() override;
    PixelRect screenBounds() const override;
    CPoint originOnScreen() const override;
    std::unique_ptr<PlatformPopup> openPopup(const PixelRect& screenArea,
                                             PlatformEventSink& sink) override;
    void takeKeyboardFocus() override;

    // The child window; null before open and once destroyed (by us or with the host's parent).
    HWND handle() const { return window_; }

  private:
    friend class Win32Popup;

    struct Target {
        HWND window;
        PlatformEventSink* sink;
    };

    enum class EventKind { mouseDown, mouseMoved, mouseUp, mouseExited, wheel, key, expose, focus };

    // The message a key came from, posted on to the parent when no sink used the key.
    struct SourceMessage {
        UINT message = 0;
        WPARAM wParam = 0;
        LPARAM lParam = 0;
    };

    struct PendingEvent {
        HWND window = nullptr;
        EventKind kind = EventKind::mouseMoved;
        CPoint where;
        CButtonState buttons;
        float distance = 0;
        KeyEvent key;
        SourceMessage source;
        PixelRect area;
        bool hasFocus = false;
    };

    static PendingEvent pendingEvent(HWND window, EventKind kind);
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool handleMouse(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool handleKey(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Whether a WM_CHAR (or dead key) for the window waits in the queue.
    static bool characterQueued(HWND window);
    // The character a key press types, queued as if its WM_CHAR had come; a press that types
    // nothing here goes to the host.
    void queueTypedKey(HWND window, const SourceMessage& source);
    void queuePaint(HWND window);
    void queueWheel(HWND window, WPARAM wParam, LPARAM lParam);
    void queuePointer(HWND window, EventKind kind, CPoint where, CButtonState buttons);
    void queueKey(HWND window, const KeyEvent& key, const SourceMessage& source);
    void queue(const PendingEvent& event);
    void deliver(const PendingEvent& event, PlatformEventSink& sink);

    HWND createWindow(HWND parent, DWORD style, DWORD extendedStyle, const PixelRect& area,
                      PlatformEventSink& sink);
    void destroyWindow(HWND window);
    Target* find(HWND window);
    void show(HWND window, const Framebuffer& pixels, const PixelRect& area);
    void closePopup(Win32Popup& popup);

    Win32WindowClass class_; // first in, last out: it outlives every window made of it
    HWND parent_ = nullptr;
    HWND window_ = nullptr;
    std::vector<Target> targets_;
    std::vector<PendingEvent> pending_;
    std::vector<PendingEvent> delivering_;
    std::vector<Win32Popup*> popups_;
    bool trackingLeave_ = false;
    SourceMessage lastKeyDown_; // names the character of the WM_CHAR that follows it
};

} // namespace velmora::toolkit
