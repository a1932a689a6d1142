// The editor through real gestures on the offscreen backend: every control of the table moves
// its parameter (on the page on show), the host hears only parameters, values from the host
// reach the controls on the next idle, and the pages, the link, the steppers, the nudges and the
// square-law sliders do what a musician expects of them.
#include "editor/ControlLayout.h"
#include "editor/QelOnOffButton.h"
#include "editor/Tags.h"
#include "engine/ParameterDescriptions.h"
#include "engine/ParameterIndex.h"
#include "engine/ValueTables.h"
#include "tests/editor/EditorRig.h"
#include "tests/editor/ReadoutText.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <set>
#include <thread>

namespace velmora::editor::testing {
namespace {

using layout::ControlKind;
using layout::ControlPlacement;
using toolkit::CPoint;
using toolkit::kControl;
using toolkit::kLButton;
using toolkit::kRButton;
using toolkit::kShift;

CPoint centreOf(const ControlPlacement& placement) {
    return {std::floor(placement.rect.left + placement.rect.getWidth() / 2),
            std::floor(placement.rect.top + placement.rect.getHeight() / 2)};
}
CPoint centreOf(std::int32_t tag) {
    return centreOf(*layout::findControl(tag));
}
// The middle of a switch's zone for one position.
CPoint positionOf(const ControlPlacement& placement, int position) {
    const auto& area = placement.drawArea;
    if (placement.kind == ControlKind::verticalSwitch)
        return {std::floor(area.left + area.getWidth() / 2),
                std::floor(area.top + (position + 0.5) * area.getHeight() / placement.frames)};
    return {std::floor(area.left + (position + 0.5) * area.getWidth() / placement.frames),
            std::floor(area.top + area.getHeight() / 2)};
}
bool isOn(float value) {
    return value >= 0.5f;
}
int stepOfParameter(EditorRig& rig, int index) {
    return stepIndex(rig.parameter(index), describe(index).steps);
}

class EditorGestures : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(rig.open()); }

    void click(std::int32_t tag, toolkit::CButtonState buttons = kLButton) {
        rig.driver().click(centreOf(tag), buttons);
        rig.editor().idle();
    }
    // Turns a knob up by dragging from its centre upward.
    void turnUp(std::int32_t tag, double pixels = 20) {
        const CPoint from = centreOf(tag);
        rig.driver().drag(from, from.offset(0, -pixels));
        rig.editor().idle();
    }
    void showRightPage() { click(tags::kRightPage); }

    // The parameter indices the host heard in begin-edit, automation and end-edit calls.
    std::set<VstInt32> heard(VstInt32 opcode) {
        std::set<VstInt32> indices;
        for (const auto& call : calls)
            if (call.opcode == opcode) indices.insert(call.index);
        return indices;
    }
    void takeHostCalls() { calls = rig.log.take(); }

    EditorRig rig;
    std::vector<HostLog::Call> calls;
};

TEST_F(EditorGestures, OpensAtThePanelSizeWithEveryControlShowingItsParameter) {
    ERect* rect = nullptr;
    ASSERT_TRUE(rig.editor().getRect(&rect));
    EXPECT_EQ(rect->right - rect->left, 942);
    EXPECT_EQ(rect->bottom - rect->top, 171);
    EXPECT_EQ(rig.effect().getAeffect()->flags & effFlagsHasEditor, effFlagsHasEditor);
    for (const ControlPlacement& placement : layout::kControls) {
        if (!placement.parameter.isBound()) continue;
        const float expected =
            PanelControls::controlValue(placement, rig.parameter(placement.parameter.left));
        EXPECT_FLOAT_EQ(rig.control(placement.tag).getValue(), expected) << "tag " << placement.tag;
    }
    EXPECT_FALSE(isOn(rig.control(tags::kLeftPage).getValue()));
    EXPECT_TRUE(isOn(rig.control(tags::kRightPage).getValue()));
}

