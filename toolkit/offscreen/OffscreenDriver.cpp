#include "toolkit/offscreen/OffscreenDriver.h"

#include "toolkit/offscreen/PngWriter.h"

namespace velmora::toolkit {

OffscreenDriver::OffscreenDriver(CFrame& frame, const OffscreenWindow::Options& options)
    : frame_(frame) {
    auto window = std::make_unique<OffscreenWindow>(options);
    OffscreenWindow* raw = window.get();
    if (frame_.open(nullptr, std::move(window))) window_ = raw;
}

// Translates a frame point into the coordinates of whichever window gets the pointer.
PlatformEventSink& OffscreenDriver::sinkFor(CPoint& where) const {
    if (const OffscreenPopup* popup = window_->topPopup()) {
        const CPoint origin = window_->originOnScreen();
        where =
            where.offset(origin.x - popup->screenArea().left, origin.y - popup->screenArea().top);
        return popup->sink();
    }
    return *window_->sink();
}

void OffscreenDriver::press(CPoint where, CButtonState buttons) {
    sinkFor(where).platformMouseDown(where, buttons);
}

void OffscreenDriver::moveTo(CPoint where, CButtonState buttons) {
    sinkFor(where).platformMouseMoved(where, buttons);
}

void OffscreenDriver::release(CPoint where, CButtonState buttons) {
    sinkFor(where).platformMouseUp(where, buttons);
}

void OffscreenDriver::click(CPoint where, CButtonState buttons) {
    press(where, buttons);
    release(where, buttons);
}

void OffscreenDriver::doubleClick(CPoint where, CButtonState buttons) {
    click(where, buttons);
    click(where, CButtonState(buttons.flags() | kDoubleClick));
}

void OffscreenDriver::drag(CPoint from, CPoint to, CButtonState buttons, int steps) {
    press(from, buttons);
    for (int i = 1; i <= steps; ++i) {
        const double t = double(i) / steps;
        moveTo({from.x + (to.x - from.x) * t, from.y + (to.y - from.y) * t}, buttons);
    }
    release(to, buttons);
}

void OffscreenDriver::leave() {
    window_->sink()->platformMouseExited();
}

void OffscreenDriver::scroll(CPoint where, float distance, CButtonState modifiers) {
    sinkFor(where).platformWheel(where, distance, modifiers);
}

void OffscreenDriver::type(std::string_view latin1, std::uint32_t modifiers) {
    for (const char c : latin1)
        window_->sink()->platformKeyDown(
            {static_cast<unsigned char>(c), VirtualKey::none, modifiers});
}

bool OffscreenDriver::key(VirtualKey key, std::uint32_t modifiers) {
    return window_->sink()->platformKeyDown({0, key, modifiers});
}

bool OffscreenDriver::writePng(const std::filesystem::path& path) const {
    return writePngFile(path, shown());
}

CRect OffscreenDriver::popupRect() const {
    const OffscreenPopup* popup = window_->topPopup();
    if (!popup) return {};
    const CPoint origin = window_->originOnScreen();
    return popup->screenArea().toRect().offset(-origin.x, -origin.y);
}

} // namespace velmora::toolkit
