// The preset bar's program rocker. A left press on the left half sets -1, on the right half
// +1, and tells the listener; the release sets 0 without telling it. Five frames: resting,
// hovered over the left half, over the right half, pressed down (-1), pressed up (+1).
#pragma once

#include "editor/HoverAware.h"
#include "toolkit/controls/CRockerSwitch.h"

namespace velmora::editor {

class CPSRockerSwitch : public HoverAware<toolkit::CRockerSwitch> {
  public:
    static constexpr int kFrames = 5;

    using HoverAware::HoverAware;

    void draw(toolkit::CDrawContext& context) override;
    toolkit::CMouseEventResult onMouseDown(toolkit::CPoint& where,
                                           const toolkit::CButtonState& buttons) override;
    toolkit::CMouseEventResult onMouseMoved(toolkit::CPoint& where,
                                            const toolkit::CButtonState& buttons) override;
    toolkit::CMouseEventResult onMouseUp(toolkit::CPoint& where,
                                         const toolkit::CButtonState& buttons) override;

  private:
    int frameToShow() const;
};

} // namespace velmora::editor