// Each knob, on either page, moves the parameter it shows, and the host hears that parameter
// bracketed and automated, and nothing else.
TEST_F(EditorGestures, EveryKnobMovesItsParameterOnThePageOnShow) {
    for (bool right : {false, true}) {
        if (right) showRightPage();
        for (const ControlPlacement& placement : layout::kControls) {
            if (placement.kind != ControlKind::knob) continue;
            const int index = placement.parameter.shown(right);
            rig.effect().setParameter(index, 0.3f);
            rig.editor().idle();
            rig.log.take();
            turnUp(placement.tag);
            takeHostCalls();
            EXPECT_GT(rig.parameter(index), 0.3f) << "tag " << placement.tag;
            EXPECT_FLOAT_EQ(rig.control(placement.tag).getValue(), rig.parameter(index));
            const std::set<VstInt32> only{index};
            EXPECT_EQ(heard(audioMasterBeginEdit), only) << "tag " << placement.tag;
            EXPECT_EQ(heard(audioMasterAutomate), only) << "tag " << placement.tag;
            EXPECT_EQ(heard(audioMasterEndEdit), only) << "tag " << placement.tag;
        }
    }
}

TEST_F(EditorGestures, EveryButtonAndSwitchSetsItsParameterOnThePageOnShow) {
    for (bool right : {false, true}) {
        if (right) showRightPage();
        for (const ControlPlacement& placement : layout::kControls) {
            if (!placement.parameter.isBound()) continue;
            const int index = placement.parameter.shown(right);
            if (placement.kind == ControlKind::onOffButton) {
                const bool wasOn = isOn(rig.parameter(index));
                click(placement.tag);
                EXPECT_NE(isOn(rig.parameter(index)), wasOn) << "tag " << placement.tag;
            } else if (placement.kind == ControlKind::horizontalSwitch ||
                       placement.kind == ControlKind::verticalSwitch) {
                // The range switch refuses while the delay follows a note; time mode first.
                rig.effect().setParameter(layout::Binding{24, 25}.shown(right), 0.0f);
                rig.editor().idle();
                for (int position = placement.frames - 1; position >= 0; --position) {
                    rig.driver().click(positionOf(placement, position));
                    rig.editor().idle();
                    EXPECT_EQ(stepOfParameter(rig, index), position)
                        << "tag " << placement.tag << " position " << position;
                }
            }
        }
    }
}

// Editor tags (pages, link, steppers, sliders of their own) never reach the host.
TEST_F(EditorGestures, TheHostHearsOnlyParameterIndices) {
    rig.log.take();
    for (std::int32_t tag : {tags::kRightPage, tags::kLeftPage, tags::kLink, tags::kLink,
                             tags::kPreNumStepper, tags::kPreDenStepper, tags::kDelayNumStepper,
                             tags::kLfoDenStepper, tags::kDelayMode, tags::kFbInvert})
        click(tag);
    turnUp(tags::kFbGain);
    rig.driver().drag(centreOf(tags::kTempo), centreOf(tags::kTempo).offset(0, -30));
    for (const auto& call : rig.log.take())
        EXPECT_TRUE(call.index >= 0 && call.index < kNumParameters)
            << "opcode " << call.opcode << " index " << call.index;
}

TEST_F(EditorGestures, HostValuesReachTheControlsOfThePageOnShowOnTheNextIdle) {
    rig.effect().setParameter(param::FbGainR, 0.8f);
    rig.effect().setParameter(param::DlyModeL, stepValue(0, 2)); // a time, not a note
    rig.effect().setParameter(param::DlyTimeL, 0.25f);
    rig.effect().setParameter(param::Mix, 0.9f);
    EXPECT_NE(rig.control(param::Mix).getValue(), 0.9f) << "widgets change on idle only";
    rig.editor().idle();
    EXPECT_FLOAT_EQ(rig.control(param::Mix).getValue(), 0.9f);
    EXPECT_FLOAT_EQ(rig.control(tags::kDelayTime).getValue(), 0.5f);
    EXPECT_NE(rig.control(tags::kFbGain).getValue(), 0.8f) << "the right side is not on show";
    showRightPage();
    EXPECT_FLOAT_EQ(rig.control(tags::kFbGain).getValue(), 0.8f);
}

