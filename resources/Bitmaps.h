#pragma once

#include <cstddef>
#include <span>

namespace velmora::resources {

// The BMP file of a bitmap resource, by id: 128 to 153 for the editor, 988 to 999 for the
// preset bar. Files are uncompressed and stored bottom-up with frames stacked vertically;
// 24-bit, except 152, which is 32-bit with unpremultiplied alpha in the fourth byte of each
// pixel. An id without a bitmap gives an empty span.
std::span<const std::byte> bitmapBytes(int id);

} // namespace velmora::resources
