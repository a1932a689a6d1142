// The X11 backend: the frame's child window inside the host's parent window, on a connection
// of its own (never the host's, whose state stays untouched), and its pop-ups as windows above
// everything that hold the pointer while open. Events are delivered only from pumpEvents, on
// the host's UI thread, and it never waits for one. Closing leaves nothing on the server: the
// windows, the graphics context, the colormap and the connection go with this object, also
// when the host destroyed the parent first.
#pragma once

#include "toolkit/PlatformWindow.h"

#include <memory>
#include <vector>

namespace velmora::toolkit {

class X11Display;
class X11Popup;

class X11Window final : public PlatformWindow {
  public:
    X11Window();
    ~X11Window() override;
    X11Window(const X11Window&) = delete;
    X11Window& operator=(const X11Window&) = delete;

    // `parent` is the X11 Window id. Fails when no display can be opened, the parent does not
    // exist, or its screen cannot show 24-bit colour.
    bool open(void* parent, int width, int height, PlatformEventSink& sink) override;
    void present(const Framebuffer& pixels, const PixelRect& area) override;
    void pumpEvents() override;
    PixelRect screenBounds() const override;
    CPoint originOnScreen() const override;
    std::unique_ptr<PlatformPopup> openPopup(const PixelRect& screenArea,
                                             PlatformEventSink& sink) override;
    void takeKeyboardFocus() override;

    // The child window's X11 id; 0 before open and once the server has destroyed it.
    unsigned long windowId() const;

  private:
    friend class X11Popup;
    void closePopup(X11Popup& popup);

    std::unique_ptr<X11Display> display_;
    unsigned long window_ = 0;
    std::vector<X11Popup*> popups_;
};

} // namespace velmora::toolkit
