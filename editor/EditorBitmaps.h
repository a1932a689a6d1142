// The bitmaps of the editor and the preset bar, decoded from the embedded artwork once per
// process and shared by every open editor while any of them holds them.
#pragma once

#include "toolkit/BitmapCache.h"

#include <cstdint>
#include <span>

namespace velmora::editor {

toolkit::BitmapCache& editorBitmaps();

// The embedded BMP bytes of a resource id, as the bitmap cache reads them; empty when unknown.
std::span<const std::uint8_t> embeddedBitmap(int id);

} // namespace velmora::editor
