#include "tests/resources/BitmapView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace {

using velmora::resources::bitmapBytes;
using velmora::resources::testing::BitmapView;

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

TEST(Resources, EveryBitmapHasItsSizeFramesAndDepth) {
    for (const auto& expected : expectedBitmaps) {
        SCOPED_TRACE(expected.id);
        const BitmapView bitmap(expected.id, expected.frameHeight);
        const auto bytes = bitmap.bytes();
        ASSERT_GE(bytes.size(), 54u);
        EXPECT_EQ(std::to_integer<char>(bytes[0]), 'B');
        EXPECT_EQ(std::to_integer<char>(bytes[1]), 'M');
        EXPECT_EQ(bitmap.read32(2), bytes.size());
        EXPECT_EQ(bitmap.read32(14), 40u); // the plain info header every decoder reads
        EXPECT_EQ(bitmap.width(), expected.width);
        // A positive height means bottom-up rows.
        EXPECT_EQ(bitmap.height(), expected.frameHeight * expected.frames);
        EXPECT_EQ(bitmap.read16(26), 1); // planes
        EXPECT_EQ(bitmap.bitsPerPixel(), expected.bitsPerPixel);
        EXPECT_EQ(bitmap.read32(30), 0u); // uncompressed
        EXPECT_EQ(bitmap.pixelOffset() + bitmap.stride() * bitmap.height(), bytes.size());
    }
}

TEST(Resources, IdsWithoutABitmapGiveNothing) {
    for (const int id : {-1, 0, 127, 154, 987, 996, 997, 1000})
        EXPECT_TRUE(bitmapBytes(id).empty()) << id;
}

// A strip whose frames repeat would leave a knob, switch or display stuck on one picture.
TEST(Resources, NeighbouringFramesOfEveryStripDiffer) {
    for (const auto& expected : expectedBitmaps) {
        const BitmapView bitmap(expected.id, expected.frameHeight);
        for (int frame = 1; frame < expected.frames; ++frame) {
            EXPECT_FALSE(std::ranges::equal(bitmap.frameBytes(frame - 1), bitmap.frameBytes(frame)))
                << "bitmap " << expected.id << " frames " << frame - 1 << " and " << frame;
        }
    }
}

} // namespace
