// The preset bar through real gestures on the offscreen backend: the rocker and the menu change
// programs, typing renames one, learn and forget exclude each other, the file, default and
// memory buttons ask for what their gesture means, the buttons draw their hover and pressed
// frames, the controller display names what drives the parameter under the pointer, and what
// the effect posts from another thread reaches the bar on the next idle only.
#include "editor/CPSKickButton.h"
#include "editor/CPSOnOffButton.h"
#include "editor/CPSRockerSwitch.h"
#include "editor/CSaveLoadButton.h"
#include "editor/PresetBarLayout.h"
#include "editor/PresetBarTags.h"
#include "engine/ParameterIndex.h"
#include "tests/editor/EditorFixtures.h"
#include "tests/editor/EditorRig.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace velmora::editor::testing {
namespace {

using layout::PresetBarPlacement;
using toolkit::CButtonState;
using toolkit::CPoint;
using toolkit::kControl;
using toolkit::kLButton;
using toolkit::kRButton;
using toolkit::kShift;

// Notes every request as one line of text, and can act while a request runs, as a file
// dialog would while it is open.
struct RecordingServices : PresetBarServices {
    std::vector<std::string> calls;
    bool keyboardFocus = false;
    std::function<void()> whileRunning;

    static std::string nameOf(FileKind kind) {
        switch (kind) {
        case FileKind::Bank:
            return "bank";
        case FileKind::Preset:
            return "preset";
        case FileKind::MidiSettings:
            return "midi";
        }
        return "?";
    }
    static std::string nameOf(Memo memo) { return memo == Memo::a ? "A" : "B"; }
    void note(std::string call) {
        calls.push_back(std::move(call));
        if (whileRunning) whileRunning();
    }

    void loadFile(FileKind kind, bool reversed) override {
        note("load " + nameOf(kind) + (reversed ? " reversed" : ""));
    }
    void saveFile(FileKind kind) override { note("save " + nameOf(kind)); }
    void storeDefault(FileKind kind) override { note("store default " + nameOf(kind)); }
    void clearDefault(FileKind kind) override { note("clear default " + nameOf(kind)); }
    void storeMemo(Memo memo) override { note("store " + nameOf(memo)); }
    void recallMemo(Memo memo) override { note("recall " + nameOf(memo)); }
    void storeKeyboardFocus(bool on) override { note(on ? "focus on" : "focus off"); }
    bool storedKeyboardFocus() const override { return keyboardFocus; }
    void openUserManual() override { note("manual"); }
};

const PresetBarPlacement& barPlacement(std::int32_t tag) {
    for (const PresetBarPlacement& placement : layout::kPresetBar)
        if (placement.tag == tag) return placement;
    throw std::invalid_argument("no preset bar control with tag " + std::to_string(tag));
}
CPoint centreOf(const toolkit::CRect& rect) {
    return {std::floor((rect.left + rect.right) / 2), std::floor((rect.top + rect.bottom) / 2)};
}
CPoint centreOf(std::int32_t tag) {
    return centreOf(barPlacement(tag).rect);
}
CPoint leftHalfOf(std::int32_t tag) {
    return {barPlacement(tag).rect.left + 3, centreOf(tag).y};
}
CPoint rightHalfOf(std::int32_t tag) {
    return {barPlacement(tag).rect.right - 3, centreOf(tag).y};
}

class PresetBarGestures : public ::testing::Test {
  protected:
    void SetUp() override {
        auto owned = std::make_unique<RecordingServices>();
        services = owned.get();
        services->keyboardFocus = storedFocus();
        rig.editor().presetBar().setServices(std::move(owned));
        ASSERT_TRUE(rig.open());
    }
    virtual bool storedFocus() const { return false; }

