#include "editor/CSplashScreenMyView.h"

#include "editor/CAbout.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/text/Font.h"

namespace velmora::editor {

using namespace toolkit;

CSplashScreenMyView::CSplashScreenMyView(CAbout& owner, CBitmap picture)
    : CControl(owner.getDisplayRect(), nullptr, 0, std::move(picture)), owner_(owner),
      versionAnchor_(owner.getVersionAnchor()) {}

CRect CSplashScreenMyView::versionBox() const {
    const CPoint origin = getViewSize().getTopLeft();
    return CRect::fromSize(origin.x + versionAnchor_.x, origin.y + versionAnchor_.y,
                           kVersionBoxWidth, kVersionBoxHeight);
}

void CSplashScreenMyView::draw(CDrawContext& context) {
    if (const Pixmap* picture = getBackground().pixmap())
        context.drawPixmap(*picture, getViewSize());
    drawString(context, CFontDesc("Arial", kVersionFontSize), CAbout::kVersionText, versionBox(),
               kWhiteCColor, kLeftText);
    setDirty(false);
}

CMouseEventResult CSplashScreenMyView::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    // Takes this view off the frame; the frame destroys it once the click is handled.
    owner_.unSplash();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

} // namespace velmora::editor
