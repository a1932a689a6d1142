#include "tools/snapshot/SnapshotOptions.h"

#include <charconv>
#include <string_view>

namespace velmora::snapshot {

namespace {

// "TAG=V": a tag and a value within 0..1.
std::optional<std::pair<std::int32_t, float>> parseValue(std::string_view text) {
    const auto equals = text.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    std::int32_t tag = 0;
    const std::string_view tagText = text.substr(0, equals);
    const auto tagEnd = tagText.data() + tagText.size();
    if (auto [end, ec] = std::from_chars(tagText.data(), tagEnd, tag);
        ec != std::errc{} || end != tagEnd)
        return std::nullopt;
    float value = 0;
    const std::string_view valueText = text.substr(equals + 1);
    const auto valueEnd = valueText.data() + valueText.size();
    if (auto [end, ec] = std::from_chars(valueText.data(), valueEnd, value);
        ec != std::errc{} || end != valueEnd || !(value >= 0 && value <= 1))
        return std::nullopt;
    return std::pair{tag, value};
}

ParsedOptions fail(std::string error) {
    return {std::nullopt, std::move(error)};
}

} // namespace

ParsedOptions parseOptions(std::span<const std::string> arguments) {
    SnapshotOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasNext = i + 1 < arguments.size();
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--about") {
            options.about = true;
        } else if (argument == "--output" && hasNext) {
            options.output = arguments[++i];
        } else if (argument == "--value" && hasNext) {
            const auto value = parseValue(arguments[++i]);
            if (!value) return fail("--value wants TAG=V with V in 0..1, not " + arguments[i]);
            options.values.push_back(*value);
        } else {
            return fail("unknown or incomplete option: " + argument);
        }
    }
    if (!options.help && options.output.empty()) return fail("--output FILE is required");
    return {options, {}};
}

std::string usage() {
    return "usage: velmora-snapshot --output FILE [--value TAG=V]... [--about]\n"
           "  Draws the editor panel to a PNG file: the background and every control at its\n"
           "  default value (0 where it has none).\n"
           "  --value TAG=V  sets the control with this tag to V (0..1); may be repeated\n"
           "  --about        shows the about picture over the panel\n";
}

} // namespace velmora::snapshot
