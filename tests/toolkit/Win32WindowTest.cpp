#include "toolkit/win32/Win32Window.h"
#include "tests/toolkit/ToolkitFixtures.h"
#include "toolkit/controls/CKnob.h"
#include "toolkit/controls/COptionMenu.h"

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace velmora::toolkit {
namespace {

constexpr int kWidth = 300;
constexpr int kHeight = 150;
constexpr POINT kHostOrigin{100, 100};
constexpr POINT kKnobCentre{50, 50};
constexpr wchar_t kHostClass[] = L"Win32WindowTestHost";
constexpr wchar_t kEditorClass[] = L"VelmoraEditorSurface";

// The colour the test strip shows for knob frame k (see stripBitmap), as GDI reads it.
constexpr COLORREF stripColour(int frame) {
    return RGB(200, 0, frame + 1);
}

LPARAM at(int x, int y) {
    return MAKELPARAM(x, y);
}

// Runs what the host's message loop would: every message already posted or sent to this
// thread's windows goes to its window procedure. Characters are posted by the tests themselves.
void dispatchMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

void holdKeys(std::initializer_list<int> virtualKeys) {
    BYTE state[256]{};
    for (const int key : virtualKeys)
        state[key] = 0x80;
    SetKeyboardState(state);
}

// The host's own top-level window; it notes the keys the editor hands back to it.
struct HostWindow {
    HWND handle = nullptr;
    std::vector<std::string> keys;

    HostWindow() {
        WNDCLASSEXW description{};
        description.cbSize = sizeof description;
        description.lpfnWndProc = &procedure;
        description.hInstance = GetModuleHandleW(nullptr);
        description.lpszClassName = kHostClass;
        RegisterClassExW(&description);
        handle = CreateWindowExW(0, kHostClass, L"host", WS_POPUP | WS_VISIBLE, kHostOrigin.x,
                                 kHostOrigin.y, 400, 200, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), this);
    }
    ~HostWindow() {
        if (IsWindow(handle)) DestroyWindow(handle);
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE)
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(
                                  reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message == WM_KEYDOWN) self->keys.push_back("down " + std::to_string(wParam));
        if (self && message == WM_CHAR) self->keys.push_back("char " + std::to_string(wParam));
        return DefWindowProcW(window, message, wParam, lParam);
    }
};

// Writes down every event it hears; uses only the keys Left and 'a'.
struct LoggingSink : PlatformEventSink {
    std::vector<std::string> log;

    static std::string point(CPoint p) {
        return std::to_string(int(p.x)) + "," + std::to_string(int(p.y));
    }
    void platformMouseDown(CPoint where, CButtonState b) override {
        log.push_back("down " + point(where) + " " + std::to_string(b.flags()));
    }
    void platformMouseMoved(CPoint where, CButtonState b) override {
        log.push_back("move " + point(where) + " " + std::to_string(b.flags()));
    }
    void platformMouseUp(CPoint where, CButtonState b) override {
        log.push_back("up " + point(where) + " " + std::to_string(b.flags()));
    }
    void platformMouseExited() override { log.push_back("exited"); }
    void platformWheel(CPoint where, float distance, CButtonState b) override {
        log.push_back("wheel " + point(where) + " " + std::to_string(int(distance)) + " " +
                      std::to_string(b.flags()));
    }
    bool platformKeyDown(const KeyEvent& key) override {
        log.push_back("key " + std::to_string(unsigned(key.character)) + " " +
                      std::to_string(int(key.virt)) + " " + std::to_string(key.modifiers));
        return key.virt == VirtualKey::left || key.character == U'a';
    }
    void platformExpose(const PixelRect& a) override {
        log.push_back("expose " + std::to_string(a.left) + "," + std::to_string(a.top) + "," +
                      std::to_string(a.right) + "," + std::to_string(a.bottom));
    }
    void platformFocusChanged(bool hasFocus) override {
        log.push_back(hasFocus ? "focus in" : "focus out");
    }
    std::vector<std::string> take() { return std::exchange(log, {}); }
};

BOOL CALLBACK collectEditorWindow(HWND window, LPARAM list) {
    wchar_t name[64]{};
    GetClassNameW(window, name, 64);
    if (std::wstring_view(name) == kEditorClass)
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// The top-level windows of the editor's class: its pop-ups (a child is not top-level).
std::vector<HWND> editorPopups() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), &collectEditorWindow, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool editorClassRegistered() {
    WNDCLASSEXW description{};
    description.cbSize = sizeof description;
    return GetClassInfoExW(GetModuleHandleW(nullptr), kEditorClass, &description) != FALSE;
}

