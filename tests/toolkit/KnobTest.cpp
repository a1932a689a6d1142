#include "tests/toolkit/ToolkitFixtures.h"
#include "toolkit/controls/CKnob.h"

#include <cmath>
#include <numbers>

namespace velmora::toolkit {
namespace {

class KnobTest : public testing::GestureTest {
  protected:
    // A 40-pixel knob centred on (50, 50), 101 frames.
    CAnimKnob* knob = add(std::make_unique<CAnimKnob>(CRect{30, 30, 70, 70}, &recorder, 5, 101, 40,
                                                      testing::stripBitmap(40, 40, 101)));
    OffscreenDriver& d = open();
};

TEST_F(KnobTest, LinearDragSweepsTheRangeInTwoHundredPixelsAndShiftZooms) {
    knob->setValue(0.2f);
    d.drag({50, 50}, {50, -50}); // 100 pixels up
    EXPECT_NEAR(knob->getValue(), 0.7f, 1e-6);
    d.drag({50, 50}, {100, 50}); // 50 pixels right
    EXPECT_NEAR(knob->getValue(), 0.95f, 1e-6);
    d.drag({50, 50}, {50, 150}); // 100 pixels down
    EXPECT_NEAR(knob->getValue(), 0.45f, 1e-6);
    d.drag({50, 50}, {50, -400}); // far beyond the top
    EXPECT_EQ(knob->getValue(), 1.0f);

    knob->setValue(0.2f);
    d.drag({50, 50}, {50, -100}, kLButton | kShift); // 150 pixels at zoom 1.5
    EXPECT_NEAR(knob->getValue(), 0.7f, 1e-6);
    knob->setZoomFactor(5);
    knob->setValue(0.2f);
    d.drag({50, 50}, {50, -50}, kLButton | kShift);
    EXPECT_NEAR(knob->getValue(), 0.3f, 1e-6);

    // Every movement is one notification inside one edit bracket.
    recorder.clear();
    d.drag({50, 50}, {50, 40}, kLButton, 2);
    const std::vector<std::string> expected{"begin 5", "changed 5", "changed 5", "end 5"};
    EXPECT_EQ(recorder.calls, expected);
}

TEST_F(KnobTest, ModifierChangeMidDragChangesSensitivityWithoutAJump) {
    knob->setValue(0.5f);
    d.press({50, 60});
    d.moveTo({50, 40}, kLButton);
    EXPECT_NEAR(knob->getValue(), 0.6f, 1e-6);
    d.moveTo({50, 40}, kLButton | kShift);
    EXPECT_NEAR(knob->getValue(), 0.6f, 1e-6) << "pressing Shift alone moves nothing";
    d.moveTo({50, -20}, kLButton | kShift);
    EXPECT_NEAR(knob->getValue(), 0.8f, 1e-6);
    d.moveTo({50, -20}, kLButton);
    d.moveTo({50, -40}, kLButton);
    EXPECT_NEAR(knob->getValue(), 0.9f, 1e-6) << "and releasing it goes back to full speed";
    d.release({50, -40});
}

TEST_F(KnobTest, ControlClickResetsToTheDefaultAndStartsNoDrag) {
    knob->setDefaultValue(0.5f);
    knob->setValue(0.8f);
    d.press({50, 50}, kLButton | kControl);
    d.moveTo({50, 0}, kLButton | kControl);
    d.release({50, 0}, kLButton | kControl);
    EXPECT_EQ(knob->getValue(), 0.5f);
    EXPECT_EQ(recorder.changes(), 1);

    d.click({50, 50}, kLButton | kControl);
    EXPECT_EQ(recorder.changes(), 1) << "already at the default";

    // With Shift or Alt as well it is an ordinary drag; right and middle buttons do nothing.
    d.drag({50, 50}, {50, 30}, kLButton | kControl | kShift);
    EXPECT_NEAR(knob->getValue(), 0.5f + 20 / 300.0f, 1e-6);
    const float before = knob->getValue();
    d.drag({50, 50}, {50, 0}, kRButton);
    d.drag({50, 50}, {50, 0}, kMButton);
    EXPECT_EQ(knob->getValue(), before);
}

TEST_F(KnobTest, WheelStepsByTheIncrementAndStaysInRange) {
    knob->setWheelInc(1.0f / 32);
    knob->setValue(0.5f);
    d.scroll({50, 50}, 1);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f + 1.0f / 32);
    d.scroll({50, 50}, -2, kShift);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f + 1.0f / 32 - 0.2f / 32);
    const std::vector<std::string> bracket{"begin 5", "changed 5", "end 5"};
    EXPECT_EQ(std::vector(recorder.calls.begin(), recorder.calls.begin() + 3), bracket);

    knob->setValue(0.99f);
    d.scroll({50, 50}, 3);
    EXPECT_EQ(knob->getValue(), 1.0f);
    recorder.clear();
    d.scroll({50, 50}, 1);
    EXPECT_TRUE(recorder.calls.empty()) << "at the end of the range nothing changes";
    d.scroll({150, 150}, -1);
    EXPECT_EQ(knob->getValue(), 1.0f) << "a wheel outside the knob is not its own";
}

TEST_F(KnobTest, CircularModeFollowsTheAngleAndHoldsAtTheNearerEnd) {
    recorder.knobMode = kCircularMode;
    knob->setValue(0.5f);
    d.press({50, 35});
    d.moveTo({50, 10}, kLButton); // straight up: the middle
    EXPECT_NEAR(knob->getValue(), 0.5f, 1e-6);
    d.moveTo({10, 50}, kLButton); // left: a sixth of the way
    EXPECT_NEAR(knob->getValue(), 1.0f / 6, 1e-6);
    d.moveTo({20, 80}, kLButton); // lower left: the start
    EXPECT_NEAR(knob->getValue(), 0.0f, 1e-6);
    d.moveTo({80, 80}, kLButton); // across the gap to the end would jump: held at 0
    EXPECT_EQ(knob->getValue(), 0.0f);
    d.moveTo({51, 95}, kLButton); // in the gap, nearer the end
    EXPECT_EQ(knob->getValue(), 0.0f);
    d.release({51, 95});

    // Alt swaps the mode for one gesture: here, circular becomes linear.
    knob->setValue(0.2f);
    d.drag({50, 50}, {50, 10}, kLButton | kAlt);
    EXPECT_NEAR(knob->getValue(), 0.4f, 1e-6);
    EXPECT_NEAR(knob->valueFromPoint({90, 50}, 0.9f), 5.0f / 6, 1e-6);
}

TEST_F(KnobTest, DrawsTheRoundedFrameOfItsValue) {
    const auto shown = [&](float value) {
        knob->setValue(value);
        d.idle();
        return testing::frameAt(d, 50, 50);
    };
    EXPECT_EQ(shown(0.0f), 0);
    EXPECT_EQ(shown(0.5f), 50);
    EXPECT_EQ(shown(0.996f), 100);
    EXPECT_EQ(shown(0.994f), 99);
    EXPECT_EQ(shown(1.0f), 100);
    EXPECT_EQ(shown(1.7f), 100) << "values outside the range show the last frame";
}

} // namespace
} // namespace velmora::toolkit
