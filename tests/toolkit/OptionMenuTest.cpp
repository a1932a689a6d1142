#include "tests/toolkit/ToolkitFixtures.h"
#include "toolkit/controls/COptionMenu.h"

namespace velmora::toolkit {
namespace {

class OptionMenuTest : public testing::GestureTest {
  protected:
    COptionMenu* menu =
        add(std::make_unique<COptionMenu>(CRect{322, 157, 335, 169}, &recorder, 110));

    void SetUp() override {
        for (int i = 0; i < 61; ++i)
            menu->addEntry("Program " + std::to_string(i));
        menu->setCurrent(3);
    }
    // The frame sits at (100, 100) on the screen.
    OffscreenDriver& openOnScreen(int width, int height) {
        OffscreenWindow::Options options;
        options.screen = {0, 0, width, height};
        return open(options);
    }
    // The centre of an entry, in frame coordinates.
    CPoint entryCentre(const OffscreenDriver& d, int index) const {
        const CRect r = menu->getLayout().entryRect(index).toRect();
        const CRect popup = d.popupRect();
        return {popup.left + (r.left + r.right) / 2, popup.top + (r.top + r.bottom) / 2};
    }
};

TEST_F(OptionMenuTest, LongListsFitTheScreenInColumns) {
    OffscreenDriver& d = openOnScreen(1024, 300);
    d.click({328, 163});
    ASSERT_TRUE(d.popupOpen());
    const MenuLayout& layout = menu->getLayout();
    const int fit = 300 / layout.itemHeight;
    EXPECT_EQ(layout.columns, (61 + fit - 1) / fit);
    EXPECT_GE(layout.rows * layout.columns, 61);
    EXPECT_LT((layout.rows - 1) * layout.columns, 61) << "columns of equal length";
    EXPECT_EQ(layout.area.intersect({0, 0, 1024, 300}), layout.area) << "inside the screen";

    // On a tall screen it is one column below the control.
    menu->closePopup();
    EXPECT_EQ(layoutMenu(61, 80, 14, {422, 257, 435, 269}, {0, 0, 1920, 1080}).columns, 1);
    const MenuLayout low = layoutMenu(10, 80, 14, {422, 1000, 435, 1012}, {0, 0, 1920, 1080});
    EXPECT_EQ(low.area.bottom, 1000) << "no room below: it opens above";
    const MenuLayout right = layoutMenu(10, 80, 14, {1900, 100, 1913, 112}, {0, 0, 1920, 1080});
    EXPECT_EQ(right.area.right, 1920);
}

TEST_F(OptionMenuTest, MouseChoiceSetsTheIndexAndHoverHighlights) {
    OffscreenDriver& d = openOnScreen(1920, 1080);
    d.click({328, 163});
    ASSERT_TRUE(d.popupOpen());
    EXPECT_EQ(menu->getHighlighted(), 3) << "the current entry starts highlighted";

    d.moveTo(entryCentre(d, 7));
    EXPECT_EQ(menu->getHighlighted(), 7);
    const PixelRect item = menu->getLayout().entryRect(7);
    EXPECT_EQ(d.popupPixel(item.right - 2, item.top + 1), packPixel(255, 74, 112, 170));
    const PixelRect plain = menu->getLayout().entryRect(9);
    EXPECT_NE(d.popupPixel(plain.right - 2, plain.top + 1), packPixel(255, 74, 112, 170));

    d.click(entryCentre(d, 7));
    EXPECT_FALSE(d.popupOpen());
    EXPECT_EQ(menu->getCurrent(), 7);
    EXPECT_EQ(menu->getValue(), 7.0f);
    EXPECT_EQ(recorder.values, (std::vector<float>{7}));
    EXPECT_EQ(menu->displayText(), "Program 7");
}

TEST_F(OptionMenuTest, KeyboardChoiceAndClosingWithoutAChoice) {
    OffscreenDriver& d = openOnScreen(1920, 1080);
    d.click({328, 163});
    d.key(VirtualKey::down);
    d.key(VirtualKey::down);
    d.key(VirtualKey::up);
    d.key(VirtualKey::down);
    d.key(VirtualKey::enter);
    EXPECT_FALSE(d.popupOpen());
    EXPECT_EQ(menu->getCurrent(), 5);

    d.click({328, 163});
    d.key(VirtualKey::end);
    d.key(VirtualKey::down); // already at the last entry
    d.key(VirtualKey::escape);
    EXPECT_FALSE(d.popupOpen());
    EXPECT_EQ(menu->getCurrent(), 5);

    // A click outside the list closes it and is not taken as a choice or as a press below.
    d.click({328, 163});
    ASSERT_TRUE(d.popupOpen());
    d.click({5, 5});
    EXPECT_FALSE(d.popupOpen());
    EXPECT_EQ(menu->getCurrent(), 5);
    EXPECT_EQ(recorder.changes(), 1);
    EXPECT_FALSE(d.key(VirtualKey::down)) << "the keyboard is free again";
}

TEST_F(OptionMenuTest, ClosingTheFrameWithTheListOpenClosesTheList) {
    OffscreenDriver& d = openOnScreen(1920, 1080);
    d.click({328, 163});
    ASSERT_TRUE(d.popupOpen());
    frame.close(); // the pop-up must go before its window (the sanitizer run checks the order)
    EXPECT_FALSE(menu->isOpen());
    EXPECT_FALSE(frame.isOpen());
    EXPECT_EQ(recorder.changes(), 0);
}

TEST_F(OptionMenuTest, ArrowsLeftAndRightMoveBetweenColumns) {
    OffscreenDriver& d = openOnScreen(1024, 300);
    d.click({328, 163});
    const int rows = menu->getLayout().rows;
    d.key(VirtualKey::right);
    EXPECT_EQ(menu->getHighlighted(), 3 + rows);
    d.key(VirtualKey::left);
    d.key(VirtualKey::left); // no column further left
    EXPECT_EQ(menu->getHighlighted(), 3);
    d.key(VirtualKey::enter);
    EXPECT_EQ(recorder.changes(), 1);
    EXPECT_EQ(menu->getCurrent(), 3);
}

} // namespace
} // namespace velmora::toolkit
