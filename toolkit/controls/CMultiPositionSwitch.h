// Multi-position switches drawn from a bitmap strip. The horizontal one is divided into equal
// zones side by side, the vertical one into zones stacked top to bottom; pressing or dragging
// selects the position under the pointer, value = position / (positions - 1). Control with the
// left button resets to the default.
#pragma once

#include "toolkit/CControl.h"

namespace velmora::toolkit {

class CMultiPositionSwitch : public CControl {
  public:
    CMultiPositionSwitch(const CRect& size, CControlListener* listener, std::int32_t tag,
                         int subPixmaps, CCoord heightOfOneImage, int positions, CBitmap background,
                         CPoint offset = {});

    void draw(CDrawContext& context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;

    int getNumPositions() const { return positions_; }
    int getNumSubPixmaps() const { return subPixmaps_; }
    CCoord getHeightOfOneImage() const { return heightOfOneImage_; }
    CPoint getOffset() const { return offset_; }

  protected:
    // The position (0..positions - 1) the pointer lies on.
    virtual int positionAt(const CPoint& where) const = 0;

  private:
    void select(const CPoint& where);

    int subPixmaps_;
    CCoord heightOfOneImage_;
    int positions_;
    CPoint offset_;
    bool dragging_ = false;
};

class CHorizontalSwitch : public CMultiPositionSwitch {
  public:
    using CMultiPositionSwitch::CMultiPositionSwitch;

  protected:
    // Zones as wide as the bitmap divided by the positions (the view's width without one).
    int positionAt(const CPoint& where) const override;
};

class CVerticalSwitch : public CMultiPositionSwitch {
  public:
    using CMultiPositionSwitch::CMultiPositionSwitch;

  protected:
    int positionAt(const CPoint& where) const override;
};

} // namespace velmora::toolkit
