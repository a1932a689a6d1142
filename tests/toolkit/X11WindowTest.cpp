#include "toolkit/x11/X11Window.h"
#include "tests/toolkit/ToolkitFixtures.h"
#include "tests/toolkit/X11TestServer.h"
#include "toolkit/controls/CKnob.h"
#include "toolkit/controls/COptionMenu.h"

#include <cstdint>
#include <filesystem>

namespace velmora::toolkit {
namespace {

using testing::X11TestServer;

constexpr int kWidth = 300;
constexpr int kHeight = 150;
constexpr XPoint kKnobCentre{50, 50};
constexpr unsigned long kBlack = 0x000000;

// The colour the test strip shows for knob frame k (see stripBitmap).
constexpr unsigned long stripColour(int frame) {
    return 0xC80000ul | unsigned(frame + 1);
}

void* asParent(Window window) {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window));
}

std::size_t openFileCount() {
    const auto fds = std::filesystem::directory_iterator("/proc/self/fd");
    return std::size_t(std::distance(begin(fds), end(fds)));
}

// A frame as an editor builds it: a knob, a menu of three entries, on the X11 backend.
struct EditorFrame {
    testing::Recorder recorder;
    CFrame frame{CRect::fromSize(0, 0, kWidth, kHeight), &recorder};
    CAnimKnob* knob = frame.addView(std::make_unique<CAnimKnob>(
        CRect{30, 30, 70, 70}, &recorder, 5, 101, 40, testing::stripBitmap(40, 40, 101)));
    COptionMenu* menu =
        frame.addView(std::make_unique<COptionMenu>(CRect{120, 100, 200, 120}, &recorder, 7));
    X11Window* window = nullptr;

    EditorFrame() {
        knob->setValue(0.5f);
        knob->setWheelInc(0.125f);
        for (const char* title : {"Slow", "Medium", "Fast"})
            menu->addEntry(title);
    }
    bool open(Window parent) {
        auto backend = std::make_unique<X11Window>();
        X11Window* raw = backend.get();
        if (!frame.open(asParent(parent), std::move(backend))) return false;
        window = raw;
        return true;
    }
    Window child() const { return window ? Window(window->windowId()) : 0; }
};

class X11WindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!server.usable()) GTEST_SKIP() << "no X server with XTest and 24-bit colour";
        parent = server.makeParent(100, 100, 400, 200);
        ASSERT_TRUE(editor.open(parent));
        ASSERT_TRUE(shows(editor, kKnobCentre, stripColour(50)));
    }
    bool idleUntil(const std::function<bool()>& done, std::initializer_list<EditorFrame*> frames) {
        return X11TestServer::waitFor(
            [&] {
                for (EditorFrame* f : frames)
                    f->frame.idle();
            },
            done);
    }
    bool idleUntil(const std::function<bool()>& done) { return idleUntil(done, {&editor}); }
    bool shows(EditorFrame& e, XPoint at, unsigned long colour) {
        return idleUntil([&] { return server.pixel(e.child(), at.x, at.y) == colour; }, {&e});
    }

    X11TestServer server;
    Window parent = 0;
    EditorFrame editor;
};

TEST_F(X11WindowTest, OpensAChildOfTheParentThatPresentsWhatChangesAndRepaintsExposures) {
    const Window child = editor.child();
    EXPECT_EQ(server.children(parent), std::vector<Window>{child});
    EXPECT_EQ(server.parentOf(child), parent);
    const XWindowAttributes a = server.attributes(child);
    EXPECT_EQ(a.width, kWidth);
    EXPECT_EQ(a.height, kHeight);
    EXPECT_EQ(a.map_state, IsViewable);
    EXPECT_EQ(server.pixel(child, 5, 5), kBlack);

    editor.knob->setValue(1.0f);
    EXPECT_TRUE(shows(editor, kKnobCentre, stripColour(100))) << "a changed control is shown";

    // Scribble over the window, then expose it: the frame has nothing dirty, so only the
    // expose can bring the pixels back.
    server.paint(child, 0x00FF00);
    ASSERT_EQ(server.pixel(child, 5, 5), 0x00FF00ul);
    XClearArea(server.display(), child, 0, 0, 0, 0, True);
    XSync(server.display(), False);
    EXPECT_TRUE(shows(editor, {5, 5}, kBlack));
    EXPECT_TRUE(shows(editor, kKnobCentre, stripColour(100)));
    EXPECT_EQ(server.pixel(child, kWidth - 1, kHeight - 1), kBlack);

    const CPoint origin = editor.window->originOnScreen();
    EXPECT_EQ(origin, (CPoint{100, 100}));
    const XWindowAttributes screen = server.attributes(server.root());
    EXPECT_EQ(editor.window->screenBounds(), (PixelRect{0, 0, screen.width, screen.height}));
}

