// A knob: dragging changes the value, in the frame's knob mode. Linear: upward and rightward
// movement add, 200 pixels (times the zoom factor with Shift) sweep the whole range. Circular:
// the value follows the pointer's angle around the centre over three quarters of a turn,
// starting at the lower left. Alt switches to the other mode for one gesture; Control with the
// left button resets to the default.
#pragma once

#include "toolkit/CControl.h"

namespace velmora::toolkit {

class CKnob : public CControl {
  public:
    static constexpr double kLinearSweep = 200; // pixels for the whole range
    static constexpr double kStartAngle = 5 * 3.14159265358979323846 / 4;
    static constexpr double kRangeAngle = -3 * 3.14159265358979323846 / 2;

    CKnob(const CRect& size, CControlListener* listener, std::int32_t tag, CBitmap background = {});

    void setZoomFactor(float zoom) { zoomFactor_ = zoom; }
    float getZoomFactor() const { return zoomFactor_; }

    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
    bool onWheel(const CPoint& where, float distance, const CButtonState& buttons) override;

    // The value the pointer's angle around the centre stands for, held at the nearer end of
    // the range when it would jump by more than half of it from `current`.
    float valueFromPoint(const CPoint& where, float current) const;

  private:
    void anchor(const CPoint& where, const CButtonState& buttons);

    float zoomFactor_ = 1.5f;
    bool dragging_ = false;
    bool linear_ = true;
    CPoint firstPoint_;
    float startValue_ = 0;
    std::uint32_t modifiers_ = 0;
};

// A knob drawn as one frame of a bitmap strip, chosen from its value.
class CAnimKnob : public CKnob {
  public:
    CAnimKnob(const CRect& size, CControlListener* listener, std::int32_t tag, int subPixmaps,
              CCoord heightOfOneImage, CBitmap background, CPoint offset = {});

    void draw(CDrawContext& context) override;

    int getNumSubPixmaps() const { return subPixmaps_; }
    CCoord getHeightOfOneImage() const { return heightOfOneImage_; }
    CPoint getOffset() const { return offset_; }

  private:
    int subPixmaps_;
    CCoord heightOfOneImage_;
    CPoint offset_;
};

} // namespace velmora::toolkit
