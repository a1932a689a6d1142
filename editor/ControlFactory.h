// Builds one control of the layout table with its bitmap, default value and wheel increment.
// The about areas are the about view's own and are not built here.
#pragma once

#include "editor/ControlLayout.h"
#include "toolkit/BitmapCache.h"
#include "toolkit/CControl.h"

#include <memory>

namespace velmora::editor {

// Null for the about areas.
std::unique_ptr<toolkit::CControl> makeControl(const layout::ControlPlacement& placement,
                                               toolkit::BitmapCache& bitmaps,
                                               toolkit::CControlListener* listener);

// The height of one frame of a strip of `frames` frames; 0 when it is not loaded.
toolkit::CCoord frameHeightOf(const toolkit::CBitmap& strip, int frames);

} // namespace velmora::editor
