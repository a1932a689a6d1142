// A framebuffer as a PNG file: 8-bit RGB, stored (uncompressed) deflate blocks. Enough for
// snapshots and test output; nothing reads these back at run time.
#pragma once

#include "toolkit/Framebuffer.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace velmora::toolkit {

std::vector<std::uint8_t> encodePng(const Framebuffer& image);
bool writePngFile(const std::filesystem::path& path, const Framebuffer& image);

} // namespace velmora::toolkit
