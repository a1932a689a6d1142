#include "editor/QelKickButton.h"

namespace velmora::editor {

using namespace toolkit;

CMouseEventResult QelKickButton::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    held_ = true;
    setValue(getMax());
    multiplier_ = buttons.has(kControl) ? 100.0f : buttons.has(kShift) ? 10.0f : 1.0f;
    beginEdit();
    invalid();
    valueChanged();
    endEdit();
    return kMouseEventHandled;
}

// The step has happened on the press; moving off the button changes nothing.
CMouseEventResult QelKickButton::onMouseMoved(CPoint&, const CButtonState&) {
    return held_ ? kMouseEventHandled : kMouseEventNotHandled;
}

CMouseEventResult QelKickButton::onMouseUp(CPoint&, const CButtonState&) {
    if (!held_) return kMouseEventNotHandled;
    held_ = false;
    setValue(getMin());
    invalid();
    return kMouseEventHandled;
}

} // namespace velmora::editor
