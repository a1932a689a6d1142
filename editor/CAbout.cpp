#include "editor/CAbout.h"

#include "editor/CSplashScreenMyView.h"
#include "toolkit/CFrame.h"

namespace velmora::editor {

using namespace toolkit;

// The base gets no picture: the view loads its own each time it opens.
CAbout::CAbout(const CRect& size, std::int32_t tag, BitmapCache& bitmaps, int pictureId,
               const CRect& displayRect, CPoint versionAnchor)
    : CSplashScreen(size, nullptr, tag, CBitmap{}, displayRect), bitmaps_(bitmaps),
      pictureId_(pictureId), versionAnchor_(versionAnchor) {}

CMouseEventResult CAbout::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    const bool opening = getValue() != getMax();
    setValue(opening ? getMax() : getMin());
    if (opening) splash();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

void CAbout::splash() {
    CFrame* frame = getFrame();
    if (!frame) return;
    frame->setModalView(std::make_unique<CSplashScreenMyView>(*this, bitmaps_.load(pictureId_)));
}

} // namespace velmora::editor
