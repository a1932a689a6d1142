// The pixels of a window as the desktop holds them, read back for checks and figures.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmora::host {

struct WindowImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0xRRGGBB, row by row from the top-left corner

    std::uint32_t at(int x, int y) const {
        return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)];
    }
    bool empty() const { return pixels.empty(); }
};

} // namespace velmora::host
