#include "toolkit/win32/Win32Input.h"

#include <windows.h>

#include <array>
#include <utility>

namespace velmora::toolkit {
namespace {

constexpr std::array<std::pair<unsigned, VirtualKey>, 13> kNamedKeys{{
    {VK_BACK, VirtualKey::back},
    {VK_TAB, VirtualKey::tab},
    {VK_RETURN, VirtualKey::enter},
    {VK_ESCAPE, VirtualKey::escape},
    {VK_LEFT, VirtualKey::left},
    {VK_UP, VirtualKey::up},
    {VK_RIGHT, VirtualKey::right},
    {VK_DOWN, VirtualKey::down},
    {VK_HOME, VirtualKey::home},
    {VK_END, VirtualKey::end},
    {VK_PRIOR, VirtualKey::pageUp},
    {VK_NEXT, VirtualKey::pageDown},
    {VK_DELETE, VirtualKey::del},
}};

constexpr int kWheelDeltaPerNotch = WHEEL_DELTA;

bool isDown(int virtualKey) {
    return (GetKeyState(virtualKey) & 0x8000) != 0;
}

constexpr bool isPrintableLatin1(unsigned code) {
    return (code >= 0x20 && code < 0x7F) || (code >= 0xA0 && code <= 0xFF);
}

} // namespace

std::uint32_t heldModifiers() {
    std::uint32_t flags = 0;
    if (isDown(VK_SHIFT)) flags |= kShift;
    if (isDown(VK_CONTROL)) flags |= kControl;
    if (isDown(VK_MENU)) flags |= kAlt;
    return flags;
}

CButtonState buttonsFromKeyFlags(std::uintptr_t keyFlags) {
    std::uint32_t flags = heldModifiers();
    if (keyFlags & MK_LBUTTON) flags |= kLButton;
    if (keyFlags & MK_MBUTTON) flags |= kMButton;
    if (keyFlags & MK_RBUTTON) flags |= kRButton;
    return flags;
}

float wheelNotches(int delta) {
    return static_cast<float>(delta) / kWheelDeltaPerNotch;
}

std::optional<VirtualKey> namedKeyFrom(unsigned virtualKey) {
    for (const auto& [code, virt] : kNamedKeys)
        if (code == virtualKey) return virt;
    return std::nullopt;
}

std::optional<unsigned> unitTypedBy(unsigned virtualKey, unsigned scanCode) {
    BYTE state[256]{};
    if (!GetKeyboardState(state)) return std::nullopt;
    std::array<wchar_t, 4> units{};
    const int count = ToUnicode(virtualKey, scanCode, state, units.data(), int(units.size()), 0);
    if (count != 1) return std::nullopt;
    return static_cast<unsigned>(units[0]);
}

std::optional<char32_t> characterFrom(unsigned unit, unsigned virtualKey, std::uint32_t modifiers) {
    if (isPrintableLatin1(unit)) return static_cast<char32_t>(unit);
    const bool controlLetter =
        (modifiers & kControl) && unit >= 1 && unit <= 26 && virtualKey >= 'A' && virtualKey <= 'Z';
    if (controlLetter) {
        const char32_t upper = static_cast<char32_t>(virtualKey);
        return (modifiers & kShift) ? upper : upper - U'A' + U'a';
    }
    return std::nullopt;
}

} // namespace velmora::toolkit
