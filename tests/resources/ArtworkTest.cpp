// What each frame of the control strips shows, read from the pixels: a strip in the wrong
// order or a picture off its place shows the musician a value the control does not have.

#include "tests/resources/BitmapView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string_view>

namespace {

using velmora::resources::testing::BitmapView;

bool isAmber(const BitmapView::Pixel& p) {
    return p.r > 200 && p.g > 110 && p.b < 120;
}

// Knob strips as the editor paints them: from source offset (2, 2), a square of this size.
struct KnobStrip {
    int id;
    int frameHeight;
    int visible;
};
constexpr KnobStrip knobStrips[] = {{130, 37, 33}, {131, 36, 32}, {132, 36, 32}, {133, 37, 33},
                                    {134, 37, 33}, {135, 37, 33}, {136, 37, 33}, {137, 36, 32},
                                    {138, 36, 32}, {139, 36, 32}};

TEST(Artwork, KnobPointersTurnClockwiseOverTheirTravelInsideThePaintedSquare) {
    constexpr int offset = 2;
    for (const auto& knob : knobStrips) {
        const BitmapView bitmap(knob.id, knob.frameHeight);
        const double centre = offset + knob.visible / 2.0;
        for (const int frame : {0, 25, 50, 75, 100}) {
            SCOPED_TRACE(testing::Message() << "bitmap " << knob.id << " frame " << frame);
            double sumX = 0, sumY = 0;
            int count = 0;
            for (int y = 0; y < knob.frameHeight; ++y) {
                for (int x = 0; x < bitmap.width(); ++x) {
                    const auto p = bitmap.pixel(frame, x, y);
                    if (p.r < 200 || p.g < 200 || p.b < 200) continue; // only the white pointer
                    EXPECT_TRUE(x >= offset && x < offset + knob.visible && y >= offset &&
                                y < offset + knob.visible)
                        << "pointer pixel outside the painted square at " << x << "," << y;
                    sumX += x + 0.5;
                    sumY += y + 0.5;
                    ++count;
                }
            }
            ASSERT_GT(count, 3);
            // Screen angles, y downward: the travel runs from 135 to 405 degrees.
            const double angle = std::atan2(sumY / count - centre, sumX / count - centre);
            const double wanted = (135.0 + 270.0 * frame / 100.0) * std::numbers::pi / 180.0;
            const double miss = std::remainder(angle - wanted, 2 * std::numbers::pi);
            EXPECT_LT(std::abs(miss), 12.0 * std::numbers::pi / 180.0);
        }
    }
}

// Seven-segment digits: the centre pixel of each segment a..g in the 13 by 16 cell.
struct SegmentCentre {
    char name;
    int x, y;
};
constexpr SegmentCentre segmentCentres[] = {{'a', 6, 1},  {'b', 10, 5}, {'c', 10, 11}, {'d', 6, 14},
                                            {'e', 2, 11}, {'f', 2, 5},  {'g', 6, 7}};
constexpr std::string_view digitSegments[] = {"abcdef", "bc",     "abdeg", "abcdg",   "bcfg",
                                              "acdfg",  "acdefg", "abc",   "abcdefg", "abcdfg"};

void expectLitSegments(const BitmapView& bitmap, int frame, std::string_view lit) {
    for (const auto& segment : segmentCentres) {
        const bool on = lit.find(segment.name) != std::string_view::npos;
        const int red = bitmap.pixel(frame, segment.x, segment.y).r;
        if (on) {
            EXPECT_GT(red, 180) << "frame " << frame << " segment " << segment.name;
        } else {
            EXPECT_LT(red, 90) << "frame " << frame << " segment " << segment.name;
        }
    }
}

TEST(Artwork, ReadoutDigitsShowBlankThenZeroToNineThenTheSigns) {
    for (const int id : {144, 145}) {
        SCOPED_TRACE(id);
        const BitmapView bitmap(id, 16);
        expectLitSegments(bitmap, 0, "");
        for (int digit = 0; digit <= 9; ++digit)
            expectLitSegments(bitmap, digit + 1, digitSegments[digit]);
    }
    const BitmapView sign(145, 16);
    expectLitSegments(sign, 11, "g");
    expectLitSegments(sign, 12, "g");
    EXPECT_LT(sign.pixel(11, 6, 5).r, 90);  // minus: no vertical stroke
    EXPECT_GT(sign.pixel(12, 6, 5).r, 180); // plus: the vertical stroke
}

TEST(Artwork, ColonsAndPointsLightOnlyInTheSecondFrame) {
    for (const auto& [id, frameHeight, x, y] :
         {std::array{146, 8, 1, 2}, std::array{146, 8, 1, 5}, std::array{147, 2, 1, 0}}) {
        const BitmapView bitmap(id, frameHeight);
        EXPECT_LT(bitmap.pixel(0, x, y).r, 90) << id;
        EXPECT_GT(bitmap.pixel(1, x, y).r, 180) << id;
    }
}

TEST(Artwork, MeterRisesFromDarkToFullFrameByFrame) {
    const BitmapView meter(153, 45);
    int previousLit = -1;
    for (int frame = 0; frame <= 20; ++frame) {
        int lit = 0;
        for (int y = 0; y < 45; ++y)
            lit += meter.pixel(frame, 3, y).brightest() > 120;
        EXPECT_GT(lit, previousLit) << "frame " << frame;
        previousLit = lit;
        if (frame == 0) {
            EXPECT_EQ(lit, 0);
        }
    }
    // Full scale lights the top (0 dB) red.
    const auto top = meter.pixel(20, 3, 1);
    EXPECT_GT(top.r, 200);
    EXPECT_LT(top.g, 120);
}

TEST(Artwork, SlideSwitchesLightTheZoneOfTheirPosition) {
    for (const auto& [id, positions] : {std::array{142, 2}, std::array{143, 3}}) {
        const BitmapView bitmap(id, 9);
        const double zone = static_cast<double>(bitmap.width()) / positions;
        for (int frame = 0; frame < positions; ++frame) {
            for (int position = 0; position < positions; ++position) {
                const int x = static_cast<int>(zone * position + zone / 2);
                EXPECT_EQ(isAmber(bitmap.pixel(frame, x, 4)), position == frame)
                    << "bitmap " << id << " frame " << frame << " zone " << position;
            }
        }
    }
}

TEST(Artwork, ButtonsAndPageSelectorsLightTheirLedInTheRightFrame) {
    // On/off buttons: upper frame off, lower frame on; the LED sits in the middle.
    for (const int id : {150, 151}) {
        const BitmapView bitmap(id, 20);
        EXPECT_GT(bitmap.pixel(1, 12, 9).brightest(), bitmap.pixel(0, 12, 9).brightest() + 100)
            << id;
    }
    // Page selectors: the page on show holds value 0 and shows the first, lit frame.
    for (const int id : {148, 149}) {
        const BitmapView bitmap(id, 46);
        EXPECT_GT(bitmap.pixel(0, 6, 5).brightest(), bitmap.pixel(1, 6, 5).brightest() + 100) << id;
    }
}

int amberCount(const BitmapView& bitmap, int frame, int top, int bottom) {
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < bitmap.width(); ++x) {
            const auto p = bitmap.pixel(frame, x, y);
            count += p.a > 128 && isAmber(p);
        }
    return count;
}

