// The about picture on show: the picture with the version text over it, covering the about
// area's display rectangle. It lives only while it is the frame's modal view; a left click on
// it closes it through its about area.
#pragma once

#include "toolkit/CControl.h"

namespace velmora::editor {

class CAbout;

class CSplashScreenMyView : public toolkit::CControl {
  public:
    // The box the version text is drawn into, from the anchor.
    static constexpr toolkit::CCoord kVersionBoxWidth = 100;
    static constexpr toolkit::CCoord kVersionBoxHeight = 15;
    static constexpr int kVersionFontSize = 11;

    CSplashScreenMyView(CAbout& owner, toolkit::CBitmap picture);

    void draw(toolkit::CDrawContext& context) override;
    toolkit::CMouseEventResult onMouseDown(toolkit::CPoint& where,
                                           const toolkit::CButtonState& buttons) override;

    // Where the version text goes, in frame coordinates.
    toolkit::CRect versionBox() const;

  private:
    CAbout& owner_;
    toolkit::CPoint versionAnchor_;
};

} // namespace velmora::editor
