#include "toolkit/x11/X11Window.h"

#include "toolkit/x11/X11Display.h"

#include <algorithm>
#include <cstdint>

namespace velmora::toolkit {

// A pop-up may outlive its window (a menu destroyed after its frame closed): the window then
// closes it first and cuts it loose, and the pop-up has nothing left to do.
class X11Popup final : public PlatformPopup {
  public:
    X11Popup(X11Window& owner, Window window) : owner_(&owner), window_(window) {
        owner.popups_.push_back(this);
    }
    ~X11Popup() override {
        if (owner_) owner_->closePopup(*this);
    }
    X11Popup(const X11Popup&) = delete;
    X11Popup& operator=(const X11Popup&) = delete;

    void present(const Framebuffer& pixels, const PixelRect& area) override {
        if (owner_) owner_->display_->put(window_, pixels, area);
    }

    Window window() const { return window_; }
    void cutLoose() { owner_ = nullptr; }

  private:
    X11Window* owner_;
    Window window_;
};

X11Window::X11Window() = default;

X11Window::~X11Window() {
    for (X11Popup* popup : popups_) {
        popup->cutLoose();
        if (display_) display_->destroyWindow(popup->window());
    }
    if (display_) display_->destroyWindow(window_);
}

bool X11Window::open(void* parent, int width, int height, PlatformEventSink& sink) {
    if (display_) return false;
    auto display = X11Display::connect();
    const auto parentWindow = static_cast<Window>(reinterpret_cast<std::uintptr_t>(parent));
    if (!display || !display->prepareFor(parentWindow)) return false;
    const Window window = display->createWindow(parentWindow, {0, 0, width, height}, sink, false);
    if (!window) return false;
    display->map(window, false);
    display_ = std::move(display);
    window_ = window;
    return true;
}

void X11Window::present(const Framebuffer& pixels, const PixelRect& area) {
    if (display_) display_->put(window_, pixels, area);
}

void X11Window::pumpEvents() {
    if (display_) display_->deliverEvents();
}

PixelRect X11Window::screenBounds() const {
    return display_ ? display_->rootArea() : PixelRect{};
}

CPoint X11Window::originOnScreen() const {
    return display_ ? display_->positionOnRoot(window_) : CPoint{};
}

std::unique_ptr<PlatformPopup> X11Window::openPopup(const PixelRect& screenArea,
                                                    PlatformEventSink& sink) {
    if (!display_) return nullptr;
    const Window window = display_->createWindow(display_->root(), screenArea, sink, true);
    if (!window) return nullptr;
    display_->map(window, true);
    // Without the grab a click outside would go unseen and the pop-up stay open; Escape
    // still closes it then.
    display_->grabPointer(window);
    return std::make_unique<X11Popup>(*this, window);
}

void X11Window::closePopup(X11Popup& popup) {
    std::erase(popups_, &popup);
    display_->ungrabPointer();
    display_->destroyWindow(popup.window());
}

void X11Window::takeKeyboardFocus() {
    if (display_) display_->focus(window_);
}

unsigned long X11Window::windowId() const {
    return display_ && display_->exists(window_) ? window_ : 0;
}

} // namespace velmora::toolkit

namespace velmora::toolkit {

std::unique_ptr<PlatformWindow> createPlatformWindow() {
    return std::make_unique<X11Window>();
}

} // namespace velmora::toolkit
