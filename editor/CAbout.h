// An about area: an invisible click area on an edge of the panel. A left click shows the about
// picture with the version over the whole panel as the frame's modal view; a click on the
// picture takes it away. Neither click reaches the listener, so no parameter changes.
//
// The picture is fetched from the bitmap cache when it opens and held only by the view on
// show, so an editor that never shows it keeps none of its 942x171 pixels in memory.
#pragma once

#include "toolkit/BitmapCache.h"
#include "toolkit/controls/CSplashScreen.h"

#include "VelmoraVersion.h"

#include <string_view>

namespace velmora::editor {

class CAbout : public toolkit::CSplashScreen {
  public:
    static constexpr std::string_view kVersionText = "v." VELMORA_VERSION;

    // `displayRect` is where the picture `pictureId` of `bitmaps` is shown; the version text
    // starts at `versionAnchor` relative to its top-left corner. The cache must outlive the
    // area.
    CAbout(const toolkit::CRect& size, std::int32_t tag, toolkit::BitmapCache& bitmaps,
           int pictureId, const toolkit::CRect& displayRect, toolkit::CPoint versionAnchor);

    toolkit::CMouseEventResult onMouseDown(toolkit::CPoint& where,
                                           const toolkit::CButtonState& buttons) override;
    void splash() override;

    toolkit::CPoint getVersionAnchor() const { return versionAnchor_; }

  private:
    toolkit::BitmapCache& bitmaps_;
    int pictureId_;
    toolkit::CPoint versionAnchor_;
};

} // namespace velmora::editor