// The controls show what the effect holds: a value out of range as limited, and the range and
// time a mode change moved along with it.
TEST_F(EditorGestures, ControlsShowWhatTheEffectHoldsNotWhatWasWritten) {
    rig.effect().setParameter(param::Mix, 5.0f);
    rig.effect().setParameter(param::DlyModeL, stepValue(0, 2));
    rig.effect().setParameter(param::DlyTimeL, 0.3f);
    rig.effect().setParameter(param::DlyModeL, stepValue(1, 2));
    rig.editor().idle();
    EXPECT_FLOAT_EQ(rig.control(param::Mix).getValue(), 1.0f);
    EXPECT_FLOAT_EQ(rig.control(tags::kRange).getValue(), rig.parameter(param::RangeL));
    EXPECT_FLOAT_EQ(rig.control(tags::kDelayTime).getValue(),
                    std::sqrt(rig.parameter(param::DlyTimeL)));
}

TEST(EditorLifecycle, ValuesBeforeOpenOrAfterCloseChangeNothingAndTheNextOpenShowsThem) {
    EditorRig rig;
    rig.editor().setParameter(param::Mix, 0.1f); // before any window
    rig.editor().idle();
    ASSERT_TRUE(rig.open());
    rig.editor().close();
    rig.effect().setParameter(param::Output, 0.2f);
    rig.editor().idle();
    EXPECT_FALSE(rig.editor().isOpen());
    EXPECT_EQ(rig.editor().control(param::Output), nullptr);
    ASSERT_TRUE(rig.open());
    EXPECT_FLOAT_EQ(rig.control(param::Output).getValue(), 0.2f);
}

TEST(EditorLifecycle, ReopeningOnTheRightPageRebuildsFromTheRightChannel) {
    EditorRig rig;
    ASSERT_TRUE(rig.open());
    rig.driver().click(centreOf(tags::kRightPage));
    rig.driver().click(centreOf(tags::kLink));
    rig.editor().close();
    rig.effect().setParameter(param::FbPanR, 0.2f);
    rig.effect().setParameter(param::DlyTimeR, 0.36f);
    rig.effect().setParameter(param::FbInvR, 0.75f);
    rig.effect().setParameter(param::FbGainR, 0.65f);
    ASSERT_TRUE(rig.open());
    EXPECT_TRUE(rig.editor().showsRightPage());
    EXPECT_TRUE(rig.editor().isLinked());
    EXPECT_TRUE(isOn(rig.control(tags::kLink).getValue()));
    EXPECT_FALSE(isOn(rig.control(tags::kRightPage).getValue()));
    EXPECT_TRUE(isOn(rig.control(tags::kLeftPage).getValue()));
    EXPECT_FLOAT_EQ(rig.control(tags::kFbPan).getValue(), 0.2f);
    EXPECT_FLOAT_EQ(rig.control(tags::kDelayTime).getValue(),
                    std::sqrt(rig.parameter(param::DlyTimeR)));
    EXPECT_FLOAT_EQ(rig.control(tags::kFbGain).getValue(), 0.65f);
    EXPECT_TRUE(isOn(rig.control(tags::kFbInvert).getValue()));
}

