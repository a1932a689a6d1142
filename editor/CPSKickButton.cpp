#include "editor/CPSKickButton.h"

#include "editor/PresetBarFrames.h"
#include "toolkit/controls/StripFrame.h"

namespace velmora::editor {

using namespace toolkit;

void CPSKickButton::draw(CDrawContext& context) {
    const int frame = getValue() != 0 ? kPressedFrame : isHovered() ? kHoverFrame : kRestingFrame;
    drawStripFrame(context, getBackground(), getViewSize(), frame, getHeightOfOneImage());
}

CMouseEventResult CPSKickButton::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    if (doubleClickOnly_ && !buttons.isDoubleClick()) return kMouseEventNotHandled;
    setValue(doubleClickOnly_ && buttons.has(kControl) ? kControlValue : 1.0f);
    valueChanged();
    invalid();
    return kMouseEventHandled;
}

// The press has acted; moving while held changes nothing.
CMouseEventResult CPSKickButton::onMouseMoved(CPoint&, const CButtonState&) {
    return kMouseEventHandled;
}

CMouseEventResult CPSKickButton::onMouseUp(CPoint&, const CButtonState&) {
    setValue(0);
    invalid();
    return kMouseEventHandled;
}

} // namespace velmora::editor
