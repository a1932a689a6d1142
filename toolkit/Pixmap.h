// Decoded bitmap pixels, premultiplied 0xAARRGGBB, rows top to bottom. `hasAlpha` is false for
// opaque sources, which blit as plain copies.
#pragma once

#include "toolkit/Color.h"

#include <vector>

namespace velmora::toolkit {

struct Pixmap {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
    std::vector<Pixel> pixels;

    Pixel at(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

} // namespace velmora::toolkit
