// The editor's horizontal switch: as many positions as its strip has frames, side by side in
// equal zones of the bitmap's width. Press or drag picks the zone under the pointer; Control
// with the left button returns to the default. All of it is the toolkit switch's behaviour.
#pragma once

#include "toolkit/controls/CMultiPositionSwitch.h"

namespace velmora::editor {

class QelSwitch : public toolkit::CHorizontalSwitch {
  public:
    QelSwitch(const toolkit::CRect& size, toolkit::CControlListener* listener, std::int32_t tag,
              int subPixmaps, toolkit::CCoord heightOfOneImage, toolkit::CBitmap background)
        : CHorizontalSwitch(size, listener, tag, subPixmaps, heightOfOneImage, subPixmaps,
                            std::move(background)) {}
};

} // namespace velmora::editor