TEST_F(EditorGestures, SwitchingPagesReloadsThePageBoundControlsWithoutWriting) {
    rig.effect().setParameter(param::DlyModeR, stepValue(0, 2));
    rig.effect().setParameter(param::DlyTimeR, 0.49f);
    rig.effect().setParameter(param::DlyGateR, 0.7f);
    rig.log.take();
    showRightPage();
    EXPECT_TRUE(rig.editor().showsRightPage());
    EXPECT_FLOAT_EQ(rig.control(tags::kDelayTime).getValue(), 0.7f);
    EXPECT_FLOAT_EQ(rig.control(tags::kDelayGate).getValue(), 0.7f);
    EXPECT_TRUE(rig.log.take().empty());
    // The selector of the page on show stays dark, clicked again or not.
    showRightPage();
    EXPECT_FALSE(isOn(rig.control(tags::kRightPage).getValue()));
    click(tags::kLeftPage);
    EXPECT_FALSE(rig.editor().showsRightPage());
    EXPECT_TRUE(isOn(rig.control(tags::kRightPage).getValue()));
}

TEST_F(EditorGestures, LinkedKnobsMirrorPansAndCopyGainsBracketingBoth) {
    click(tags::kLink);
    ASSERT_TRUE(rig.editor().isLinked());
    rig.effect().setParameter(param::FbPanL, 0.5f);
    rig.editor().idle();
    rig.log.take();
    const CPoint from = centreOf(tags::kFbPan);
    rig.driver().drag(from, from.offset(0, 60));
    rig.editor().idle();
    takeHostCalls();
    EXPECT_LT(rig.parameter(param::FbPanL), 0.5f);
    EXPECT_FLOAT_EQ(rig.parameter(param::FbPanR), 1.0f - rig.parameter(param::FbPanL));
    const std::set<VstInt32> both{param::FbPanL, param::FbPanR};
    EXPECT_EQ(heard(audioMasterBeginEdit), both);
    EXPECT_EQ(heard(audioMasterEndEdit), both);
    turnUp(tags::kFbGain);
    EXPECT_FLOAT_EQ(rig.parameter(param::FbGainR), rig.parameter(param::FbGainL));
    click(tags::kLink);
    EXPECT_FALSE(rig.editor().isLinked());
}

TEST_F(EditorGestures, AControlClickOnTheLinkCopiesTheShownChannelAndKeepsTheLinkOn) {
    click(tags::kLink); // on
    rig.effect().setParameter(param::FbPanL, 0.3f);
    rig.effect().setParameter(param::DlyGateL, 0.6f);
    rig.effect().setParameter(param::MuteInL, 0.75f);
    rig.effect().setParameter(param::PreDenL, stepValue(7, 13));
    click(tags::kLink, kLButton | kControl); // the click turns the light off, the copy wins
    EXPECT_TRUE(rig.editor().isLinked());
    EXPECT_TRUE(isOn(rig.control(tags::kLink).getValue()));
    EXPECT_FLOAT_EQ(rig.parameter(param::FbPanR), 0.7f);
    EXPECT_FLOAT_EQ(rig.parameter(param::DlyGateR), 0.6f);
    EXPECT_TRUE(isOn(rig.parameter(param::MuteInR)));
    EXPECT_EQ(stepOfParameter(rig, param::PreDenR), 7);
}

TEST_F(EditorGestures, SteppersWrapAroundAndShiftStepsDown) {
    rig.effect().setParameter(param::PreDenL, stepValue(12, 13));
    click(tags::kPreDenStepper);
    EXPECT_FLOAT_EQ(rig.parameter(param::PreDenL), 0.5f / 13);
    click(tags::kPreDenStepper, kLButton | kShift);
    EXPECT_FLOAT_EQ(rig.parameter(param::PreDenL), 12.5f / 13);
    click(tags::kPreNumStepper, kLButton | kControl);
    EXPECT_EQ(stepOfParameter(rig, param::PreNumL), describe(param::PreNumL).steps - 1);
}

