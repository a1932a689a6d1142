// The preset bar's momentary buttons: defaults, memories and the manual. A left press sets 1.0
// and tells the listener; the release sets 0 without telling it. With the double-click option
// only the second press of a double-click acts, and Control held then sends 0.5 instead, which
// the bar reads as "clear the stored default". Frames: resting, hovered, pressed.
#pragma once

#include "editor/HoverAware.h"
#include "toolkit/controls/CKickButton.h"

namespace velmora::editor {

class CPSKickButton : public HoverAware<toolkit::CKickButton> {
  public:
    static constexpr float kControlValue = 0.5f;

    CPSKickButton(const toolkit::CRect& size, toolkit::CControlListener* listener, std::int32_t tag,
                  toolkit::CCoord heightOfOneImage, toolkit::CBitmap background,
                  bool doubleClickOnly = false)
        : HoverAware(size, listener, tag, heightOfOneImage, std::move(background)),
          doubleClickOnly_(doubleClickOnly) {}

    bool actsOnDoubleClickOnly() const { return doubleClickOnly_; }

    void draw(toolkit::CDrawContext& context) override;
    toolkit::CMouseEventResult onMouseDown(toolkit::CPoint& where,
                                           const toolkit::CButtonState& buttons) override;
    toolkit::CMouseEventResult onMouseMoved(toolkit::CPoint& where,
                                            const toolkit::CButtonState& buttons) override;
    toolkit::CMouseEventResult onMouseUp(toolkit::CPoint& where,
                                         const toolkit::CButtonState& buttons) override;

  private:
    bool doubleClickOnly_;
};

} // namespace velmora::editor