COLORREF pixelOf(HWND window, int x, int y) {
    const HDC context = GetDC(window);
    const COLORREF colour = GetPixel(context, x, y);
    ReleaseDC(window, context);
    return colour;
}

// A frame as an editor builds it: a knob, a menu of three entries, on the Win32 backend.
struct EditorFrame {
    testing::Recorder recorder;
    CFrame frame{CRect::fromSize(0, 0, kWidth, kHeight), &recorder};
    CAnimKnob* knob = frame.addView(std::make_unique<CAnimKnob>(
        CRect{30, 30, 70, 70}, &recorder, 5, 101, 40, testing::stripBitmap(40, 40, 101)));
    COptionMenu* menu =
        frame.addView(std::make_unique<COptionMenu>(CRect{120, 100, 200, 120}, &recorder, 7));
    Win32Window* window = nullptr;

    EditorFrame() {
        knob->setValue(0.5f);
        knob->setWheelInc(0.125f);
        for (const char* title : {"Slow", "Medium", "Fast"})
            menu->addEntry(title);
    }
    bool open(HWND parent) {
        window = nullptr;
        auto backend = std::make_unique<Win32Window>();
        Win32Window* raw = backend.get();
        if (!frame.open(parent, std::move(backend))) return false;
        window = raw;
        return true;
    }
    HWND child() const { return window ? window->handle() : nullptr; }
    void idle() {
        dispatchMessages();
        frame.idle();
    }
    void click(HWND target, int x, int y) {
        PostMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, at(x, y));
        PostMessageW(target, WM_LBUTTONUP, 0, at(x, y));
        idle();
    }
};

class Win32BackendTest : public ::testing::Test {
  protected:
    // No key stays held for whatever runs next on this thread.
    void TearDown() override { holdKeys({}); }
    void SetUp() override {
        holdKeys({});
        ASSERT_TRUE(host.handle);
        ASSERT_TRUE(window.open(host.handle, kWidth, kHeight, sink));
        child = window.handle();
        dispatchMessages();
        window.pumpEvents();
        sink.take();
    }
    std::vector<std::string> deliver() {
        dispatchMessages();
        window.pumpEvents();
        return sink.take();
    }

    HostWindow host;
    LoggingSink sink;
    Win32Window window;
    HWND child = nullptr;
};

using Log = std::vector<std::string>;

TEST_F(Win32BackendTest, MouseMessagesArriveOnlyFromThePumpAsTheToolkitsEvents) {
    PostMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, at(10, 20));
    PostMessageW(child, WM_MOUSEMOVE, MK_LBUTTON, at(15, 25));
    PostMessageW(child, WM_MOUSEMOVE, MK_LBUTTON, at(-5, 26)); // a drag past the edge
    dispatchMessages();
    EXPECT_TRUE(sink.log.empty()) << "nothing reaches the sink from the window procedure";
    EXPECT_EQ(GetCapture(), child) << "a drag keeps the mouse";
    PostMessageW(child, WM_LBUTTONUP, 0, at(-5, 26));
    EXPECT_EQ(deliver(), (Log{"down 10,20 1", "move -5,26 1", "up -5,26 1"}))
        << "moves collapse to the latest; the release still names its button";
    EXPECT_EQ(GetCapture(), nullptr);

    holdKeys({VK_SHIFT, VK_CONTROL});
    PostMessageW(child, WM_LBUTTONDBLCLK, MK_LBUTTON, at(3, 4));
    PostMessageW(child, WM_LBUTTONUP, 0, at(3, 4));
    PostMessageW(child, WM_RBUTTONDOWN, MK_RBUTTON, at(5, 6));
    PostMessageW(child, WM_RBUTTONUP, 0, at(5, 6));
    PostMessageW(child, WM_MBUTTONDOWN, MK_MBUTTON, at(7, 8));
    PostMessageW(child, WM_MBUTTONUP, 0, at(7, 8));
    const std::uint32_t mods = kShift | kControl;
    EXPECT_EQ(deliver(), (Log{"down 3,4 " + std::to_string(kLButton | kDoubleClick | mods),
                              "up 3,4 " + std::to_string(kLButton | mods),
                              "down 5,6 " + std::to_string(kRButton | mods),
                              "up 5,6 " + std::to_string(kRButton | mods),
                              "down 7,8 " + std::to_string(kMButton | mods),
                              "up 7,8 " + std::to_string(kMButton | mods)}));

    // The wheel reports a screen position; two notches towards the user.
    holdKeys({VK_MENU});
    POINT screen{30, 40};
    ClientToScreen(child, &screen);
    PostMessageW(child, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-2 * WHEEL_DELTA)),
                 at(screen.x, screen.y));
    PostMessageW(child, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(deliver(), (Log{"wheel 30,40 -2 " + std::to_string(kAlt), "exited"}));
}

