#include "toolkit/BmpDecoder.h"
#include "tests/toolkit/BmpSamples.h"
#include "toolkit/BitmapCache.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace velmora::toolkit {
namespace {

using testing::BmpShape;
using testing::gradient;
using testing::makeBmp;

Pixel opaqueGradient(int x, int y) {
    return packPixel(255, x * 40, y * 40, 7);
}

TEST(BmpDecoder, ReadsBothRowOrdersAndPaddedRowsOfBothDepths) {
    for (const int bits : {24, 32}) {
        for (const bool topDown : {false, true}) {
            // Width 3 at 24 bits needs 3 bytes of padding per row; 5 rows catch a swapped order.
            const BmpShape shape{3, 5, bits, topDown};
            const auto bytes = makeBmp(shape, [](int x, int y) { return gradient(x, y); });
            const BmpResult result = decodeBmp(bytes);
            ASSERT_TRUE(result.ok()) << bits << " bits, top-down " << topDown;
            EXPECT_EQ(result.image.width, 3);
            EXPECT_EQ(result.image.height, 5);
            EXPECT_FALSE(result.image.hasAlpha) << "opaque pixels blit as copies";
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 3; ++x)
                    EXPECT_EQ(result.image.at(x, y), opaqueGradient(x, y)) << x << "," << y;
        }
    }
}

TEST(BmpDecoder, ThirtyTwoBitAlphaIsPremultipliedAndAllZeroAlphaMeansOpaque) {
    const auto translucent = makeBmp({2, 1, 32}, [](int x, int) {
        return testing::Bgra{200, 100, 50, std::uint8_t(x == 0 ? 128 : 0)};
    });
    const BmpResult glass = decodeBmp(translucent);
    ASSERT_TRUE(glass.ok());
    EXPECT_TRUE(glass.image.hasAlpha);
    EXPECT_EQ(glass.image.at(0, 0), packPixel(128, 25, 50, 100));
    EXPECT_EQ(glass.image.at(1, 0), packPixel(0, 0, 0, 0));

    // Many writers leave the fourth byte at zero: such a file is opaque, not invisible.
    const auto zeroAlpha = makeBmp({2, 2, 32}, [](int x, int y) { return gradient(x, y, 0); });
    const BmpResult opaque = decodeBmp(zeroAlpha);
    ASSERT_TRUE(opaque.ok());
    EXPECT_FALSE(opaque.image.hasAlpha);
    EXPECT_EQ(opaque.image.at(1, 1), opaqueGradient(1, 1));

    // Bit fields in the plain byte order, after a 40-byte header and inside a 108-byte one.
    for (const std::uint32_t infoSize : {40u, 108u}) {
        const auto fields = makeBmp({2, 2, 32, false, infoSize, 3},
                                    [](int x, int y) { return gradient(x, y, 255); });
        const BmpResult r = decodeBmp(fields);
        ASSERT_TRUE(r.ok()) << infoSize;
        EXPECT_EQ(r.image.at(1, 0), opaqueGradient(1, 0));
    }

    // Bit fields without an alpha mask: the fourth byte is not alpha, whatever it holds.
    auto noAlphaMask =
        makeBmp({2, 2, 32, false, 108, 3}, [](int x, int y) { return gradient(x, y, 60); });
    testing::put32(noAlphaMask, 66, 0);
    const BmpResult unmasked = decodeBmp(noAlphaMask);
    ASSERT_TRUE(unmasked.ok());
    EXPECT_FALSE(unmasked.image.hasAlpha);
    EXPECT_EQ(unmasked.image.at(1, 1), opaqueGradient(1, 1));
}

TEST(BmpDecoder, RejectsEveryLieInTheHeadersWithoutReadingPastTheBytes) {
    const auto good = makeBmp({3, 2, 24}, [](int x, int y) { return gradient(x, y); });
    ASSERT_TRUE(decodeBmp(good).ok());

    struct Lie {
        const char* what;
        std::function<void(std::vector<std::uint8_t>&)> tell;
        BmpError expected;
    };
    using testing::put16;
    using testing::put32;
    const Lie lies[] = {
        {"signature", [](auto& b) { b[1] = 'X'; }, BmpError::notBmp},
        {"file size", [](auto& b) { put32(b, 2, std::uint32_t(b.size() + 1)); },
         BmpError::fileSizeMismatch},
        {"info size", [](auto& b) { put32(b, 14, 41); }, BmpError::badInfoHeader},
        {"huge info", [](auto& b) { put32(b, 14, 124); }, BmpError::truncated},
        {"zero width", [](auto& b) { put32(b, 18, 0); }, BmpError::badDimensions},
        {"negative width", [](auto& b) { put32(b, 18, std::uint32_t(-3)); },
         BmpError::badDimensions},
        {"zero height", [](auto& b) { put32(b, 22, 0); }, BmpError::badDimensions},
        {"most negative height", [](auto& b) { put32(b, 22, 0x80000000u); },
         BmpError::badDimensions},
        {"giant width", [](auto& b) { put32(b, 18, kMaxBmpSide + 1); }, BmpError::badDimensions},
        {"planes", [](auto& b) { put16(b, 26, 2); }, BmpError::badPlanes},
        {"palette depth", [](auto& b) { put16(b, 28, 8); }, BmpError::unsupportedDepth},
        {"run-length", [](auto& b) { put32(b, 30, 1); }, BmpError::unsupportedFormat},
        {"24-bit fields", [](auto& b) { put32(b, 30, 3); }, BmpError::unsupportedFormat},
        {"offset in headers", [](auto& b) { put32(b, 10, 20); }, BmpError::badPixelOffset},
        {"offset past end", [](auto& b) { put32(b, 10, 0xFFFFFFF0u); }, BmpError::pixelsOutside},
        {"more rows", [](auto& b) { put32(b, 22, 3); }, BmpError::pixelsOutside},
        {"wider rows", [](auto& b) { put32(b, 18, 5); }, BmpError::pixelsOutside},
        {"small image size", [](auto& b) { put32(b, 34, 12); }, BmpError::pixelsOutside},
    };
    for (const auto& lie : lies) {
        auto bytes = good;
        lie.tell(bytes);
        EXPECT_EQ(decodeBmp(bytes).error, lie.expected) << lie.what;
    }

    // Every prefix of a good file fails cleanly (the sanitizer run catches any over-read).
    for (std::size_t n = 0; n < good.size(); ++n) {
        const auto prefix = std::span(good).first(n);
        EXPECT_FALSE(decodeBmp(prefix).ok()) << n;
    }

    // Bit fields describing another channel order are refused, not misread.
    auto swapped = makeBmp({2, 2, 32, false, 40, 3}, [](int x, int y) { return gradient(x, y); });
    put32(swapped, 54, 0x000000FF);
    EXPECT_EQ(decodeBmp(swapped).error, BmpError::unsupportedFormat);
}

