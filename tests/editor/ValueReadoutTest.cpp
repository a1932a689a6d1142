// The LED readout against a real effect: what it shows for the knob or area under the mouse or
// the control under edit, read back as the text a musician sees on the panel.
#include "editor/ValueReadout.h"
#include "editor/ControlLayout.h"
#include "engine/ParameterIndex.h"
#include "engine/ValueTables.h"
#include "plugin/DelayEffect.h"
#include "tests/editor/QuietHost.h"
#include "tests/editor/ReadoutText.h"
#include "toolkit/controls/StripFrame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace velmora::editor {
namespace {

using toolkit::CPoint;

using testing::frameShown;
using testing::shownText;

constexpr const char* kBlank = "    ";
constexpr CPoint kNowhere{-1, -1};
constexpr CPoint kInDelayArea{117, 80};
constexpr CPoint kInPreDelayArea{117, 30};
constexpr CPoint kInLfoArea{300, 80};

constexpr float kNoteMode = 0.75f;
constexpr float kTimeMode = 0.25f;

class ValueReadoutTest : public ::testing::Test {
  protected:
    std::string shown(const ReadoutInput& input, std::uint32_t nowMs = 1000) {
        return shownText(readout.update(*effect, input, nowMs));
    }
    std::string hovering(CPoint where, bool showRight = false, std::uint32_t nowMs = 1000) {
        return shown({.mouse = where, .showRight = showRight}, nowMs);
    }
    std::string overKnob(std::int32_t tag, bool showRight = false) {
        const CPoint centre = layout::findControl(tag)->rect.getCenter();
        return shown({.mouse = centre, .knobUnderMouse = tag, .showRight = showRight});
    }
    std::string editing(std::int32_t tag, bool showRight = false, std::uint32_t nowMs = 1000) {
        return shown({.editedTag = tag, .showRight = showRight}, nowMs);
    }
    void set(int index, float value) { effect->setParameter(index, value); }
    // Left delay in note mode at 9/1: 18000 ms at 120 BPM, far beyond 5000 ms.
    void setTooLongLeftDelayNote() {
        set(param::DlyModeL, kNoteMode);
        set(param::DlyNumL, stepValue(4, 5));
        set(param::DlyDenL, stepValue(0, 13));
    }
    void setLeftDelayTime(float rangeStep, float time) {
        set(param::DlyModeL, kTimeMode);
        set(param::RangeL, rangeStep);
        set(param::DlyTimeL, time);
    }

