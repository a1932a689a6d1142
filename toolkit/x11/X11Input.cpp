#include "toolkit/x11/X11Input.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <array>
#include <cstdlib>
#include <utility>

namespace velmora::toolkit {
namespace {

constexpr std::array<std::pair<KeySym, VirtualKey>, 25> kNamedKeys{{
    {XK_BackSpace, VirtualKey::back},
    {XK_Tab, VirtualKey::tab},
    {XK_ISO_Left_Tab, VirtualKey::tab},
    {XK_Return, VirtualKey::enter},
    {XK_KP_Enter, VirtualKey::enter},
    {XK_Escape, VirtualKey::escape},
    {XK_Left, VirtualKey::left},
    {XK_KP_Left, VirtualKey::left},
    {XK_Up, VirtualKey::up},
    {XK_KP_Up, VirtualKey::up},
    {XK_Right, VirtualKey::right},
    {XK_KP_Right, VirtualKey::right},
    {XK_Down, VirtualKey::down},
    {XK_KP_Down, VirtualKey::down},
    {XK_Home, VirtualKey::home},
    {XK_KP_Home, VirtualKey::home},
    {XK_End, VirtualKey::end},
    {XK_KP_End, VirtualKey::end},
    {XK_Page_Up, VirtualKey::pageUp},
    {XK_KP_Page_Up, VirtualKey::pageUp},
    {XK_Page_Down, VirtualKey::pageDown},
    {XK_KP_Page_Down, VirtualKey::pageDown},
    {XK_Delete, VirtualKey::del},
    {XK_KP_Delete, VirtualKey::del},
    {XK_KP_Tab, VirtualKey::tab},
}};

constexpr bool isPrintableLatin1(unsigned long code) {
    return (code >= 0x20 && code < 0x7F) || (code >= 0xA0 && code <= 0xFF);
}

} // namespace

std::uint32_t modifiersFromState(unsigned state) {
    std::uint32_t flags = 0;
    if (state & ShiftMask) flags |= kShift;
    if (state & ControlMask) flags |= kControl;
    if (state & Mod1Mask) flags |= kAlt;
    return flags;
}

CButtonState buttonsFromState(unsigned state) {
    std::uint32_t flags = modifiersFromState(state);
    if (state & Button1Mask) flags |= kLButton;
    if (state & Button2Mask) flags |= kMButton;
    if (state & Button3Mask) flags |= kRButton;
    return flags;
}

std::uint32_t buttonFlag(unsigned button) {
    switch (button) {
    case Button1:
        return kLButton;
    case Button2:
        return kMButton;
    case Button3:
        return kRButton;
    default:
        return 0;
    }
}

float wheelDistance(unsigned button) {
    if (button == Button4) return 1.0f;
    if (button == Button5) return -1.0f;
    return 0.0f;
}

std::optional<KeyEvent> keyEventFrom(unsigned long symbol, std::string_view typed, unsigned state) {
    const std::uint32_t modifiers = modifiersFromState(state);
    for (const auto& [named, virt] : kNamedKeys)
        if (symbol == named) return KeyEvent{0, virt, modifiers};
    // With Control held the text is a control code; the keysym still names the character.
    if (typed.size() == 1 && isPrintableLatin1(static_cast<unsigned char>(typed[0])))
        return KeyEvent{static_cast<unsigned char>(typed[0]), VirtualKey::none, modifiers};
    if (isPrintableLatin1(symbol))
        return KeyEvent{static_cast<char32_t>(symbol), VirtualKey::none, modifiers};
    return std::nullopt;
}

bool ClickCounter::isDoubleClick(unsigned button, int x, int y, unsigned long time) {
    const bool twice = armed_ && button == button_ && time - time_ <= kIntervalMs &&
                       std::abs(x - x_) <= kSlopPixels && std::abs(y - y_) <= kSlopPixels;
    armed_ = !twice;
    button_ = button;
    x_ = x;
    y_ = y;
    time_ = time;
    return twice;
}

} // namespace velmora::toolkit
