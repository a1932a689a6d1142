#include "editor/QelSwitchVert.h"

#include "toolkit/controls/StripFrame.h"

#include <algorithm>
#include <cmath>

namespace velmora::editor {

using namespace toolkit;

int QelSwitchVert::frameFor(float value) const {
    const int positions = getNumPositions();
    const float step = std::floor(float(positions) * std::clamp(value, 0.0f, 1.0f));
    return std::clamp(static_cast<int>(step), 0, positions - 1);
}

// The control is one frame high; its positions share that height in equal zones, top first.
// A point below the last zone still selects the last position, never one past it.
int QelSwitchVert::positionAt(const CPoint& where) const {
    const CCoord frameHeight = getHeightOfOneImage();
    if (frameHeight <= 0) return 0;
    const double position =
        std::floor((where.y - getViewSize().top) / frameHeight * getNumPositions());
    return std::clamp(static_cast<int>(position), 0, getNumPositions() - 1);
}

void QelSwitchVert::draw(CDrawContext& context) {
    drawStripFrame(context, getBackground(), getViewSize(), frameFor(getValueNormalized()),
                   getHeightOfOneImage());
    setDirty(false);
}

CMouseEventResult QelSwitchVert::onMouseDown(CPoint& where, const CButtonState& buttons) {
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    beginEdit();
    const float before = getValue();
    setValue(getMin() + getRange() * float(positionAt(where)) / float(getNumPositions()));
    if (getValue() != before) valueChanged();
    invalid();
    endEdit();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

} // namespace velmora::editor
