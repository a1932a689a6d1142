#include "tools/render/SampleFormat.h"

#include <array>
#include <utility>

namespace velmora::render {

namespace {

struct FormatName {
    SampleFormat format;
    std::string_view word;
    std::string_view description;
};

constexpr std::array kFormatNames = {
    FormatName{SampleFormat::Int8, "8", "8-bit integer"},
    FormatName{SampleFormat::Int16, "16", "16-bit integer"},
    FormatName{SampleFormat::Int24, "24", "24-bit integer"},
    FormatName{SampleFormat::Int32, "32", "32-bit integer"},
    FormatName{SampleFormat::Float, "float", "32-bit float"},
    FormatName{SampleFormat::Double, "double", "64-bit float"},
};

} // namespace

std::string describe(SampleFormat format) {
    for (const FormatName& name : kFormatNames) {
        if (name.format == format) {
            return std::string(name.description);
        }
    }
    return "unknown";
}

std::optional<SampleFormat> parseSampleFormat(std::string_view text) {
    for (const FormatName& name : kFormatNames) {
        if (name.word == text) {
            return name.format;
        }
    }
    return std::nullopt;
}

} // namespace velmora::render
