#include "tests/toolkit/ToolkitFixtures.h"
#include "toolkit/controls/CKickButton.h"
#include "toolkit/controls/CMovieBitmap.h"
#include "toolkit/controls/CMultiPositionSwitch.h"
#include "toolkit/controls/COnOffButton.h"
#include "toolkit/controls/CRockerSwitch.h"
#include "toolkit/controls/CSplashScreen.h"

namespace velmora::toolkit {
namespace {

using testing::frameAt;
using testing::stripBitmap;

class SwitchTest : public testing::GestureTest {
  protected:
    // Three positions in a 26-pixel bitmap: zones of 8.67 pixels from x = 100.
    CHorizontalSwitch* horizontal = add(std::make_unique<CHorizontalSwitch>(
        CRect{100, 10, 126, 19}, &recorder, 23, 3, 9, 3, stripBitmap(26, 9, 3)));
    // Five positions stacked in 56 pixels from y = 40.
    CVerticalSwitch* vertical = add(std::make_unique<CVerticalSwitch>(
        CRect{10, 40, 26, 96}, &recorder, 9, 5, 56, 5, stripBitmap(16, 56, 5)));
    OffscreenDriver& d = open();
};

TEST_F(SwitchTest, PressAndDragSelectTheZoneUnderThePointer) {
    d.click({100, 15});
    EXPECT_EQ(horizontal->getValue(), 0.0f);
    EXPECT_EQ(recorder.changes(), 0) << "already there: no notification";
    d.click({109, 15});
    EXPECT_EQ(horizontal->getValue(), 0.5f);
    d.click({125, 15});
    EXPECT_EQ(horizontal->getValue(), 1.0f);
    EXPECT_EQ(recorder.changes(), 2);

    // A drag across the whole switch and beyond its left end passes each position once.
    recorder.clear();
    d.drag({125, 15}, {60, 15}, kLButton, 13);
    EXPECT_EQ(horizontal->getValue(), 0.0f);
    EXPECT_EQ(recorder.values, (std::vector<float>{0.5f, 0.0f}));
    EXPECT_EQ(recorder.calls.front(), "begin 23");
    EXPECT_EQ(recorder.calls.back(), "end 23");

    d.idle();
    EXPECT_EQ(frameAt(d, 110, 12), 0);
    horizontal->setValue(0.5f);
    d.idle();
    EXPECT_EQ(frameAt(d, 110, 12), 1);
}

TEST_F(SwitchTest, ControlClickResetsAndVerticalZonesStack) {
    horizontal->setDefaultValue(0.5f);
    d.click({125, 15}, kLButton | kControl);
    EXPECT_EQ(horizontal->getValue(), 0.5f) << "the reset gesture, not the zone under it";

    d.click({15, 40});
    EXPECT_EQ(vertical->getValue(), 0.0f);
    d.click({15, 95}); // bottom row: last position
    EXPECT_EQ(vertical->getValue(), 1.0f);
    d.click({15, 63}); // third zone of 11.2 pixels
    EXPECT_EQ(vertical->getValue(), 0.5f);
    d.click({15, 63}, kRButton);
    d.click({15, 95}, kMButton);
    EXPECT_EQ(vertical->getValue(), 0.5f) << "only the left button switches";
}

class ButtonTest : public testing::GestureTest {
  protected:
    CKickButton* kick = add(std::make_unique<CKickButton>(CRect{10, 10, 29, 29}, &recorder, 74, 19,
                                                          stripBitmap(19, 19, 2)));
    COnOffButton* onOff = add(std::make_unique<COnOffButton>(CRect{50, 10, 62, 20}, &recorder, 41,
                                                             stripBitmap(12, 10, 2)));
    CRockerSwitch* rocker = add(std::make_unique<CRockerSwitch>(CRect{80, 10, 110, 23}, &recorder,
                                                                99, 13, stripBitmap(30, 13, 3)));
    CMovieBitmap* digit = add(std::make_unique<CMovieBitmap>(CRect{130, 10, 143, 26}, &recorder, 64,
                                                             13, 16, stripBitmap(13, 16, 13)));
    OffscreenDriver& d = open();
};

TEST_F(ButtonTest, KickButtonIsDownWhileHeldOverIt) {
    d.press({15, 15});
    d.idle();
    EXPECT_EQ(kick->getValue(), 1.0f);
    EXPECT_EQ(frameAt(d, 15, 15), 1);
    d.moveTo({200, 100}, kLButton); // off the button: up
    EXPECT_EQ(kick->getValue(), 0.0f);
    d.moveTo({20, 20}, kLButton); // back on: down again
    EXPECT_EQ(kick->getValue(), 1.0f);
    d.release({20, 20});
    d.idle();
    EXPECT_EQ(kick->getValue(), 0.0f);
    EXPECT_EQ(frameAt(d, 15, 15), 0);
    EXPECT_EQ(recorder.values, (std::vector<float>{1, 0, 1, 0}));
    EXPECT_EQ(recorder.calls.front(), "begin 74");
    EXPECT_EQ(recorder.calls.back(), "end 74");

    recorder.clear();
    d.click({15, 15}, kRButton);
    EXPECT_TRUE(recorder.calls.empty());
}

TEST_F(ButtonTest, OnOffButtonFlipsOnEachLeftClickAndShowsItsLowerHalfWhenOn) {
    d.click({55, 15});
    d.idle();
    EXPECT_EQ(onOff->getValue(), 1.0f);
    EXPECT_EQ(frameAt(d, 55, 15), 1);
    d.click({55, 15});
    d.idle();
    EXPECT_EQ(onOff->getValue(), 0.0f);
    EXPECT_EQ(frameAt(d, 55, 15), 0);
    d.click({55, 15}, kRButton);
    EXPECT_EQ(onOff->getValue(), 0.0f);
    EXPECT_EQ(recorder.changes(), 2);

    // A value set from outside is drawn by the same rule, without telling anyone.
    onOff->setValue(1.0f);
    d.idle();
    EXPECT_EQ(frameAt(d, 55, 15), 1);
    EXPECT_EQ(recorder.changes(), 2);
}

TEST_F(ButtonTest, RockerGoesToTheSidePressedAndBackOnRelease) {
    d.press({85, 15});
    d.idle();
    EXPECT_EQ(rocker->getValue(), -1.0f);
    EXPECT_EQ(frameAt(d, 85, 15), 0);
    d.release({85, 15});
    d.idle();
    EXPECT_EQ(rocker->getValue(), 0.0f);
    EXPECT_EQ(frameAt(d, 85, 15), 1);
    d.press({96, 15}); // right of the middle at 95
    d.idle();
    EXPECT_EQ(rocker->getValue(), 1.0f);
    EXPECT_EQ(frameAt(d, 85, 15), 2);
    d.release({96, 15});
    EXPECT_EQ(recorder.values, (std::vector<float>{-1, 0, 1, 0}));
}

TEST_F(ButtonTest, StripDisplayShowsTheRoundedFrameAndTakesNoInput) {
    const auto shown = [&](float value) {
        digit->setValue(value);
        d.idle();
        return frameAt(d, 135, 15);
    };
    EXPECT_EQ(shown(6.0f / 12), 6);
    EXPECT_EQ(shown(12.0f / 12), 12);
    EXPECT_EQ(shown(0.0f), 0);
    EXPECT_EQ(shown(0.96f), 12);
    EXPECT_EQ(shown(0.95f), 11);
    EXPECT_EQ(shown(-0.5f), 0);
    EXPECT_EQ(shown(3.0f), 12);
    d.click({135, 15});
    EXPECT_EQ(digit->getValue(), 3.0f);
    EXPECT_EQ(recorder.changes(), 0);
}

class SplashTest : public testing::GestureTest {
  protected:
    // A picture covering the frame, and under it a kick button.
    CKickButton* underneath = add(std::make_unique<CKickButton>(
        CRect{100, 100, 119, 119}, &recorder, 7, 19, stripBitmap(19, 19, 2)));
    CSplashScreen* about = add(std::make_unique<CSplashScreen>(
        CRect{2, 2, 21, 153}, &recorder, 82, stripBitmap(400, 200, 1), CRect{0, 0, 400, 200}));
    OffscreenDriver& d = open();
};

TEST_F(SplashTest, PictureOpensAsModalViewAndAClickOnItClosesIt) {
    d.idle();
    EXPECT_EQ(frameAt(d, 300, 150), -1);
    d.click({10, 50});
    d.idle();
    EXPECT_EQ(about->getValue(), 1.0f);
    ASSERT_NE(frame.getModalView(), nullptr);
    EXPECT_EQ(frameAt(d, 300, 150), 0) << "the picture covers the frame";

    // The click on the picture above the button closes it and leaves the button untouched.
    d.press({110, 110});
    EXPECT_EQ(underneath->getValue(), 0.0f);
    d.release({110, 110});
    d.idle();
    EXPECT_EQ(frame.getModalView(), nullptr);
    EXPECT_EQ(about->getValue(), 0.0f);
    EXPECT_EQ(frameAt(d, 300, 150), -1) << "the whole frame is painted again";

    d.click({10, 50}, kRButton);
    EXPECT_EQ(frame.getModalView(), nullptr);
    d.click({10, 50});
    EXPECT_NE(frame.getModalView(), nullptr) << "and it opens again";
}

} // namespace
} // namespace velmora::toolkit
