// BMP files built in memory for the decoder's tests and the fuzz seeds.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace velmora::toolkit::testing {

struct Bgra {
    std::uint8_t b, g, r, a;
};

struct BmpShape {
    int width = 3;
    int height = 2;
    int bits = 24;
    bool topDown = false;
    std::uint32_t infoSize = 40;
    std::uint32_t compression = 0;
};

inline void put16(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
    v[at] = std::uint8_t(x);
    v[at + 1] = std::uint8_t(x >> 8);
}
inline void put32(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
    for (int i = 0; i < 4; ++i)
        v[at + i] = std::uint8_t(x >> (8 * i));
}

// Pixel (x, y) counts from the top-left corner whatever the row order in the file.
inline std::vector<std::uint8_t> makeBmp(const BmpShape& shape,
                                         const std::function<Bgra(int x, int y)>& pixel) {
    const std::size_t masks = shape.compression == 3 && shape.infoSize == 40 ? 12 : 0;
    const std::size_t offset = 14 + shape.infoSize + masks;
    const std::size_t stride = (std::size_t(shape.width) * shape.bits + 31) / 32 * 4;
    std::vector<std::uint8_t> b(offset + stride * shape.height, 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, std::uint32_t(b.size()));
    put32(b, 10, std::uint32_t(offset));
    put32(b, 14, shape.infoSize);
    put32(b, 18, std::uint32_t(shape.width));
    put32(b, 22, std::uint32_t(shape.topDown ? -shape.height : shape.height));
    put16(b, 26, 1);
    put16(b, 28, std::uint32_t(shape.bits));
    put32(b, 30, shape.compression);
    put32(b, 34, std::uint32_t(stride * shape.height));
    if (shape.compression == 3) {
        put32(b, 54, 0x00FF0000);
        put32(b, 58, 0x0000FF00);
        put32(b, 62, 0x000000FF);
        if (shape.infoSize >= 56) put32(b, 66, 0xFF000000);
    }
    for (int y = 0; y < shape.height; ++y) {
        const int fileRow = shape.topDown ? y : shape.height - 1 - y;
        for (int x = 0; x < shape.width; ++x) {
            const Bgra p = pixel(x, y);
            std::uint8_t* at = b.data() + offset + fileRow * stride + x * (shape.bits / 8);
            at[0] = p.b;
            at[1] = p.g;
            at[2] = p.r;
            if (shape.bits == 32) at[3] = p.a;
        }
    }
    return b;
}

// Every pixel different: red = x * 40, green = y * 40, blue = 7, alpha as given.
inline Bgra gradient(int x, int y, std::uint8_t alpha = 255) {
    return {7, std::uint8_t(y * 40), std::uint8_t(x * 40), alpha};
}

} // namespace velmora::toolkit::testing
