#include "editor/CSaveLoadButton.h"

#include "editor/PresetBarFrames.h"
#include "toolkit/controls/StripFrame.h"

namespace velmora::editor {

using namespace toolkit;

void CSaveLoadButton::draw(CDrawContext& context) {
    const int frame = getValue() != 0 ? kPressedFrame : isHovered() ? kHoverFrame : kRestingFrame;
    drawStripFrame(context, getBackground(), getViewSize(), frame, getHeightOfOneImage());
}

CMouseEventResult CSaveLoadButton::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (!buttons.isLeftButton() && !buttons.isRightButton()) return kMouseEventNotHandled;
    setValue(buttons.isExactly(kRButton) ? kReversedValue : 1.0f);
    valueChanged();
    setValue(0);
    invalid();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

} // namespace velmora::editor
