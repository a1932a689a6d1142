#include "toolkit/controls/CMultiPositionSwitch.h"

#include "toolkit/controls/StripFrame.h"

#include <algorithm>
#include <cmath>

namespace velmora::toolkit {

CMultiPositionSwitch::CMultiPositionSwitch(const CRect& size, CControlListener* listener,
                                           std::int32_t tag, int subPixmaps,
                                           CCoord heightOfOneImage, int positions,
                                           CBitmap background, CPoint offset)
    : CControl(size, listener, tag, std::move(background)), subPixmaps_(subPixmaps),
      heightOfOneImage_(heightOfOneImage), positions_(std::max(positions, 1)), offset_(offset) {}

void CMultiPositionSwitch::draw(CDrawContext& context) {
    drawStripFrame(context, getBackground(), getViewSize(),
                   roundedFrame(getValueNormalized(), subPixmaps_), heightOfOneImage_, offset_);
}

void CMultiPositionSwitch::select(const CPoint& where) {
    const int position = std::clamp(positionAt(where), 0, positions_ - 1);
    const float before = getValue();
    const float normalized = positions_ > 1 ? float(position) / float(positions_ - 1) : 0.0f;
    setValue(getMin() + normalized * getRange());
    bounceValue();
    if (getValue() != before) {
        valueChanged();
        invalid();
    }
}

CMouseEventResult CMultiPositionSwitch::onMouseDown(CPoint& where, const CButtonState& buttons) {
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    if (checkDefaultValue(buttons)) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    dragging_ = true;
    beginEdit();
    select(where);
    return kMouseEventHandled;
}

CMouseEventResult CMultiPositionSwitch::onMouseMoved(CPoint& where, const CButtonState&) {
    if (!dragging_) return kMouseEventNotHandled;
    select(where);
    return kMouseEventHandled;
}

CMouseEventResult CMultiPositionSwitch::onMouseUp(CPoint&, const CButtonState&) {
    if (!dragging_) return kMouseEventNotHandled;
    dragging_ = false;
    endEdit();
    return kMouseEventHandled;
}

int CHorizontalSwitch::positionAt(const CPoint& where) const {
    const CCoord width =
        getBackground().isLoaded() ? getBackground().getWidth() : getViewSize().getWidth();
    const CCoord zone = width / getNumPositions();
    return zone > 0 ? static_cast<int>(std::floor((where.x - getViewSize().left) / zone)) : 0;
}

int CVerticalSwitch::positionAt(const CPoint& where) const {
    const CCoord zone = getViewSize().getHeight() / getNumPositions();
    return zone > 0 ? static_cast<int>(std::floor((where.y - getViewSize().top) / zone)) : 0;
}

} // namespace velmora::toolkit
