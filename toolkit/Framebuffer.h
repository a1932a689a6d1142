// The one surface everything is drawn into: opaque 32-bit pixels, rows top to bottom.
#pragma once

#include "toolkit/Color.h"
#include "toolkit/Geometry.h"

#include <span>
#include <vector>

namespace velmora::toolkit {

class Framebuffer {
  public:
    Framebuffer() = default;
    Framebuffer(int width, int height, Pixel fill = packPixel(255, 0, 0, 0));

    int width() const { return width_; }
    int height() const { return height_; }
    PixelRect bounds() const { return {0, 0, width_, height_}; }

    std::span<Pixel> row(int y) {
        return {pixels_.data() + std::size_t(y) * width_, std::size_t(width_)};
    }
    std::span<const Pixel> row(int y) const {
        return {pixels_.data() + std::size_t(y) * width_, std::size_t(width_)};
    }
    Pixel pixel(int x, int y) const { return pixels_[std::size_t(y) * width_ + x]; }
    std::span<const Pixel> pixels() const { return pixels_; }

    // Copies the given area from another framebuffer of the same size.
    void copyFrom(const Framebuffer& source, const PixelRect& area);

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Pixel> pixels_;
};

} // namespace velmora::toolkit
