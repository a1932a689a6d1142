// Drives a frame on the offscreen backend the way a user would: presses, drags, wheel turns and
// typing in frame coordinates, and reads back values and presented pixels. While a pop-up is
// open the pointer belongs to it, as it does on a real screen: gestures go to the pop-up in its
// own coordinates, and a press outside it arrives there as a press outside.
#pragma once

#include "toolkit/CFrame.h"
#include "toolkit/offscreen/OffscreenWindow.h"

#include <filesystem>
#include <string_view>

namespace velmora::toolkit {

class OffscreenDriver {
  public:
    explicit OffscreenDriver(CFrame& frame, const OffscreenWindow::Options& options = {});

    bool isOpen() const { return window_ != nullptr; }
    OffscreenWindow& window() const { return *window_; }

    void press(CPoint where, CButtonState buttons = kLButton);
    void moveTo(CPoint where, CButtonState buttons = {});
    void release(CPoint where, CButtonState buttons = kLButton);
    void click(CPoint where, CButtonState buttons = kLButton);
    void doubleClick(CPoint where, CButtonState buttons = kLButton);
    // Press at `from`, move in `steps` equal steps to `to`, release there.
    void drag(CPoint from, CPoint to, CButtonState buttons = kLButton, int steps = 10);
    void leave();
    void scroll(CPoint where, float distance, CButtonState modifiers = {});
    // Each byte of `latin1` as one typed character.
    void type(std::string_view latin1, std::uint32_t modifiers = 0);
    bool key(VirtualKey key, std::uint32_t modifiers = 0);

    // The frame's idle: redraws and presents what changed.
    void idle() { frame_.idle(); }
    Pixel pixel(int x, int y) const { return window_->shown().pixel(x, y); }
    const Framebuffer& shown() const { return window_->shown(); }
    bool writePng(const std::filesystem::path& path) const;

    bool popupOpen() const { return window_->topPopup() != nullptr; }
    // The open pop-up's place in frame coordinates (it may reach outside the frame).
    CRect popupRect() const;
    Pixel popupPixel(int x, int y) const { return window_->topPopup()->shown().pixel(x, y); }

  private:
    PlatformEventSink& sinkFor(CPoint& where) const;

    CFrame& frame_;
    OffscreenWindow* window_ = nullptr;
};

} // namespace velmora::toolkit
