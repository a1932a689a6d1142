#include "resources/Bitmaps.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <span>

namespace {

using velmora::resources::bitmapBytes;

// What the editor and the preset bar expect of each bitmap; a strip of another size would be
// painted with the wrong frames.
struct Expected {
    int id;
    int width;
    int frameHeight;
    int frames;
    int bitsPerPixel;
};

constexpr std::array expectedBitmaps{
    Expected{128, 942, 171, 1, 24}, Expected{129, 942, 171, 1, 24}, Expected{130, 36, 37, 101, 24},
    Expected{131, 36, 36, 101, 24}, Expected{132, 36, 36, 101, 24}, Expected{133, 37, 37, 101, 24},
    Expected{134, 36, 37, 101, 24}, Expected{135, 36, 37, 101, 24}, Expected{136, 37, 37, 101, 24},
    Expected{137, 37, 36, 101, 24}, Expected{138, 36, 36, 101, 24}, Expected{139, 36, 36, 101, 24},
    Expected{140, 19, 19, 2, 24},   Expected{141, 19, 19, 2, 24},   Expected{142, 19, 9, 2, 24},
    Expected{143, 26, 9, 3, 24},    Expected{144, 13, 16, 11, 24},  Expected{145, 13, 16, 13, 24},
    Expected{146, 3, 8, 2, 24},     Expected{147, 3, 2, 2, 24},     Expected{148, 12, 46, 2, 24},
    Expected{149, 12, 46, 2, 24},   Expected{150, 24, 20, 2, 24},   Expected{151, 24, 20, 2, 24},
    Expected{152, 16, 56, 5, 32},   Expected{153, 7, 45, 21, 24},   Expected{988, 11, 7, 3, 24},
    Expected{989, 11, 9, 3, 24},    Expected{990, 17, 15, 3, 24},   Expected{991, 17, 15, 3, 24},
    Expected{992, 32, 13, 3, 24},   Expected{993, 44, 13, 3, 24},   Expected{994, 28, 13, 3, 24},
    Expected{995, 30, 13, 5, 24},   Expected{998, 24, 16, 3, 24},   Expected{999, 24, 16, 3, 24},
};

std::uint32_t read32(std::span<const std::byte> bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= std::to_integer<std::uint32_t>(bytes[at + i]) << (8 * i);
    return value;
}

std::uint16_t read16(std::span<const std::byte> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(std::to_integer<unsigned>(bytes[at]) |
                                      std::to_integer<unsigned>(bytes[at + 1]) << 8);
}

// The header fields a BMP decoder relies on, read from the file itself.
struct Header {
    std::uint32_t fileSize;
    std::uint32_t pixelOffset;
    std::uint32_t infoSize;
    std::int32_t width;
    std::int32_t height;
    std::uint16_t planes;
    std::uint16_t bitsPerPixel;
    std::uint32_t compression;
};

Header readHeader(std::span<const std::byte> bytes) {
    return Header{read32(bytes, 2),
                  read32(bytes, 10),
                  read32(bytes, 14),
                  static_cast<std::int32_t>(read32(bytes, 18)),
                  static_cast<std::int32_t>(read32(bytes, 22)),
                  read16(bytes, 26),
                  read16(bytes, 28),
                  read32(bytes, 30)};
}

std::size_t rowStride(const Expected& expected) {
    return (static_cast<std::size_t>(expected.width) * expected.bitsPerPixel / 8 + 3) & ~3u;
}

// Rows are stored bottom-up, so frame f (counted from the top) is one contiguous block.
std::span<const std::byte> framePixels(std::span<const std::byte> bytes, const Expected& expected,
                                       int frame) {
    const std::size_t frameBytes = rowStride(expected) * expected.frameHeight;
    const std::size_t fromBottom = expected.frames - 1 - frame;
    return bytes.subspan(readHeader(bytes).pixelOffset + fromBottom * frameBytes, frameBytes);
}

TEST(Resources, EveryBitmapHasItsSizeFramesAndDepth) {
    for (const auto& expected : expectedBitmaps) {
        SCOPED_TRACE(expected.id);
        const auto bytes = bitmapBytes(expected.id);
        ASSERT_GE(bytes.size(), 54u);
        EXPECT_EQ(std::to_integer<char>(bytes[0]), 'B');
        EXPECT_EQ(std::to_integer<char>(bytes[1]), 'M');
        const Header header = readHeader(bytes);
        EXPECT_EQ(header.fileSize, bytes.size());
        EXPECT_EQ(header.infoSize, 40u);
        EXPECT_EQ(header.width, expected.width);
        // A positive height means bottom-up rows, the layout every decoder accepts.
        EXPECT_EQ(header.height, expected.frameHeight * expected.frames);
        EXPECT_EQ(header.planes, 1);
        EXPECT_EQ(header.bitsPerPixel, expected.bitsPerPixel);
        EXPECT_EQ(header.compression, 0u);
        EXPECT_EQ(header.pixelOffset + rowStride(expected) * header.height, bytes.size());
    }
}

TEST(Resources, IdsWithoutABitmapGiveNothing) {
    for (const int id : {-1, 0, 127, 154, 987, 996, 997, 1000})
        EXPECT_TRUE(bitmapBytes(id).empty()) << id;
}

// A strip whose frames repeat would leave a knob, switch or display stuck on one picture.
TEST(Resources, NeighbouringFramesOfEveryStripDiffer) {
    for (const auto& expected : expectedBitmaps) {
        const auto bytes = bitmapBytes(expected.id);
        for (int frame = 1; frame < expected.frames; ++frame) {
            const auto previous = framePixels(bytes, expected, frame - 1);
            const auto current = framePixels(bytes, expected, frame);
            EXPECT_FALSE(std::ranges::equal(previous, current))
                << "bitmap " << expected.id << " frames " << frame - 1 << " and " << frame;
        }
    }
}

// The waveform selector is drawn over the panel: it needs clear and opaque pixels both.
TEST(Resources, WaveformSelectorCarriesAlpha) {
    const auto bytes = bitmapBytes(152);
    const auto header = readHeader(bytes);
    int clear = 0;
    int opaque = 0;
    for (std::size_t at = header.pixelOffset + 3; at < bytes.size(); at += 4) {
        const auto alpha = std::to_integer<int>(bytes[at]);
        clear += alpha == 0;
        opaque += alpha == 255;
    }
    EXPECT_GT(clear, 0);
    EXPECT_GT(opaque, 0);
}

} // namespace
