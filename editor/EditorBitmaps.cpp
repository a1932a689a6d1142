#include "editor/EditorBitmaps.h"

#include "resources/Bitmaps.h"

namespace velmora::editor {

std::span<const std::uint8_t> embeddedBitmap(int id) {
    const std::span<const std::byte> bytes = resources::bitmapBytes(id);
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

// One cache for the process: the bitmaps are the same for every instance, and the cache
// releases each one when the last editor holding it closes.
toolkit::BitmapCache& editorBitmaps() {
    static toolkit::BitmapCache cache(embeddedBitmap);
    return cache;
}

} // namespace velmora::editor
