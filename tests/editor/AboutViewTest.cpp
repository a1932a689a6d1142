#include "editor/CAbout.h"
#include "editor/CSplashScreenMyView.h"
#include "tests/editor/EditorFixtures.h"

#include <algorithm>
#include <vector>

namespace velmora::editor {
namespace {

using testing::placementOf;
using toolkit::BitmapCache;
using toolkit::blueOf;
using toolkit::CFrame;
using toolkit::CPoint;
using toolkit::Framebuffer;
using toolkit::greenOf;
using toolkit::kRButton;
using toolkit::OffscreenDriver;
using toolkit::Pixel;
using toolkit::redOf;

constexpr std::int32_t kKnobUnderneath = 84;
constexpr CPoint kLeftArea{11, 77};
constexpr CPoint kRightArea{930, 77};

// The embedded artwork, counting how often the about picture's bytes are asked for: the cache
// asks only when it has no decoded copy alive, so each count is one picture in memory.
struct CountingArtwork {
    int pictureLoads = 0;
    BitmapCache cache{[this](int id) {
        if (id == layout::kAboutBitmap) ++pictureLoads;
        return embeddedBitmap(id);
    }};
};

// The about areas of the layout table, left one first.
std::vector<const layout::ControlPlacement*> aboutPlacements() {
    std::vector<const layout::ControlPlacement*> areas;
    for (const layout::ControlPlacement& placement : layout::kControls)
        if (placement.kind == layout::ControlKind::aboutArea) areas.push_back(&placement);
    return areas;
}

// The panel with a knob and both about areas, as the editor adds them, on a cache of its own.
class AboutViewTest : public ::testing::Test {
  protected:
    CountingArtwork artwork;
    testing::ControlRecorder recorder;
    std::unique_ptr<CFrame> frame = std::make_unique<CFrame>(
        layout::kAboutDisplayRect, static_cast<toolkit::EditorInterface*>(&recorder));
    toolkit::CControl* knob =
        add(makeControl(placementOf(kKnobUnderneath), artwork.cache, &recorder));
    CAbout* left = add(makeAboutArea(*aboutPlacements().at(0), artwork.cache));
    CAbout* right = add(makeAboutArea(*aboutPlacements().at(1), artwork.cache));
    std::unique_ptr<OffscreenDriver> driver = open();

