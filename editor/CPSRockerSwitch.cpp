#include "editor/CPSRockerSwitch.h"

#include "toolkit/controls/StripFrame.h"

namespace velmora::editor {

using namespace toolkit;

namespace {
enum RockerFrame { resting, hoverLeft, hoverRight, pressedDown, pressedUp };
}

int CPSRockerSwitch::frameToShow() const {
    if (getValue() < 0) return pressedDown;
    if (getValue() > 0) return pressedUp;
    if (!isHovered()) return resting;
    return pointerOnLeftHalf() ? hoverLeft : hoverRight;
}

void CPSRockerSwitch::draw(CDrawContext& context) {
    drawStripFrame(context, getBackground(), getViewSize(), frameToShow(), getHeightOfOneImage());
}

CMouseEventResult CPSRockerSwitch::onMouseDown(CPoint& where, const CButtonState& buttons) {
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    followPointer(where);
    setValue(pointerOnLeftHalf() ? -1.0f : 1.0f);
    invalid();
    valueChanged();
    return kMouseEventHandled;
}

CMouseEventResult CPSRockerSwitch::onMouseMoved(CPoint& where, const CButtonState&) {
    followPointer(where);
    return kMouseEventHandled;
}

CMouseEventResult CPSRockerSwitch::onMouseUp(CPoint& where, const CButtonState&) {
    followPointer(where);
    setValue(0);
    invalid();
    return kMouseEventHandled;
}

} // namespace velmora::editor
