#include "toolkit/Framebuffer.h"

#include <algorithm>

namespace velmora::toolkit {

Framebuffer::Framebuffer(int width, int height, Pixel fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(std::size_t(width_) * height_, fill) {}

void Framebuffer::copyFrom(const Framebuffer& source, const PixelRect& area) {
    const PixelRect r = area.intersect(bounds()).intersect(source.bounds());
    for (int y = r.top; y < r.bottom; ++y) {
        const auto from = source.row(y).subspan(r.left, r.width());
        std::ranges::copy(from, row(y).begin() + r.left);
    }
}

} // namespace velmora::toolkit
