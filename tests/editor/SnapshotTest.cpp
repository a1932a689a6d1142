#include "editor/PresetBarLayout.h"
#include "tests/editor/EditorFixtures.h"
#include "toolkit/controls/StripFrame.h"
#include "tools/snapshot/PanelSnapshot.h"
#include "tools/snapshot/SnapshotOptions.h"

namespace velmora::snapshot {
namespace {

using editor::layout::ControlKind;
using editor::layout::ControlPlacement;
using editor::testing::shownFrame;
using toolkit::Framebuffer;
namespace layout = editor::layout;

// A value for each kind of control and the frame it must show, chosen away from the defaults.
struct Probe {
    float value;
    int frame;
};

Probe probeFor(const ControlPlacement& placement) {
    switch (placement.kind) {
    case ControlKind::knob:
        return {0.37f, 37};
    case ControlKind::horizontalSwitch:
        return {placement.frames == 3 ? 0.5f : 1.0f, 1};
    case ControlKind::verticalSwitch:
        return {0.6f, 3};
    case ControlKind::onOffButton:
        return {0.75f, 1};
    case ControlKind::kickButton:
        return {1.0f, 1};
    case ControlKind::display:
        // Readout digits, points and colons, and meters: rounded to the nearest frame.
        switch (placement.frames) {
        case 13:
            return {8.0f / 12, 8};
        case 11:
            return {0.5f, 5};
        case 21:
            return {0.5f, 10};
        default:
            return {1.0f, 1};
        }
    default:
        return {0, 0};
    }
}

const Framebuffer& backgroundPixels() {
    static const Framebuffer pixels = [] {
        Framebuffer fb(layout::kPanelWidth, layout::kPanelHeight);
        toolkit::CDrawContext context(fb);
        const auto bitmap = editor::editorBitmaps().load(layout::kBackgroundBitmap);
        context.drawPixmap(*bitmap.pixmap(), toolkit::CRect{0, 0, 942, 171});
        return fb;
    }();
    return pixels;
}

TEST(Snapshot, EveryControlShowsTheFrameOfItsValueInItsPlace) {
    PanelSnapshot panel;
    for (const ControlPlacement& placement : layout::kControls) {
        if (placement.bitmap != layout::kNoBitmap) {
            ASSERT_TRUE(panel.setValue(placement.tag, probeFor(placement).value));
        }
    }
    const Framebuffer& shown = panel.render();
    for (const ControlPlacement& placement : layout::kControls) {
        if (placement.bitmap == layout::kNoBitmap) continue;
        EXPECT_EQ(shownFrame(shown, &backgroundPixels(), placement), probeFor(placement).frame)
            << "tag " << placement.tag;
    }
}

// Opened over the first factory program with nothing under the mouse: the knobs and switches
// show its values and the readout the tempo.
TEST(Snapshot, TheFirstProgramsValuesShowTheBarAtRestAndSlidersShowNothing) {
    PanelSnapshot panel;
    const Framebuffer& shown = panel.render();
    const auto frameOf = [&](int index, int frames) {
        return toolkit::roundedFrame(panel.effect().getParameter(index), frames);
    };
    EXPECT_EQ(shownFrame(shown, nullptr, *layout::findControl(15)), frameOf(15, 101));
    EXPECT_EQ(shownFrame(shown, nullptr, *layout::findControl(83)), frameOf(5, 101));
    EXPECT_EQ(shownFrame(shown, nullptr, *layout::findControl(89)), frameOf(30, 3));
    EXPECT_EQ(shownFrame(shown, nullptr, *layout::findControl(64)), 2) << "the 1 of 120.0";

    for (const layout::PresetBarPlacement& bar : layout::kPresetBar) {
        if (bar.bitmap < 0) continue;
        const ControlPlacement asShown{bar.tag,  ControlKind::display, {},         bar.rect,
                                       bar.rect, bar.bitmap,           bar.frames, std::nullopt};
        EXPECT_EQ(shownFrame(shown, nullptr, asShown), 0) << "preset bar tag " << bar.tag;
    }
    for (const std::int32_t tag : {90, 10, 61}) {
        const toolkit::PixelRect rect = toolkit::PixelRect::from(layout::findControl(tag)->rect);
        // The tempo slider lies over the readout, which paints under it.
        const toolkit::PixelRect probe{rect.left, rect.top, rect.left + 3, rect.top + 3};
        for (int y = probe.top; y < probe.bottom; ++y)
            for (int x = probe.left; x < probe.right; ++x)
                EXPECT_EQ(shown.pixel(x, y), backgroundPixels().pixel(x, y)) << tag;
    }
}

TEST(Snapshot, ThePresetBarShowsTheFirstProgramAndTakesValuesByTag) {
    PanelSnapshot panel;
    ASSERT_TRUE(panel.setValue(105, 1.0f)) << "learn";
    const Framebuffer& shown = panel.render();
    for (const layout::PresetBarPlacement& bar : layout::kPresetBar)
        if (bar.tag == 105) {
            const ControlPlacement asShown{
                bar.tag,  ControlKind::display, {},         bar.rect,
                bar.rect, bar.bitmap,           bar.frames, std::nullopt};
            EXPECT_EQ(shownFrame(shown, nullptr, asShown), 2) << "on";
        }
    // The name field writes the first program's name over the panel.
    int written = 0;
    for (int y = 159; y < 168; ++y)
        for (int x = 212; x < 260; ++x)
            written += shown.pixel(x, y) != backgroundPixels().pixel(x, y);
    EXPECT_GT(written, 20);
}

TEST(Snapshot, ASecondOpenPanelSharesTheDecodedBitmaps) {
    PanelSnapshot first;
    const int decoded = editor::editorBitmaps().decodeCount();
    PanelSnapshot second;
    EXPECT_EQ(editor::editorBitmaps().decodeCount(), decoded);
    const auto* knob = second.control(84);
    ASSERT_NE(knob, nullptr);
    EXPECT_EQ(knob->getBackground().pixmap(), first.control(84)->getBackground().pixmap());
}

// The about view draws the version over the picture; everywhere else it is the picture alone.
TEST(Snapshot, TheAboutPictureCoversThePanel) {
    PanelSnapshot panel;
    panel.setValue(84, 1.0f);
    panel.showAbout();
    const Framebuffer& shown = panel.render();
    const auto about = editor::editorBitmaps().load(layout::kAboutBitmap);
    const toolkit::CRect versionBox =
        toolkit::CRect::fromSize(layout::kVersionAnchor.x, layout::kVersionAnchor.y, 100, 15);
    int differing = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            if (!versionBox.pointInside({double(x), double(y)}))
                differing += shown.pixel(x, y) != about.pixmap()->at(x, y);
    EXPECT_EQ(differing, 0);
}

TEST(SnapshotOptions, ReadsValuesAndRejectsWhatItCannotDraw) {
    const std::vector<std::string> good{"--value", "84=0.25", "--output", "a.png",
                                        "--about", "--value", "9=1"};
    const ParsedOptions parsed = parseOptions(good);
    ASSERT_TRUE(parsed.options) << parsed.error;
    EXPECT_EQ(parsed.options->output, "a.png");
    EXPECT_TRUE(parsed.options->about);
    EXPECT_EQ(parsed.options->values,
              (std::vector<std::pair<std::int32_t, float>>{{84, 0.25f}, {9, 1.0f}}));

    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--value", "84=0.5"},
                                                {"--output"},
                                                {"--output", "a.png", "--value", "84=1.5"},
                                                {"--output", "a.png", "--value", "84"},
                                                {"--output", "a.png", "--value", "8x=0.5"},
                                                {"--output", "a.png", "--value", "8=0.5x"},
                                                {"--output", "a.png", "--bogus"}})
        EXPECT_FALSE(parseOptions(bad).options) << bad.back();
}

} // namespace
} // namespace velmora::snapshot
