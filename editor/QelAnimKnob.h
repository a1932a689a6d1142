// The editor's knob: a bitmap-strip knob painted into a drawing area of its own inside the
// control rectangle, from a source offset into each frame, so the strip's rim stays unseen.
// Dragging follows the frame's knob mode; Shift drags five times finer.
#pragma once

#include "toolkit/controls/CKnob.h"

namespace velmora::editor {

class QelAnimKnob : public toolkit::CAnimKnob {
  public:
    static constexpr float kFineZoom = 5;

    QelAnimKnob(const toolkit::CRect& size, toolkit::CControlListener* listener, std::int32_t tag,
                int subPixmaps, toolkit::CCoord heightOfOneImage, toolkit::CBitmap background,
                toolkit::CPoint offset, const toolkit::CRect& drawArea);

    void draw(toolkit::CDrawContext& context) override;

    // The frame a value shows: whole frames only, so only the maximum reaches the last one.
    int frameFor(float value) const;
    const toolkit::CRect& getDrawArea() const { return drawArea_; }

  private:
    toolkit::CRect drawArea_;
};

} // namespace velmora::editor
