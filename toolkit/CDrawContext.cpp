#include "toolkit/CDrawContext.h"

#include <algorithm>
#include <cmath>

namespace velmora::toolkit {

CDrawContext::CDrawContext(Framebuffer& target) : target_(target), clip_(target.bounds()) {}

void CDrawContext::setClipRect(const CRect& clip) {
    clip_ = PixelRect::from(clip).intersect(target_.bounds());
}

void CDrawContext::resetClipRect() {
    clip_ = target_.bounds();
}

void CDrawContext::fillRect(const CRect& rect, const CColor& color) {
    const PixelRect r = PixelRect::from(rect).intersect(clip_);
    const Pixel src = color.premultiplied();
    for (int y = r.top; y < r.bottom; ++y) {
        auto row = target_.row(y).subspan(r.left, r.width());
        if (color.alpha == 255)
            std::ranges::fill(row, src);
        else
            for (auto& p : row)
                p = blendPremultiplied(p, src);
    }
}

void CDrawContext::frameRect(const CRect& rect, const CColor& color, int lineWidth) {
    const PixelRect r = PixelRect::from(rect);
    const int w = std::clamp(lineWidth, 0, std::min(r.width(), r.height()) / 2 + 1);
    if (r.isEmpty() || w == 0) return;
    const auto band = [&](int l, int t, int rr, int b) {
        fillRect(PixelRect{l, t, rr, b}.toRect(), color);
    };
    band(r.left, r.top, r.right, std::min(r.top + w, r.bottom));
    band(r.left, std::max(r.bottom - w, r.top + w), r.right, r.bottom);
    band(r.left, r.top + w, std::min(r.left + w, r.right), r.bottom - w);
    band(std::max(r.right - w, r.left + w), r.top + w, r.right, r.bottom - w);
}

void CDrawContext::drawPixmap(const Pixmap& pixmap, const CRect& dest, CPoint sourceOffset,
                              std::uint8_t alpha) {
    const PixelRect d = PixelRect::from(dest);
    const int sx = static_cast<int>(std::lround(sourceOffset.x));
    const int sy = static_cast<int>(std::lround(sourceOffset.y));
    // The part of `dest` that has source pixels behind it, then the part of that inside the clip.
    const PixelRect covered = d.intersect(
        {d.left - sx, d.top - sy, d.left - sx + pixmap.width, d.top - sy + pixmap.height});
    const PixelRect r = covered.intersect(clip_);
    if (r.isEmpty() || alpha == 0) return;
    const int dx = sx - d.left; // source x = frame x + dx
    const int dy = sy - d.top;
    for (int y = r.top; y < r.bottom; ++y) {
        const Pixel* src =
            pixmap.pixels.data() + std::size_t(y + dy) * pixmap.width + (r.left + dx);
        auto row = target_.row(y).subspan(r.left, r.width());
        if (!pixmap.hasAlpha && alpha == 255) {
            std::copy(src, src + r.width(), row.begin());
            continue;
        }
        for (int x = 0; x < r.width(); ++x) {
            Pixel s = src[x];
            if (alpha != 255)
                s = packPixel(mul255(alphaOf(s), alpha), mul255(redOf(s), alpha),
                              mul255(greenOf(s), alpha), mul255(blueOf(s), alpha));
            row[x] = blendPremultiplied(row[x], s);
        }
    }
}

void CDrawContext::drawCoverage(int x, int y, int width, int height,
                                std::span<const std::uint8_t> coverage, const CColor& color) {
    if (width <= 0 || height <= 0 || coverage.size() < std::size_t(width) * height) return;
    const PixelRect r = PixelRect{x, y, x + width, y + height}.intersect(clip_);
    for (int py = r.top; py < r.bottom; ++py) {
        const std::uint8_t* mask = coverage.data() + std::size_t(py - y) * width + (r.left - x);
        auto row = target_.row(py).subspan(r.left, r.width());
        for (int px = 0; px < r.width(); ++px)
            if (mask[px] != 0) row[px] = blendPremultiplied(row[px], color.premultiplied(mask[px]));
    }
}

} // namespace velmora::toolkit
