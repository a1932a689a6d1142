#include "toolkit/controls/COnOffButton.h"

#include "toolkit/controls/StripFrame.h"

namespace velmora::toolkit {

COnOffButton::COnOffButton(const CRect& size, CControlListener* listener, std::int32_t tag,
                           CBitmap background)
    : CControl(size, listener, tag, std::move(background)) {
    setValue(getMin());
}

void COnOffButton::draw(CDrawContext& context) {
    drawStripFrame(context, getBackground(), getViewSize(), getValue() == getMax() ? 1 : 0,
                   getViewSize().getHeight());
}

CMouseEventResult COnOffButton::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    beginEdit();
    setValue(getValue() == getMax() ? getMin() : getMax());
    valueChanged();
    endEdit();
    invalid();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

} // namespace velmora::toolkit
