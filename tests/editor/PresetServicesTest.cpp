// The preset bar's services over the real settings store (in a scratch folder), the real file
// functions and a scripted dialog and shell: defaults a new instance starts with, the A/B
// memories, file actions that wait for their dialog, and the manual's messages.
#include "editor/PresetServices.h"
#include "editor/MessageView.h"
#include "engine/ParameterIndex.h"
#include "platform/SettingNames.h"
#include "plugin/DelayEffect.h"
#include "tests/editor/EditorRig.h"
#include "tests/editor/QuietHost.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

namespace velmora::editor::testing {
namespace {

// A dialog the test answers: it records what was asked and gives the outcome it is told to.
struct ScriptedDialog final : platform::FileDialog {
    std::vector<platform::FileDialogRequest>* asked;
    std::optional<platform::FileDialogResult> answer;
    bool running = false;

    explicit ScriptedDialog(std::vector<platform::FileDialogRequest>& log) : asked(&log) {}
    platform::FileDialogStart start(const platform::FileDialogRequest& request) override {
        asked->push_back(request);
        running = true;
        return {true, {}};
    }
    std::optional<platform::FileDialogResult> poll() override {
        if (!running || !answer) return std::nullopt;
        running = false;
        return std::exchange(answer, std::nullopt);
    }
    void cancel() override {
        if (running) answer = platform::FileDialogResult{};
    }
    bool isRunning() const override { return running; }
};

// The desktop: documents open through the real shell; messages are only recorded.
struct RecordingShell final : platform::Shell {
    std::vector<std::string>* told;
    std::unique_ptr<platform::Shell> real = platform::makeShell();

    explicit RecordingShell(std::vector<std::string>& log) : told(&log) {}
    platform::DocumentOpening openDocument(const std::filesystem::path& document) override {
        return real->openDocument(document);
    }
    std::optional<platform::DocumentOpening> poll() override { return real->poll(); }
    bool showError(std::string_view caption, std::string_view text) override {
        told->push_back(std::string(caption) + "|" + std::string(text));
        return true;
    }
};

class PresetServicesTest : public ::testing::Test {
  protected:
    // A new instance: an effect and its services over the shared scratch settings.
    struct Instance {
        std::unique_ptr<DelayEffect> effect = std::make_unique<DelayEffect>(&quietHost);
        std::unique_ptr<PresetServices> services;
        ScriptedDialog* dialog = nullptr;
    };
    Instance newInstance(std::filesystem::path moduleFolder = {}) {
        Instance instance;
        auto dialog = std::make_unique<ScriptedDialog>(asked);
        instance.dialog = dialog.get();
        instance.services = std::make_unique<PresetServices>(
            instance.effect->presets(),
            PresetServices::Platform{platform::openUserSettings(), std::move(dialog),
                                     std::make_unique<RecordingShell>(told),
                                     std::move(moduleFolder)});
        instance.services->applyStartupDefaults();
        return instance;
    }
    std::string programName(Instance& instance, int program) {
        char name[kVstMaxProgNameLen + 1]{};
        instance.effect->presets().getProgramNameIndexed(program, name);
        return name;
    }
    void choose(Instance& instance, const std::filesystem::path& path) {
        instance.dialog->answer =
            platform::FileDialogResult{platform::FileDialogResult::Outcome::chosen, path, {}};
        instance.services->idle();
    }

