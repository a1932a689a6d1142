// The DLL's editor in a window of the desktop, as a Windows host shows it: the host makes a
// top-level window whose client area has the size effEditGetRect asks for, hands its HWND to
// effEditOpen and runs its message loop with effEditIdle from it. The user acts through
// SendInput, the checks read the window's pixels back with GDI, the parameters through
// getParameter and the automation and edit brackets the scripted host recorded. Needs a
// display: under Wine, its X11 driver on a (virtual) X server.
#include "tests/integration/windows/SyntheticInput.h"
#include "tests/support/EditChecks.h"
#include "tests/support/HostFixture.h"
#include "tests/support/HostedPanel.h"

#include "platform/windows/RegistrySettingsStore.h"
#include "toolkit/Framebuffer.h"
#include "toolkit/offscreen/PngWriter.h"
#include "tools/hostwindow/HostedEditor.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace velmora::testing {
namespace {

using host::HostedEditor;
using host::HostWindow;
using host::WindowImage;
using namespace std::chrono_literals;

constexpr int kPanelWidth = 942;
constexpr int kPanelHeight = 171;
// The class of every window the editor makes, as the module registers it.
constexpr std::wstring_view kEditorClass = L"VelmoraEditorSurface";
constexpr auto kTestIdleInterval = 5ms;
constexpr std::chrono::milliseconds kPatience = 3s;

// Centres of controls in client pixels (the control table's rectangles).
constexpr POINT kOutputKnob{493, 46};           // tag 1, Output
constexpr POINT kFeedbackGainKnob{225, 47};     // tag 84, FbGainL/FbGainR by page
constexpr POINT kRightPageSelector{69, 116};    // tag 92
constexpr POINT kBypassButton{352, 63};         // tag 41, Bypass
constexpr POINT kProgramNameEnd{318, 163};      // tag 98, near the right end of the name field
constexpr POINT kProgramMenu{328, 163};         // tag 110
constexpr POINT kKeyboardFocusButton{904, 162}; // tag 117
constexpr int kOutput = 1;
constexpr int kFbGainL = 3;
constexpr int kFbGainR = 4;
constexpr int kBypass = 41;
constexpr float kWheelStep = 1.0f / 32; // one notch of a knob's wheel

bool isEditorWindow(HWND window) {
    std::array<wchar_t, 64> name{};
    const int length = GetClassNameW(window, name.data(), int(name.size()));
    return std::wstring_view(name.data(), std::size_t(length)) == kEditorClass;
}

BOOL CALLBACK collectEditorWindow(HWND window, LPARAM list) {
    if (isEditorWindow(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// The editor's top-level windows on this thread: its pop-ups, and any child left without its
// parent.
std::vector<HWND> editorTopLevelWindows() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), &collectEditorWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool editorClassRegistered() {
    const HMODULE module = GetModuleHandleW(L"Velmora.dll");
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    return module != nullptr &&
           GetClassInfoExW(module, std::wstring(kEditorClass).c_str(), &description) != FALSE;
}

COLORREF pixelOf(HWND window, POINT at) {
    const HDC context = GetDC(window);
    const COLORREF colour = GetPixel(context, at.x, at.y);
    ReleaseDC(window, context);
    return colour;
}

// What the desktop shows at a screen point, whichever window it belongs to.
COLORREF screenPixel(POINT at) {
    return pixelOf(nullptr, at);
}

// Writes what the window showed as a PNG picture beside the test's other output and returns
// its path, so a failing pixel check can be looked at.
std::string keepForInspection(const WindowImage& image, const std::string& name) {
    const std::string path = ::testing::TempDir() + "editor-window-" + name + ".png";
    toolkit::Framebuffer frame(image.width, image.height);
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            frame.row(y)[std::size_t(x)] = 0xFF000000u | image.at(x, y);
    toolkit::writePngFile(path, frame);
    return path;
}

class EditorWindowWin32Test : public HostFixture {
  protected:
    void SetUp() override {
        // A new user's editor: no stored options (the keyboard focus among them) from before.
        RegDeleteTreeW(HKEY_CURRENT_USER, platform::windows::kUserSettingsKey);
        createRunningInstance();
        window = HostWindow::connect();
        ASSERT_TRUE(window) << "no desktop to show windows on (Wine needs a display)";
        editor = std::make_unique<HostedEditor>(*instance, *window);
    }
    void TearDown() override {
        editor.reset();
        RegDeleteTreeW(HKEY_CURRENT_USER, platform::windows::kUserSettingsKey);
    }

    HWND hostWindow() const { return reinterpret_cast<HWND>(window->id()); }
    // The editor's one child window in the host's; null unless there is exactly one.
    HWND editorChild() const {
        const HWND child = FindWindowExW(hostWindow(), nullptr, nullptr, nullptr);
        return window->childCount() == 1 ? child : nullptr;
    }
    SyntheticInput user() const { return SyntheticInput(hostWindow()); }

    // Opens the editor and waits until its window shows pixels of its own.
    void openEditor() {
        ASSERT_TRUE(editor->open());
        ASSERT_TRUE(idleUntil([&] {
            const WindowImage shown = window->capture();
            return !shown.empty() && std::ranges::count(shown.pixels, host::kHostBackground) == 0;
        })) << "the editor never covered the host window";
    }
    bool idleUntil(const std::function<bool()>& done,
                   std::chrono::milliseconds patience = kPatience) {
        return editor->idleUntil(done, patience, kTestIdleInterval);
    }
    // Long enough for every queued message to arrive and be handled.
    void idleAWhile() { editor->idleFor(300ms, kTestIdleInterval); }
    bool editEnded() {
        return idleUntil([&] { return !host.endEdits().empty(); });
    }

    std::unique_ptr<HostWindow> window;
    std::unique_ptr<HostedEditor> editor; // closed before the window and the instance go
};

TEST_F(EditorWindowWin32Test, OpensAChildOfThePanelsSizeThatShowsTheLinuxBuildsPixels) {
    const auto rect = instance->editorRect();
    ASSERT_TRUE(rect);
    EXPECT_EQ(rect->right - rect->left, kPanelWidth);
    EXPECT_EQ(rect->bottom - rect->top, kPanelHeight);
    openEditor();
    RECT client{};
    GetClientRect(hostWindow(), &client);
    EXPECT_EQ(client.right, kPanelWidth);
    EXPECT_EQ(client.bottom, kPanelHeight);
    const HWND child = editorChild();
    ASSERT_NE(child, nullptr) << "the editor makes one child window in the host's window";
    EXPECT_TRUE(isEditorWindow(child));
    EXPECT_TRUE(GetWindowLongW(child, GWL_STYLE) & WS_CHILD);
    EXPECT_TRUE(IsWindowVisible(child));
    GetClientRect(child, &client);
    EXPECT_EQ(client.right, kPanelWidth);
    EXPECT_EQ(client.bottom, kPanelHeight);

    // The same panel the Linux build draws, pixel for pixel, with the pointer away so that
    // nothing shows it hovering.
    ASSERT_TRUE(user().moveTo({-30, -50}));
    for (int parameter = 0; parameter < hosted_panel::kParameterCount; ++parameter)
        instance->setParameter(parameter, hosted_panel::valueOf(parameter));
    const auto reference = hosted_panel::readReference();
    ASSERT_EQ(int(reference.size()), kPanelHeight)
        << "cannot read " << hosted_panel::referencePath();
    WindowImage shown;
    std::vector<std::uint64_t> rows;
    if (!idleUntil([&] {
            shown = window->capture();
            rows = hosted_panel::rowHashes(shown.pixels, shown.width);
            return rows == reference;
        })) {
        ADD_FAILURE() << "rows that differ from the Linux build's: "
                      << hosted_panel::differingRows(rows, reference) << "\nthe window is kept in "
                      << keepForInspection(shown, "hosted-panel");
    }
}

TEST_F(EditorWindowWin32Test, DraggingAKnobAutomatesOnlyItsParameterInsideOneEditBracket) {
    instance->setParameter(kOutput, 0.5f);
    openEditor();
    const auto before = allParameters(*instance);
    host.clearRecords();

    ASSERT_TRUE(user().drag(kOutputKnob, {kOutputKnob.x + 40, kOutputKnob.y}))
        << "the system took no input";
    ASSERT_TRUE(editEnded());
    idleAWhile();

    EXPECT_NEAR(instance->getParameter(kOutput), 0.7f, 1e-4) << "40 of the 200 pixels' range";
    expectOneEditOf(kOutput, host, *instance, before);
}

TEST_F(EditorWindowWin32Test, AClickSwitchesAButtonAndAWheelNotchStepsAKnob) {
    instance->setParameter(kOutput, 0.5f);
    openEditor();
    ASSERT_EQ(instance->parameterDisplay(kBypass), "off");
    host.clearRecords();
    ASSERT_TRUE(user().click(kBypassButton));
    ASSERT_TRUE(editEnded());
    EXPECT_EQ(instance->parameterDisplay(kBypass), "on");
    EXPECT_EQ(host.beginEdits(), std::vector<VstInt32>{kBypass});
    EXPECT_EQ(host.endEdits(), std::vector<VstInt32>{kBypass});

    host.clearRecords();
    ASSERT_TRUE(user().turnWheel(kOutputKnob, 1));
    ASSERT_TRUE(editEnded());
    EXPECT_FLOAT_EQ(instance->getParameter(kOutput), 0.5f + kWheelStep) << "away from the user";
    ASSERT_TRUE(user().turnWheel(kOutputKnob, -2));
    EXPECT_TRUE(idleUntil([&] { return host.endEdits().size() == 2; })) << "one edit, two steps";
    EXPECT_FLOAT_EQ(instance->getParameter(kOutput), 0.5f - kWheelStep);
    for (const host::AutomateCall& call : host.automations())
        EXPECT_EQ(call.index, kOutput);
}

// Hosts whose loop calls TranslateMessage deliver WM_CHAR after each key press; others never
// do. Either way each typed character arrives exactly once.
TEST_F(EditorWindowWin32Test, TypedKeysRenameTheProgramWhetherOrNotTheHostTranslatesThem) {
    openEditor();
    ASSERT_TRUE(user().click(kKeyboardFocusButton));
    ASSERT_TRUE(idleUntil([&] { return GetFocus() == editorChild(); }))
        << "the keyboard focus option gives the editor the keys";
    std::string expected = instance->programName();
    for (const bool translates : {true, false}) {
        SCOPED_TRACE(translates ? "translated" : "not translated");
        window->setTranslatesKeys(translates);
        ASSERT_TRUE(user().click(kProgramNameEnd));
        idleAWhile();
        ASSERT_TRUE(user().typeKey(VK_END));
        ASSERT_TRUE(user().typeText(translates ? "Xy7" : "Zw3"));
        ASSERT_TRUE(user().typeKey(VK_RETURN));
        expected += translates ? "Xy7" : "Zw3";
        EXPECT_TRUE(idleUntil([&] { return instance->programName() == expected; }))
            << "the program is called \"" << instance->programName() << "\"";
    }
}

TEST_F(EditorWindowWin32Test, TheRightPageBindsThePairedKnobToTheRightParameter) {
    instance->setParameter(kFbGainL, 0.1f);
    instance->setParameter(kFbGainR, 0.5f);
    openEditor();
    ASSERT_TRUE(user().click(kRightPageSelector));
    idleAWhile();
    host.clearRecords();
    ASSERT_TRUE(user().drag(kFeedbackGainKnob, {kFeedbackGainKnob.x + 20, kFeedbackGainKnob.y}));
    ASSERT_TRUE(editEnded());
    EXPECT_NEAR(instance->getParameter(kFbGainR), 0.6f, 1e-4)
        << "the knob showed the right side's value and moved it";
    const float left = instance->getParameter(kFbGainL);
    EXPECT_TRUE(std::abs(left - 0.1f) < 1e-6 || std::abs(left - 0.6f) < 1e-4)
        << "the left side stays, or follows exactly when linked: " << left;
    const auto begins = host.beginEdits();
    EXPECT_NE(std::ranges::find(begins, kFbGainR), begins.end());
}

// Without a window manager nothing but the windows' own stacking keeps the list in sight:
// it must lie above the host's window, also once the host brings its window to the front.
TEST_F(EditorWindowWin32Test, TheProgramListOpensAboveTheHostWindowAndPicksAProgram) {
    openEditor();
    // The list holds every stored program; the host sees only the current one.
    int programs = 0;
    while (instance->programNameIndexed(programs))
        ++programs;
    const std::string before = instance->programName();
    ASSERT_TRUE(user().click(kProgramMenu));
    std::vector<HWND> lists;
    ASSERT_TRUE(idleUntil([&] {
        lists = editorTopLevelWindows();
        return lists.size() == 1 && IsWindowVisible(lists.front());
    })) << "no list opened";
    const HWND list = lists.front();
    EXPECT_TRUE(GetWindowLongW(list, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetAncestor(list, GA_ROOTOWNER), hostWindow());
    RECT area{};
    GetWindowRect(list, &area);
    RECT hostArea{};
    GetWindowRect(hostWindow(), &hostArea);
    RECT overlap{};
    ASSERT_TRUE(IntersectRect(&overlap, &area, &hostArea)) << "the list opens over the panel";
    const POINT inBoth{(overlap.left + overlap.right) / 2, (overlap.top + overlap.bottom) / 2};
    const POINT inList{inBoth.x - area.left, inBoth.y - area.top};
    const auto listIsInSight = [&] {
        return WindowFromPoint(inBoth) == list && screenPixel(inBoth) == pixelOf(list, inList);
    };
    EXPECT_TRUE(idleUntil(listIsInSight)) << "the list is behind the host's window";
    SetWindowPos(hostWindow(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(hostWindow());
    EXPECT_TRUE(idleUntil(listIsInSight)) << "the host's window came up over the list";

    // One column of equal rows here (the screen is tall enough): the entry under the pointer
    // becomes the current program.
    const int height = area.bottom - area.top;
    ASSERT_EQ(height % programs, 0) << "the list is not one column of " << programs;
    const POINT middle{(area.right - area.left) / 2, height / 2};
    const int chosen = middle.y / (height / programs);
    const std::string expected = instance->programNameIndexed(chosen).value_or("?");
    ASSERT_NE(expected, before) << "entry " << chosen << " would change nothing to see";
    ASSERT_TRUE(SyntheticInput(list).click(middle));
    EXPECT_TRUE(idleUntil([&] { return instance->programName() == expected; }))
        << "the program is \"" << instance->programName() << "\", not entry " << chosen << "'s \""
        << expected << "\"";
    EXPECT_TRUE(idleUntil([&] { return editorTopLevelWindows().empty(); })) << "the list closes";
}

TEST_F(EditorWindowWin32Test, ClosingLeavesNoWindowAndAReopenWorksAsTheFirstOpen) {
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        openEditor();
        ASSERT_NE(editorChild(), nullptr);
        ASSERT_TRUE(user().click(kProgramMenu));
        ASSERT_TRUE(idleUntil([&] { return editorTopLevelWindows().size() == 1; }));
        EXPECT_TRUE(editorClassRegistered());

        editor->close(); // with the list still open
        EXPECT_EQ(window->childCount(), 0);
        EXPECT_TRUE(editorTopLevelWindows().empty());
        EXPECT_FALSE(editorClassRegistered()) << "the module's window class goes with it";
        editor->idle(); // idling a closed editor is harmless
        EXPECT_TRUE(GetCapture() == nullptr);
    }
}

TEST_F(EditorWindowWin32Test, AHostThatDestroysItsWindowFirstStillClosesTheEditorCleanly) {
    openEditor();
    ASSERT_TRUE(user().click(kProgramMenu));
    ASSERT_TRUE(idleUntil([&] { return editorTopLevelWindows().size() == 1; }));
    window->destroy(); // the child goes with it; the list is the editor's to close
    editor->idle();
    editor->close();
    EXPECT_TRUE(editorTopLevelWindows().empty());
    EXPECT_FALSE(editorClassRegistered());

    // A new window and a new editor afterwards work as the first did.
    editor = std::make_unique<HostedEditor>(*instance, *window);
    openEditor();
    EXPECT_NE(editorChild(), nullptr);
}

} // namespace
} // namespace velmora::testing
