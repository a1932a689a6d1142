#pragma once

#include "resources/Bitmaps.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace velmora::resources::testing {

// Reads the header fields and pixels of an embedded BMP file the way a decoder would, with
// frames counted from the top of the strip.
class BitmapView {
  public:
    struct Pixel {
        int r, g, b, a;
        int brightest() const { return r > g ? (r > b ? r : b) : (g > b ? g : b); }
    };

    BitmapView(int id, int frameHeight) : bytes_(bitmapBytes(id)), frameHeight_(frameHeight) {}

    std::span<const std::byte> bytes() const { return bytes_; }
    std::uint16_t read16(std::size_t at) const {
        return static_cast<std::uint16_t>(byte(at) | byte(at + 1) << 8);
    }
    std::uint32_t read32(std::size_t at) const {
        return static_cast<std::uint32_t>(byte(at)) |
               static_cast<std::uint32_t>(byte(at + 1)) << 8 |
               static_cast<std::uint32_t>(byte(at + 2)) << 16 |
               static_cast<std::uint32_t>(byte(at + 3)) << 24;
    }

    std::uint32_t pixelOffset() const { return read32(10); }
    int width() const { return static_cast<std::int32_t>(read32(18)); }
    int height() const { return static_cast<std::int32_t>(read32(22)); }
    int bitsPerPixel() const { return read16(28); }
    std::size_t stride() const {
        return (static_cast<std::size_t>(width()) * bitsPerPixel() / 8 + 3) & ~std::size_t{3};
    }
    int frames() const { return height() / frameHeight_; }

    // Rows are stored bottom-up, so frame f (from the top) is one contiguous block.
    std::span<const std::byte> frameBytes(int frame) const {
        const std::size_t size = stride() * frameHeight_;
        return bytes_.subspan(pixelOffset() + (frames() - 1 - frame) * size, size);
    }

    Pixel pixel(int frame, int x, int y) const {
        const int row = height() - 1 - (frame * frameHeight_ + y);
        const std::size_t at = pixelOffset() + row * stride() + x * (bitsPerPixel() / 8);
        return Pixel{byte(at + 2), byte(at + 1), byte(at),
                     bitsPerPixel() == 32 ? byte(at + 3) : 255};
    }

  private:
    int byte(std::size_t at) const { return std::to_integer<int>(bytes_[at]); }

    std::span<const std::byte> bytes_;
    int frameHeight_;
};

} // namespace velmora::resources::testing
