#include "editor/HostKeys.h"

#include "toolkit/ButtonState.h"

namespace velmora::editor {

namespace {

toolkit::VirtualKey virtualKeyOf(unsigned char virt) {
    using toolkit::VirtualKey;
    switch (virt) {
    case VKEY_BACK:
        return VirtualKey::back;
    case VKEY_TAB:
        return VirtualKey::tab;
    case VKEY_RETURN:
    case VKEY_ENTER:
        return VirtualKey::enter;
    case VKEY_ESCAPE:
        return VirtualKey::escape;
    case VKEY_END:
        return VirtualKey::end;
    case VKEY_HOME:
        return VirtualKey::home;
    case VKEY_LEFT:
        return VirtualKey::left;
    case VKEY_UP:
        return VirtualKey::up;
    case VKEY_RIGHT:
        return VirtualKey::right;
    case VKEY_DOWN:
        return VirtualKey::down;
    case VKEY_PAGEUP:
        return VirtualKey::pageUp;
    case VKEY_PAGEDOWN:
        return VirtualKey::pageDown;
    case VKEY_DELETE:
        return VirtualKey::del;
    default:
        return VirtualKey::none;
    }
}

std::uint32_t modifiersOf(unsigned char modifier) {
    std::uint32_t modifiers = 0;
    if (modifier & MODIFIER_SHIFT) modifiers |= toolkit::kShift;
    if (modifier & MODIFIER_CONTROL) modifiers |= toolkit::kControl;
    if (modifier & MODIFIER_ALTERNATE) modifiers |= toolkit::kAlt;
    return modifiers;
}

} // namespace

toolkit::KeyEvent keyEventOf(const VstKeyCode& key) {
    toolkit::KeyEvent event;
    event.virt = virtualKeyOf(key.virt);
    // A named key carries no character; a negative one is no character either.
    if (event.virt == toolkit::VirtualKey::none && key.character > 0)
        event.character = static_cast<char32_t>(key.character);
    event.modifiers = modifiersOf(key.modifier);
    return event;
}

} // namespace velmora::editor
