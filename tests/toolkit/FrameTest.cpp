#include "toolkit/CControl.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/CFrame.h"
#include "toolkit/offscreen/OffscreenDriver.h"
#include "toolkit/offscreen/PngWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velmora::toolkit {
namespace {

// Fills itself with grey = value * 255 and logs the mouse events it gets.
class Swatch : public CControl {
  public:
    using CControl::CControl;
    std::vector<std::string>* log = nullptr;
    bool removeSelfOnPress = false;

    void draw(CDrawContext& context) override {
        const auto grey = static_cast<std::uint8_t>(getValueNormalized() * 255);
        context.fillRect(getViewSize(), {grey, grey, grey, 255});
    }
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState&) override {
        note("down", where);
        if (removeSelfOnPress) getFrame()->removeView(this);
        return kMouseEventHandled;
    }
    CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override {
        note(buttons.isLeftButton() ? "drag" : "hover", where);
        return kMouseEventHandled;
    }
    CMouseEventResult onMouseUp(CPoint& where, const CButtonState&) override {
        note("up", where);
        return kMouseEventHandled;
    }
    void onMouseExited(CPoint& where, const CButtonState&) override { note("exit", where); }
    void loseFocus() override { note("loseFocus", {}); }

  private:
    void note(const char* what, CPoint p) {
        if (log)
            log->push_back(std::to_string(getTag()) + ":" + what + "@" + std::to_string(int(p.x)) +
                           "," + std::to_string(int(p.y)));
    }
};

struct Recorder : CControlListener, EditorInterface {
    std::vector<std::string> calls;
    void valueChanged(CControl* c) override {
        calls.push_back("changed " + std::to_string(c->getTag()));
    }
    void controlBeginEdit(CControl* c) override {
        calls.push_back("listener begin " + std::to_string(c->getTag()));
    }
    void controlEndEdit(CControl* c) override {
        calls.push_back("listener end " + std::to_string(c->getTag()));
    }
    void beginEdit(std::int32_t tag) override {
        calls.push_back("editor begin " + std::to_string(tag));
    }
    void endEdit(std::int32_t tag) override {
        calls.push_back("editor end " + std::to_string(tag));
    }
};

class FrameTest : public ::testing::Test {
  protected:
    Recorder recorder;
    std::vector<std::string> log;
    CFrame frame{CRect::fromSize(0, 0, 100, 50), &recorder};

    Swatch* addSwatch(CRect r, int tag) {
        auto* s = frame.addView(std::make_unique<Swatch>(r, &recorder, tag));
        s->log = &log;
        return s;
    }
};

TEST_F(FrameTest, OnlyWhatChangedIsRedrawnAndPresented) {
    Swatch* left = addSwatch({10, 10, 20, 20}, 1);
    addSwatch({50, 10, 60, 20}, 2);
    OffscreenDriver driver(frame);
    ASSERT_TRUE(driver.isOpen());
    EXPECT_EQ(driver.window().presented().size(), 1u) << "the first show presents everything";
    EXPECT_EQ(driver.window().presented()[0], (PixelRect{0, 0, 100, 50}));

    driver.window().clearPresented();
    driver.idle();
    EXPECT_TRUE(driver.window().presented().empty())
        << "an idle with nothing changed presents nothing";

    left->setValue(1.0f);
    driver.idle();
    ASSERT_EQ(driver.window().presented().size(), 1u);
    EXPECT_EQ(driver.window().presented()[0], (PixelRect{10, 10, 20, 20}));
    EXPECT_EQ(driver.pixel(15, 15), packPixel(255, 255, 255, 255));
    EXPECT_EQ(driver.pixel(55, 15), packPixel(255, 0, 0, 0));

    // Setting a value back and forth before the idle leaves nothing to redraw.
    driver.window().clearPresented();
    left->setValue(0.2f);
    left->setValue(1.0f);
    driver.idle();
    EXPECT_TRUE(driver.window().presented().empty());

    // Hiding a view repaints its place with the background.
    left->setVisible(false);
    driver.idle();
    EXPECT_EQ(driver.pixel(15, 15), packPixel(255, 0, 0, 0));
}

