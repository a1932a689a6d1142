// The editor's latching button, also the page selectors. A left or right click flips it
// between the two step values of an on/off parameter (0.25 off, 0.75 on; anything from 0.5 up
// counts as on), so the value it sends is the one the engine reads back. A click with Control
// or the right button is flagged as a modifier click while the listener hears of it.
#pragma once

#include "toolkit/controls/COnOffButton.h"

namespace velmora::editor {

class QelOnOffButton : public toolkit::COnOffButton {
  public:
    static constexpr float kOffValue = 0.25f;
    static constexpr float kOnValue = 0.75f;

    using COnOffButton::COnOffButton;

    void draw(toolkit::CDrawContext& context) override;
    toolkit::CMouseEventResult onMouseDown(toolkit::CPoint& where,
                                           const toolkit::CButtonState& buttons) override;

    static bool isOn(float value) { return value >= 0.5f; }
    bool isModifierClick() const { return modifierClick_; }

  private:
    bool modifierClick_ = false;
};

} // namespace velmora::editor
