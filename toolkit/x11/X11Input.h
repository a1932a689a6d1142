// Translation of X11 input into the toolkit's terms: pointer buttons and modifier keys from an
// event's state, wheel notches from buttons 4 and 5, key presses from their keysym and the
// Latin-1 text they type, and double clicks from the timing of presses. Keysyms and server
// times are Xlib's unsigned longs; this header leaves Xlib's macros out of its users.
#pragma once

#include "toolkit/ButtonState.h"
#include "toolkit/KeyEvent.h"

#include <optional>
#include <string_view>

namespace velmora::toolkit {

// Shift, Control and Alt (Mod1) held in an event's state, as kShift, kControl, kAlt.
std::uint32_t modifiersFromState(unsigned state);
// The buttons held in an event's state, with its modifiers.
CButtonState buttonsFromState(unsigned state);
// The flag of pointer button 1 (left), 2 (middle) or 3 (right); 0 for any other.
std::uint32_t buttonFlag(unsigned button);
// Notches of a wheel button: 4 turns away from the user (+1), 5 towards (-1). The sideways
// wheel (6, 7) and other buttons give 0.
float wheelDistance(unsigned button);
// A key press as the toolkit sees it, from the keysym and the text XLookupString found for it;
// nothing for keys without a meaning here (a modifier alone, function keys, characters beyond
// Latin-1).
std::optional<KeyEvent> keyEventFrom(unsigned long symbol, std::string_view typed, unsigned state);

// Tells a press of the same button, soon after and close to the one before, as a double click.
// A third press starts over.
class ClickCounter {
  public:
    static constexpr unsigned long kIntervalMs = 400;
    static constexpr int kSlopPixels = 4;

    bool isDoubleClick(unsigned button, int x, int y, unsigned long time);

  private:
    unsigned button_ = 0;
    int x_ = 0;
    int y_ = 0;
    unsigned long time_ = 0;
    bool armed_ = false;
};

} // namespace velmora::toolkit
