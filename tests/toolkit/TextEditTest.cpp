#include "tests/toolkit/ToolkitFixtures.h"
#include "toolkit/controls/CParamDisplay.h"
#include "toolkit/controls/CTextEdit.h"

namespace velmora::toolkit {
namespace {

// The limit a program name has: 24 bytes; every printable Latin-1 character is accepted.
constexpr std::size_t kNameBytes = 24;

class TextEditTest : public testing::GestureTest {
  protected:
    CTextEdit* field =
        add(std::make_unique<CTextEdit>(CRect{210, 155, 322, 171}, &recorder, 98, "Init"));
    CParamDisplay* other = add(std::make_unique<CParamDisplay>(CRect{10, 10, 60, 30}));
    OffscreenDriver& d = open();

    void startEditingAtEnd() {
        d.click({320, 163});
        ASSERT_TRUE(field->isEditing());
        ASSERT_EQ(field->getCaret(), field->getText().size());
    }
};

TEST_F(TextEditTest, TypingAndEditingKeysChangeTheTextAtTheCaret) {
    field->setInputFilter({}, kNameBytes);
    startEditingAtEnd();
    d.type(" Pad");
    EXPECT_EQ(field->getText(), "Init Pad");
    d.key(VirtualKey::home);
    d.key(VirtualKey::del);
    d.type("E");
    EXPECT_EQ(field->getText(), "Enit Pad");
    d.key(VirtualKey::right);
    d.key(VirtualKey::right);
    d.key(VirtualKey::back);
    EXPECT_EQ(field->getText(), "Ent Pad");
    d.key(VirtualKey::end);
    d.key(VirtualKey::back);
    d.key(VirtualKey::left);
    d.key(VirtualKey::left);
    d.key(VirtualKey::left);
    d.key(VirtualKey::left);
    d.key(VirtualKey::left);
    d.key(VirtualKey::left);
    d.key(VirtualKey::left);
    d.key(VirtualKey::left); // one more than there are characters
    d.key(VirtualKey::back); // nothing before the caret
    EXPECT_EQ(field->getText(), "Ent Pa");
    EXPECT_EQ(field->getCaret(), 0u);
    EXPECT_EQ(recorder.changes(), 0) << "nothing is reported before the edit ends";

    d.key(VirtualKey::enter);
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(recorder.changes(), 1);
    EXPECT_EQ(recorder.calls.front(), "begin 98");
    EXPECT_EQ(recorder.calls.back(), "end 98");
    EXPECT_FALSE(d.key(VirtualKey::back)) << "keys are not the field's once it is done";
}

TEST_F(TextEditTest, InputIsLimitedToWhatTheOwnerAllowsWithoutCorruption) {
    field->setInputFilter({}, kNameBytes);
    startEditingAtEnd();
    d.type(" \xE9t\xE9 \xA9"); // Latin-1 letters and a sign
    EXPECT_EQ(field->getText(), "Init \xE9t\xE9 \xA9");

    // Characters beyond Latin-1, control characters and DEL are dropped, not mangled.
    d.window().sink()->platformKeyDown({U'\u20AC', VirtualKey::none, 0});
    d.window().sink()->platformKeyDown({U'\U0001F3B5', VirtualKey::none, 0});
    d.window().sink()->platformKeyDown({0x7F, VirtualKey::none, 0});
    d.window().sink()->platformKeyDown({0x09, VirtualKey::none, 0});
    d.window().sink()->platformKeyDown({0x0100 + 'A', VirtualKey::none, 0});
    EXPECT_EQ(field->getText(), "Init \xE9t\xE9 \xA9");

    d.type("0123456789ABCDEFGHIJ");
    EXPECT_EQ(field->getText().size(), kNameBytes);
    EXPECT_EQ(field->getText(), "Init \xE9t\xE9 \xA9"
                                "0123456789ABCD");
    d.key(VirtualKey::enter);

    // The owner's filter decides too; text set from outside obeys the same rules.
    field->setInputFilter([](char32_t c) { return c != '/'; }, 8);
    field->setText("a/b/c/d/e/f/g/h/i/j");
    EXPECT_EQ(field->getText(), "abcdefgh");
}

TEST_F(TextEditTest, EscapeRestoresAndAClickElsewhereCommits) {
    startEditingAtEnd();
    d.type("ial");
    d.key(VirtualKey::escape);
    EXPECT_EQ(field->getText(), "Init");
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(recorder.changes(), 0);
    EXPECT_EQ(frame.getFocusView(), nullptr);

    startEditingAtEnd();
    d.type("ial");
    d.click({20, 20});
    EXPECT_FALSE(field->isEditing());
    EXPECT_EQ(field->getText(), "Initial");
    EXPECT_EQ(recorder.changes(), 1);

    // A click near the left end puts the caret at the start.
    d.click({213, 163});
    EXPECT_EQ(field->getCaret(), 0u);
    d.click({230, 163}); // a second click while editing moves it
    EXPECT_GT(field->getCaret(), 0u);
    EXPECT_LT(field->getCaret(), field->getText().size());
}

TEST_F(TextEditTest, TheCaretIsDrawnOnlyWhileEditing) {
    field->setFrameColor({0, 0, 0, 0});
    field->setBackColor({0, 0, 0, 255});
    const auto inkColumns = [&] {
        int columns = 0;
        for (int x = 212; x < 320; ++x)
            for (int y = 157; y < 169; ++y)
                if (d.pixel(x, y) != packPixel(255, 0, 0, 0)) {
                    ++columns;
                    break;
                }
        return columns;
    };
    d.idle();
    const int text = inkColumns();
    EXPECT_GT(text, 10);
    startEditingAtEnd();
    d.idle();
    EXPECT_EQ(inkColumns(), text + 1) << "one more column: the caret after the text";
    d.key(VirtualKey::enter);
    d.idle();
    EXPECT_EQ(inkColumns(), text);

    // The read-only display shows the owner's text for its value.
    other->setValueToStringFunction([](float v, std::string& s) {
        s = v > 0.5f ? "CC 74" : "--";
        return true;
    });
    other->setValue(0.75f);
    EXPECT_EQ(other->displayText(), "CC 74");
}

} // namespace
} // namespace velmora::toolkit