    template <typename View> View* add(std::unique_ptr<View> view) {
        EXPECT_NE(view, nullptr);
        return frame->addView(std::move(view));
    }
    std::unique_ptr<OffscreenDriver> open() {
        frame->setBackground(artwork.cache.load(layout::kBackgroundBitmap));
        auto opened = std::make_unique<OffscreenDriver>(*frame);
        opened->idle();
        return opened;
    }
    const CSplashScreenMyView* picture() const {
        return dynamic_cast<const CSplashScreenMyView*>(frame->getModalView());
    }
    const Framebuffer& shown() {
        driver->idle();
        return driver->shown();
    }
    Pixel pictureAt(int x, int y) {
        return artwork.cache.load(layout::kAboutBitmap).pixmap()->at(x, y);
    }
};

TEST_F(AboutViewTest, EitherAreaOpensThePictureAndAClickOnItClosesIt) {
    ASSERT_TRUE(left->hitTest(kLeftArea));
    ASSERT_TRUE(right->hitTest(kRightArea));
    EXPECT_EQ(left->getTag(), 82);
    EXPECT_EQ(right->getTag(), 82);
    const Pixel background = shown().pixel(600, 20);
    ASSERT_NE(background, pictureAt(600, 20)) << "the check below needs the two to differ";

    for (const CPoint area : {kLeftArea, kRightArea, kLeftArea}) {
        driver->click(area);
        ASSERT_NE(picture(), nullptr) << area.x;
        EXPECT_EQ(picture()->getViewSize(), layout::kAboutDisplayRect);
        EXPECT_EQ(picture()->getTag(), 0);
        EXPECT_EQ(picture()->getListener(), nullptr);
        EXPECT_EQ(shown().pixel(600, 20), pictureAt(600, 20));
        const CAbout* opened = area == kLeftArea ? left : right;
        EXPECT_EQ(opened->getValue(), 1.0f);

        driver->click({600, 20});
        EXPECT_EQ(frame->getModalView(), nullptr);
        EXPECT_EQ(opened->getValue(), 0.0f);
        EXPECT_EQ(shown().pixel(600, 20), background) << "the whole panel is painted again";
    }
    EXPECT_TRUE(recorder.calls.empty()) << "no listener hears of the about view";
}

TEST_F(AboutViewTest, AClickOrDragOverAKnobUnderThePictureOnlyClosesIt) {
    knob->setValue(0.3f);
    const CPoint centre = knob->getViewSize().getCenter();
    driver->click(kLeftArea);
    ASSERT_NE(picture(), nullptr);

    driver->drag(centre, centre.offset(40, -60));
    EXPECT_EQ(picture(), nullptr);
    EXPECT_EQ(knob->getValue(), 0.3f);
    EXPECT_TRUE(recorder.calls.empty());

    driver->scroll(centre, 1);
    EXPECT_GT(knob->getValue(), 0.3f) << "the knob is really there once the picture is gone";
}

TEST_F(AboutViewTest, OnlyTheLeftButtonOpensOrClosesIt) {
    driver->click(kLeftArea, kRButton);
    driver->click(kRightArea, toolkit::kMButton);
    EXPECT_EQ(frame->getModalView(), nullptr);
    EXPECT_EQ(left->getValue(), 0.0f);
    EXPECT_EQ(right->getValue(), 0.0f);

    driver->click(kLeftArea);
    driver->click({600, 20}, kRButton);
    EXPECT_NE(picture(), nullptr) << "a right click on the picture leaves it open";
    EXPECT_EQ(left->getValue(), 1.0f);
}

TEST_F(AboutViewTest, TheVersionIsWhiteTextAtTheLeftOfItsBoxOverThePicture) {
    driver->click(kRightArea);
    const Framebuffer& screen = shown();
    const toolkit::PixelRect box = toolkit::PixelRect::from(picture()->versionBox());
    ASSERT_EQ(box.left, 740);
    ASSERT_EQ(box.top, 70);
    ASSERT_EQ(box.right, 840);
    ASSERT_EQ(box.bottom, 85);

    int bright = 0;
    int darkened = 0;
    int firstChangedColumn = box.right;
    int lastChangedColumn = box.left;
    int changedOutside = 0;
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < screen.width(); ++x) {
            const Pixel now = screen.pixel(x, y);
            const Pixel before = pictureAt(x, y);
            const bool inside = x >= box.left && x < box.right && y >= box.top && y < box.bottom;
            if (now == before) continue;
            if (!inside) {
                ++changedOutside;
                continue;
            }
            bright += std::min({redOf(now), greenOf(now), blueOf(now)}) >= 192;
            darkened += redOf(now) < redOf(before) || greenOf(now) < greenOf(before) ||
                        blueOf(now) < blueOf(before);
            firstChangedColumn = std::min(firstChangedColumn, x);
            lastChangedColumn = std::max(lastChangedColumn, x);
        }
    EXPECT_EQ(changedOutside, 0) << "outside its box the picture is untouched";
    EXPECT_GT(bright, 20) << "the strokes are white";
    EXPECT_EQ(darkened, 0) << "white blended over the picture only brightens it";
    EXPECT_LE(firstChangedColumn, box.left + 2) << "left-aligned";
    // Seven characters at size 11 take about 35 pixels; centred text would start near 772.
    EXPECT_GT(lastChangedColumn - firstChangedColumn, 25);
    EXPECT_LT(lastChangedColumn, box.left + 50);
}

TEST_F(AboutViewTest, ThePictureIsInMemoryOnlyWhileShown) {
    EXPECT_EQ(artwork.pictureLoads, 0) << "building the areas loads no picture";
    driver->click(kLeftArea);
    EXPECT_EQ(artwork.pictureLoads, 1);
    EXPECT_EQ(picture()->getBackground().getResourceId(), layout::kAboutBitmap);
    EXPECT_EQ(picture()->getBackground().useCount(), 1) << "the view is its only holder";

    driver->click({600, 20});
    driver->click(kRightArea);
    EXPECT_EQ(artwork.pictureLoads, 2) << "closing let it go, so opening decodes it again";
}

TEST_F(AboutViewTest, ClosingTheFrameWhileShownReleasesThePicture) {
    driver->click(kLeftArea);
    ASSERT_NE(picture(), nullptr);
    shown();
    driver.reset();
    frame.reset();
    const int loads = artwork.pictureLoads;
    EXPECT_TRUE(artwork.cache.load(layout::kAboutBitmap).isLoaded());
    EXPECT_EQ(artwork.pictureLoads, loads + 1) << "nothing kept the picture alive";
}

} // namespace
} // namespace velmora::editor
