#include "toolkit/controls/CSplashScreen.h"

#include "toolkit/CDrawContext.h"
#include "toolkit/CFrame.h"

namespace velmora::toolkit {
namespace {

// The picture on show; a left click on it closes it through its splash screen.
class SplashView final : public CView {
  public:
    SplashView(CSplashScreen& owner, const CRect& size, CPoint offset)
        : CView(size), owner_(owner), offset_(offset) {
        setBackground(owner.getBackground());
    }
    void draw(CDrawContext& context) override {
        if (const Pixmap* picture = getBackground().pixmap())
            context.drawPixmap(*picture, getViewSize(), offset_);
    }
    CMouseEventResult onMouseDown(CPoint&, const CButtonState& buttons) override {
        if (!buttons.isLeftButton()) return kMouseEventNotHandled;
        owner_.unSplash();
        return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    }

  private:
    CSplashScreen& owner_;
    CPoint offset_;
};

} // namespace

CSplashScreen::CSplashScreen(const CRect& size, CControlListener* listener, std::int32_t tag,
                             CBitmap picture, const CRect& displayRect, CPoint displayOffset)
    : CControl(size, listener, tag, std::move(picture)), displayRect_(displayRect),
      displayOffset_(displayOffset) {}

CMouseEventResult CSplashScreen::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    setValue(getValue() == getMax() ? getMin() : getMax());
    if (getValue() == getMax())
        splash();
    else
        unSplash();
    valueChanged();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

void CSplashScreen::splash() {
    if (CFrame* frame = getFrame())
        frame->setModalView(std::make_unique<SplashView>(*this, displayRect_, displayOffset_));
}

void CSplashScreen::unSplash() {
    setValue(getMin());
    if (CFrame* frame = getFrame()) {
        frame->clearModalView();
        frame->setDirty(true);
    }
}

} // namespace velmora::toolkit
