#include "toolkit/controls/CKnob.h"

#include "toolkit/CFrame.h"
#include "toolkit/controls/StripFrame.h"

#include <cmath>
#include <numbers>

namespace velmora::toolkit {

CKnob::CKnob(const CRect& size, CControlListener* listener, std::int32_t tag, CBitmap background)
    : CControl(size, listener, tag, std::move(background)) {}

void CKnob::anchor(const CPoint& where, const CButtonState& buttons) {
    firstPoint_ = where;
    startValue_ = getValue();
    modifiers_ = buttons.getModifierState();
}

CMouseEventResult CKnob::onMouseDown(CPoint& where, const CButtonState& buttons) {
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    if (checkDefaultValue(buttons)) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    const bool frameLinear = getFrame() && getFrame()->getKnobMode() == kLinearMode;
    linear_ = buttons.has(kAlt) ? !frameLinear : frameLinear;
    dragging_ = true;
    anchor(where, buttons);
    beginEdit();
    return kMouseEventHandled;
}

CMouseEventResult CKnob::onMouseMoved(CPoint& where, const CButtonState& buttons) {
    if (!dragging_) return kMouseEventNotHandled;
    const float before = getValue();
    if (linear_) {
        // A modifier pressed or released mid-drag changes the sensitivity from here on; the
        // value continues from where it is.
        if (buttons.getModifierState() != modifiers_) anchor(where, buttons);
        const double pixels = (firstPoint_.y - where.y) + (where.x - firstPoint_.x);
        const double sweep = kLinearSweep * (buttons.has(kShift) ? zoomFactor_ : 1.0f);
        setValue(static_cast<float>(startValue_ + pixels * getRange() / sweep));
    } else {
        setValue(getMin() + valueFromPoint(where, getValueNormalized()) * getRange());
    }
    bounceValue();
    if (getValue() != before) {
        valueChanged();
        invalid();
    }
    return kMouseEventHandled;
}

CMouseEventResult CKnob::onMouseUp(CPoint&, const CButtonState&) {
    if (!dragging_) return kMouseEventNotHandled;
    dragging_ = false;
    endEdit();
    return kMouseEventHandled;
}

bool CKnob::onWheel(const CPoint&, float distance, const CButtonState& buttons) {
    const float before = getValue();
    const float step = getWheelInc() * (buttons.has(kShift) ? 0.1f : 1.0f);
    setValue(before + distance * step * getRange());
    bounceValue();
    const float after = getValue();
    if (after != before) {
        setValue(before);
        beginEdit(); // the edit opens on the old value, as a drag's does
        setValue(after);
        valueChanged();
        endEdit();
        invalid();
    }
    return true;
}

float CKnob::valueFromPoint(const CPoint& where, float current) const {
    const CPoint centre = getViewSize().getCenter();
    const double pointer = std::atan2(centre.y - where.y, where.x - centre.x);
    const double twoPi = 2 * std::numbers::pi;
    // Angle travelled clockwise from the start, in 0..2 pi.
    const double travelled = std::fmod(kStartAngle - pointer + 2 * twoPi, twoPi);
    const double sweep = -kRangeAngle;
    double v = travelled / sweep;
    if (v > 1) // in the gap below the knob: the nearer end
        v = (travelled - sweep) < (twoPi - travelled) ? 1 : 0;
    if (std::abs(v - current) > 0.5) v = current < 0.5f ? 0 : 1;
    return static_cast<float>(v);
}

CAnimKnob::CAnimKnob(const CRect& size, CControlListener* listener, std::int32_t tag,
                     int subPixmaps, CCoord heightOfOneImage, CBitmap background, CPoint offset)
    : CKnob(size, listener, tag, std::move(background)), subPixmaps_(subPixmaps),
      heightOfOneImage_(heightOfOneImage), offset_(offset) {}

void CAnimKnob::draw(CDrawContext& context) {
    drawStripFrame(context, getBackground(), getViewSize(),
                   roundedFrame(getValueNormalized(), subPixmaps_), heightOfOneImage_, offset_);
}

} // namespace velmora::toolkit