    PresetSystem& presets() { return rig.effect().presets(); }
    std::string programName(int program) {
        return std::string(presets().programs()[program].nameView());
    }
    toolkit::CTextEdit& nameField() {
        return dynamic_cast<toolkit::CTextEdit&>(rig.control(tags::kProgramName));
    }
    toolkit::COptionMenu& menu() {
        return dynamic_cast<toolkit::COptionMenu&>(rig.control(tags::kProgramMenu));
    }
    std::string controllerText() {
        auto* display = dynamic_cast<toolkit::CParamDisplay*>(
            rig.editor().presetBar().control(tags::kControllerDisplay));
        return display ? display->displayText() : "(no display)";
    }
    void click(CPoint where, CButtonState buttons = kLButton) {
        rig.driver().click(where, buttons);
        rig.editor().idle();
    }
    void click(std::int32_t tag, CButtonState buttons = kLButton) { click(centreOf(tag), buttons); }
    void doubleClick(std::int32_t tag, CButtonState buttons = kLButton) {
        rig.driver().doubleClick(centreOf(tag), buttons);
        rig.editor().idle();
    }
    void makeCurrent(int program) {
        presets().setCurrentProgram(program);
        rig.editor().currentProgramShown(program);
        rig.editor().idle();
    }
    std::vector<std::string> takeCalls() { return std::exchange(services->calls, {}); }

    // The frame of its strip a bar button shows now.
    std::optional<int> frameShownBy(std::int32_t tag) {
        rig.editor().idle();
        const PresetBarPlacement& placement = barPlacement(tag);
        const layout::ControlPlacement asPlaced{placement.tag,
                                                layout::ControlKind::display,
                                                {},
                                                placement.rect,
                                                placement.rect,
                                                placement.bitmap,
                                                placement.frames,
                                                std::nullopt};
        return shownFrame(rig.driver().shown(), nullptr, asPlaced);
    }

