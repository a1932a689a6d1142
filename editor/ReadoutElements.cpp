#include "editor/ReadoutElements.h"

#include "editor/ControlLayout.h"

#include <algorithm>
#include <cstdlib>

namespace velmora::editor {

namespace {

constexpr int kPointsAndColons = 3;
constexpr int kMaxDigit = 9;

// A digit strip never shows a sign for a stray value out of 0..9.
int digitOf(long long value) {
    return digitFrame(static_cast<int>(std::clamp(value, 0LL, static_cast<long long>(kMaxDigit))));
}

// Lights mark `position` (1..3, counted from the first digit) of a row; 0 lights none.
void lightMark(ReadoutFrames& frames, ReadoutElement first, int position) {
    if (position >= 1 && position <= kPointsAndColons)
        frames[first + static_cast<std::size_t>(position - 1)] = kLitFrame;
}

// A signed number gives up its last digit to the sign, so the point moves one place right;
// past the last digit there is no point to show.
ReadoutFrames plainNumberFrames(const DisplayRecord& record) {
    ReadoutFrames frames{};
    long long digits = record.digits;
    int point = record.point;
    if (record.isSigned) {
        digits /= 10;
        point = point + 1 > kPointsAndColons ? 0 : point + 1;
        frames[Digit1] = digits < 0 ? kMinusFrame : kPlusFrame;
    } else {
        frames[Digit1] = digitOf(std::llabs(digits) / 1000);
    }
    const long long rest = std::llabs(digits) % 1000;
    frames[Digit2] = digitOf(rest / 100);
    frames[Digit3] = digitOf(rest / 10 % 10);
    frames[Digit4] = digitOf(rest % 10);
    lightMark(frames, Point1, point);
    lightMark(frames, Colon1, record.separator);
    return frames;
}

// Numerator, a gap, the middle colon, then the denominator right-aligned in the last two.
ReadoutFrames noteValueFrames(const DisplayRecord& record) {
    ReadoutFrames frames{};
    frames[Digit1] = digitOf(record.numerator);
    frames[Colon2] = kLitFrame;
    if (record.denominator >= 10) frames[Digit3] = digitOf(record.denominator / 10 % 10);
    frames[Digit4] = digitOf(record.denominator % 10);
    return frames;
}

int stripFrames(ReadoutElement element) {
    return layout::findControl(tags::kFirstReadout + static_cast<std::int32_t>(element))->frames;
}

} // namespace

ReadoutFrames readoutFrames(const DisplayRecord& record, bool noteVisible) {
    if (record.numerator == -1) return plainNumberFrames(record);
    return noteVisible ? noteValueFrames(record) : ReadoutFrames{};
}

float elementValue(ReadoutElement element, int frame) {
    return static_cast<float>(frame) / static_cast<float>(stripFrames(element) - 1);
}

ReadoutValues elementValues(const ReadoutFrames& frames) {
    ReadoutValues values{};
    for (std::size_t element = 0; element < kReadoutElementCount; ++element)
        values[element] = elementValue(static_cast<ReadoutElement>(element), frames[element]);
    return values;
}

} // namespace velmora::editor
