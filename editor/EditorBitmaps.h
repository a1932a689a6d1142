// The bitmaps of the editor and the preset bar, decoded from the embedded artwork once per
// process and shared by every open editor while any of them holds them.
#pragma once

#include "toolkit/BitmapCache.h"

namespace velmora::editor {

toolkit::BitmapCache& editorBitmaps();

} // namespace velmora::editor
