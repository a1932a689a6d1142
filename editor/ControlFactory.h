// Builds one control of the layout table with its bitmap, default value and wheel increment,
// and the about areas, which take their picture from the cache only while it is shown.
#pragma once

#include "editor/CAbout.h"
#include "editor/ControlLayout.h"
#include "toolkit/BitmapCache.h"
#include "toolkit/CControl.h"

#include <memory>

namespace velmora::editor {

// Null for the about areas: they are built by makeAboutArea.
std::unique_ptr<toolkit::CControl> makeControl(const layout::ControlPlacement& placement,
                                               toolkit::BitmapCache& bitmaps,
                                               toolkit::CControlListener* listener);

// An about area of the layout table; null for any other kind of placement. The cache must
// outlive the area.
std::unique_ptr<CAbout> makeAboutArea(const layout::ControlPlacement& placement,
                                      toolkit::BitmapCache& bitmaps);

// The height of one frame of a strip of `frames` frames; 0 when it is not loaded.
toolkit::CCoord frameHeightOf(const toolkit::CBitmap& strip, int frames);

} // namespace velmora::editor
