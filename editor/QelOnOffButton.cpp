#include "editor/QelOnOffButton.h"

#include "toolkit/controls/StripFrame.h"

namespace velmora::editor {

using namespace toolkit;

// Upper half off, lower half on.
void QelOnOffButton::draw(CDrawContext& context) {
    const CCoord frameHeight = getBackground().getHeight() / 2;
    drawStripFrame(context, getBackground(), getViewSize(), isOn(getValue()) ? 1 : 0, frameHeight);
    setDirty(false);
}

CMouseEventResult QelOnOffButton::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (!buttons.isLeftButton() && !buttons.isRightButton()) return kMouseEventNotHandled;
    beginEdit();
    setValue(isOn(getValue()) ? kOffValue : kOnValue);
    modifierClick_ = buttons.has(kControl) || buttons.isRightButton();
    valueChanged();
    modifierClick_ = false;
    endEdit();
    invalid();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

} // namespace velmora::editor