    EditorRig rig;
    RecordingServices* services = nullptr;
};

TEST_F(PresetBarGestures, TheBarOpensWithTheProgramsAndTheCurrentOne) {
    ASSERT_EQ(menu().entryCount(), kNumPrograms);
    for (int program = 0; program < kNumPrograms; ++program)
        EXPECT_EQ(menu().getEntry(program), programName(program)) << program;
    EXPECT_EQ(menu().getCurrent(), 0);
    EXPECT_EQ(nameField().getText(), programName(0));
    // Re-centred on the row: the small font's height plus two pixels above and below.
    const toolkit::CRect field = nameField().getViewSize();
    EXPECT_EQ(field.getHeight(), PresetBar::smallFont().height() + 4);
    EXPECT_NEAR((field.top + field.bottom) / 2, 163, 0.5);

    rig.editor().close();
    EXPECT_EQ(rig.editor().presetBar().control(tags::kProgramRocker), nullptr);
    rig.editor().idle(); // nothing to update while closed
    presets().setCurrentProgram(4);
    ASSERT_TRUE(rig.open());
    EXPECT_EQ(menu().getCurrent(), 4);
    EXPECT_EQ(nameField().getText(), programName(4));
}

TEST_F(PresetBarGestures, TheRockerStepsThroughTheProgramsAndStopsAtEitherEnd) {
    click(rightHalfOf(tags::kProgramRocker));
    EXPECT_EQ(presets().getCurrentProgramIndex(), 1);
    EXPECT_EQ(menu().getCurrent(), 1);
    EXPECT_EQ(nameField().getText(), programName(1));
    EXPECT_EQ(rig.control(tags::kProgramRocker).getValue(), 0) << "released";

    click(leftHalfOf(tags::kProgramRocker));
    click(leftHalfOf(tags::kProgramRocker));
    EXPECT_EQ(presets().getCurrentProgramIndex(), 0);
    EXPECT_EQ(nameField().getText(), programName(0));

    makeCurrent(kNumPrograms - 1);
    const std::string lastName = programName(60);
    click(rightHalfOf(tags::kProgramRocker));
    EXPECT_EQ(presets().getCurrentProgramIndex(), 60);
    EXPECT_EQ(menu().getCurrent(), 60);
    EXPECT_EQ(programName(60), lastName);
    EXPECT_EQ(nameField().getText(), lastName);
    click(leftHalfOf(tags::kProgramRocker));
    EXPECT_EQ(presets().getCurrentProgramIndex(), 59);
    EXPECT_EQ(nameField().getText(), programName(59));
}

TEST_F(PresetBarGestures, MenuEntrySevenAppliesProgramSevenAndShowsItsName) {
    click(tags::kProgramMenu);
    ASSERT_TRUE(rig.driver().popupOpen());
    const toolkit::PixelRect entry = menu().getLayout().entryRect(7);
    const toolkit::CRect popup = rig.driver().popupRect();
    click(CPoint{popup.left + (entry.left + entry.right) / 2,
                 popup.top + (entry.top + entry.bottom) / 2});
    EXPECT_FALSE(rig.driver().popupOpen());
    EXPECT_EQ(presets().getCurrentProgramIndex(), 7);
    EXPECT_EQ(menu().getCurrent(), 7);
    EXPECT_EQ(nameField().getText(), programName(7));
    EXPECT_EQ(rig.parameter(param::Cutoff), presets().programs()[7].values[param::Cutoff]);
}

TEST_F(PresetBarGestures, TypingIntoTheNameFieldRenamesTheCurrentProgram) {
    makeCurrent(3);
    click(tags::kProgramName);
    rig.driver().key(toolkit::VirtualKey::end);
    for (int i = 0; i < 30; ++i)
        rig.driver().key(toolkit::VirtualKey::back);
    rig.driver().type("Slow Tape Wander");
    rig.driver().key(toolkit::VirtualKey::enter);
    rig.editor().idle();
    EXPECT_EQ(programName(3), "Slow Tape Wander");
    EXPECT_EQ(menu().getEntry(3), "Slow Tape Wander");

    // The field takes no more than a program name holds.
    click(tags::kProgramName);
    rig.driver().key(toolkit::VirtualKey::end);
    rig.driver().type("0123456789");
    rig.driver().key(toolkit::VirtualKey::enter);
    rig.editor().idle();
    EXPECT_EQ(programName(3), "Slow Tape Wander01234567");
    EXPECT_EQ(menu().getEntry(3), programName(3));
}

TEST_F(PresetBarGestures, LearningAndForgettingExcludeEachOther) {
    click(tags::kForget);
    EXPECT_TRUE(presets().isForgetting());
    EXPECT_EQ(rig.control(tags::kForget).getValue(), 1);

    click(tags::kLearn);
    EXPECT_TRUE(presets().isLearning());
    EXPECT_FALSE(presets().isForgetting());
    EXPECT_EQ(rig.control(tags::kForget).getValue(), 0);
    EXPECT_EQ(rig.control(tags::kLearn).getValue(), 1);

    click(tags::kForget);
    EXPECT_FALSE(presets().isLearning());
    EXPECT_TRUE(presets().isForgetting());
    EXPECT_EQ(rig.control(tags::kLearn).getValue(), 0);

    click(tags::kForget);
    EXPECT_FALSE(presets().isForgetting());
    EXPECT_EQ(rig.control(tags::kForget).getValue(), 0);
}

TEST_F(PresetBarGestures, LearningEndedByAControllerOnTheAudioThreadReleasesTheButtonOnIdle) {
    click(tags::kLearn);
    rig.effect().setParameter(param::Cutoff, 0.3f); // the parameter touched
    std::thread audio([&] { presets().receiveControlChange(7, 64); });
    audio.join();
    EXPECT_EQ(presets().controllerOfParameter(param::Cutoff), 7);
    EXPECT_EQ(rig.control(tags::kLearn).getValue(), 1) << "widgets wait for the idle";
    rig.editor().idle();
    EXPECT_EQ(rig.control(tags::kLearn).getValue(), 0);
}

TEST_F(PresetBarGestures, AProgramChangeFromAnotherThreadReachesTheBarOnIdleOnly) {
    makeCurrent(9);
    presets().setProgramName("Night Drive");
    VstInt32 size = 0;
    void* data = nullptr;
    size = rig.effect().getChunk(&data, false);
    const std::vector<char> state(static_cast<char*>(data), static_cast<char*>(data) + size);
    makeCurrent(0);
    ASSERT_EQ(nameField().getText(), programName(0));

    std::thread other([&] { rig.effect().setChunk(const_cast<char*>(state.data()), size, false); });
    other.join();
    ASSERT_EQ(presets().getCurrentProgramIndex(), 9);
    EXPECT_EQ(nameField().getText(), programName(0));
    EXPECT_EQ(menu().getCurrent(), 0);
    rig.editor().idle();
    EXPECT_EQ(nameField().getText(), "Night Drive");
    EXPECT_EQ(menu().getCurrent(), 9);
    EXPECT_EQ(menu().getEntry(9), "Night Drive");
}

TEST_F(PresetBarGestures, DefaultButtonsActOnADoubleClickAndControlClears) {
    click(tags::kDefaultPreset);
    EXPECT_TRUE(takeCalls().empty()) << "a single click does nothing";
    doubleClick(tags::kDefaultPreset);
    EXPECT_EQ(takeCalls(), std::vector<std::string>{"store default preset"});
    doubleClick(tags::kDefaultPreset, kLButton | kControl);
    EXPECT_EQ(takeCalls(), std::vector<std::string>{"clear default preset"});
    doubleClick(tags::kDefaultBank, kLButton | kControl);
    EXPECT_EQ(takeCalls(), std::vector<std::string>{"clear default bank"});
    // MIDI settings have no clearing gesture: any double-click stores.
    doubleClick(tags::kDefaultMidi, kLButton | kControl);
    EXPECT_EQ(takeCalls(), std::vector<std::string>{"store default midi"});
    EXPECT_EQ(rig.control(tags::kDefaultMidi).getValue(), 0) << "released";
}

TEST_F(PresetBarGestures, FileAndMemoryButtonsAskForWhatTheGestureMeans) {
    click(tags::kLoadPreset);
    click(tags::kLoadPreset, kRButton);
    click(tags::kLoadPreset, kRButton | kShift);
    click(tags::kLoadBank, kRButton);
    click(tags::kLoadMidi);
    click(tags::kSavePreset);
    click(tags::kSaveBank, kRButton);
    click(tags::kSaveMidi);
    for (const std::int32_t tag : {tags::kStoreA, tags::kRecallA, tags::kStoreB, tags::kRecallB})
        click(tag);
    click(tags::kStoreA, kRButton); // memories take the left button only
    click(tags::kManual);
    EXPECT_EQ(takeCalls(),
              (std::vector<std::string>{"load preset", "load preset reversed", "load preset",
                                        "load bank reversed", "load midi", "save preset",
                                        "save bank", "save midi", "store A", "recall A", "store B",
                                        "recall B", "manual"}));
    EXPECT_EQ(rig.control(tags::kLoadPreset).getValue(), 0);
    EXPECT_EQ(rig.control(tags::kManual).getValue(), 0);
}

TEST_F(PresetBarGestures, TheKeyboardFocusSwitchIsStoredAndTellsTheFrame) {
    EXPECT_EQ(rig.control(tags::kKeyboardFocus).getValue(), 0);
    click(tags::kKeyboardFocus);
    EXPECT_TRUE(rig.editor().frame()->wantsKeyboardFocus());
    click(tags::kKeyboardFocus);
    EXPECT_FALSE(rig.editor().frame()->wantsKeyboardFocus());
    EXPECT_EQ(takeCalls(), (std::vector<std::string>{"focus on", "focus off"}));
}

class PresetBarWithStoredFocus : public PresetBarGestures {
    bool storedFocus() const override { return true; }
};

TEST_F(PresetBarWithStoredFocus, TheSwitchShowsTheStoredOptionWithoutStoringIt) {
    EXPECT_EQ(rig.control(tags::kKeyboardFocus).getValue(), 1);
    EXPECT_TRUE(rig.editor().frame()->wantsKeyboardFocus());
    EXPECT_TRUE(takeCalls().empty());
}

TEST_F(PresetBarGestures, TheControllerDisplayNamesWhatDrivesTheParameterUnderThePointer) {
    presets().assignController(param::Cutoff, 7);
    const auto over = [&](CPoint where) {
        rig.driver().moveTo(where);
        rig.editor().idle();
        return controllerText();
    };
    const auto knob = [](int tag) { return centreOf(layout::findControl(tag)->rect); };
    EXPECT_EQ(over(knob(param::Cutoff)), "main volume");
    EXPECT_EQ(over(knob(param::Reso)), "not assigned");
    EXPECT_EQ(over(centreOf(tags::kLearn)), "");
    EXPECT_EQ(over(knob(param::Cutoff)), "main volume");
    rig.driver().leave();
    rig.editor().idle();
    EXPECT_EQ(controllerText(), "");
}

TEST_F(PresetBarGestures, SaveLoadButtonShowsHoverAndPressedWhileItsDialogRuns) {
    EXPECT_EQ(frameShownBy(tags::kLoadPreset), 0);
    rig.driver().moveTo(centreOf(tags::kLoadPreset));
    EXPECT_EQ(frameShownBy(tags::kLoadPreset), 1);
    std::optional<int> duringDialog;
    services->whileRunning = [&] { duringDialog = frameShownBy(tags::kLoadPreset); };
    rig.driver().press(centreOf(tags::kLoadPreset));
    services->whileRunning = nullptr;
    EXPECT_EQ(duringDialog, 2);
    EXPECT_EQ(frameShownBy(tags::kLoadPreset), 1) << "back up, still hovered";
    rig.driver().release(centreOf(tags::kLoadPreset));
    rig.driver().leave();
    EXPECT_EQ(frameShownBy(tags::kLoadPreset), 0);
}

TEST_F(PresetBarGestures, KickButtonShowsHoverWhileUpAndPressedWhileHeld) {
    rig.driver().moveTo(centreOf(tags::kStoreA));
    EXPECT_EQ(frameShownBy(tags::kStoreA), 1);
    rig.driver().press(centreOf(tags::kStoreA));
    EXPECT_EQ(frameShownBy(tags::kStoreA), 2);
    rig.driver().release(centreOf(tags::kStoreA));
    EXPECT_EQ(frameShownBy(tags::kStoreA), 1);
    rig.driver().moveTo(centreOf(tags::kRecallB));
    EXPECT_EQ(frameShownBy(tags::kStoreA), 0);
}

TEST_F(PresetBarGestures, OnOffButtonShowsHoverWhileOffAndOnWhateverThePointer) {
    rig.driver().moveTo(centreOf(tags::kLearn));
    EXPECT_EQ(frameShownBy(tags::kLearn), 1);
    click(tags::kLearn);
    EXPECT_EQ(frameShownBy(tags::kLearn), 2);
    rig.driver().leave();
    EXPECT_EQ(frameShownBy(tags::kLearn), 2);
    click(tags::kLearn);
    EXPECT_EQ(frameShownBy(tags::kLearn), 1);
    rig.driver().leave();
    EXPECT_EQ(frameShownBy(tags::kLearn), 0);
}

TEST_F(PresetBarGestures, RockerShowsWhichHalfIsHoveredAndWhichWayItIsPressed) {
    EXPECT_EQ(frameShownBy(tags::kProgramRocker), 0);
    rig.driver().moveTo(leftHalfOf(tags::kProgramRocker));
    EXPECT_EQ(frameShownBy(tags::kProgramRocker), 1);
    rig.driver().moveTo(rightHalfOf(tags::kProgramRocker));
    EXPECT_EQ(frameShownBy(tags::kProgramRocker), 2);
    rig.driver().press(rightHalfOf(tags::kProgramRocker));
    EXPECT_EQ(frameShownBy(tags::kProgramRocker), 4);
    rig.driver().release(rightHalfOf(tags::kProgramRocker));
    rig.driver().press(leftHalfOf(tags::kProgramRocker));
    EXPECT_EQ(frameShownBy(tags::kProgramRocker), 3);
    rig.driver().release(leftHalfOf(tags::kProgramRocker));
    EXPECT_EQ(frameShownBy(tags::kProgramRocker), 1);
}

} // namespace
} // namespace velmora::editor::testing
