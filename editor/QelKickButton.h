// The editor's stepper button: acts on the press. The value is 1 while held and 0 after, and
// the press sets a multiplier the listener reads as the step size: 1, 10 with Shift, 100 with
// Control (Control wins). It stays readable until the next press.
#pragma once

#include "toolkit/controls/CKickButton.h"

namespace velmora::editor {

class QelKickButton : public toolkit::CKickButton {
  public:
    QelKickButton(const toolkit::CRect& size, toolkit::CControlListener* listener, std::int32_t tag,
                  toolkit::CCoord heightOfOneImage, toolkit::CBitmap background)
        : CKickButton(size, listener, tag, heightOfOneImage, std::move(background)) {}

    toolkit::CMouseEventResult onMouseDown(toolkit::CPoint& where,
                                           const toolkit::CButtonState& buttons) override;
    toolkit::CMouseEventResult onMouseMoved(toolkit::CPoint& where,
                                            const toolkit::CButtonState& buttons) override;
    toolkit::CMouseEventResult onMouseUp(toolkit::CPoint& where,
                                         const toolkit::CButtonState& buttons) override;

    float getMultiplier() const { return multiplier_; }

  private:
    float multiplier_ = 1;
    bool held_ = false;
};

} // namespace velmora::editor
