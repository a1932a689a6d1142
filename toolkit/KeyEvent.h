// One key press: a Latin-1 or wider character, or a named key, with the modifiers held.
#pragma once

#include <cstdint>

namespace velmora::toolkit {

enum class VirtualKey : std::uint8_t {
    none,
    back,
    tab,
    enter,
    escape,
    left,
    up,
    right,
    down,
    home,
    end,
    pageUp,
    pageDown,
    del,
};

struct KeyEvent {
    char32_t character = 0; // 0 for a named key
    VirtualKey virt = VirtualKey::none;
    std::uint32_t modifiers = 0; // kShift, kControl, kAlt
};

} // namespace velmora::toolkit
