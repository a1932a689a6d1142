// Bitmap strips: frames of equal height stacked vertically in one bitmap.
#pragma once

#include "toolkit/CBitmap.h"
#include "toolkit/CDrawContext.h"

#include <algorithm>
#include <cmath>

namespace velmora::toolkit {

// Paints frame `frame` of the strip into `dest`, `offset` into each frame.
inline void drawStripFrame(CDrawContext& context, const CBitmap& strip, const CRect& dest,
                           int frame, CCoord frameHeight, CPoint offset = {}) {
    if (const Pixmap* pixels = strip.pixmap())
        context.drawPixmap(*pixels, dest, {offset.x, offset.y + frame * frameHeight});
}

// The frame a value in 0..1 selects among `frames`, rounded to the nearest; values outside
// 0..1 show the first or last frame.
inline int roundedFrame(float normalized, int frames) {
    if (frames <= 1) return 0;
    const float clamped = std::clamp(normalized, 0.0f, 1.0f);
    return std::clamp(static_cast<int>(std::lround(clamped * float(frames - 1))), 0, frames - 1);
}

} // namespace velmora::toolkit