// The waveform selector is drawn over the panel: it needs clear and opaque pixels both.
TEST(Artwork, WaveformSelectorCarriesAlpha) {
    const BitmapView bitmap(152, 56);
    int clear = 0;
    int opaque = 0;
    for (int frame = 0; frame < 5; ++frame)
        for (int y = 0; y < 56; ++y)
            for (int x = 0; x < 16; ++x) {
                clear += bitmap.pixel(frame, x, y).a == 0;
                opaque += bitmap.pixel(frame, x, y).a == 255;
            }
    EXPECT_GT(clear, 0);
    EXPECT_GT(opaque, 0);
}

TEST(Artwork, WaveformSelectorLightsTheWaveOfItsFrameInThatWavesClickZone) {
    const BitmapView bitmap(152, 56);
    for (int frame = 0; frame < 5; ++frame) {
        for (int zone = 0; zone < 5; ++zone) {
            // Click zones are 56 / 5 pixels high; look inside each, clear of its edges.
            const int top = static_cast<int>(zone * 11.2) + 2;
            const int amber = amberCount(bitmap, frame, top, top + 7);
            if (zone == frame) {
                EXPECT_GT(amber, 5) << "frame " << frame;
            } else {
                EXPECT_EQ(amber, 0) << "frame " << frame << " zone " << zone;
            }
        }
    }
}

TEST(Artwork, PresetBarTogglesLightOnlyWhenOn) {
    // Learn, forget and keyboard focus: frame 2 is the "on" state.
    for (const auto& [id, frameHeight] :
         {std::array{998, 16}, std::array{999, 16}, std::array{988, 7}}) {
        const BitmapView bitmap(id, frameHeight);
        EXPECT_EQ(amberCount(bitmap, 0, 0, frameHeight), 0) << id;
        EXPECT_EQ(amberCount(bitmap, 1, 0, frameHeight), 0) << id;
        EXPECT_GT(amberCount(bitmap, 2, 0, frameHeight), 3) << id;
    }
}

// Run-time text is drawn light on the panel: where it goes the artwork must stay dark.
TEST(Artwork, PlacesForRunTimeTextAreDark) {
    struct Place {
        int id;
        int left, top, right, bottom;
    };
    const Place places[] = {
        {128, 211, 158, 321, 168}, // program name field
        {128, 734, 158, 822, 168}, // controller display
        {128, 294, 23, 364, 46},   // readout, under the digits
        {129, 740, 70, 840, 85},   // the version text on the about picture
    };
    for (const auto& place : places) {
        const BitmapView bitmap(place.id, 171);
        for (int y = place.top; y < place.bottom; ++y)
            for (int x = place.left; x < place.right; ++x)
                ASSERT_LT(bitmap.pixel(0, x, y).brightest(), 80)
                    << "bitmap " << place.id << " at " << x << "," << y;
    }
}

} // namespace
