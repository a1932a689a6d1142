// A momentary button: the maximum while held (second frame of its strip), back to the minimum
// on release. Moving off it while held lets it go up, moving back presses it again.
#pragma once

#include "toolkit/CControl.h"

namespace velmora::toolkit {

class CKickButton : public CControl {
  public:
    CKickButton(const CRect& size, CControlListener* listener, std::int32_t tag,
                CCoord heightOfOneImage, CBitmap background, CPoint offset = {});

    void draw(CDrawContext& context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;

    CCoord getHeightOfOneImage() const { return heightOfOneImage_; }
    CPoint getOffset() const { return offset_; }

  private:
    void press(bool down);

    CCoord heightOfOneImage_;
    CPoint offset_;
    bool tracking_ = false;
};

} // namespace velmora::toolkit
