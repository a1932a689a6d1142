#include "toolkit/controls/CMovieBitmap.h"

#include "toolkit/controls/StripFrame.h"

namespace velmora::toolkit {

CMovieBitmap::CMovieBitmap(const CRect& size, CControlListener* listener, std::int32_t tag,
                           int subPixmaps, CCoord heightOfOneImage, CBitmap background,
                           CPoint offset)
    : CControl(size, listener, tag, std::move(background)), subPixmaps_(subPixmaps),
      heightOfOneImage_(heightOfOneImage), offset_(offset) {
    setMouseEnabled(false);
}

void CMovieBitmap::draw(CDrawContext& context) {
    drawStripFrame(context, getBackground(), getViewSize(),
                   roundedFrame(getValueNormalized(), subPixmaps_), heightOfOneImage_, offset_);
}

} // namespace velmora::toolkit
