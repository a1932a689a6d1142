// The LED readout's elements read back as the text a musician sees: each digit (a space when
// blank), followed by the point or colon lit after it.
#pragma once

#include "editor/ControlLayout.h"
#include "editor/ReadoutElements.h"
#include "editor/Tags.h"
#include "toolkit/controls/StripFrame.h"

#include <string>

namespace velmora::editor::testing {

// The frame an element's strip picks for the value it was given.
inline int frameShown(const ReadoutValues& values, std::size_t element) {
    const int frames = layout::findControl(tags::kFirstReadout + int(element))->frames;
    return toolkit::roundedFrame(values[element], frames);
}

inline char digitText(int frame) {
    if (frame == kBlankFrame) return ' ';
    if (frame == kMinusFrame) return '-';
    if (frame == kPlusFrame) return '+';
    return static_cast<char>('0' + frame - 1);
}

// Each digit (blank as a space), followed by the point or colon lit after it.
inline std::string shownText(const ReadoutValues& values) {
    std::string text;
    for (std::size_t digit = 0; digit < 4; ++digit) {
        text += digitText(frameShown(values, Digit1 + digit));
        if (digit == 3) break;
        if (frameShown(values, Point1 + digit) == kLitFrame) text += '.';
        if (frameShown(values, Colon1 + digit) == kLitFrame) text += ':';
    }
    return text;
}

} // namespace velmora::editor::testing