TEST_F(X11WindowTest, PointerDragsAndWheelTurnsTheKnobThroughTheServer) {
    const Window child = editor.child();
    server.drag(child, kKnobCentre, {kKnobCentre.x, short(kKnobCentre.y - 50)});
    ASSERT_TRUE(idleUntil([&] { return editor.recorder.calls.back() == "end 5"; }));
    EXPECT_NEAR(editor.knob->getValue(), 0.75f, 1e-6) << "50 of the 200 pixels of the range";
    EXPECT_EQ(editor.recorder.calls.front(), "begin 5");
    EXPECT_TRUE(shows(editor, kKnobCentre, stripColour(75)));

    editor.recorder.clear();
    server.click(child, kKnobCentre.x, kKnobCentre.y, Button5);
    ASSERT_TRUE(idleUntil([&] { return editor.recorder.changes() == 1; }));
    EXPECT_FLOAT_EQ(editor.knob->getValue(), 0.625f) << "one notch towards the user";
    server.click(child, kKnobCentre.x, kKnobCentre.y, Button4);
    server.click(child, kKnobCentre.x, kKnobCentre.y, Button4);
    ASSERT_TRUE(idleUntil([&] { return editor.recorder.changes() == 3; }));
    EXPECT_FLOAT_EQ(editor.knob->getValue(), 0.875f);

    // Shift held on the keyboard reaches the wheel as the fine step; the sideways wheel
    // turns nothing.
    server.key(XK_Shift_L, true);
    server.click(child, kKnobCentre.x, kKnobCentre.y, Button5);
    server.key(XK_Shift_L, false);
    server.click(child, kKnobCentre.x, kKnobCentre.y, 6);
    server.click(child, kKnobCentre.x, kKnobCentre.y, 7);
    ASSERT_TRUE(idleUntil([&] { return editor.recorder.changes() == 4; }));
    for (int i = 0; i < 20; ++i)
        editor.frame.idle();
    EXPECT_EQ(editor.recorder.changes(), 4);
    EXPECT_FLOAT_EQ(editor.knob->getValue(), 0.875f - 0.0125f);
}

TEST_F(X11WindowTest, PopupOpensAboveEverythingTakesThePointerAndKeysAndClosesOnAClickOutside) {
    const Window child = editor.child();
    ASSERT_TRUE(server.popups().empty());
    // Once the menu is open its list is mapped and holds the pointer: the backend waits for
    // the grab's answer, which the server gives after the requests before it. A closed list
    // is gone once the server says so: our requests and the backend's are not ordered.
    const auto closedList = [&] {
        return idleUntil([&] { return !editor.menu->isOpen() && server.popups().empty(); });
    };
    const auto openList = [&] {
        server.click(child, 150, 110);
        std::vector<Window> popups;
        const bool open = idleUntil([&] { return editor.menu->isOpen(); }) &&
                          (popups = server.popups()).size() == 1;
        return open ? popups[0] : Window(0);
    };
    const Window first = openList();
    ASSERT_NE(first, 0u);
    const PixelRect area = editor.menu->getLayout().area;
    const XWindowAttributes a = server.attributes(first);
    EXPECT_EQ((PixelRect{a.x, a.y, a.x + a.width, a.y + a.height}), area);
    EXPECT_NE(server.pixel(first, area.width() / 2, area.height() / 2), 0x404040ul)
        << "the list is drawn";

    // A click on the knob outside the list only closes it.
    server.click(child, kKnobCentre.x, kKnobCentre.y);
    ASSERT_TRUE(idleUntil([&] { return !editor.menu->isOpen(); }));
    EXPECT_TRUE(idleUntil([&] { return server.popups().empty(); }));
    EXPECT_EQ(editor.menu->getCurrent(), 0);
    EXPECT_EQ(editor.knob->getValue(), 0.5f);
    // So does one outside the frame, which only the pop-up's hold on the pointer can see.
    ASSERT_NE(openList(), 0u);
    server.click(parent, 350, 180);
    ASSERT_TRUE(closedList());
    EXPECT_EQ(editor.menu->getCurrent(), 0);

    // Chosen with the mouse, in the list's own coordinates...
    const Window list = openList();
    ASSERT_NE(list, 0u);
    const PixelRect third = editor.menu->getLayout().entryRect(2);
    server.click(list, (third.left + third.right) / 2, (third.top + third.bottom) / 2);
    ASSERT_TRUE(closedList());
    EXPECT_EQ(editor.menu->getCurrent(), 2);

    // ...and with the keys, once the window has the keyboard.
    editor.frame.setWantsKeyboardFocus(true);
    ASSERT_TRUE(idleUntil([&] { return editor.frame.hasKeyboardFocus(); }));
    ASSERT_NE(openList(), 0u);
    server.tap(XK_Up);
    server.tap(XK_Return);
    ASSERT_TRUE(closedList());
    EXPECT_EQ(editor.menu->getCurrent(), 1);

    XSetInputFocus(server.display(), server.root(), RevertToNone, CurrentTime);
    XSync(server.display(), False);
    EXPECT_TRUE(idleUntil([&] { return !editor.frame.hasKeyboardFocus(); }));
}