TEST_F(Win32BackendTest, KeysAreTranslatedAndThoseNotUsedGoBackToTheHost) {
    PostMessageW(child, WM_KEYDOWN, VK_LEFT, 0);
    PostMessageW(child, WM_KEYDOWN, 'A', 0);
    PostMessageW(child, WM_CHAR, 'a', 0);
    PostMessageW(child, WM_KEYDOWN, 'B', 0);
    PostMessageW(child, WM_CHAR, 'B', 0);
    PostMessageW(child, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageW(child, WM_CHAR, 0x1B, 0); // the named key's control code is no character
    PostMessageW(child, WM_KEYDOWN, VK_F5, 0);
    EXPECT_EQ(deliver(), (Log{"key 0 5 0", "key 97 0 0", "key 66 0 0", "key 0 4 0"}));
    dispatchMessages();
    EXPECT_EQ(host.keys, (std::vector<std::string>{"down " + std::to_string(VK_F5),
                                                   "down " + std::to_string('B'),
                                                   "down " + std::to_string(VK_ESCAPE)}))
        << "the key presses behind unused keys, and keys that type nothing at once";

    host.keys.clear();
    holdKeys({VK_CONTROL, VK_SHIFT});
    PostMessageW(child, WM_KEYDOWN, 'C', 0);
    PostMessageW(child, WM_CHAR, 0x03, 0); // Control+Shift+C types its control code
    PostMessageW(child, WM_KEYDOWN, VK_DELETE, 0);
    const std::uint32_t mods = kControl | kShift;
    EXPECT_EQ(deliver(),
              (Log{"key 67 0 " + std::to_string(mods),
                   "key 0 " + std::to_string(int(VirtualKey::del)) + " " + std::to_string(mods)}));
}

// A host whose loop never calls TranslateMessage sends key presses alone, no WM_CHAR.
TEST_F(Win32BackendTest, KeyPressesTypeTheirCharactersWhenTheHostMakesNoWmChar) {
    const auto press = [&](WPARAM key) {
        const auto scanCode = LPARAM(MapVirtualKeyW(UINT(key), MAPVK_VK_TO_VSC));
        PostMessageW(child, WM_KEYDOWN, key, scanCode << 16);
    };
    press('A');
    press('1');
    EXPECT_EQ(deliver(), (Log{"key 97 0 0", "key 49 0 0"}));
    holdKeys({VK_SHIFT});
    press('A');
    EXPECT_EQ(deliver(), (Log{"key 65 0 " + std::to_string(kShift)}));
    // The sink uses only 'a': the presses behind the others go back to the host.
    dispatchMessages();
    EXPECT_EQ(host.keys, (std::vector<std::string>{"down " + std::to_string('1'),
                                                   "down " + std::to_string('A')}));

    host.keys.clear();
    holdKeys({VK_CONTROL});
    press('1'); // types nothing
    EXPECT_EQ(deliver(), Log{});
    EXPECT_EQ(host.keys, std::vector<std::string>{"down " + std::to_string('1')});
}

TEST_F(Win32BackendTest, FocusAndUncoveredAreasReachTheSink) {
    window.takeKeyboardFocus();
    EXPECT_EQ(GetFocus(), child);
    EXPECT_EQ(deliver(), (Log{"focus in"}));
    SetFocus(host.handle);
    EXPECT_EQ(deliver(), (Log{"focus out"}));

    const RECT first{10, 10, 20, 20};
    const RECT second{30, 5, 40, 15};
    InvalidateRect(child, &first, FALSE);
    InvalidateRect(child, &second, FALSE);
    UpdateWindow(child);
    EXPECT_EQ(deliver(), (Log{"expose 10,5,40,20"}));

    EXPECT_EQ(window.originOnScreen(), (CPoint{double(kHostOrigin.x), double(kHostOrigin.y)}));
    const PixelRect screen = window.screenBounds();
    EXPECT_FALSE(screen.isEmpty());
    EXPECT_GE(screen.right, kHostOrigin.x + kWidth);
}

TEST_F(Win32BackendTest, PopupsAreTopmostHoldTheMouseAndGoWithTheirOwner) {
    LoggingSink popupSink;
    auto popup = window.openPopup({200, 150, 260, 210}, popupSink);
    ASSERT_NE(popup, nullptr);
    const HWND handle = GetCapture();
    ASSERT_NE(handle, nullptr);
    ASSERT_NE(handle, child);
    RECT area{};
    GetWindowRect(handle, &area);
    EXPECT_EQ((PixelRect{area.left, area.top, area.right, area.bottom}),
              (PixelRect{200, 150, 260, 210}));
    EXPECT_TRUE(GetWindowLongW(handle, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(GetAncestor(handle, GA_ROOTOWNER), host.handle);

    deliver();
    EXPECT_EQ(popupSink.take(), (Log{"expose 0,0,60,60"})) << "shown, it asks for its pixels";
    PostMessageW(handle, WM_LBUTTONDOWN, MK_LBUTTON, at(-20, -30));
    deliver();
    EXPECT_EQ(popupSink.take(), (Log{"down -20,-30 1"})) << "a press outside, in its terms";

    // Another window taking the mouse, or another program becoming the active one, is a
    // press outside for the pop-up.
    SetCapture(child);
    deliver();
    EXPECT_EQ(popupSink.take(), (Log{"down -1,-1 0"}));
    SendMessageW(handle, WM_ACTIVATEAPP, TRUE, 0);
    SendMessageW(handle, WM_ACTIVATEAPP, FALSE, 0);
    deliver();
    EXPECT_EQ(popupSink.take(), (Log{"down -1,-1 0"}));

    ASSERT_EQ(editorPopups(), std::vector<HWND>{handle});
    popup.reset();
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_TRUE(editorPopups().empty());

    // A pop-up still open when its window closes goes with it and is cut loose.
    auto other = std::make_unique<Win32Window>();
    ASSERT_TRUE(other->open(host.handle, 10, 10, sink));
    auto orphan = other->openPopup({0, 0, 10, 10}, popupSink);
    ASSERT_NE(orphan, nullptr);
    ASSERT_EQ(editorPopups().size(), 1u);
    other.reset();
    EXPECT_TRUE(editorPopups().empty());
    orphan.reset();
}

// The editor in the host: a knob and a menu driven by posted mouse messages.
class Win32WindowTest : public ::testing::Test {
  protected:
    // No key stays held for whatever runs next on this thread.
    void TearDown() override { holdKeys({}); }
    void SetUp() override {
        holdKeys({});
        ASSERT_TRUE(host.handle);
        ASSERT_TRUE(editor.open(host.handle));
        editor.idle();
    }
    bool shows(POINT at, COLORREF colour) {
        for (int i = 0; i < 20; ++i) {
            editor.idle();
            if (pixelOf(editor.child(), at.x, at.y) == colour) return true;
            Sleep(10);
        }
        return false;
    }

    HostWindow host;
    EditorFrame editor;
};

TEST_F(Win32WindowTest, TheFrameIsPresentedAndRepaintedInAChildOfTheHost) {
    const HWND child = editor.child();
    EXPECT_EQ(GetParent(child), host.handle);
    EXPECT_TRUE(GetWindowLongW(child, GWL_STYLE) & WS_CHILD);
    EXPECT_TRUE(IsWindowVisible(child));
    RECT client{};
    GetClientRect(child, &client);
    EXPECT_EQ(client.right, kWidth);
    EXPECT_EQ(client.bottom, kHeight);
    EXPECT_TRUE(shows(kKnobCentre, stripColour(50)));
    EXPECT_EQ(pixelOf(child, 5, 5), RGB(0, 0, 0));

    // Scribble over the window, then invalidate it: the frame has nothing dirty, so only the
    // expose can bring the pixels back.
    const HDC context = GetDC(child);
    const HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
    const RECT all{0, 0, kWidth, kHeight};
    FillRect(context, &all, green);
    DeleteObject(green);
    ReleaseDC(child, context);
    ASSERT_EQ(pixelOf(child, kKnobCentre.x, kKnobCentre.y), RGB(0, 255, 0));
    InvalidateRect(child, nullptr, FALSE);
    EXPECT_TRUE(shows(kKnobCentre, stripColour(50)));
    EXPECT_EQ(pixelOf(child, 5, 5), RGB(0, 0, 0));
}

TEST_F(Win32WindowTest, DragsAndTheWheelTurnTheKnob) {
    const HWND child = editor.child();
    PostMessageW(child, WM_LBUTTONDOWN, MK_LBUTTON, at(kKnobCentre.x, kKnobCentre.y));
    PostMessageW(child, WM_MOUSEMOVE, MK_LBUTTON, at(kKnobCentre.x, kKnobCentre.y - 50));
    PostMessageW(child, WM_LBUTTONUP, 0, at(kKnobCentre.x, kKnobCentre.y - 50));
    editor.idle();
    EXPECT_NEAR(editor.knob->getValue(), 0.75f, 1e-6) << "50 of the 200 pixels of the range";
    ASSERT_FALSE(editor.recorder.calls.empty());
    EXPECT_EQ(editor.recorder.calls.front(), "begin 5");
    EXPECT_EQ(editor.recorder.calls.back(), "end 5");
    EXPECT_TRUE(shows(kKnobCentre, stripColour(75)));

    POINT screen = kKnobCentre;
    ClientToScreen(child, &screen);
    PostMessageW(child, WM_MOUSEWHEEL, MAKEWPARAM(0, WORD(-WHEEL_DELTA)), at(screen.x, screen.y));
    editor.idle();
    EXPECT_FLOAT_EQ(editor.knob->getValue(), 0.625f) << "one notch towards the user";
}

TEST_F(Win32WindowTest, TheMenuListOpensAboveHoldsTheMouseAndClosesOnChoiceOrAClickOutside) {
    const HWND child = editor.child();
    const auto openList = [&]() -> HWND {
        editor.click(child, 150, 110);
        if (!editor.menu->isOpen()) return nullptr;
        editor.idle();
        const HWND list = GetCapture();
        return list != child ? list : nullptr;
    };
    const HWND first = openList();
    ASSERT_NE(first, nullptr);
    const PixelRect area = editor.menu->getLayout().area;
    RECT placed{};
    GetWindowRect(first, &placed);
    EXPECT_EQ((PixelRect{placed.left, placed.top, placed.right, placed.bottom}), area);
    EXPECT_NE(pixelOf(first, area.width() / 2, area.height() / 2), RGB(0, 0, 0))
        << "the list is drawn";

    // A click outside the list closes it and changes nothing.
    editor.click(first, -50, -50);
    EXPECT_FALSE(editor.menu->isOpen());
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(editor.menu->getCurrent(), 0);
    EXPECT_EQ(GetCapture(), nullptr);

    // Chosen with the mouse, in the list's own coordinates.
    const HWND list = openList();
    ASSERT_NE(list, nullptr);
    const PixelRect third = editor.menu->getLayout().entryRect(2);
    editor.click(list, (third.left + third.right) / 2, (third.top + third.bottom) / 2);
    EXPECT_FALSE(editor.menu->isOpen());
    EXPECT_EQ(editor.menu->getCurrent(), 2);
    EXPECT_FALSE(IsWindow(list));
}

TEST_F(Win32WindowTest, ClosingLeavesNoWindowAndTheClassGoesWithTheLastEditor) {
    HostWindow secondHost;
    EditorFrame second;
    ASSERT_TRUE(second.open(secondHost.handle));
    editor.click(editor.child(), 150, 110);
    ASSERT_TRUE(editor.menu->isOpen());
    const HWND child = editor.child();
    const HWND secondChild = second.child();

    editor.frame.close();
    EXPECT_FALSE(IsWindow(child));
    EXPECT_TRUE(editorPopups().empty());
    EXPECT_TRUE(IsWindow(secondChild));
    EXPECT_TRUE(editorClassRegistered()) << "the other editor still uses it";
    editor.menu->closePopup(); // the menu outlived its window

    second.frame.close();
    EXPECT_FALSE(IsWindow(secondChild));
    EXPECT_FALSE(editorClassRegistered());

    ASSERT_TRUE(editor.open(host.handle)) << "and is registered again for the next";
    EXPECT_TRUE(editorClassRegistered());
}

TEST_F(Win32WindowTest, AParentDestroyedFirstOrMissingCostsTheHostNothing) {
    editor.click(editor.child(), 150, 110);
    ASSERT_TRUE(editor.menu->isOpen());
    DestroyWindow(host.handle);
    EXPECT_EQ(editor.window->handle(), nullptr);
    editor.knob->setValue(0.1f);
    editor.window->takeKeyboardFocus();
    editor.idle();
    EXPECT_EQ(editor.window->originOnScreen(), (CPoint{0, 0}));
    editor.menu->closePopup();
    editor.frame.close();

    EXPECT_FALSE(editor.open(host.handle)) << "that parent no longer exists";
    EXPECT_FALSE(editor.open(nullptr));
    EXPECT_FALSE(editor.frame.isOpen());
    EXPECT_TRUE(editorPopups().empty());
}

} // namespace
} // namespace velmora::toolkit
