// How each sample is stored in a sound file: integers of a given width or floating point.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora::render {

enum class SampleFormat { Int8, Int16, Int24, Int32, Float, Double };

// Float formats hold samples beyond full scale; integer formats must clip them.
constexpr bool holdsOvers(SampleFormat format) {
    return format == SampleFormat::Float || format == SampleFormat::Double;
}

// "16-bit integer", "32-bit float", ...
std::string describe(SampleFormat format);

// The words --format takes: 8, 16, 24, 32, float, double.
std::optional<SampleFormat> parseSampleFormat(std::string_view text);

} // namespace velmora::render
