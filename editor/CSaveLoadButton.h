// The preset bar's file buttons. A left or right press tells the listener at once, with 0.5
// for exactly the right button (load byte-reversed) and 1.0 otherwise, then the button lets go
// by itself: a file dialog may hold the pointer, so no release is awaited, and keys do nothing.
// Frames: resting, hovered, pressed.
#pragma once

#include "editor/HoverAware.h"
#include "toolkit/controls/CKickButton.h"

namespace velmora::editor {

class CSaveLoadButton : public HoverAware<toolkit::CKickButton> {
  public:
    static constexpr float kReversedValue = 0.5f;

    using HoverAware::HoverAware;

    void draw(toolkit::CDrawContext& context) override;
    toolkit::CMouseEventResult onMouseDown(toolkit::CPoint& where,
                                           const toolkit::CButtonState& buttons) override;
};

} // namespace velmora::editor