class BitmapCacheTest : public ::testing::Test {
  protected:
    std::vector<std::uint8_t> knob =
        makeBmp({4, 6, 24}, [](int x, int y) { return gradient(x, y); });
    std::vector<std::uint8_t> broken = {'B', 'M', 0, 0};
    std::atomic<int> provided{0};
    BitmapCache cache{[this](int id) -> std::span<const std::uint8_t> {
        ++provided;
        if (id == 130) return knob;
        if (id == 131) return broken;
        return {};
    }};
};

TEST_F(BitmapCacheTest, SharesOneDecodeWhileHeldAndDecodesAgainAfterRelease) {
    {
        const CBitmap first = cache.load(130);
        const CBitmap second = cache.load(130);
        ASSERT_TRUE(first.isLoaded());
        EXPECT_EQ(first.pixmap(), second.pixmap());
        EXPECT_EQ(first.getWidth(), 4);
        EXPECT_EQ(first.getHeight(), 6);
        EXPECT_EQ(first.useCount(), 2);
        EXPECT_EQ(cache.decodeCount(), 1);
    }
    // Nobody holds it any more, so its memory is gone and the next load decodes again.
    EXPECT_TRUE(cache.load(130).isLoaded());
    EXPECT_EQ(cache.decodeCount(), 2);

    EXPECT_FALSE(cache.load(131).isLoaded()) << "bytes that do not decode";
    EXPECT_FALSE(cache.load(999).isLoaded()) << "an id with no resource";
    EXPECT_EQ(cache.load(999).getWidth(), 0);
}

TEST_F(BitmapCacheTest, ConcurrentLoadsDecodeOnceAndShare) {
    constexpr int kThreads = 8;
    std::vector<CBitmap> loaded(kThreads);
    {
        std::vector<std::jthread> threads;
        for (int i = 0; i < kThreads; ++i)
            threads.emplace_back([&, i] { loaded[i] = cache.load(130); });
    }
    EXPECT_EQ(cache.decodeCount(), 1);
    for (const auto& bitmap : loaded)
        EXPECT_EQ(bitmap.pixmap(), loaded[0].pixmap());
}

// The fuzz target's seeds: with VELMORA_WRITE_FUZZ_CORPUS set this writes them into the source
// tree; otherwise it checks that the committed ones still decode.
TEST(BmpDecoder, FuzzSeedsDecode) {
    const std::filesystem::path dir =
        std::filesystem::path(VELMORA_SOURCE_DIR) / "tests/fuzz/corpus/fuzz_bmp_decoder";
    const std::pair<const char*, std::vector<std::uint8_t>> seeds[] = {
        {"rgb24_bottom_up.bmp", makeBmp({3, 2, 24}, [](int x, int y) { return gradient(x, y); })},
        {"rgb24_top_down.bmp",
         makeBmp({5, 3, 24, true}, [](int x, int y) { return gradient(x, y); })},
        {"argb32.bmp", makeBmp({2, 3, 32}, [](int x, int y) { return gradient(x, y, 90); })},
        {"argb32_fields_v4.bmp",
         makeBmp({2, 2, 32, true, 108, 3}, [](int x, int y) { return gradient(x, y, 200); })},
    };
    const bool write = std::getenv("VELMORA_WRITE_FUZZ_CORPUS") != nullptr;
    if (write) std::filesystem::create_directories(dir);
    for (const auto& [name, bytes] : seeds) {
        const auto path = dir / name;
        if (write)
            std::ofstream(path, std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        std::ifstream in(path, std::ios::binary);
        const std::vector<std::uint8_t> stored{std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(stored, bytes) << name;
        EXPECT_TRUE(decodeBmp(stored).ok()) << name;
    }
}

} // namespace
} // namespace velmora::toolkit
