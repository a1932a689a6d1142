// The built module's editor in a real X11 window, driven as a user and a host drive it: the
// host makes a parent window of the size the editor asks for and idles the editor from its UI
// thread, the user presses and drags through XTest, and the checks read the window's pixels,
// the parameters and what the plug-in told the host.
// gtest comes before Xlib's headers, whose macros (None, Bool) clash with its names.
#include "tests/support/EditChecks.h"
#include "tests/support/HostFixture.h"
#include "tests/support/ScratchFolder.h"

#include "editor/EditorBitmaps.h"
#include "tools/hostwindow/HostedEditor.h"
#include "tools/snapshot/PanelSnapshot.h"

// Last: Xlib's macros would reach the toolkit's headers.
#include "tests/toolkit/X11TestServer.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

namespace velmora::testing {
namespace {

using host::HostedEditor;
using host::HostWindow;
using host::PluginInstance;
using host::ScriptedHost;
using host::WindowImage;
using toolkit::testing::X11TestServer;
using namespace std::chrono_literals;

constexpr int kPanelWidth = 942;
constexpr int kPanelHeight = 171;
// Ticks faster than a host's timer, so the tests wait less; the editor may not rely on pace.
constexpr auto kTestIdleInterval = 5ms;
constexpr std::chrono::milliseconds kPatience = 3s;

// Centres of controls in window pixels (the control table's rectangles).
constexpr XPoint kOutputKnob{493, 46};        // tag 1, Output
constexpr XPoint kFeedbackGainKnob{225, 47};  // tag 84, FbGainL/FbGainR by page
constexpr XPoint kRightPageSelector{69, 116}; // tag 92
constexpr XPoint kLeftAboutArea{11, 77};      // tag 82, left edge
constexpr XPoint kLoadPresetButton{187, 163}; // tag 102
constexpr XPoint kSavePresetButton{124, 163}; // tag 103
constexpr int kOutput = 1;
constexpr int kFbGainL = 3;
constexpr int kFbGainR = 4;

// The share of pixels the window shows as the reference draws them.
double matchingShare(const WindowImage& shown, const toolkit::Framebuffer& reference) {
    if (shown.width != reference.width() || shown.height != reference.height()) return 0;
    std::size_t same = 0;
    for (int y = 0; y < shown.height; ++y)
        for (int x = 0; x < shown.width; ++x)
            same += shown.at(x, y) == (reference.pixel(x, y) & 0xFFFFFF);
    return double(same) / double(shown.pixels.size());
}

// Writes what the window showed as a PPM picture beside the test's other output and returns
// its path, so a failing pixel check can be looked at.
std::string keepForInspection(const WindowImage& image, const std::string& name) {
    const std::string path = ::testing::TempDir() + "editor-window-" + name + ".ppm";
    std::ofstream file(path, std::ios::binary);
    file << "P6\n" << image.width << ' ' << image.height << "\n255\n";
    for (const std::uint32_t pixel : image.pixels) {
        const std::array<char, 3> rgb{char(pixel >> 16), char(pixel >> 8), char(pixel)};
        file.write(rgb.data(), rgb.size());
    }
    return path;
}

int countOf(const WindowImage& image, std::uint32_t colour) {
    return int(std::ranges::count(image.pixels, colour));
}

// The panel as the snapshot tool draws it, with or without the about picture over it.
const toolkit::Framebuffer& referencePanel(bool about) {
    static const auto render = [](bool withAbout) {
        snapshot::PanelSnapshot panel;
        if (withAbout) panel.showAbout();
        return panel.render();
    };
    static const toolkit::Framebuffer panel = render(false);
    static const toolkit::Framebuffer aboutPicture = render(true);
    return about ? aboutPicture : panel;
}

class EditorWindowTest : public HostFixture {
  protected:
    void SetUp() override {
        if (!server.usable()) GTEST_SKIP() << "no X server with XTest and 24-bit colour";
        createRunningInstance();
        window = HostWindow::connect();
        ASSERT_TRUE(window);
    }
    void TearDown() override {
        if (!server.usable()) return;
        editors.clear();
        EXPECT_EQ(X11TestServer::errors(), 0) << X11TestServer::describeLastError();
    }