TEST_F(EditorGestures, DelayKicksStepTheNoteInNoteModeAndNudgeTheTimeOtherwise) {
    rig.effect().setParameter(param::DlyModeL, stepValue(1, 2));
    rig.effect().setParameter(param::DlyNumL, stepValue(2, 5));
    click(tags::kDelayNumStepper, kLButton | kShift);
    EXPECT_EQ(stepOfParameter(rig, param::DlyNumL), 1);

    rig.effect().setParameter(param::DlyModeL, stepValue(0, 2));
    rig.effect().setParameter(param::DlyTimeL, 0.5f);
    click(tags::kDelayNumStepper, kLButton | kShift);
    EXPECT_NEAR(rig.parameter(param::DlyTimeL), 0.49f, 1e-6);
    click(tags::kDelayDenStepper, kLButton | kControl);
    EXPECT_NEAR(rig.parameter(param::DlyTimeL), 0.59f, 1e-6);
    rig.effect().setParameter(param::DlyTimeL, 0.005f);
    click(tags::kDelayNumStepper, kLButton | kShift);
    EXPECT_FLOAT_EQ(rig.parameter(param::DlyTimeL), 0.0f);
}

TEST_F(EditorGestures, LfoKicksNudgeTheFreeRateWithinItsLimits) {
    rig.effect().setParameter(param::LfoMode, stepValue(0, 3));
    const auto hz = [&] { return std::pow(16.0f, rig.parameter(param::LFORate)) - 1.0f; };
    rig.effect().setParameter(param::LFORate, std::log(1.0f + 2.0f) / std::log(16.0f));
    click(tags::kLfoDenStepper);
    EXPECT_NEAR(hz(), 2.001f, 1e-4);
    click(tags::kLfoNumStepper);
    click(tags::kLfoNumStepper);
    EXPECT_NEAR(hz(), 1.999f, 1e-4);
    rig.effect().setParameter(param::LFORate, 0.0f);
    click(tags::kLfoNumStepper);
    EXPECT_NEAR(hz(), 0.01f, 1e-5);
}

TEST_F(EditorGestures, SlidersKeepTheirSquareLawAndSnapBackWhereTheModeForbids) {
    rig.effect().setParameter(param::DlyModeL, stepValue(0, 2));
    rig.editor().idle();
    const CPoint from = centreOf(tags::kDelayTime);
    rig.driver().drag(from, from.offset(0, -200));
    const float root = rig.control(tags::kDelayTime).getValue();
    EXPECT_FLOAT_EQ(rig.parameter(param::DlyTimeL), std::floor(root * root * 1000) / 1000);

    rig.effect().setParameter(param::DlyModeL, stepValue(1, 2));
    rig.editor().idle();
    const float time = rig.parameter(param::DlyTimeL);
    rig.driver().drag(from, from.offset(0, -100));
    EXPECT_FLOAT_EQ(rig.parameter(param::DlyTimeL), time);
    EXPECT_FLOAT_EQ(rig.control(tags::kDelayTime).getValue(), std::sqrt(time));

    const float range = rig.parameter(param::RangeL);
    rig.driver().click(positionOf(*layout::findControl(tags::kRange), 0));
    EXPECT_FLOAT_EQ(rig.parameter(param::RangeL), range);
}

TEST_F(EditorGestures, TheTempoSliderSetsTheTempoOnlyWithoutAHostTempo) {
    const double before = rig.effect().getNormalisedTempo();
    const CPoint from = centreOf(tags::kTempo);
    rig.driver().drag(from, from.offset(0, -100));
    const float root = rig.control(tags::kTempo).getValue();
    EXPECT_NEAR(rig.effect().getNormalisedTempo(), double(root) * root, 1e-6);
    EXPECT_NE(rig.effect().getNormalisedTempo(), before);
}

