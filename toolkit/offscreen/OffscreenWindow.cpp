#include "toolkit/offscreen/OffscreenWindow.h"

#include <algorithm>

namespace velmora::toolkit {

OffscreenPopup::OffscreenPopup(OffscreenWindow& owner, const PixelRect& screenArea,
                               PlatformEventSink& sink)
    : owner_(owner), screenArea_(screenArea), sink_(sink),
      shown_(screenArea.width(), screenArea.height()) {
    owner_.popups_.push_back(this);
}

OffscreenPopup::~OffscreenPopup() {
    std::erase(owner_.popups_, this);
}

void OffscreenPopup::present(const Framebuffer& pixels, const PixelRect& area) {
    shown_.copyFrom(pixels, area);
}

bool OffscreenWindow::open(void*, int width, int height, PlatformEventSink& sink) {
    if (width <= 0 || height <= 0) return false;
    sink_ = &sink;
    shown_ = Framebuffer(width, height);
    return true;
}

void OffscreenWindow::present(const Framebuffer& pixels, const PixelRect& area) {
    shown_.copyFrom(pixels, area);
    presented_.push_back(area);
}

std::unique_ptr<PlatformPopup> OffscreenWindow::openPopup(const PixelRect& screenArea,
                                                          PlatformEventSink& sink) {
    if (screenArea.isEmpty()) return nullptr;
    return std::make_unique<OffscreenPopup>(*this, screenArea, sink);
}

void OffscreenWindow::takeKeyboardFocus() {
    keyboardFocus_ = true;
    if (sink_) sink_->platformFocusChanged(true);
}

} // namespace velmora::toolkit
