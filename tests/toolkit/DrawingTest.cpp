#include "toolkit/CDrawContext.h"
#include "toolkit/DirtyRegion.h"

#include <gtest/gtest.h>

#include <array>

namespace velmora::toolkit {
namespace {

constexpr Pixel kBlack = packPixel(255, 0, 0, 0);
constexpr Pixel kRed = packPixel(255, 255, 0, 0);
constexpr Pixel kBlue = packPixel(255, 0, 0, 255);

// A strip of `frames` frames, each 4 by 3 pixels; every pixel of frame k has blue value k + 1,
// so a read-back pixel tells which frame was painted.
Pixmap strip(int frames) {
    Pixmap p{4, 3 * frames, false, {}};
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            p.pixels.push_back(packPixel(255, 0, 0, std::uint32_t(y / 3 + 1)));
    return p;
}

int countPixels(const Framebuffer& fb, Pixel value) {
    return static_cast<int>(std::ranges::count(fb.pixels(), value));
}

TEST(Drawing, FillsAndFramesStayInsideTheClipAndTheFramebuffer) {
    Framebuffer fb(20, 10);
    CDrawContext ctx(fb);
    ctx.setClipRect({5, 2, 15, 8});
    ctx.fillRect({0, 0, 20, 10}, {255, 0, 0, 255});
    EXPECT_EQ(countPixels(fb, kRed), 10 * 6);
    EXPECT_EQ(fb.pixel(4, 5), kBlack);
    EXPECT_EQ(fb.pixel(15, 5), kBlack);
    EXPECT_EQ(fb.pixel(14, 7), kRed);

    // Drawing far outside the framebuffer must neither crash nor wrap around.
    ctx.resetClipRect();
    ctx.fillRect({-100, -100, -50, 5}, {0, 0, 255, 255});
    ctx.fillRect({25, 0, 40, 10}, {0, 0, 255, 255});
    EXPECT_EQ(countPixels(fb, kBlue), 0);

    // A frame is an outline: its inside keeps what was there.
    Framebuffer outline(10, 10);
    CDrawContext octx(outline);
    octx.frameRect({2, 2, 8, 8}, {0, 0, 255, 255});
    EXPECT_EQ(countPixels(outline, kBlue), 6 * 4 - 4);
    EXPECT_EQ(outline.pixel(4, 4), kBlack);
    EXPECT_EQ(outline.pixel(7, 7), kBlue);
    EXPECT_EQ(outline.pixel(8, 8), kBlack);
}

TEST(Drawing, StripBlitsPaintTheFrameAtTheSourceOffset) {
    const Pixmap knob = strip(5);
    Framebuffer fb(10, 10);
    CDrawContext ctx(fb);
    ctx.drawPixmap(knob, CRect::fromSize(3, 3, 4, 3), {0, 3 * 3});
    EXPECT_EQ(fb.pixel(3, 3), packPixel(255, 0, 0, 4));
    EXPECT_EQ(fb.pixel(6, 5), packPixel(255, 0, 0, 4));
    EXPECT_EQ(countPixels(fb, packPixel(255, 0, 0, 4)), 12);

    // The last frame read with a destination taller than what is left of the strip: only the
    // rows that exist are painted.
    Framebuffer tall(10, 10);
    CDrawContext tctx(tall);
    tctx.drawPixmap(knob, CRect::fromSize(0, 0, 6, 6), {0, 4 * 3});
    EXPECT_EQ(countPixels(tall, packPixel(255, 0, 0, 5)), 4 * 3);
    EXPECT_EQ(tall.pixel(0, 3), kBlack);
    EXPECT_EQ(tall.pixel(4, 0), kBlack);

    // A clipped blit paints only the clip's part, from the right source pixels.
    Framebuffer clipped(10, 10);
    CDrawContext cctx(clipped);
    cctx.setClipRect({4, 0, 10, 10});
    cctx.drawPixmap(knob, CRect::fromSize(2, 0, 4, 3), {0, 3});
    EXPECT_EQ(clipped.pixel(3, 0), kBlack);
    EXPECT_EQ(clipped.pixel(4, 0), packPixel(255, 0, 0, 2));
    EXPECT_EQ(countPixels(clipped, packPixel(255, 0, 0, 2)), 2 * 3);
}

TEST(Drawing, AlphaSourcesBlendOverWhatIsThere) {
    // Half-transparent red (premultiplied: 128 of red at alpha 128) over blue.
    Pixmap glass{2, 1, true, {packPixel(128, 128, 0, 0), packPixel(0, 0, 0, 0)}};
    Framebuffer fb(2, 1, kBlue);
    CDrawContext ctx(fb);
    ctx.drawPixmap(glass, {0, 0, 2, 1});
    EXPECT_EQ(fb.pixel(0, 0), packPixel(255, 128, 0, 127));
    EXPECT_EQ(fb.pixel(1, 0), kBlue) << "a fully transparent pixel leaves the background";

    // An opaque source at half of the whole-image alpha blends the same way.
    Pixmap solid{1, 1, false, {kRed}};
    Framebuffer faded(1, 1, kBlue);
    CDrawContext fctx(faded);
    fctx.drawPixmap(solid, {0, 0, 1, 1}, {}, 128);
    EXPECT_EQ(faded.pixel(0, 0), packPixel(255, 128, 0, 127));

    // Translucent fills and coverage masks: zero coverage changes nothing, full coverage paints
    // the colour itself.
    Framebuffer text(3, 1, kBlack);
    CDrawContext tctx(text);
    const std::array<std::uint8_t, 3> mask{0, 255, 64};
    tctx.drawCoverage(0, 0, 3, 1, mask, {255, 255, 255, 255});
    EXPECT_EQ(text.pixel(0, 0), kBlack);
    EXPECT_EQ(text.pixel(1, 0), packPixel(255, 255, 255, 255));
    EXPECT_EQ(text.pixel(2, 0), packPixel(255, 64, 64, 64));
}

TEST(Drawing, DirtyRegionsMergeTouchingAreasAndCollapseWhenMany) {
    DirtyRegion region;
    region.add({0, 0, 10, 10});
    region.add({10, 0, 20, 10}); // shares an edge
    region.add({50, 50, 60, 60});
    ASSERT_EQ(region.rects().size(), 2u);
    EXPECT_EQ(region.rects()[0], (PixelRect{0, 0, 20, 10}));

    // A rectangle that bridges two others merges all three.
    region.add({15, 5, 55, 55});
    ASSERT_EQ(region.rects().size(), 1u);
    EXPECT_EQ(region.rects()[0], (PixelRect{0, 0, 60, 60}));

    DirtyRegion many;
    for (int i = 0; i <= int(DirtyRegion::kMaxRects); ++i)
        many.add({i * 20, 0, i * 20 + 5, 5});
    ASSERT_EQ(many.rects().size(), 1u);
    EXPECT_EQ(many.rects()[0], (PixelRect{0, 0, int(DirtyRegion::kMaxRects) * 20 + 5, 5}));
    many.add({});
    EXPECT_EQ(many.rects().size(), 1u);
}

} // namespace
} // namespace velmora::toolkit
