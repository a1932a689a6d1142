#include "tests/integration/windows/SyntheticInput.h"

#include <cstdint>

namespace velmora::testing {

namespace {

// Absolute mouse positions travel as 0..65535 across the virtual desktop; the system scales
// them back down, rounding towards zero, so rounding up here lands on the pixel meant.
LONG normalised(LONG position, int origin, int extent) {
    return LONG((std::int64_t(position - origin) * 65536 + extent - 1) / extent);
}

bool send(INPUT input) {
    return SendInput(1, &input, sizeof input) == 1;
}

} // namespace

POINT SyntheticInput::toScreen(POINT client) const {
    ClientToScreen(window_, &client);
    return client;
}

POINT SyntheticInput::pointer() const {
    POINT where{};
    GetCursorPos(&where);
    ScreenToClient(window_, &where);
    return where;
}

bool SyntheticInput::press(DWORD flags, DWORD data) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.mouseData = data;
    return send(input);
}

bool SyntheticInput::moveTo(POINT client) {
    const POINT screen = toScreen(client);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = normalised(screen.x, GetSystemMetrics(SM_XVIRTUALSCREEN),
                             GetSystemMetrics(SM_CXVIRTUALSCREEN));
    input.mi.dy = normalised(screen.y, GetSystemMetrics(SM_YVIRTUALSCREEN),
                             GetSystemMetrics(SM_CYVIRTUALSCREEN));
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    return send(input);
}

bool SyntheticInput::click(POINT client) {
    return moveTo(client) && press(MOUSEEVENTF_LEFTDOWN) && press(MOUSEEVENTF_LEFTUP);
}

bool SyntheticInput::drag(POINT from, POINT to, int steps) {
    if (!moveTo(from) || !press(MOUSEEVENTF_LEFTDOWN)) return false;
    for (int step = 1; step <= steps; ++step) {
        const POINT between{from.x + (to.x - from.x) * step / steps,
                            from.y + (to.y - from.y) * step / steps};
        if (!moveTo(between)) return false;
    }
    return press(MOUSEEVENTF_LEFTUP);
}

bool SyntheticInput::turnWheel(POINT client, int notches) {
    return moveTo(client) && press(MOUSEEVENTF_WHEEL, DWORD(notches * WHEEL_DELTA));
}

bool SyntheticInput::key(WORD virtualKey, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = WORD(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return send(input);
}

bool SyntheticInput::typeKey(WORD virtualKey, bool shift) {
    if (shift && !key(VK_SHIFT, false)) return false;
    const bool typed = key(virtualKey, false) && key(virtualKey, true);
    return (!shift || key(VK_SHIFT, true)) && typed;
}

bool SyntheticInput::typeText(std::string_view text) {
    for (const char c : text) {
        const bool upper = c >= 'A' && c <= 'Z';
        const bool lower = c >= 'a' && c <= 'z';
        const bool digit = c >= '0' && c <= '9';
        if (!upper && !lower && !digit) return false;
        const WORD virtualKey = WORD(lower ? c - 'a' + 'A' : c);
        if (!typeKey(virtualKey, upper)) return false;
    }
    return true;
}

} // namespace velmora::testing