    HostedEditor& openEditor(PluginInstance& plugin, HostWindow& parent) {
        editors.push_back(std::make_unique<HostedEditor>(plugin, parent));
        HostedEditor& editor = *editors.back();
        EXPECT_TRUE(editor.open());
        return editor;
    }
    HostedEditor& openEditor() { return openEditor(*instance, *window); }

    // Idles every open editor, as one host UI thread does, until `done` holds.
    bool idleUntil(const std::function<bool()>& done,
                   std::chrono::milliseconds patience = kPatience) {
        const auto deadline = std::chrono::steady_clock::now() + patience;
        while (std::chrono::steady_clock::now() < deadline) {
            for (auto& editor : editors)
                editor->idle();
            if (done()) return true;
            std::this_thread::sleep_for(kTestIdleInterval);
        }
        return false;
    }
    // Long enough for every queued event to arrive and be handled.
    void idleAWhile() {
        idleUntil([] { return false; }, 300ms);
    }
    // Whether the window comes to show the panel (or the about picture); when it does not,
    // the last picture is kept and named in the failure.
    ::testing::AssertionResult shows(HostWindow& parent, bool about) {
        WindowImage shown;
        if (idleUntil([&] {
                shown = parent.capture();
                return matchingShare(shown, referencePanel(about)) > kMatch;
            })) {
            return ::testing::AssertionSuccess();
        }
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        return ::testing::AssertionFailure()
               << "the window shows " << matchingShare(shown, referencePanel(about)) << " of the "
               << (about ? "about picture" : "panel") << "'s pixels; it is kept in "
               << keepForInspection(shown, test->name());
    }
    bool childGone(HostWindow& parent) {
        return idleUntil([&] { return parent.childCount() == 0; });
    }
    Window editorWindow(HostWindow& parent) {
        const auto children = server.children(Window(parent.id()));
        return children.size() == 1 ? children.front() : 0;
    }
    void drag(HostWindow& parent, XPoint from, int right, int up) {
        server.drag(Window(parent.id()), from, {short(from.x + right), short(from.y - up)});
    }
    void click(HostWindow& parent, XPoint at) { server.click(Window(parent.id()), at.x, at.y); }

    // Most of the panel is background and artwork at fixed places; the controls' values, the
    // readout, the meters and the preset bar's texts may differ from the reference.
    static constexpr double kMatch = 0.9;

    X11TestServer server;
    std::unique_ptr<HostWindow> window;
    // A second instance for the tests that open two editors at once.
    ScriptedHost secondHost;
    std::unique_ptr<PluginInstance> secondInstance;
    std::unique_ptr<HostWindow> secondWindow;
    // Closed first, before the instances and windows they live in.
    std::vector<std::unique_ptr<HostedEditor>> editors;
};

TEST_F(EditorWindowTest, OpensAChildOfThePanelsSizeInTheHostWindowAndShowsThePanel) {
    EXPECT_EQ(instance->effect().flags & effFlagsHasEditor, effFlagsHasEditor);
    const auto rect = instance->editorRect();
    ASSERT_TRUE(rect);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->right, kPanelWidth);
    EXPECT_EQ(rect->bottom, kPanelHeight);

    openEditor();
    EXPECT_EQ(window->width(), kPanelWidth);
    EXPECT_EQ(window->height(), kPanelHeight);
    const Window child = editorWindow(*window);
    ASSERT_NE(child, 0u) << "the editor makes one child window in the host's window";
    const XWindowAttributes a = server.attributes(child);
    EXPECT_EQ(a.width, kPanelWidth);
    EXPECT_EQ(a.height, kPanelHeight);
    EXPECT_EQ(a.map_state, IsViewable);

