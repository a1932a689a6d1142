// The ten elements of the LED readout and how a display record lights them. Each element is a
// bitmap strip that shows the frame its value selects, so the readout is handed over as ten
// values in tag order: four digits, the points after digits 1 to 3, the colons after them.
#pragma once

#include "editor/Tags.h"
#include "plugin/EditorQueries.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace velmora::editor {

enum ReadoutElement : std::size_t {
    Digit1,
    Digit2,
    Digit3,
    Digit4,
    Point1,
    Point2,
    Point3,
    Colon1,
    Colon2,
    Colon3,
    kReadoutElementCount,
};

using ReadoutFrames = std::array<int, kReadoutElementCount>;
using ReadoutValues = std::array<float, kReadoutElementCount>;

// Digit strips: a blank first frame, then the digits 0 to 9; the first digit's strip goes on
// with a minus and a plus sign. Points and colons are dark or lit.
inline constexpr int kBlankFrame = 0;
inline constexpr int kMinusFrame = 11;
inline constexpr int kPlusFrame = 12;
inline constexpr int kDarkFrame = 0;
inline constexpr int kLitFrame = 1;

constexpr int digitFrame(int digit) {
    return digit + 1;
}

// The frames a record lights. A note value shows only while `noteVisible` (it blinks when too
// long); a plain number always shows.
ReadoutFrames readoutFrames(const DisplayRecord& record, bool noteVisible);

// The value that makes `element` show `frame`: frame / (frames in its strip - 1).
float elementValue(ReadoutElement element, int frame);

ReadoutValues elementValues(const ReadoutFrames& frames);

} // namespace velmora::editor
