// A rocker: pressed on its left half it goes to -1, on its right half to +1, and back to 0 on
// release. Three frames: -1, 0, +1.
#pragma once

#include "toolkit/CControl.h"

namespace velmora::toolkit {

class CRockerSwitch : public CControl {
  public:
    CRockerSwitch(const CRect& size, CControlListener* listener, std::int32_t tag,
                  CCoord heightOfOneImage, CBitmap background, CPoint offset = {});

    void draw(CDrawContext& context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;

    CCoord getHeightOfOneImage() const { return heightOfOneImage_; }
    CPoint getOffset() const { return offset_; }

  private:
    void set(float value);

    CCoord heightOfOneImage_;
    CPoint offset_;
    bool pressed_ = false;
};

} // namespace velmora::toolkit
