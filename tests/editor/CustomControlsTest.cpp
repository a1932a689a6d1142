#include "editor/CInvisibleSlider.h"
#include "editor/QelAnimKnob.h"
#include "editor/QelKickButton.h"
#include "editor/QelOnOffButton.h"
#include "editor/QelSwitch.h"
#include "editor/QelSwitchVert.h"
#include "tests/editor/EditorFixtures.h"

#include <cmath>
#include <numbers>

namespace velmora::editor {
namespace {

using namespace toolkit;
using testing::PanelTest;

using Calls = std::vector<std::string>;

class KnobTest : public PanelTest {
  protected:
    QelAnimKnob* gain = add<QelAnimKnob>(84); // default 0
    QelAnimKnob* pan = add<QelAnimKnob>(83);  // default 0.5
    OffscreenDriver& d = open();
    const CPoint gainCentre = placementOf(84).rect.getCenter();
    const CPoint panCentre = placementOf(83).rect.getCenter();

    static const layout::ControlPlacement& placementOf(std::int32_t tag) {
        return testing::placementOf(tag);
    }
};

TEST_F(KnobTest, LinearDragSweepsTheRangeInTwoHundredPixelsAndShiftIsFiveTimesFiner) {
    const CPoint c = gainCentre;
    gain->setValue(0.2f);
    d.drag(c, c.offset(0, -100));
    EXPECT_NEAR(gain->getValue(), 0.7f, 1e-6);
    d.drag(c, c.offset(50, 0));
    EXPECT_NEAR(gain->getValue(), 0.95f, 1e-6);
    d.drag(c, c.offset(0, -400));
    EXPECT_EQ(gain->getValue(), 1.0f);
    d.drag(c, c.offset(-30, 500));
    EXPECT_EQ(gain->getValue(), 0.0f);

    gain->setValue(0.2f);
    d.drag(c, c.offset(0, -100), kLButton | kShift);
    EXPECT_NEAR(gain->getValue(), 0.3f, 1e-6) << "1000 pixels for the range with Shift";

    recorder.clear();
    d.drag(c, c.offset(0, -10), kLButton, 2);
    EXPECT_EQ(recorder.calls, (Calls{"begin 84", "changed 84", "changed 84", "end 84"}));
}

TEST_F(KnobTest, ShiftPressedMidDragChangesOnlyTheSensitivity) {
    const CPoint c = gainCentre;
    gain->setValue(0.5f);
    d.press(c);
    d.moveTo(c.offset(0, -20), kLButton);
    EXPECT_NEAR(gain->getValue(), 0.6f, 1e-6);
    d.moveTo(c.offset(0, -20), kLButton | kShift);
    EXPECT_NEAR(gain->getValue(), 0.6f, 1e-6) << "no jump when Shift goes down";
    d.moveTo(c.offset(0, -120), kLButton | kShift);
    EXPECT_NEAR(gain->getValue(), 0.7f, 1e-6);
    d.moveTo(c.offset(0, -120), kLButton);
    EXPECT_NEAR(gain->getValue(), 0.7f, 1e-6) << "no jump when Shift comes up";
    d.moveTo(c.offset(0, -140), kLButton);
    EXPECT_NEAR(gain->getValue(), 0.8f, 1e-6);
    d.release(c.offset(0, -140));
}

TEST_F(KnobTest, ControlClickResetsToTheDefaultAndOnlyThatExactGesture) {
    const CPoint c = panCentre;
    pan->setValue(0.8f);
    d.press(c, kLButton | kControl);
    d.moveTo(c.offset(0, -50), kLButton | kControl);
    d.release(c.offset(0, -50), kLButton | kControl);
    EXPECT_EQ(pan->getValue(), 0.5f) << "reset, and no drag followed";
    EXPECT_EQ(recorder.changes(), 1);

    d.click(c, kLButton | kControl);
    EXPECT_EQ(recorder.changes(), 1) << "already at the default: nothing to tell";

    d.drag(c, c.offset(0, -20), kLButton | kControl | kShift);
    EXPECT_NEAR(pan->getValue(), 0.52f, 1e-6) << "with Shift as well it is a fine drag";

    gain->setValue(0.8f);
    d.click(gainCentre, kRButton | kControl);
    EXPECT_EQ(gain->getValue(), 0.8f) << "the right button does not reset";
}

TEST_F(KnobTest, AltDragFollowsThePointerAngleAndRefusesToJumpAcross) {
    const CPoint c = gainCentre;
    gain->setValue(0.3f);
    d.press(c.offset(5, 5), kLButton | kAlt);
    d.moveTo(c.offset(0, -20), kLButton | kAlt); // straight up: the middle of the sweep
    EXPECT_NEAR(gain->getValue(), 0.5f, 1e-5);

    // A tenth of the way round from the lower left, then straight to the lower right end.
    const double angle = 5 * std::numbers::pi / 4 - 0.1 * 3 * std::numbers::pi / 2;
    d.moveTo(c.offset(20 * std::cos(angle), -20 * std::sin(angle)), kLButton | kAlt);
    EXPECT_NEAR(gain->getValue(), 0.1f, 1e-4);
    d.moveTo(c.offset(20, 20), kLButton | kAlt);
    EXPECT_EQ(gain->getValue(), 0.0f) << "a jump over half the range stays at the near end";
    d.release(c.offset(20, 20), kLButton | kAlt);
}

TEST_F(KnobTest, WheelStepsAThirtySecondAndATenthOfThatWithShift) {
    const CPoint c = gainCentre;
    d.scroll(c, 1);
    EXPECT_FLOAT_EQ(gain->getValue(), 1.0f / 32);
    EXPECT_EQ(recorder.calls, (Calls{"begin 84", "changed 84", "end 84"}));
    d.scroll(c, 1, kShift);
    EXPECT_FLOAT_EQ(gain->getValue(), 1.0f / 32 + 1.0f / 320);
    d.scroll(c, -5);
    EXPECT_EQ(gain->getValue(), 0.0f);
    recorder.clear();
    d.scroll(c, -1);
    EXPECT_TRUE(recorder.calls.empty()) << "held at the minimum: nothing changed";
    d.scroll(c, 100);
    EXPECT_EQ(gain->getValue(), 1.0f);
}

TEST_F(KnobTest, DrawsWholeFramesInItsDrawingAreaSoOnlyTheMaximumShowsTheLast) {
    for (const auto& [value, frame] :
         {std::pair{0.0f, 0}, std::pair{0.5f, 50}, std::pair{0.999f, 99}, std::pair{1.0f, 100}}) {
        gain->setValue(value);
        EXPECT_EQ(frameShownBy(84), frame) << "value " << value;
    }
    // The rim of the rectangle around the drawing area keeps the panel background.
    d.idle();
    const layout::ControlPlacement& placement = placementOf(84);
    const PixelRect rect = PixelRect::from(placement.rect);
    for (int x = rect.left; x < rect.right; ++x) {
        EXPECT_EQ(d.pixel(x, rect.top), background().pixel(x, rect.top)) << x;
        EXPECT_EQ(d.pixel(x, rect.bottom - 1), background().pixel(x, rect.bottom - 1)) << x;
    }
}

class SwitchTest : public PanelTest {
  protected:
    QelSwitch* range = add<QelSwitch>(89); // three positions, default 1
    QelSwitch* mode = add<QelSwitch>(88);  // two positions, default 0
    QelSwitch* send = add<QelSwitch>(37);  // a 19-pixel strip in a 26-pixel rectangle
    OffscreenDriver& d = open();
};

TEST_F(SwitchTest, PressAndDragPickTheZoneUnderThePointer) {
    // 26 pixels, three zones of 8.67 from x = 104.
    range->setValue(0);
    for (const auto& [x, value] :
         {std::pair{104.0, 0.0f}, std::pair{112.0, 0.0f}, std::pair{113.0, 0.5f},
          std::pair{121.0, 0.5f}, std::pair{122.0, 1.0f}, std::pair{129.0, 1.0f}}) {
        d.click({x, 60});
        EXPECT_EQ(range->getValue(), value) << "x " << x;
    }
    EXPECT_EQ(recorder.values, (std::vector<float>{0.5f, 1.0f})) << "told of changes only";

    recorder.clear();
    d.drag({129, 60}, {40, 60}, kLButton, 12);
    EXPECT_EQ(recorder.values, (std::vector<float>{0.5f, 0.0f})) << "past the left end is 0";
    d.drag({104, 60}, {300, 60}, kLButton, 12);
    EXPECT_EQ(range->getValue(), 1.0f) << "past the right end is 1";

    // Two positions in 19 pixels: the halves meet at 9.5.
    d.click({118, 94});
    EXPECT_EQ(mode->getValue(), 0.0f);
    d.click({119, 94});
    EXPECT_EQ(mode->getValue(), 1.0f);
}

TEST_F(SwitchTest, ZonesFollowTheStripNotAWiderRectangle) {
    d.click({849, 95});
    EXPECT_EQ(send->getValue(), 0.0f);
    d.click({851, 95});
    EXPECT_EQ(send->getValue(), 1.0f);
    d.click({866, 95});
    EXPECT_EQ(send->getValue(), 1.0f) << "beyond the strip is the last position";
    EXPECT_EQ(frameShownBy(37), 1);
}

TEST_F(SwitchTest, ControlClickResetsToTheDefaultWhereverItLands) {
    range->setValue(0.5f);
    d.click({105, 60}, kLButton | kControl);
    EXPECT_EQ(range->getValue(), 1.0f);
    EXPECT_EQ(recorder.changes(), 1);
}

TEST_F(SwitchTest, ShowsTheFrameOfItsPosition) {
    for (const auto& [value, frame] :
         {std::pair{0.0f, 0}, std::pair{0.5f, 1}, std::pair{1.0f, 2}}) {
        range->setValue(value);
        EXPECT_EQ(frameShownBy(89), frame) << "value " << value;
    }
    mode->setValue(1);
    EXPECT_EQ(frameShownBy(88), 1);
}

class WaveSelectorTest : public PanelTest {
  protected:
    QelSwitchVert* wave = add<QelSwitchVert>(9); // 359, 83 to 375, 139: five zones of 11.2
    OffscreenDriver& d = open();
};

TEST_F(WaveSelectorTest, APressPicksOneOfFiveEqualZones) {
    for (const auto& [y, value] :
         {std::pair{83.0, 0.0f}, std::pair{94.0, 0.0f}, std::pair{95.0, 0.2f},
          std::pair{106.0, 0.4f}, std::pair{128.0, 0.8f}, std::pair{138.0, 0.8f}}) {
        d.click({367, y});
        EXPECT_EQ(wave->getValue(), value) << "y " << y;
    }
    EXPECT_EQ(recorder.values, (std::vector<float>{0.2f, 0.4f, 0.8f}));
    EXPECT_EQ(recorder.calls.front(), "begin 9");
    EXPECT_EQ(recorder.calls.back(), "end 9");
}

TEST_F(WaveSelectorTest, NoDragNoResetClickAndOnlyTheLeftButton) {
    d.drag({367, 84}, {367, 138});
    EXPECT_EQ(wave->getValue(), 0.0f) << "the press decides; moving after it changes nothing";
    d.click({367, 138}, kRButton);
    EXPECT_EQ(wave->getValue(), 0.0f);
    d.click({367, 118}, kLButton | kControl);
    EXPECT_EQ(wave->getValue(), 0.6f) << "Control-click selects like any click";
}

TEST_F(WaveSelectorTest, ShowsTheStepItsValueFallsIn) {
    for (const auto& [value, frame] :
         {std::pair{0.0f, 0}, std::pair{0.2f, 1}, std::pair{0.6f, 3}, std::pair{0.8f, 4},
          std::pair{1.0f, 4}, std::pair{0.7f, 3}}) {
        wave->setValue(value);
        EXPECT_EQ(frameShownBy(9), frame) << "value " << value;
    }
}

class KickButtonTest : public PanelTest {
  protected:
    QelKickButton* button = add<QelKickButton>(76);
    OffscreenDriver& d = open();
    const CPoint centre = testing::placementOf(76).rect.getCenter();
};

TEST_F(KickButtonTest, ActsOnThePressWithAMultiplierFromTheModifiers) {
    d.press(centre);
    EXPECT_EQ(recorder.calls, (Calls{"begin 76", "changed 76", "end 76"}));
    EXPECT_EQ(recorder.values, (std::vector<float>{1.0f}));
    EXPECT_EQ(frameShownBy(76), 1) << "held down";
    d.release(centre);
    EXPECT_EQ(button->getValue(), 0.0f);
    EXPECT_EQ(frameShownBy(76), 0);
    EXPECT_EQ(recorder.changes(), 1) << "the release tells nobody";

    d.click(centre, kLButton | kShift);
    d.click(centre, kLButton | kShift | kControl);
    d.click(centre, kLButton | kControl);
    d.click(centre, kLButton);
    EXPECT_EQ(recorder.multipliers, (std::vector<float>{1, 10, 100, 100, 1}));

    d.click(centre, kLButton | kControl);
    EXPECT_EQ(button->getMultiplier(), 100.0f) << "still readable after the release";
    d.click(centre, kRButton);
    d.click(centre, kMButton);
    EXPECT_EQ(recorder.changes(), 6) << "other buttons do nothing";
    EXPECT_EQ(button->getMultiplier(), 100.0f);
}

class OnOffButtonTest : public PanelTest {
  protected:
    QelOnOffButton* button = add<QelOnOffButton>(45);
    OffscreenDriver& d = open();
    const CPoint centre = testing::placementOf(45).rect.getCenter();
};

TEST_F(OnOffButtonTest, ClicksAlternateBetweenTheTwoStepValues) {
    d.click(centre);
    d.click(centre);
    d.click(centre);
    EXPECT_EQ(recorder.values, (std::vector<float>{0.75f, 0.25f, 0.75f}));
    EXPECT_EQ(recorder.calls.front(), "begin 45");
    EXPECT_EQ(recorder.calls.back(), "end 45");
    button->setValue(0.5f);
    d.click(centre);
    EXPECT_EQ(button->getValue(), 0.25f) << "0.5 already counts as on";
}

TEST_F(OnOffButtonTest, RightAndControlClicksAreFlaggedWhileTheListenerHears) {
    d.click(centre, kRButton);
    d.click(centre, kLButton | kControl);
    d.click(centre, kLButton);
    EXPECT_EQ(recorder.values, (std::vector<float>{0.75f, 0.25f, 0.75f}));
    EXPECT_EQ(recorder.modifierClicks, (std::vector<bool>{true, true, false}));
    EXPECT_FALSE(button->isModifierClick()) << "cleared once the listener has heard";
    d.click(centre, kMButton);
    EXPECT_EQ(recorder.changes(), 3) << "the middle button does nothing";
}

TEST_F(OnOffButtonTest, ShowsTheLowerHalfWhenOnHoweverTheValueWasSet) {
    for (const auto& [value, frame] :
         {std::pair{0.0f, 0}, std::pair{1.0f, 1}, std::pair{0.25f, 0}, std::pair{0.75f, 1},
          std::pair{0.5f, 1}, std::pair{0.49f, 0}}) {
        button->setValue(value);
        EXPECT_EQ(frameShownBy(45), frame) << "value " << value;
    }
}

class InvisibleSliderTest : public PanelTest {
  protected:
    CInvisibleSlider* slider = add<CInvisibleSlider>(90);
    OffscreenDriver& d = open();
    const CPoint centre = testing::placementOf(90).rect.getCenter();
};

TEST_F(InvisibleSliderTest, UpwardCountsFullyRightwardHalfShiftAQuarter) {
    slider->setValue(0.2f);
    d.drag(centre, centre.offset(0, -100));
    EXPECT_NEAR(slider->getValue(), 0.3f, 1e-6);
    slider->setValue(0.2f);
    d.drag(centre, centre.offset(100, 0));
    EXPECT_NEAR(slider->getValue(), 0.25f, 1e-6);
    slider->setValue(0.2f);
    d.drag(centre, centre.offset(0, -100), kLButton | kShift);
    EXPECT_NEAR(slider->getValue(), 0.225f, 1e-6);
    slider->setValue(0.9f);
    d.drag(centre, centre.offset(0, -300));
    EXPECT_EQ(slider->getValue(), 1.0f);
    d.drag(centre, centre.offset(0, 2000));
    EXPECT_EQ(slider->getValue(), 0.0f);
}

TEST_F(InvisibleSliderTest, ShiftMidDragChangesTheStepWithoutAJump) {
    slider->setValue(0.2f);
    d.press(centre);
    d.moveTo(centre.offset(0, -40), kLButton);
    EXPECT_NEAR(slider->getValue(), 0.24f, 1e-6);
    d.moveTo(centre.offset(0, -40), kLButton | kShift);
    EXPECT_NEAR(slider->getValue(), 0.24f, 1e-6);
    d.moveTo(centre.offset(0, -80), kLButton | kShift);
    EXPECT_NEAR(slider->getValue(), 0.25f, 1e-6) << "the same fine step as Shift from the press";
    d.moveTo(centre.offset(0, -80), kLButton);
    EXPECT_NEAR(slider->getValue(), 0.25f, 1e-6);
    d.moveTo(centre.offset(0, -90), kLButton);
    EXPECT_NEAR(slider->getValue(), 0.26f, 1e-6);
    d.release(centre.offset(0, -90));
    EXPECT_FALSE(slider->isDragging());
}

TEST_F(InvisibleSliderTest, EveryMoveOfADragTellsTheListenerButHoveringDoesNot) {
    slider->setValue(1.0f);
    d.drag(centre, centre.offset(0, -30), kLButton, 3);
    EXPECT_EQ(recorder.calls, (Calls{"begin 90", "changed 90", "changed 90", "changed 90",
                                     "changed 90", "end 90"}));
    EXPECT_EQ(recorder.values, (std::vector<float>(4, 1.0f)));

    recorder.clear();
    d.moveTo(centre.offset(0, -3));
    d.moveTo(centre.offset(0, 3));
    d.click(centre, kRButton);
    EXPECT_TRUE(recorder.calls.empty());
}

TEST_F(InvisibleSliderTest, WheelNotchesAreSmallAndStayInRange) {
    slider->setValue(0.5f);
    d.scroll(centre, 1);
    EXPECT_FLOAT_EQ(slider->getValue(), 0.505f);
    EXPECT_EQ(recorder.calls, (Calls{"begin 90", "changed 90", "end 90"}));
    d.scroll(centre, 1, kShift);
    EXPECT_FLOAT_EQ(slider->getValue(), 0.5053f);
    slider->setValue(0.998f);
    d.scroll(centre, 1);
    EXPECT_EQ(slider->getValue(), 1.0f);
    slider->setValue(0.002f);
    d.scroll(centre, -1);
    EXPECT_EQ(slider->getValue(), 0.0f);
}

TEST_F(InvisibleSliderTest, PaintsNothingOverThePanel) {
    slider->setValue(0.7f);
    d.idle();
    const PixelRect rect = PixelRect::from(testing::placementOf(90).rect);
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            ASSERT_EQ(d.pixel(x, y), background().pixel(x, y)) << x << "," << y;
}

} // namespace
} // namespace velmora::editor
