// The preset bar's latching buttons: MIDI learn, forget and keyboard focus. A left press flips
// the value between 0 and 1 and tells the listener. Frames: off, hovered while off, on.
#pragma once

#include "editor/HoverAware.h"
#include "toolkit/controls/COnOffButton.h"

namespace velmora::editor {

class CPSOnOffButton : public HoverAware<toolkit::COnOffButton> {
  public:
    using HoverAware::HoverAware;

    static bool isOn(float value) { return value >= 0.5f; }

    void draw(toolkit::CDrawContext& context) override;
    toolkit::CMouseEventResult onMouseDown(toolkit::CPoint& where,
                                           const toolkit::CButtonState& buttons) override;
};

} // namespace velmora::editor