    test::ScratchFolder scratch;
    test::ScopedEnvironment config{"XDG_CONFIG_HOME", scratch.path().string()};
    std::vector<platform::FileDialogRequest> asked;
    std::vector<std::string> told;
};

TEST_F(PresetServicesTest, WithNothingStoredANewInstanceStartsWithTheFactoryPrograms) {
    Instance factory{};
    Instance instance = newInstance();
    EXPECT_EQ(instance.effect->presets().getCurrentProgramIndex(), 0);
    for (int program = 0; program < 61; ++program)
        EXPECT_EQ(programName(instance, program), programName(factory, program));
    EXPECT_EQ(instance.services->locations().directory(), "");
}

TEST_F(PresetServicesTest, AStoredDefaultPresetIsProgramZeroOfTheNextInstance) {
    {
        Instance first = newInstance();
        first.effect->presets().setCurrentProgramName("My start");
        first.effect->setParameter(param::Mix, 0.123f);
        first.services->storeDefault(FileKind::Preset);
    }
    Instance factory{};
    Instance next = newInstance();
    EXPECT_EQ(programName(next, 0), "My start");
    EXPECT_FLOAT_EQ(next.effect->getParameter(param::Mix), 0.123f);
    EXPECT_EQ(programName(next, 1), programName(factory, 1));

    next.services->clearDefault(FileKind::Preset);
    Instance cleared = newInstance();
    EXPECT_EQ(programName(cleared, 0), programName(factory, 0));
}

TEST_F(PresetServicesTest, AStoredDefaultBankGivesEveryProgramAndProgramZeroIsCurrent) {
    {
        Instance first = newInstance();
        first.effect->presets().setCurrentProgram(5);
        first.effect->presets().setCurrentProgramName("Fifth of mine");
        first.services->storeDefault(FileKind::Bank);
    }
    Instance next = newInstance();
    EXPECT_EQ(programName(next, 5), "Fifth of mine");
    EXPECT_EQ(next.effect->presets().getCurrentProgramIndex(), 0);
}

TEST_F(PresetServicesTest, DamagedStoredValuesLoadNothing) {
    auto settings = platform::openUserSettings();
    const std::byte tiny[3]{};
    settings->writeBytes(platform::setting::defaultPreset, tiny);
    std::vector<std::byte> foreign(2000, std::byte{0x5A});
    settings->writeBytes(platform::setting::defaultBank, foreign);
    Instance factory{};
    Instance instance = newInstance();
    for (int program = 0; program < 61; ++program)
        EXPECT_EQ(programName(instance, program), programName(factory, program));
    EXPECT_FLOAT_EQ(instance.effect->getParameter(param::Mix),
                    factory.effect->getParameter(param::Mix));
}

TEST_F(PresetServicesTest, MemoriesHoldTheCurrentProgramAndAnEmptyOneRecallsNothing) {
    Instance instance = newInstance();
    instance.effect->setParameter(param::Output, 0.31f);
    instance.services->recallMemo(Memo::a); // nothing stored yet
    EXPECT_FLOAT_EQ(instance.effect->getParameter(param::Output), 0.31f);
    instance.services->storeMemo(Memo::a);
    instance.effect->setParameter(param::Output, 0.9f);
    instance.services->storeMemo(Memo::b);
    instance.services->recallMemo(Memo::a);
    EXPECT_FLOAT_EQ(instance.effect->getParameter(param::Output), 0.31f);
    instance.services->recallMemo(Memo::b);
    EXPECT_FLOAT_EQ(instance.effect->getParameter(param::Output), 0.9f);
}

// A file action starts its dialog and returns; the choice arrives on a later idle.
TEST_F(PresetServicesTest, FileActionsWaitForTheirDialogAndRememberWhereTheyWent) {
    Instance instance = newInstance();
    instance.effect->setParameter(param::Drive, 0.77f);
    instance.services->saveFile(FileKind::Preset);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].title, "Save preset");
    EXPECT_EQ(asked[0].purpose, platform::FileDialogRequest::Purpose::save);
    const auto file = scratch / "mine.qel";
    choose(instance, file);
    ASSERT_TRUE(std::filesystem::exists(file));

    instance.effect->setParameter(param::Drive, 0.1f);
    instance.services->loadFile(FileKind::Preset, true);
    instance.services->loadFile(FileKind::Bank, false); // one dialog at a time
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1].title, "Load preset (endian-reversed)");
    EXPECT_EQ(asked[1].folder, scratch.path().string() + "/");
    instance.services->loadFile(FileKind::Preset, false);
    instance.dialog->cancel();
    instance.services->idle();

    instance.services->loadFile(FileKind::Preset, false);
    EXPECT_FLOAT_EQ(instance.effect->getParameter(param::Drive), 0.1f) << "not before the choice";
    choose(instance, file);
    EXPECT_FLOAT_EQ(instance.effect->getParameter(param::Drive), 0.77f);
    EXPECT_TRUE(told.empty());

    instance.services.reset(); // the locations are stored as the editor goes
    Instance next = newInstance();
    EXPECT_EQ(next.services->locations().directory(), scratch.path().string() + "/");
    EXPECT_EQ(next.services->locations().name(FileKind::Preset), "mine.qel");
}

