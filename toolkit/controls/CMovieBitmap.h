// A display that shows one frame of a bitmap strip chosen from its value: frame = value times
// (frames - 1), rounded; values outside the range show the first or last frame. No input.
#pragma once

#include "toolkit/CControl.h"

namespace velmora::toolkit {

class CMovieBitmap : public CControl {
  public:
    CMovieBitmap(const CRect& size, CControlListener* listener, std::int32_t tag, int subPixmaps,
                 CCoord heightOfOneImage, CBitmap background, CPoint offset = {});

    void draw(CDrawContext& context) override;
    int getNumSubPixmaps() const { return subPixmaps_; }

  private:
    int subPixmaps_;
    CCoord heightOfOneImage_;
    CPoint offset_;
};

} // namespace velmora::toolkit
