#include "editor/CPSOnOffButton.h"

#include "editor/PresetBarFrames.h"
#include "toolkit/controls/StripFrame.h"

namespace velmora::editor {

using namespace toolkit;

void CPSOnOffButton::draw(CDrawContext& context) {
    const int frame = isOn(getValue()) ? kPressedFrame : isHovered() ? kHoverFrame : kRestingFrame;
    const CCoord frameHeight = getBackground().getHeight() / CCoord(kButtonFrames);
    drawStripFrame(context, getBackground(), getViewSize(), frame, frameHeight);
}

CMouseEventResult CPSOnOffButton::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    setValue(1.0f - getValue());
    valueChanged();
    invalid();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

} // namespace velmora::editor