TEST_F(EditorGestures, ApplyingAProgramTurnsTheLinkOffUnlessItsSidesMatch) {
    std::set<bool> outcomes;
    for (int program = 0; program < 61; ++program) {
        if (!rig.editor().isLinked()) click(tags::kLink);
        ASSERT_TRUE(rig.editor().isLinked());
        rig.effect().presets().setCurrentProgram(program);
        EXPECT_EQ(rig.editor().isLinked(), rig.effect().sidesMatch()) << "program " << program;
        rig.editor().idle();
        EXPECT_EQ(isOn(rig.control(tags::kLink).getValue()), rig.editor().isLinked());
        outcomes.insert(rig.editor().isLinked());
    }
    EXPECT_EQ(outcomes.size(), 2u) << "the factory programs have matched and unmatched sides";
}

// The readout and meters as the open editor shows them after an idle.
ReadoutValues shownReadout(EditorRig& rig) {
    ReadoutValues values{};
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = rig.control(tags::kFirstReadout + static_cast<std::int32_t>(i)).getValue();
    return values;
}

TEST_F(EditorGestures, TheReadoutShowsTheKnobUnderTheMouseOrUnderEditAndTheTempoElsewhere) {
    rig.effect().setNormalisedTempo(normaliseTempo(120.0));
    rig.driver().moveTo({600, 150}); // over no control
    rig.editor().idle();
    EXPECT_EQ(shownText(shownReadout(rig)), "120.0");
    rig.effect().setParameter(param::Input, 0.5f);
    rig.driver().moveTo(centreOf(param::Input));
    rig.editor().idle();
    EXPECT_EQ(shownText(shownReadout(rig)), "+0.00");
    showRightPage();
    rig.effect().setParameter(param::DlyPanR, 0.5f);
    rig.driver().moveTo(centreOf(tags::kDelayPan));
    rig.editor().idle();
    EXPECT_EQ(shownText(shownReadout(rig)), "50:50");
    // While a knob is held, its value stays on show wherever the pointer goes.
    rig.driver().press(centreOf(param::Mix));
    rig.driver().moveTo({600, 150}, kLButton);
    rig.editor().idle();
    EXPECT_EQ(rig.editor().editedTag(), param::Mix);
    EXPECT_NE(shownText(shownReadout(rig)), "120.0");
    rig.driver().release({600, 150});
    rig.editor().idle();
    EXPECT_EQ(shownText(shownReadout(rig)), "120.0");
}

TEST_F(EditorGestures, TheMetersRiseWithTheSignalAndFallWhenItStops) {
    rig.effect().setSampleRate(44100.0f);
    rig.effect().resume();
    std::vector<float> left(512), right(512), outLeft(512), outRight(512), side(512, 0.0f);
    for (std::size_t i = 0; i < left.size(); ++i)
        left[i] = right[i] = 0.9f * std::sin(0.05f * static_cast<float>(i));
    float* inputs[] = {left.data(), right.data(), side.data(), side.data()};
    float* outputs[] = {outLeft.data(), outRight.data()};
    for (int block = 0; block < 8; ++block)
        rig.effect().processReplacing(inputs, outputs, 512);
    rig.editor().idle();
    const float risen = rig.control(tags::kLeftMeter).getValue();
    EXPECT_GT(risen, 0.5f);
    EXPECT_GT(rig.control(tags::kRightMeter).getValue(), 0.5f);
    // Silence: the meter falls its full scale in half a second, not at once.
    std::fill(left.begin(), left.end(), 0.0f);
    std::fill(right.begin(), right.end(), 0.0f);
    for (int block = 0; block < 200; ++block)
        rig.effect().processReplacing(inputs, outputs, 512);
    rig.editor().idle();
    EXPECT_GT(rig.control(tags::kLeftMeter).getValue(), risen - 0.5f);
    std::this_thread::sleep_for(std::chrono::milliseconds(600));
    rig.effect().processReplacing(inputs, outputs, 512);
    rig.editor().idle();
    EXPECT_FLOAT_EQ(rig.control(tags::kLeftMeter).getValue(), 0.0f);
}

} // namespace
} // namespace velmora::editor::testing
