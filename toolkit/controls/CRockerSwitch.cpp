#include "toolkit/controls/CRockerSwitch.h"

#include "toolkit/controls/StripFrame.h"

namespace velmora::toolkit {

CRockerSwitch::CRockerSwitch(const CRect& size, CControlListener* listener, std::int32_t tag,
                             CCoord heightOfOneImage, CBitmap background, CPoint offset)
    : CControl(size, listener, tag, std::move(background)), heightOfOneImage_(heightOfOneImage),
      offset_(offset) {
    setMin(-1);
    setMax(1);
    setValue(0);
    setDefaultValue(0);
}

void CRockerSwitch::draw(CDrawContext& context) {
    const int frame = getValue() < 0 ? 0 : (getValue() > 0 ? 2 : 1);
    drawStripFrame(context, getBackground(), getViewSize(), frame, heightOfOneImage_, offset_);
}

void CRockerSwitch::set(float value) {
    if (getValue() == value) return;
    setValue(value);
    valueChanged();
    invalid();
}

CMouseEventResult CRockerSwitch::onMouseDown(CPoint& where, const CButtonState& buttons) {
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    pressed_ = true;
    beginEdit();
    set(where.x < getViewSize().getCenter().x ? getMin() : getMax());
    return kMouseEventHandled;
}

CMouseEventResult CRockerSwitch::onMouseUp(CPoint&, const CButtonState&) {
    if (!pressed_) return kMouseEventNotHandled;
    pressed_ = false;
    set(0);
    endEdit();
    return kMouseEventHandled;
}

} // namespace velmora::toolkit
