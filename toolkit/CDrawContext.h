// Software drawing into a framebuffer, always clipped to the current clip rectangle (itself
// within the framebuffer). Coordinates are frame pixels.
#pragma once

#include "toolkit/Color.h"
#include "toolkit/Framebuffer.h"
#include "toolkit/Geometry.h"
#include "toolkit/Pixmap.h"

#include <cstdint>
#include <span>

namespace velmora::toolkit {

class CDrawContext {
  public:
    explicit CDrawContext(Framebuffer& target);

    void setClipRect(const CRect& clip);
    void resetClipRect();
    CRect getClipRect() const { return clip_.toRect(); }

    // Fills the rectangle; a translucent colour blends over what is there.
    void fillRect(const CRect& rect, const CColor& color);
    // The outline, `lineWidth` pixels wide, inside the rectangle.
    void frameRect(const CRect& rect, const CColor& color, int lineWidth = 1);
    // Paints `dest` from the pixmap starting at `sourceOffset`: the frame of a strip is its
    // vertical offset. The area outside the pixmap is left untouched. `alpha` scales the
    // whole image (255 = as it is); 32-bit sources blend by their own alpha too.
    void drawPixmap(const Pixmap& pixmap, const CRect& dest, CPoint sourceOffset = {},
                    std::uint8_t alpha = 255);
    // Blends a coverage mask (one byte per pixel, `width` per row) in `color` with its top-left
    // corner at (x, y).
    void drawCoverage(int x, int y, int width, int height, std::span<const std::uint8_t> coverage,
                      const CColor& color);

    Framebuffer& target() { return target_; }

  private:
    Framebuffer& target_;
    PixelRect clip_;
};

} // namespace velmora::toolkit
