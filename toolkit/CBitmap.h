// A bitmap as views hold it: a shared handle to decoded pixels. Copies share the pixels; they
// are freed with the last handle.
#pragma once

#include "toolkit/Pixmap.h"

#include <memory>

namespace velmora::toolkit {

class CBitmap {
  public:
    CBitmap() = default;
    CBitmap(int resourceId, std::shared_ptr<const Pixmap> pixels)
        : resourceId_(resourceId), pixels_(std::move(pixels)) {}

    bool isLoaded() const { return pixels_ != nullptr; }
    int getResourceId() const { return resourceId_; }
    int getWidth() const { return pixels_ ? pixels_->width : 0; }
    int getHeight() const { return pixels_ ? pixels_->height : 0; }
    const Pixmap* pixmap() const { return pixels_.get(); }
    // How many handles share these pixels (cache entries do not count).
    long useCount() const { return pixels_.use_count(); }

  private:
    int resourceId_ = -1;
    std::shared_ptr<const Pixmap> pixels_;
};

} // namespace velmora::toolkit