    ASSERT_TRUE(shows(*window, false))
        << "share like the reference: " << matchingShare(window->capture(), referencePanel(false));
    const WindowImage shown = window->capture();
    EXPECT_EQ(countOf(shown, host::kHostBackground), 0) << "the panel covers the whole window";
    EXPECT_LT(countOf(shown, 0x000000), int(shown.pixels.size()) / 10) << "not a black window";
}

TEST_F(EditorWindowTest, DraggingAKnobAutomatesItsParameterInsideOneEditBracket) {
    instance->setParameter(kOutput, 0.5f);
    const auto before = allParameters(*instance);
    openEditor();
    ASSERT_TRUE(shows(*window, false));
    const WindowImage knobBefore = window->capture();
    host.clearRecords();

    drag(*window, kOutputKnob, 40, 0); // 40 of the 200 pixels of the linear range
    ASSERT_TRUE(idleUntil([&] { return !host.endEdits().empty(); }));
    idleAWhile();

    EXPECT_NEAR(instance->getParameter(kOutput), 0.7f, 1e-4);
    expectOneEditOf(kOutput, host, *instance, before);

    const WindowImage knobAfter = window->capture();
    int changed = 0;
    for (int y = 30; y < 63; ++y)
        for (int x = 477; x < 510; ++x)
            changed += knobAfter.at(x, y) != knobBefore.at(x, y);
    EXPECT_GT(changed, 0) << "the knob shows its new frame";
}

TEST_F(EditorWindowTest, TheRightPageBindsThePairedKnobToTheRightParameterAcrossAReopen) {
    instance->setParameter(kFbGainL, 0.1f);
    instance->setParameter(kFbGainR, 0.5f);
    HostedEditor& editor = openEditor();
    ASSERT_TRUE(shows(*window, false));

    click(*window, kRightPageSelector);
    idleAWhile();
    host.clearRecords();
    drag(*window, kFeedbackGainKnob, 20, 0);
    ASSERT_TRUE(idleUntil([&] { return !host.endEdits().empty(); }));
    EXPECT_NEAR(instance->getParameter(kFbGainR), 0.6f, 1e-4)
        << "the knob showed the right side's value and moved it";
    const float left = instance->getParameter(kFbGainL);
    EXPECT_TRUE(std::abs(left - 0.1f) < 1e-6 || std::abs(left - 0.6f) < 1e-4)
        << "the left side stays, or follows exactly when linked: " << left;
    const auto begins = host.beginEdits();
    EXPECT_NE(std::ranges::find(begins, kFbGainR), begins.end());
    for (const host::AutomateCall& call : host.automations())
        EXPECT_LT(call.index, kAutomatableParameters) << "editor tags are no parameters";

    // The page survives closing: the reopened editor binds the knob to the right side again.
    editor.close();
    ASSERT_TRUE(childGone(*window));
    ASSERT_TRUE(editor.open());
    ASSERT_TRUE(shows(*window, false));
    host.clearRecords();
    drag(*window, kFeedbackGainKnob, 20, 0);
    ASSERT_TRUE(idleUntil([&] { return !host.endEdits().empty(); }));
    EXPECT_NEAR(instance->getParameter(kFbGainR), 0.7f, 1e-4);
}

TEST_F(EditorWindowTest, AboutPictureOpensFromTheEdgeAndAClickClosesItWithoutEdits) {
    openEditor();
    ASSERT_TRUE(shows(*window, false));
    const auto before = allParameters(*instance);
    host.clearRecords();

    click(*window, kLeftAboutArea);
    EXPECT_TRUE(shows(*window, true)) << "share like the about picture: "
                                      << matchingShare(window->capture(), referencePanel(true));
    // The picture is modal: a click over a knob closes it and leaves the knob alone.
    click(*window, kOutputKnob);
    EXPECT_TRUE(shows(*window, false));
    // Only the left button opens it; the next left click opens it again.
    server.click(Window(window->id()), kLeftAboutArea.x, kLeftAboutArea.y, Button3);
    idleAWhile();
    EXPECT_LT(matchingShare(window->capture(), referencePanel(true)), kMatch);
    click(*window, kLeftAboutArea);
    EXPECT_TRUE(shows(*window, true));
    click(*window, kLeftAboutArea);
    EXPECT_TRUE(shows(*window, false));

    EXPECT_EQ(allParameters(*instance), before);
    EXPECT_TRUE(host.automations().empty());
}

// The preset bar's save and load go through the desktop's file dialog (here a stand-in zenity
// that answers with a path) while the host keeps idling the editor.
TEST_F(EditorWindowTest, SavingAndLoadingAPresetGoesThroughTheDesktopsDialog) {
    test::ScratchFolder tools;
    const auto preset = tools / "mine.qel";
    test::writeScript(tools / "zenity", "echo '" + preset.string() + "'\n");
    const char* searched = std::getenv("PATH");
    test::ScopedEnvironment path{"PATH", tools.path().string() + ":" + (searched ? searched : "")};
    openEditor();
    ASSERT_TRUE(shows(*window, false));
    instance->setParameter(kOutput, 0.8f);
    click(*window, kSavePresetButton);
    ASSERT_TRUE(idleUntil([&] { return std::filesystem::exists(preset); }));
    instance->setParameter(kOutput, 0.2f);
    click(*window, kLoadPresetButton);
    EXPECT_TRUE(idleUntil([&] { return instance->getParameter(kOutput) == 0.8f; }))
        << "Output is " << instance->getParameter(kOutput);
}

TEST_F(EditorWindowTest, KeysNoFieldWantsGoBackToTheHost) {
    const VstKeyCode letter{'a', 0, 0};
    const VstKeyCode arrow{0, VKEY_UP, MODIFIER_SHIFT};
    EXPECT_FALSE(instance->editorKeyDown(letter)) << "no editor open";
    openEditor();
    ASSERT_TRUE(shows(*window, false));
    const auto before = allParameters(*instance);
    EXPECT_FALSE(instance->editorKeyDown(letter)) << "nothing has the keyboard focus";
    EXPECT_FALSE(instance->editorKeyUp(letter));
    EXPECT_FALSE(instance->editorKeyDown(arrow));
    EXPECT_FALSE(instance->editorKeyUp(arrow));
    idleAWhile();
    EXPECT_EQ(allParameters(*instance), before);
}

TEST_F(EditorWindowTest, CloseRemovesTheChildAndAReopenShowsThePanelAgain) {
    HostedEditor& editor = openEditor();
    ASSERT_TRUE(shows(*window, false));
    for (int round = 0; round < 3; ++round) {
        editor.close();
        ASSERT_TRUE(childGone(*window)) << "round " << round;
        editor.idle(); // idling a closed editor is harmless
        ASSERT_TRUE(editor.open()) << "round " << round;
        ASSERT_NE(editorWindow(*window), 0u);
        ASSERT_TRUE(shows(*window, false)) << "round " << round;
    }
}

TEST_F(EditorWindowTest, TwoInstancesEditTheirOwnParametersInTheirOwnWindows) {
    secondInstance = std::make_unique<PluginInstance>(library, secondHost);
    PluginInstance& second = *secondInstance;
    second.open();
    second.resume();
    secondWindow = HostWindow::connect();
    ASSERT_TRUE(secondWindow);
    instance->setParameter(kOutput, 0.5f);
    second.setParameter(kOutput, 0.5f);

    openEditor();
    openEditor(second, *secondWindow);
    // The second host window opens where the first one is; move it aside so both are seen.
    XMoveWindow(server.display(), Window(secondWindow->id()), 0, 400);
    XSync(server.display(), False);
    ASSERT_TRUE(shows(*window, false));
    ASSERT_TRUE(shows(*secondWindow, false));

    host.clearRecords();
    drag(*secondWindow, kOutputKnob, 40, 0);
    ASSERT_TRUE(idleUntil([&] { return !secondHost.endEdits().empty(); }));
    idleAWhile();
    EXPECT_NEAR(second.getParameter(kOutput), 0.7f, 1e-4);
    EXPECT_EQ(instance->getParameter(kOutput), 0.5f);
    EXPECT_TRUE(host.automations().empty()) << "the first instance's host heard nothing";
}

TEST_F(EditorWindowTest, ClosingTheInstanceWithItsEditorOpenTakesTheWindowAlong) {
    HostedEditor& editor = openEditor();
    ASSERT_TRUE(shows(*window, false));
    instance->close();
    EXPECT_FALSE(editor.isOpen());
    EXPECT_TRUE(childGone(*window));
}

TEST_F(EditorWindowTest, AHostThatDestroysItsWindowFirstStillClosesTheEditorCleanly) {
    HostedEditor& editor = openEditor();
    ASSERT_TRUE(shows(*window, false));
    window->destroy();
    editor.idle(); // the editor learns its window is gone
    editor.close();
    // A new window and a new editor afterwards work as the first did.
    editors.clear();
    openEditor();
    EXPECT_TRUE(shows(*window, false));
}

} // namespace
} // namespace velmora::testing