    std::unique_ptr<DelayEffect> effect = std::make_unique<DelayEffect>(&testing::quietHost);
    ValueReadout readout{0};
};

TEST_F(ValueReadoutTest, ElementValuesSelectExactlyTheirFrame) {
    for (std::size_t element = 0; element < kReadoutElementCount; ++element) {
        const int frames = layout::findControl(tags::kFirstReadout + int(element))->frames;
        for (int frame = 0; frame < frames; ++frame)
            EXPECT_EQ(toolkit::roundedFrame(elementValue(ReadoutElement(element), frame), frames),
                      frame)
                << "element " << element << " frame " << frame;
    }
    EXPECT_FLOAT_EQ(elementValue(Digit1, digitFrame(4)), 5.0f / 12.0f);
    EXPECT_FLOAT_EQ(elementValue(Digit3, digitFrame(4)), 5.0f / 10.0f);
}

TEST_F(ValueReadoutTest, NothingUnderTheMouseShowsTheTempo) {
    EXPECT_EQ(hovering(kNowhere), "120.0");
    EXPECT_EQ(hovering({600, 150}), "120.0");
    effect->setNormalisedTempo(0.5); // 215 BPM
    EXPECT_EQ(hovering(kNowhere), "215.0");
}

TEST_F(ValueReadoutTest, InputAtUnityShowsPlusZeroWithThePointAfterTheSecondDigit) {
    set(param::Input, 0.5f);
    const ReadoutValues values = readout.update(*effect, {.knobUnderMouse = 0}, 1000);
    EXPECT_EQ(shownText(values), "+0.00");
    EXPECT_EQ(frameShown(values, Digit1), kPlusFrame);
    EXPECT_EQ(frameShown(values, Digit2), digitFrame(0));
    EXPECT_EQ(frameShown(values, Point1), kDarkFrame);
    EXPECT_EQ(frameShown(values, Point2), kLitFrame);
    EXPECT_EQ(frameShown(values, Point3), kDarkFrame);

    set(param::Input, 0.0f); // the floor, -100 dB: the point falls off the end
    EXPECT_EQ(overKnob(0), "-100");
}

// One row per kind of quantity, each shown the same under the mouse and under edit.
TEST_F(ValueReadoutTest, KnobsShowTheirParameterInItsUnits) {
    struct Row {
        std::int32_t tag;
        float value;
        const char* text;
    };
    const Row rows[] = {
        {param::Mix, 0.5f, "50:50"},      {param::Drive, 0.25f, "+6.02"},
        {param::EnvSpeed, 0.5f, "550.0"}, {param::RvbAmt, 0.5f, "50.00"},
        {param::VcoMan, 0.5f, "1.000"},   {param::CutfMod, 0.75f, "+50.0"},
        {param::Reso, 0.5f, "-12.0"},     {param::ModSrc, 1.0f, "0:100"},
        {param::ModSrc, 0.0f, "100:0"},   {param::Output, 0.25f, "-12.0"},
        {param::Ducking, 0.25f, "-18.0"}, {param::ResoMod, 0.0f, "-100"},
        {param::VcoMod, 1.0f, "+100"},    {param::LROffset, 0.5f, "+0.00"},
        {param::RvbDamp, 1.0f, "+0.00"},  {param::ModSens, 0.5f, "5.000"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.tag);
        set(row.tag, row.value);
        EXPECT_EQ(overKnob(row.tag), row.text);
        EXPECT_EQ(editing(row.tag), row.text);
    }
}

TEST_F(ValueReadoutTest, CutoffShowsKilohertz) {
    set(param::Cutoff, std::log2(1214.0f / 64.0f) / 8.0f); // 64 * 2^(8v) - 14 = 1200 Hz
    EXPECT_EQ(overKnob(param::Cutoff), "1.200");
    set(param::Cutoff, 1.0f); // limited to 16000 Hz
    EXPECT_EQ(overKnob(param::Cutoff), "16.00");
}

TEST_F(ValueReadoutTest, DelayPanAtTheMiddleShowsBothSharesAroundTheMiddleColon) {
    set(param::DlyPanL, 0.5f);
    const ReadoutValues values = readout.update(*effect, {.knobUnderMouse = tags::kDelayPan}, 1000);
    EXPECT_EQ(shownText(values), "50:50");
    EXPECT_EQ(frameShown(values, Colon1), kDarkFrame);
    EXPECT_EQ(frameShown(values, Colon2), kLitFrame);
    EXPECT_EQ(frameShown(values, Colon3), kDarkFrame);
}

// An index whose record sets no sign flag must not borrow one from what was shown before.
TEST_F(ValueReadoutTest, ModSensReadsTheSameWhateverWasShownBefore) {
    set(param::ModSens, 0.5f);
    EXPECT_EQ(overKnob(param::Input), "+0.00");
    EXPECT_EQ(overKnob(param::ModSens), "5.000");
    EXPECT_EQ(overKnob(param::Mix), "50:50");
    EXPECT_EQ(overKnob(param::ModSens), "5.000");
    EXPECT_EQ(editing(param::Reso), "-24.0");
    EXPECT_EQ(editing(param::ModSens), "5.000");
}

TEST_F(ValueReadoutTest, DelayAreaShowsTheTimeOrTheNoteOfTheShownSide) {
    setLeftDelayTime(stepValue(1, 3), 0.375f); // 375 ms of 1000
    EXPECT_EQ(hovering(kInDelayArea), "375.0");
    // The right side keeps the default 1/4 note.
    EXPECT_EQ(hovering(kInDelayArea, true), "1 : 4");
    set(param::DlyDenR, stepValue(7, 13)); // 1/16
    EXPECT_EQ(hovering(kInDelayArea, true), "1 :16");

    setLeftDelayTime(stepValue(2, 3), 0.9f); // 4500 ms of 5000
    EXPECT_EQ(hovering(kInDelayArea), "4500");
}

TEST_F(ValueReadoutTest, PageBoundKnobsShowTheSideOnShow) {
    set(param::FbGainL, 1.0f);
    set(param::FbGainR, 0.5f);
    EXPECT_EQ(overKnob(tags::kFbGain), "+0.00");
    EXPECT_EQ(overKnob(tags::kFbGain, true), "-6.02");
    // Default program: feedback all left on the left side, all right on the right side.
    EXPECT_EQ(overKnob(tags::kFbPan), "100:0");
    EXPECT_EQ(overKnob(tags::kFbPan, true), "0:100");
    EXPECT_EQ(editing(tags::kFbPan), "100:0");
    EXPECT_EQ(editing(tags::kFbPan, true), "0:100");
    set(param::DlyGateR, 0.5f); // gain v^2: -12.04 dB
    EXPECT_EQ(editing(tags::kDelayGate, true), "-12.0");
}

TEST_F(ValueReadoutTest, AreasIncludeTheirEdges) {
    set(param::LfoMode, 0.0f); // free: the rate in Hz, 16^v - 1
    set(param::LFORate, 0.5f);
    EXPECT_EQ(hovering({283, 75}), "3.000");
    EXPECT_EQ(hovering({375, 140}), "3.000");
    EXPECT_EQ(hovering({282, 75}), "120.0");
    EXPECT_EQ(hovering({375, 141}), "120.0");

    setLeftDelayTime(stepValue(1, 3), 0.375f);
    EXPECT_EQ(hovering({86, 50}), "375.0");
    EXPECT_EQ(hovering({149, 134}), "375.0");
    EXPECT_EQ(hovering({150, 134}), "120.0");
    // Between the pre-delay and the delay areas.
    EXPECT_EQ(hovering({100, 48}), "120.0");
    EXPECT_EQ(hovering({86, 47}), "0 : 2");
    EXPECT_EQ(hovering({149, 20}), "0 : 2");
}

TEST_F(ValueReadoutTest, LfoAreaShowsTheNoteWhenSynchronisedAndNeverBlinks) {
    // Default program: synchronised at 1/1.
    EXPECT_EQ(hovering(kInLfoArea), "1 : 1");
    set(param::LfoDen, stepValue(12, 13)); // 1/96: 48 Hz, far faster than the LFO goes
    EXPECT_TRUE(effect->isNoteValueTooLong(kLfoNote));
    for (std::uint32_t now = 1000; now < 2000; now += 100)
        EXPECT_EQ(hovering(kInLfoArea, false, now), "1 :96");
    EXPECT_EQ(editing(param::LFORate), "1 :96");

    set(param::LfoMode, 0.0f);
    set(param::LFORate, 0.5f);
    EXPECT_EQ(hovering(kInLfoArea), "3.000");
    EXPECT_EQ(editing(param::LFORate), "3.000");
}

TEST_F(ValueReadoutTest, TooLongDelayNoteBlinksEveryQuarterSecondWhileHovered) {
    setTooLongLeftDelayNote();
    // The last toggle was at construction, long ago: the first look hides the note.
    EXPECT_EQ(hovering(kInDelayArea, false, 1000), kBlank);
    EXPECT_EQ(hovering(kInDelayArea, false, 1250), kBlank);
    EXPECT_EQ(hovering(kInDelayArea, false, 1251), "9 : 1");
    EXPECT_EQ(hovering(kInDelayArea, false, 1501), "9 : 1");
    EXPECT_EQ(hovering(kInDelayArea, false, 1502), kBlank);
    EXPECT_FALSE(readout.blinkVisible());

    // Elsewhere shows at once, and a note in range shows steadily.
    EXPECT_EQ(hovering(kNowhere, false, 1510), "120.0");
    set(param::DlyNumL, stepValue(0, 5)); // 1/1: 2000 ms
    for (std::uint32_t now = 1520; now < 3000; now += 100)
        EXPECT_EQ(hovering(kInDelayArea, false, now), "1 : 1");
}

TEST_F(ValueReadoutTest, BlinkKeepsItsPaceAcrossATickWrap) {
    constexpr std::uint32_t kNearWrap = 0xFFFFFF00u;
    ValueReadout wrapping{kNearWrap};
    setTooLongLeftDelayNote();
    const ReadoutInput input{.mouse = kInDelayArea};
    EXPECT_EQ(shownText(wrapping.update(*effect, input, kNearWrap + 200)), "9 : 1");
    EXPECT_EQ(shownText(wrapping.update(*effect, input, kNearWrap + 272)), kBlank); // 0x10
}

TEST_F(ValueReadoutTest, ReopeningShowsTheHiddenNoteAgain) {
    setTooLongLeftDelayNote();
    EXPECT_EQ(hovering(kInDelayArea, false, 1000), kBlank);
    readout.resetBlink();
    EXPECT_TRUE(readout.blinkVisible());
    EXPECT_EQ(hovering(kInDelayArea, false, 1100), "9 : 1");
}

TEST_F(ValueReadoutTest, PreDelayAreaBlinksOnlyForTheShownSidesTooLongNote) {
    set(param::PreNumR, stepValue(5, 6)); // 9/2 of the delay: more than all of it
    EXPECT_EQ(hovering(kInPreDelayArea, false, 1000), "0 : 2");
    EXPECT_EQ(hovering(kInPreDelayArea, false, 1300), "0 : 2");
    EXPECT_EQ(hovering(kInPreDelayArea, true, 1400), kBlank);
    EXPECT_EQ(hovering(kInPreDelayArea, true, 1651), "9 : 2");
}

TEST_F(ValueReadoutTest, TheEditedControlWinsOverTheMouse) {
    set(param::Cutoff, 1.0f);
    setLeftDelayTime(stepValue(1, 3), 0.375f);
    EXPECT_EQ(shown({.editedTag = param::Cutoff, .mouse = kInDelayArea}), "16.00");
    EXPECT_EQ(shown({.editedTag = param::Cutoff, .knobUnderMouse = param::Input}), "16.00");
    // The delay's steppers and slider show the delay wherever the mouse has gone.
    for (std::int32_t tag : {tags::kDelayNumStepper, tags::kDelayDenStepper, tags::kDelayTime})
        EXPECT_EQ(shown({.editedTag = tag, .mouse = kInLfoArea}), "375.0") << tag;
    // Controls without a readout of their own leave the tempo on show.
    for (std::int32_t tag : {int{param::Bypass}, tags::kPreNumStepper, tags::kLfoNumStepper,
                             tags::kDelayMode, tags::kTempo})
        EXPECT_EQ(shown({.editedTag = tag, .mouse = kInDelayArea}), "120.0") << tag;
}

TEST_F(ValueReadoutTest, EditedDelayStepperBlinksATooLongNote) {
    setTooLongLeftDelayNote();
    EXPECT_EQ(editing(tags::kDelayNumStepper, false, 1000), kBlank);
    EXPECT_EQ(editing(tags::kDelayDenStepper, false, 1300), "9 : 1");
    // The right side's 1/4 is in range.
    EXPECT_EQ(editing(tags::kDelayNumStepper, true, 1600), "1 : 4");
}

} // namespace
} // namespace velmora::editor
