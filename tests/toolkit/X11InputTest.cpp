// gtest comes before Xlib's headers, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "toolkit/x11/X11Input.h"

#include <X11/X.h>
#include <X11/keysym.h>

namespace velmora::toolkit {
namespace {

TEST(X11InputTest, NamedKeysComeFromTheMainAndTheKeypadKeys) {
    const auto virtualKey = [](KeySym symbol) {
        const auto key = keyEventFrom(symbol, "", 0);
        return key ? key->virt : VirtualKey::none;
    };
    EXPECT_EQ(virtualKey(XK_Left), VirtualKey::left);
    EXPECT_EQ(virtualKey(XK_KP_Right), VirtualKey::right);
    EXPECT_EQ(virtualKey(XK_KP_Home), VirtualKey::home);
    EXPECT_EQ(virtualKey(XK_End), VirtualKey::end);
    EXPECT_EQ(virtualKey(XK_BackSpace), VirtualKey::back);
    EXPECT_EQ(virtualKey(XK_KP_Delete), VirtualKey::del);
    EXPECT_EQ(virtualKey(XK_KP_Enter), VirtualKey::enter);
    EXPECT_EQ(virtualKey(XK_Escape), VirtualKey::escape);
    EXPECT_EQ(virtualKey(XK_ISO_Left_Tab), VirtualKey::tab);

    // Return types a carriage return, which must not arrive as a character as well.
    const auto enter = keyEventFrom(XK_Return, "\r", ShiftMask);
    ASSERT_TRUE(enter);
    EXPECT_EQ(enter->virt, VirtualKey::enter);
    EXPECT_EQ(enter->character, 0u);
    EXPECT_EQ(enter->modifiers, kShift);
}

TEST(X11InputTest, CharactersAreLatin1EvenWithControlHeld) {
    const auto typed = keyEventFrom(XK_eacute, "\xE9", 0);
    ASSERT_TRUE(typed);
    EXPECT_EQ(typed->character, U'\u00E9');
    EXPECT_EQ(typed->virt, VirtualKey::none);

    // Control turns the text into a control code; the keysym still tells the letter.
    const auto control = keyEventFrom(XK_a, "\x01", ControlMask);
    ASSERT_TRUE(control);
    EXPECT_EQ(control->character, U'a');
    EXPECT_EQ(control->modifiers, kControl);

    EXPECT_FALSE(keyEventFrom(XK_Shift_L, "", ShiftMask)) << "a modifier alone types nothing";
    EXPECT_FALSE(keyEventFrom(XK_F1, "", 0));
    EXPECT_FALSE(keyEventFrom(XK_Cyrillic_a, "", 0)) << "beyond Latin-1";
    const auto del = keyEventFrom(XK_Delete, "\x7F", 0);
    ASSERT_TRUE(del);
    EXPECT_EQ(del->virt, VirtualKey::del);
    EXPECT_EQ(del->character, 0u) << "the DEL code it types is no character";
}

TEST(X11InputTest, ModifiersButtonsAndWheelFromTheEventState) {
    EXPECT_EQ(modifiersFromState(ShiftMask | ControlMask | Mod1Mask | LockMask | Mod2Mask),
              kShift | kControl | kAlt)
        << "Caps Lock and Num Lock are no modifiers here";
    EXPECT_EQ(buttonsFromState(Button1Mask | Button3Mask | ShiftMask),
              CButtonState(kLButton | kRButton | kShift));
    EXPECT_EQ(buttonsFromState(Button4Mask), CButtonState()) << "a wheel is never held";

    EXPECT_EQ(buttonFlag(Button1), kLButton);
    EXPECT_EQ(buttonFlag(Button2), kMButton);
    EXPECT_EQ(buttonFlag(Button3), kRButton);
    EXPECT_EQ(buttonFlag(Button4), 0u);
    EXPECT_EQ(wheelDistance(Button4), 1.0f);
    EXPECT_EQ(wheelDistance(Button5), -1.0f);
    EXPECT_EQ(wheelDistance(6), 0.0f);
    EXPECT_EQ(wheelDistance(7), 0.0f);
    EXPECT_EQ(wheelDistance(Button1), 0.0f);
}

TEST(X11InputTest, DoubleClickNeedsTheSameButtonSoonAndClose) {
    ClickCounter clicks;
    EXPECT_FALSE(clicks.isDoubleClick(Button1, 10, 10, 1000));
    EXPECT_TRUE(clicks.isDoubleClick(Button1, 12, 13, 1000 + ClickCounter::kIntervalMs));
    EXPECT_FALSE(clicks.isDoubleClick(Button1, 12, 13, 1500)) << "a third press starts over";
    EXPECT_TRUE(clicks.isDoubleClick(Button1, 12, 13, 1600));

    EXPECT_FALSE(clicks.isDoubleClick(Button1, 0, 0, 5000));
    EXPECT_FALSE(clicks.isDoubleClick(Button1, 0, 0, 5000 + ClickCounter::kIntervalMs + 1));
    EXPECT_FALSE(clicks.isDoubleClick(Button1, 0, ClickCounter::kSlopPixels + 1, 6000))
        << "moved too far";
    EXPECT_FALSE(clicks.isDoubleClick(Button3, 0, ClickCounter::kSlopPixels + 1, 6100))
        << "another button";
    // Server time wraps around after 49 days; a press "before" the last is no double click.
    EXPECT_FALSE(clicks.isDoubleClick(Button3, 0, ClickCounter::kSlopPixels + 1, 5000));
}

} // namespace
} // namespace velmora::toolkit
