// The editor's vertical selector (the LFO waveform): positions stacked in frames of equal
// height. A left press picks the position under the pointer at once, value = position /
// positions (five positions: 0, 0.2 ... 0.8), so each value sits inside its step as the
// engine reads it; there is no drag and no reset click.
#pragma once

#include "toolkit/controls/CMultiPositionSwitch.h"

namespace velmora::editor {

class QelSwitchVert : public toolkit::CVerticalSwitch {
  public:
    QelSwitchVert(const toolkit::CRect& size, toolkit::CControlListener* listener, std::int32_t tag,
                  int subPixmaps, toolkit::CCoord heightOfOneImage, toolkit::CBitmap background)
        : CVerticalSwitch(size, listener, tag, subPixmaps, heightOfOneImage, subPixmaps,
                          std::move(background)) {}

    void draw(toolkit::CDrawContext& context) override;
    toolkit::CMouseEventResult onMouseDown(toolkit::CPoint& where,
                                           const toolkit::CButtonState& buttons) override;

    // The step a value falls in: integer part of positions times value, within the positions.
    int frameFor(float value) const;

  protected:
    int positionAt(const toolkit::CPoint& where) const override;
};

} // namespace velmora::editor
