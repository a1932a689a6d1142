// A latching button: each left click flips between the minimum and the maximum. Its bitmap
// holds two frames as tall as the view: the upper one off, the lower one on.
#pragma once

#include "toolkit/CControl.h"

namespace velmora::toolkit {

class COnOffButton : public CControl {
  public:
    COnOffButton(const CRect& size, CControlListener* listener, std::int32_t tag,
                 CBitmap background);

    void draw(CDrawContext& context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
};

} // namespace velmora::toolkit
