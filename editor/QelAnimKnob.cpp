#include "editor/QelAnimKnob.h"

#include "toolkit/controls/StripFrame.h"

#include <algorithm>

namespace velmora::editor {

using namespace toolkit;

QelAnimKnob::QelAnimKnob(const CRect& size, CControlListener* listener, std::int32_t tag,
                         int subPixmaps, CCoord heightOfOneImage, CBitmap background, CPoint offset,
                         const CRect& drawArea)
    : CAnimKnob(size, listener, tag, subPixmaps, heightOfOneImage, std::move(background), offset),
      drawArea_(drawArea) {
    setZoomFactor(kFineZoom);
}

int QelAnimKnob::frameFor(float value) const {
    const int last = std::max(getNumSubPixmaps() - 1, 0);
    // Truncated, in float as the value is held: 0.999 still shows frame 99 of 101.
    const float position = float(last) * std::clamp(value, 0.0f, 1.0f);
    return std::clamp(static_cast<int>(position), 0, last);
}

void QelAnimKnob::draw(CDrawContext& context) {
    drawStripFrame(context, getBackground(), drawArea_, frameFor(getValueNormalized()),
                   getHeightOfOneImage(), getOffset());
    setDirty(false);
}

} // namespace velmora::editor
