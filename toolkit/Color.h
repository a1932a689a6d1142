// Colours with straight alpha, and the pixel format of the framebuffer and of decoded bitmaps:
// 0xAARRGGBB in one 32-bit word. Bitmap pixels are premultiplied by their alpha so a blit blends
// with one multiply per channel.
#pragma once

#include <cstdint>

namespace velmora::toolkit {

using Pixel = std::uint32_t;

constexpr Pixel packPixel(std::uint32_t a, std::uint32_t r, std::uint32_t g, std::uint32_t b) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}
constexpr std::uint32_t alphaOf(Pixel p) {
    return p >> 24;
}
constexpr std::uint32_t redOf(Pixel p) {
    return (p >> 16) & 0xFF;
}
constexpr std::uint32_t greenOf(Pixel p) {
    return (p >> 8) & 0xFF;
}
constexpr std::uint32_t blueOf(Pixel p) {
    return p & 0xFF;
}

// x * a / 255, rounded, for x and a in 0..255.
constexpr std::uint32_t mul255(std::uint32_t x, std::uint32_t a) {
    const std::uint32_t t = x * a + 128;
    return (t + (t >> 8)) >> 8;
}

// Source over destination, the source premultiplied; the destination stays opaque.
constexpr Pixel blendPremultiplied(Pixel dst, Pixel src) {
    const std::uint32_t a = alphaOf(src);
    if (a == 255) return src;
    if (a == 0) return dst;
    const std::uint32_t keep = 255 - a;
    return packPixel(255, redOf(src) + mul255(redOf(dst), keep),
                     greenOf(src) + mul255(greenOf(dst), keep),
                     blueOf(src) + mul255(blueOf(dst), keep));
}

struct CColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 255;

    // The colour scaled by an extra coverage (0..255), premultiplied, ready for blending.
    constexpr Pixel premultiplied(std::uint32_t coverage = 255) const {
        const std::uint32_t a = mul255(alpha, coverage);
        return packPixel(a, mul255(red, a), mul255(green, a), mul255(blue, a));
    }
    constexpr bool operator==(const CColor&) const = default;
};

constexpr CColor kBlackCColor{0, 0, 0, 255};
constexpr CColor kWhiteCColor{255, 255, 255, 255};
constexpr CColor kTransparentCColor{0, 0, 0, 0};

} // namespace velmora::toolkit
