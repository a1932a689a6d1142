#include "toolkit/controls/CKickButton.h"

#include "toolkit/controls/StripFrame.h"

namespace velmora::toolkit {

CKickButton::CKickButton(const CRect& size, CControlListener* listener, std::int32_t tag,
                         CCoord heightOfOneImage, CBitmap background, CPoint offset)
    : CControl(size, listener, tag, std::move(background)), heightOfOneImage_(heightOfOneImage),
      offset_(offset) {
    setValue(getMin());
}

void CKickButton::draw(CDrawContext& context) {
    drawStripFrame(context, getBackground(), getViewSize(), getValue() == getMax() ? 1 : 0,
                   heightOfOneImage_, offset_);
}

void CKickButton::press(bool down) {
    const float target = down ? getMax() : getMin();
    if (getValue() == target) return;
    setValue(target);
    valueChanged();
    invalid();
}

CMouseEventResult CKickButton::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    tracking_ = true;
    beginEdit();
    press(true);
    return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseMoved(CPoint& where, const CButtonState& buttons) {
    if (!tracking_) return kMouseEventNotHandled;
    press(buttons.isLeftButton() && hitTest(where));
    return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseUp(CPoint&, const CButtonState&) {
    if (!tracking_) return kMouseEventNotHandled;
    tracking_ = false;
    press(false);
    endEdit();
    return kMouseEventHandled;
}

} // namespace velmora::toolkit