TEST_F(X11WindowTest, ClosingLeavesNoWindowNorConnectionEvenWithAPopupOpen) {
    editor.frame.close();
    EXPECT_TRUE(server.children(parent).empty());
    const std::size_t filesBefore = openFileCount();

    ASSERT_TRUE(editor.open(parent));
    EXPECT_EQ(openFileCount(), filesBefore + 1) << "one connection per open editor";
    ASSERT_TRUE(shows(editor, kKnobCentre, stripColour(50))) << "mapped before it is clicked";
    server.click(editor.child(), 150, 110);
    ASSERT_TRUE(idleUntil([&] { return server.popups().size() == 1; }));
    editor.frame.close();
    EXPECT_TRUE(server.children(parent).empty());
    EXPECT_TRUE(server.popups().empty());
    EXPECT_EQ(openFileCount(), filesBefore);
    editor.menu->closePopup(); // the menu outlived its window's connection

    EXPECT_EQ(X11TestServer::errors(), 0) << X11TestServer::describeLastError();
    EXPECT_TRUE(server.ownHandlerInstalled());
}

TEST_F(X11WindowTest, ParentDestroyedFirstOrMissingCostsTheHostNothing) {
    server.click(editor.child(), 150, 110);
    ASSERT_TRUE(idleUntil([&] { return editor.menu->isOpen(); }));
    server.destroy(parent);
    ASSERT_TRUE(idleUntil([&] { return editor.window->windowId() == 0; }));
    editor.knob->setValue(0.1f);
    editor.window->takeKeyboardFocus();
    editor.frame.idle();
    EXPECT_EQ(editor.window->originOnScreen(), (CPoint{0, 0}));
    editor.menu->closePopup();
    editor.frame.close();

    const std::size_t files = openFileCount();
    EXPECT_FALSE(editor.open(parent)) << "that parent no longer exists";
    EXPECT_FALSE(editor.open(0));
    EXPECT_FALSE(editor.frame.isOpen());
    EXPECT_EQ(openFileCount(), files);

    EXPECT_EQ(X11TestServer::errors(), 0)
        << "every error stays with the backend: " << X11TestServer::describeLastError();
    EXPECT_TRUE(server.ownHandlerInstalled());
}

TEST_F(X11WindowTest, HostsThatMapLateOrDestroyBeforeClosingSeeNoErrorOfOurs) {
    const Window unmapped = server.makeParent(100, 400, 400, 200, false);
    EditorFrame late;
    ASSERT_TRUE(late.open(unmapped));
    late.frame.setWantsKeyboardFocus(true); // refused: the window is not viewable yet
    for (int i = 0; i < 10; ++i)
        late.frame.idle();
    XMapWindow(server.display(), unmapped);
    XSync(server.display(), False);
    EXPECT_TRUE(shows(late, kKnobCentre, stripColour(50))) << "drawn once the host maps it";

    server.destroy(parent); // and closed before a single idle
    editor.frame.close();
    EXPECT_EQ(X11TestServer::errors(), 0) << X11TestServer::describeLastError();
}

TEST_F(X11WindowTest, FramesInTwoParentsWorkIndependently) {
    const Window otherParent = server.makeParent(100, 400, 400, 200);
    EditorFrame second;
    EditorFrame third;
    ASSERT_TRUE(second.open(otherParent));
    ASSERT_TRUE(third.open(parent)); // on top of the first in the same parent
    ASSERT_TRUE(shows(second, kKnobCentre, stripColour(50)));
    ASSERT_TRUE(shows(third, kKnobCentre, stripColour(50)));
    EXPECT_EQ(server.children(parent).size(), 2u);

    const auto idleAll = [&](const std::function<bool()>& done) {
        return idleUntil(done, {&editor, &second, &third});
    };
    server.drag(second.child(), kKnobCentre, {kKnobCentre.x, short(kKnobCentre.y + 40)});
    ASSERT_TRUE(idleAll(
        [&] { return !second.recorder.calls.empty() && second.recorder.calls.back() == "end 5"; }));
    EXPECT_NEAR(second.knob->getValue(), 0.3f, 1e-6);
    server.click(third.child(), kKnobCentre.x, kKnobCentre.y, Button4);
    ASSERT_TRUE(idleAll([&] { return third.recorder.changes() == 1; }));
    EXPECT_FLOAT_EQ(third.knob->getValue(), 0.625f);
    EXPECT_EQ(editor.recorder.changes(), 0) << "the frame underneath got nothing";
    EXPECT_EQ(editor.knob->getValue(), 0.5f);

    second.frame.close();
    server.click(third.child(), kKnobCentre.x, kKnobCentre.y, Button5);
    ASSERT_TRUE(idleAll([&] { return third.recorder.changes() == 2; }));
    EXPECT_TRUE(shows(third, kKnobCentre, stripColour(50)));
    EXPECT_TRUE(server.children(otherParent).empty());
}

} // namespace
} // namespace velmora::toolkit
