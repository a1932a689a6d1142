// A click area that shows a picture over the frame as its modal view; a click on the picture
// takes it away again. The picture is the control's bitmap, shown at the display rectangle
// from the display offset.
#pragma once

#include "toolkit/CControl.h"

namespace velmora::toolkit {

class CSplashScreen : public CControl {
  public:
    CSplashScreen(const CRect& size, CControlListener* listener, std::int32_t tag, CBitmap picture,
                  const CRect& displayRect, CPoint displayOffset = {});

    void draw(CDrawContext&) override {} // the click area itself shows nothing
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

    // Shows the picture as the frame's modal view.
    virtual void splash();
    // Takes the picture away, value back to 0, and repaints the frame.
    virtual void unSplash();

    const CRect& getDisplayRect() const { return displayRect_; }
    CPoint getDisplayOffset() const { return displayOffset_; }

  private:
    CRect displayRect_;
    CPoint displayOffset_;
};

} // namespace velmora::toolkit
