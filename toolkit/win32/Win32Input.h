// Translation of Win32 input messages into the toolkit's terms: buttons from a mouse message's
// key flags, modifiers from the keyboard state, wheel notches from a wheel delta, named keys
// from virtual-key codes and characters from the UTF-16 units WM_CHAR carries (or a key press
// types, for hosts whose message loop makes no WM_CHAR).
#pragma once

#include "toolkit/ButtonState.h"
#include "toolkit/KeyEvent.h"

#include <cstdint>
#include <optional>

namespace velmora::toolkit {

// Shift, Control and Alt as they are held now (during a message: as it was sent).
std::uint32_t heldModifiers();
// The buttons held in a mouse message's key flags (its WPARAM), with the held modifiers.
CButtonState buttonsFromKeyFlags(std::uintptr_t keyFlags);
// Notches of a wheel message's delta: 120 per notch, positive away from the user.
float wheelNotches(int delta);
// The named key of a virtual-key code; nothing for keys that type characters or mean nothing
// here.
std::optional<VirtualKey> namedKeyFrom(unsigned virtualKey);
// The UTF-16 unit a key press types with the keyboard state of the message being handled, as
// TranslateMessage would make of it; nothing for keys that type nothing, dead keys and pairs.
// `scanCode` is bits 16 to 23 of the key message's LPARAM.
std::optional<unsigned> unitTypedBy(unsigned virtualKey, unsigned scanCode);
// The character of one WM_CHAR unit, or nothing for the control codes the named keys already
// gave and for the halves of a pair beyond Latin-1. With Control held a letter arrives as its
// control code (1..26); `virtualKey` of the key pressed names the letter again.
std::optional<char32_t> characterFrom(unsigned unit, unsigned virtualKey, std::uint32_t modifiers);

} // namespace velmora::toolkit