TEST_F(PresetServicesTest, ARefusedFileChangesNothingAndSaysWhy) {
    Instance instance = newInstance();
    const auto file = scratch / "not-a-preset.qel";
    std::ofstream(file) << "hello";
    instance.effect->setParameter(param::Mix, 0.4f);
    instance.services->loadFile(FileKind::Preset, false);
    choose(instance, file);
    EXPECT_FLOAT_EQ(instance.effect->getParameter(param::Mix), 0.4f);
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].substr(0, told[0].find('|')), "Could not load preset");
}

TEST_F(PresetServicesTest, TheManualIsLookedForWhereRecordedElseBesideThePlugIn) {
    Instance instance = newInstance(scratch / "plugins");
    EXPECT_EQ(instance.services->manualPath(), scratch / "plugins" / "Velmora-Manual.pdf");
    instance.services->openUserManual(); // no such file there
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0], "|Could not open user manual");

    platform::openUserSettings()->writeText(platform::setting::manualPath, "/elsewhere/m.pdf");
    EXPECT_EQ(instance.services->manualPath(), "/elsewhere/m.pdf");
}

TEST_F(PresetServicesTest, TheKeyboardFocusOptionIsStored) {
    Instance instance = newInstance();
    EXPECT_FALSE(instance.services->storedKeyboardFocus());
    instance.services->storeKeyboardFocus(true);
    EXPECT_TRUE(newInstance().services->storedKeyboardFocus());
}

// Through the bar: a click on "load preset" opens the dialog; the choice loads on idle.
TEST_F(PresetServicesTest, TheLoadPresetButtonLoadsTheChosenFileOnIdle) {
    Instance source = newInstance();
    source.effect->setParameter(param::Reso, 0.66f);
    source.services->saveFile(FileKind::Preset);
    const auto file = scratch / "reso.qel";
    choose(source, file);

    EditorRig rig;
    auto dialog = std::make_unique<ScriptedDialog>(asked);
    ScriptedDialog* scripted = dialog.get();
    rig.editor().presetBar().setServices(std::make_unique<PresetServices>(
        rig.effect().presets(), PresetServices::Platform{platform::openUserSettings(),
                                                         std::move(dialog),
                                                         std::make_unique<RecordingShell>(told),
                                                         {}}));
    ASSERT_TRUE(rig.open());
    const auto& button = rig.control(102).getViewSize();
    rig.driver().click({button.left + 5, button.top + 5});
    ASSERT_EQ(asked.back().title, "Load preset");
    scripted->answer =
        platform::FileDialogResult{platform::FileDialogResult::Outcome::chosen, file, {}};
    rig.editor().idle();
    EXPECT_FLOAT_EQ(rig.parameter(param::Reso), 0.66f);
    rig.editor().idle();
    EXPECT_FLOAT_EQ(rig.control(param::Reso).getValue(), 0.66f);
}

// With no dialog program on the system, the click says so in the editor, and a click on the
// message puts it away.
TEST_F(PresetServicesTest, WithoutADialogProgramTheEditorSaysSo) {
    test::ScratchFolder emptyPath;
    test::ScopedEnvironment path{"PATH", emptyPath.path().string()};
    EditorRig rig;
    rig.editor().presetBar().setServices(
        std::make_unique<PresetServices>(rig.effect().presets(), PresetServices::userPlatform()));
    ASSERT_TRUE(rig.open());
    const auto& button = rig.control(102).getViewSize();
    const toolkit::Pixel before = rig.driver().pixel(471, 85);
    rig.driver().click({button.left + 5, button.top + 5});
    rig.editor().idle();
    rig.editor().idle();
    const auto* message = dynamic_cast<const MessageView*>(rig.editor().frame()->getModalView());
    ASSERT_NE(message, nullptr);
    EXPECT_NE(message->text().find("zenity or kdialog"), std::string::npos) << message->text();
    EXPECT_TRUE(message->box().pointInside({471, 85}));
    EXPECT_NE(rig.driver().pixel(471, 85), before) << "the box is drawn over the panel";
    rig.driver().click({5, 5});
    EXPECT_EQ(rig.editor().frame()->getModalView(), nullptr);
}

} // namespace
} // namespace velmora::editor::testing
