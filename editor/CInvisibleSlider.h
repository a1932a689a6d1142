// A drag-and-wheel area that draws nothing, lying over artwork that shows what it sets (the
// delay time, the LFO rate, the tempo). Dragging moves the value by a step per pixel, vertical
// movement fully and horizontal movement half: 1000 pixels sweep the range, 4000 with Shift.
// Pressing or releasing Shift mid-drag changes the step from there on without a jump, to the
// same fine step as Shift held from the press. Every move tells the listener, changed or not.
#pragma once

#include "toolkit/CControl.h"

namespace velmora::editor {

class CInvisibleSlider : public toolkit::CControl {
  public:
    static constexpr float kCoarsePixels = 1000;
    static constexpr float kFinePixels = 4000;
    static constexpr float kWheelStep = 0.005f;
    static constexpr float kFineWheelStep = 0.0003f;

    CInvisibleSlider(const toolkit::CRect& size, toolkit::CControlListener* listener,
                     std::int32_t tag)
        : CControl(size, listener, tag) {}

    void draw(toolkit::CDrawContext& context) override;
    toolkit::CMouseEventResult onMouseDown(toolkit::CPoint& where,
                                           const toolkit::CButtonState& buttons) override;
    toolkit::CMouseEventResult onMouseMoved(toolkit::CPoint& where,
                                            const toolkit::CButtonState& buttons) override;
    toolkit::CMouseEventResult onMouseUp(toolkit::CPoint& where,
                                         const toolkit::CButtonState& buttons) override;
    bool onWheel(const toolkit::CPoint& where, float distance,
                 const toolkit::CButtonState& buttons) override;

    bool isDragging() const { return dragging_; }

  private:
    float stepFor(const toolkit::CButtonState& buttons) const;
    double pixelsFromStart(const toolkit::CPoint& where) const;

    bool dragging_ = false;
    float startValue_ = 0;
    float step_ = 0;
    toolkit::CButtonState anchoredButtons_;
    toolkit::CPoint startPoint_;
};

} // namespace velmora::editor
