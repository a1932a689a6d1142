#include "editor/CInvisibleSlider.h"

namespace velmora::editor {

using namespace toolkit;

void CInvisibleSlider::draw(CDrawContext&) {
    setDirty(false);
}

float CInvisibleSlider::stepFor(const CButtonState& buttons) const {
    return getRange() / (buttons.has(kShift) ? kFinePixels : kCoarsePixels);
}

// Upward movement counts fully, rightward movement half.
double CInvisibleSlider::pixelsFromStart(const CPoint& where) const {
    return (where.x - startPoint_.x) / 2 + (startPoint_.y - where.y);
}

CMouseEventResult CInvisibleSlider::onMouseDown(CPoint& where, const CButtonState& buttons) {
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    dragging_ = true;
    beginEdit();
    startValue_ = getValue();
    startPoint_ = where;
    anchoredButtons_ = buttons;
    step_ = stepFor(buttons);
    onMouseMoved(where, buttons);
    return kMouseEventHandled;
}

CMouseEventResult CInvisibleSlider::onMouseMoved(CPoint& where, const CButtonState& buttons) {
    if (!dragging_ || !buttons.isLeftButton()) return kMouseEventNotHandled;
    const double pixels = pixelsFromStart(where);
    if (buttons != anchoredButtons_) {
        // Move the anchor so that the value reached so far stays where it is.
        const float newStep = stepFor(buttons);
        startValue_ += static_cast<float>(pixels * (step_ - newStep));
        step_ = newStep;
        anchoredButtons_ = buttons;
    }
    setValue(static_cast<float>(startValue_ + step_ * pixels));
    bounceValue();
    invalid();
    valueChanged();
    return kMouseEventHandled;
}

CMouseEventResult CInvisibleSlider::onMouseUp(CPoint&, const CButtonState&) {
    if (!dragging_) return kMouseEventNotHandled;
    endEdit();
    dragging_ = false;
    return kMouseEventHandled;
}

bool CInvisibleSlider::onWheel(const CPoint&, float distance, const CButtonState& buttons) {
    const float step = buttons.has(kShift) ? kFineWheelStep : kWheelStep;
    setValue(getValue() + distance * step * getRange());
    bounceValue();
    invalid();
    if (getListener()) {
        beginEdit();
        valueChanged();
        endEdit();
    }
    return true;
}

} // namespace velmora::editor
