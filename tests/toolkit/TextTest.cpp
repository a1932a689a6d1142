#include "toolkit/text/Font.h"

#include <gtest/gtest.h>

#include <string>

namespace velmora::toolkit {
namespace {

constexpr Pixel kBlack = packPixel(255, 0, 0, 0);

// The smallest rectangle holding every pixel that is not black.
PixelRect inkBounds(const Framebuffer& fb) {
    PixelRect ink;
    for (int y = 0; y < fb.height(); ++y)
        for (int x = 0; x < fb.width(); ++x)
            if (fb.pixel(x, y) != kBlack) ink = ink.unite({x, y, x + 1, y + 1});
    return ink;
}

TEST(Text, EveryPrintableLatin1CharacterHasAGlyphAtEverySize) {
    for (const auto& face : atlas::faces()) {
        ASSERT_EQ(face.glyphs.size(), std::size_t(atlas::kLastCode - atlas::kFirstCode + 1));
        for (int code = 33; code <= 255; ++code) {
            if ((code >= 0x7F && code <= 0xA0) ||
                code == 0xAD) // controls, no-break and soft hyphen
                continue;
            const auto& g = face.glyphs[code - atlas::kFirstCode];
            EXPECT_GT(g.advance, 0) << face.size << " px, code " << code;
            EXPECT_GT(int(g.width) * g.height, 0) << face.size << " px, code " << code;
            EXPECT_LE(g.offset + std::size_t(g.width) * g.height, face.coverage.size());
        }
        EXPECT_GT(face.glyphs[' ' - atlas::kFirstCode].advance, 0) << "a space moves the pen";
    }
    // Bigger sizes are wider; a size between two faces takes the nearest.
    EXPECT_LT(stringWidth({"sans", 9}, "Velmora"), stringWidth({"sans", 14}, "Velmora"));
    EXPECT_EQ(CFontDesc("sans", 13).face().size, 12);
    EXPECT_EQ(CFontDesc("sans", 40).face().size, 14);
}

TEST(Text, TextIsAntiAliasedAlignedAndClippedToItsBox) {
    const CFontDesc font("sans", 11);
    const std::string version = "v.1.1.0";
    Framebuffer fb(200, 40);
    CDrawContext context(fb);
    const CRect box{40, 10, 140, 25};
    drawString(context, font, version, box, kWhiteCColor, kLeftText);
    const PixelRect ink = inkBounds(fb);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left, 40);
    EXPECT_LE(ink.left, 41) << "left-aligned text starts at the box";
    EXPECT_LE(ink.right - ink.left, stringWidth(font, version));
    EXPECT_GE(ink.top, 10);
    EXPECT_LE(ink.bottom, 25);
    // Anti-aliased: edges carry grey levels between black and white.
    bool grey = false, white = false;
    for (const Pixel p : fb.pixels()) {
        grey = grey || (redOf(p) > 0 && redOf(p) < 255);
        white = white || p == packPixel(255, 255, 255, 255);
    }
    EXPECT_TRUE(grey);
    EXPECT_TRUE(white);

    // Right-aligned text ends at the box's right edge.
    Framebuffer right(200, 40);
    CDrawContext rctx(right);
    drawString(rctx, font, "123", box, kWhiteCColor, kRightText);
    EXPECT_LE(inkBounds(right).right, 140);
    EXPECT_GE(inkBounds(right).right, 137);

    // Text longer than its box never paints outside it.
    Framebuffer narrow(200, 40);
    CDrawContext nctx(narrow);
    drawString(nctx, font, "A long program name that does not fit", {10, 10, 60, 25}, kWhiteCColor,
               kLeftText);
    EXPECT_EQ(inkBounds(narrow).intersect({10, 10, 60, 25}), inkBounds(narrow));
    EXPECT_EQ(nctx.getClipRect(), (CRect{0, 0, 200, 40})) << "the caller's clip comes back";
}

} // namespace
} // namespace velmora::toolkit
