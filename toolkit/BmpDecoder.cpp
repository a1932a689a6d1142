#include "toolkit/BmpDecoder.h"

#include <algorithm>
#include <optional>

namespace velmora::toolkit {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;

// Little-endian fields at fixed offsets; callers check the span is long enough first.
std::uint16_t u16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}
std::uint32_t u32(std::span<const std::uint8_t> b, std::size_t at) {
    return std::uint32_t(b[at]) | (std::uint32_t(b[at + 1]) << 8) |
           (std::uint32_t(b[at + 2]) << 16) | (std::uint32_t(b[at + 3]) << 24);
}
std::int32_t i32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::int32_t>(u32(b, at));
}

bool knownInfoHeaderSize(std::uint32_t size) {
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

BmpResult failure(BmpError error) {
    return {error, {}};
}

struct Layout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bytesPerPixel = 0;
    bool alphaChannel = false; // the fourth byte of a 32-bit pixel is its alpha
    std::size_t stride = 0;
    std::size_t pixelOffset = 0;
};

// Bit fields are accepted only when they describe the plain byte order; anything else would
// need a general shifter for artwork that never uses it.
bool plainMasks(std::span<const std::uint8_t> b, std::size_t masksAt, bool withAlpha) {
    if (b.size() < masksAt + (withAlpha ? 16 : 12)) return false;
    const bool rgb = u32(b, masksAt) == 0x00FF0000 && u32(b, masksAt + 4) == 0x0000FF00 &&
                     u32(b, masksAt + 8) == 0x000000FF;
    const bool alpha =
        !withAlpha || u32(b, masksAt + 12) == 0xFF000000 || u32(b, masksAt + 12) == 0;
    return rgb && alpha;
}

std::optional<BmpError> readLayout(std::span<const std::uint8_t> b, Layout& out) {
    if (b.size() < kFileHeaderSize + 4) return BmpError::truncated;
    if (b[0] != 'B' || b[1] != 'M') return BmpError::notBmp;
    if (u32(b, 2) > b.size()) return BmpError::fileSizeMismatch;
    const std::uint32_t infoSize = u32(b, kFileHeaderSize);
    if (!knownInfoHeaderSize(infoSize)) return BmpError::badInfoHeader;
    if (b.size() < kFileHeaderSize + infoSize) return BmpError::truncated;

    const std::int32_t width = i32(b, 18);
    const std::int32_t height = i32(b, 22);
    if (width <= 0 || width > kMaxBmpSide || height == 0 || height < -kMaxBmpSide ||
        height > kMaxBmpSide)
        return BmpError::badDimensions;
    if (u16(b, 26) != 1) return BmpError::badPlanes;
    const std::uint16_t bits = u16(b, 28);
    if (bits != 24 && bits != 32) return BmpError::unsupportedDepth;

    const std::uint32_t compression = u32(b, 30);
    std::size_t headersEnd = kFileHeaderSize + infoSize;
    // Plain 32-bit files carry alpha in the fourth byte; bit fields say so with their mask.
    out.alphaChannel = bits == 32;
    if (compression == kBiBitfields) {
        if (bits != 32) return BmpError::unsupportedFormat;
        // A 40-byte header is followed by three masks; later versions hold them inside.
        const std::size_t masksAt = kFileHeaderSize + 40;
        const bool alphaMask = infoSize >= 56;
        if (infoSize == 40) headersEnd += 12;
        if (!plainMasks(b, masksAt, alphaMask)) return BmpError::unsupportedFormat;
        out.alphaChannel = alphaMask && u32(b, masksAt + 12) != 0;
    } else if (compression != kBiRgb) {
        return BmpError::unsupportedFormat;
    }

    const std::uint32_t pixelOffset = u32(b, 10);
    if (pixelOffset < headersEnd) return BmpError::badPixelOffset;

    out.width = width;
    out.height = height < 0 ? -height : height;
    out.topDown = height < 0;
    out.bytesPerPixel = bits / 8;
    out.stride = (std::size_t(width) * bits + 31) / 32 * 4;
    out.pixelOffset = pixelOffset;
    const std::size_t imageBytes = out.stride * std::size_t(out.height);
    if (pixelOffset > b.size() || b.size() - pixelOffset < imageBytes)
        return BmpError::pixelsOutside;
    const std::uint32_t statedImageSize = u32(b, 34);
    if (statedImageSize != 0 && statedImageSize < imageBytes) return BmpError::pixelsOutside;
    return std::nullopt;
}

} // namespace

BmpResult decodeBmp(std::span<const std::uint8_t> bytes) {
    Layout layout;
    if (const auto error = readLayout(bytes, layout)) return failure(*error);

    Pixmap image{layout.width, layout.height, layout.alphaChannel, {}};
    image.pixels.resize(std::size_t(layout.width) * layout.height);
    bool anyAlpha = false;
    for (int y = 0; y < layout.height; ++y) {
        const int sourceRow = layout.topDown ? y : layout.height - 1 - y;
        const auto row = bytes.subspan(layout.pixelOffset + std::size_t(sourceRow) * layout.stride,
                                       std::size_t(layout.width) * layout.bytesPerPixel);
        Pixel* out = image.pixels.data() + std::size_t(y) * layout.width;
        for (int x = 0; x < layout.width; ++x) {
            const auto px = row.subspan(std::size_t(x) * layout.bytesPerPixel);
            const std::uint32_t a = layout.alphaChannel ? px[3] : 255;
            anyAlpha = anyAlpha || a != 0;
            out[x] = packPixel(a, mul255(px[2], a), mul255(px[1], a), mul255(px[0], a));
        }
    }
    // A 32-bit file whose fourth byte is zero everywhere carries no alpha at all: it is opaque.
    if (image.hasAlpha && !anyAlpha) {
        for (int y = 0; y < layout.height; ++y) {
            const int sourceRow = layout.topDown ? y : layout.height - 1 - y;
            const auto row =
                bytes.subspan(layout.pixelOffset + std::size_t(sourceRow) * layout.stride);
            for (int x = 0; x < layout.width; ++x)
                image.pixels[std::size_t(y) * layout.width + x] =
                    packPixel(255, row[x * 4 + 2], row[x * 4 + 1], row[x * 4]);
        }
    }
    // Opaque 32-bit images blit as copies.
    if (image.hasAlpha)
        image.hasAlpha =
            std::ranges::any_of(image.pixels, [](Pixel p) { return alphaOf(p) != 255; });
    return {BmpError::none, std::move(image)};
}

} // namespace velmora::toolkit
