// A window backend without a screen: presented pixels land in a framebuffer of its own, events
// are injected by the caller (OffscreenDriver). Pop-ups are framebuffers placed on an imagined
// screen. Tests read back exactly what a real window would have shown.
#pragma once

#include "toolkit/PlatformWindow.h"

#include <vector>

namespace velmora::toolkit {

class OffscreenWindow;

class OffscreenPopup final : public PlatformPopup {
  public:
    OffscreenPopup(OffscreenWindow& owner, const PixelRect& screenArea, PlatformEventSink& sink);
    ~OffscreenPopup() override;
    void present(const Framebuffer& pixels, const PixelRect& area) override;

    const PixelRect& screenArea() const { return screenArea_; }
    PlatformEventSink& sink() const { return sink_; }
    const Framebuffer& shown() const { return shown_; }

  private:
    OffscreenWindow& owner_;
    PixelRect screenArea_;
    PlatformEventSink& sink_;
    Framebuffer shown_;
};

class OffscreenWindow final : public PlatformWindow {
  public:
    struct Options {
        PixelRect screen{0, 0, 1920, 1080};
        CPoint origin{100, 100}; // the window's top-left corner on that screen
    };

    OffscreenWindow() : OffscreenWindow(Options{}) {}
    explicit OffscreenWindow(const Options& options) : options_(options) {}

    bool open(void* parent, int width, int height, PlatformEventSink& sink) override;
    void present(const Framebuffer& pixels, const PixelRect& area) override;
    void pumpEvents() override {}
    PixelRect screenBounds() const override { return options_.screen; }
    CPoint originOnScreen() const override { return options_.origin; }
    std::unique_ptr<PlatformPopup> openPopup(const PixelRect& screenArea,
                                             PlatformEventSink& sink) override;
    void takeKeyboardFocus() override;

    PlatformEventSink* sink() const { return sink_; }
    const Framebuffer& shown() const { return shown_; }
    // Every area presented since the last clearPresented, in order.
    const std::vector<PixelRect>& presented() const { return presented_; }
    void clearPresented() { presented_.clear(); }
    // The pop-up opened last and still open, or null.
    OffscreenPopup* topPopup() const { return popups_.empty() ? nullptr : popups_.back(); }
    bool hasKeyboardFocus() const { return keyboardFocus_; }

  private:
    friend class OffscreenPopup;

    Options options_;
    PlatformEventSink* sink_ = nullptr;
    Framebuffer shown_;
    std::vector<PixelRect> presented_;
    std::vector<OffscreenPopup*> popups_;
    bool keyboardFocus_ = false;
};

} // namespace velmora::toolkit