TEST_F(FrameTest, APressedViewKeepsTheMouseUntilReleaseAndHoverFollowsThePointer) {
    addSwatch({0, 0, 30, 30}, 1);
    addSwatch({20, 0, 50, 30}, 2); // on top where they overlap
    OffscreenDriver driver(frame);

    EXPECT_EQ(frame.getViewAt({25, 5}), frame.getView(1)) << "the topmost view wins";
    EXPECT_EQ(frame.getViewAt({70, 40}), nullptr);

    driver.press({5, 5});
    driver.moveTo({45, 5}, kLButton);  // over view 2, but view 1 holds the mouse
    driver.moveTo({90, 45}, kLButton); // and outside every view
    driver.release({90, 45});
    driver.moveTo({45, 5});
    driver.leave();
    const std::vector<std::string> expected{"1:down@5,5", "1:drag@45,5",  "1:drag@90,45",
                                            "1:up@90,45", "2:hover@45,5", "2:exit@45,5"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(frame.getCurrentMouseLocation(), (CPoint{-1, -1}));
}

TEST_F(FrameTest, AModalViewTakesEveryPressAndViewsMayRemoveThemselves) {
    addSwatch({0, 0, 30, 30}, 1);
    Swatch* vanishing = addSwatch({60, 0, 90, 30}, 3);
    vanishing->removeSelfOnPress = true;
    OffscreenDriver driver(frame);

    auto modal = std::make_unique<Swatch>(CRect{0, 0, 40, 40}, nullptr, 9);
    modal->log = &log;
    frame.setModalView(std::move(modal));
    driver.click({5, 5});
    driver.click({70, 10}); // outside the modal view: nobody gets it
    frame.clearModalView();
    driver.click({5, 5});
    driver.click({70, 10}); // removes itself inside its own handler
    driver.moveTo({70, 10});
    driver.idle();
    // Hover ends when a release leaves the pointer over no view.
    const std::vector<std::string> expected{"9:down@5,5",  "9:up@5,5", "9:exit@70,10",
                                            "1:down@5,5",  "1:up@5,5", "3:down@70,10",
                                            "1:exit@70,10"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(frame.viewCount(), 1u);
    EXPECT_EQ(frame.getViewAt({70, 10}), nullptr);
}

TEST_F(FrameTest, EditBracketsReachListenerAndEditorInNestedOrder) {
    Swatch* knob = addSwatch({0, 0, 10, 10}, 7);
    knob->setDefaultValue(0.5f);
    knob->setValue(0.8f);
    ASSERT_TRUE(knob->checkDefaultValue(kLButton | kControl));
    const std::vector<std::string> expected{"listener begin 7", "editor begin 7", "changed 7",
                                            "editor end 7", "listener end 7"};
    EXPECT_EQ(recorder.calls, expected);
    EXPECT_EQ(knob->getValue(), 0.5f);

    recorder.calls.clear();
    EXPECT_TRUE(knob->checkDefaultValue(kLButton | kControl));
    EXPECT_TRUE(recorder.calls.empty()) << "already at the default: nothing to tell";
    EXPECT_FALSE(knob->checkDefaultValue(kLButton | kControl | kShift));
    EXPECT_FALSE(knob->checkDefaultValue(kRButton | kControl));
}

TEST_F(FrameTest, AClickElsewhereTakesTheFocusAwayAndKeyboardFocusIsTaken) {
    Swatch* field = addSwatch({0, 0, 30, 30}, 1);
    addSwatch({40, 0, 70, 30}, 2);
    OffscreenDriver driver(frame);
    frame.setFocusView(field);
    driver.click({10, 10});
    EXPECT_EQ(frame.getFocusView(), field) << "a click inside keeps it";
    driver.click({50, 10});
    EXPECT_EQ(frame.getFocusView(), nullptr);
    EXPECT_EQ(log[2], "1:loseFocus@0,0");

    EXPECT_FALSE(driver.window().hasKeyboardFocus());
    frame.setWantsKeyboardFocus(true);
    EXPECT_TRUE(driver.window().hasKeyboardFocus());
    EXPECT_TRUE(frame.hasKeyboardFocus());
}

// The stored-block PNG: signature, chunk CRCs and the raw rows read back.
TEST(PngWriter, RowsReadBackThroughStoredBlocks) {
    Framebuffer image(300, 80);
    CDrawContext context(image);
    context.fillRect({10, 5, 290, 70}, {200, 30, 90, 255});
    const auto png = encodePng(image);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png[1], 'P');

    const auto big32 = [&](std::size_t at) {
        return (std::uint32_t(png[at]) << 24) | (png[at + 1] << 16) | (png[at + 2] << 8) |
               png[at + 3];
    };
    std::vector<std::uint8_t> zlib;
    std::size_t at = 8;
    int chunks = 0;
    while (at + 12 <= png.size()) {
        const std::uint32_t length = big32(at);
        const std::string type(png.begin() + at + 4, png.begin() + at + 8);
        if (type == "IDAT")
            zlib.insert(zlib.end(), png.begin() + at + 8, png.begin() + at + 8 + length);
        at += 12 + length;
        ++chunks;
    }
    EXPECT_EQ(at, png.size());
    EXPECT_EQ(chunks, 3);

    // Undo the stored blocks.
    std::vector<std::uint8_t> raw;
    std::size_t z = 2;
    for (bool last = false; !last;) {
        last = zlib[z] & 1;
        const std::size_t n = zlib[z + 1] | (zlib[z + 2] << 8);
        ASSERT_EQ(n ^ 0xFFFF, std::size_t(zlib[z + 3] | (zlib[z + 4] << 8)));
        raw.insert(raw.end(), zlib.begin() + z + 5, zlib.begin() + z + 5 + n);
        z += 5 + n;
    }
    ASSERT_EQ(raw.size(), 80u * (1 + 300 * 3)) << "more than one stored block was needed";
    const std::size_t row = 1 + 300 * 3;
    EXPECT_EQ(raw[40 * row + 1 + 100 * 3], 200);
    EXPECT_EQ(raw[40 * row + 1 + 100 * 3 + 2], 90);
    EXPECT_EQ(raw[2 * row + 1], 0);
}

} // namespace
} // namespace velmora::toolkit
