#include "tools/render/RenderOptions.h"

#include "tools/render/DefaultPhrase.h"

#include <array>
#include <charconv>
#include <cmath>

namespace velmora::render {

namespace {

template <typename Number> std::optional<Number> parseNumber(const std::string& text) {
    Number value{};
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc{} || stop != end) {
        return std::nullopt;
    }
    return value;
}

// A limit as people write it: "0", "1", "86400" rather than "0.000000".
template <typename Number> std::string numberText(Number value) {
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    return std::string(text.data(), result.ptr);
}

template <typename Number>
Number numberOption(const std::string& option, const std::string& text, Number low, Number high) {
    const auto value = parseNumber<Number>(text);
    if (!value || !(*value >= low && *value <= high)) {
        throw UsageError(option + " wants a number from " + numberText(low) + " to " +
                         numberText(high) + ", not '" + text + "'");
    }
    return *value;
}

ParameterRef parseParameterRef(const std::string& text) {
    if (const auto index = parseNumber<int>(text)) {
        return {*index, {}};
    }
    return {std::nullopt, text};
}

ParameterSetting parseParameter(const std::string& text) {
    const auto equals = text.rfind('=');
    if (equals == std::string::npos || equals == 0) {
        throw UsageError("--param wants INDEX=VALUE or NAME=VALUE, not '" + text + "'");
    }
    const std::string key = text.substr(0, equals);
    return {parseParameterRef(key),
            numberOption<float>("--param " + key, text.substr(equals + 1), 0.0f, 1.0f)};
}

ControllerAssignment parseAssignment(const std::string& text) {
    const auto colon = text.find(':');
    if (colon == std::string::npos || colon + 1 == text.size()) {
        throw UsageError("--assign-cc wants CC:NAME or CC:INDEX, not '" + text + "'");
    }
    return {numberOption<int>("--assign-cc controller", text.substr(0, colon), 0, 127),
            parseParameterRef(text.substr(colon + 1))};
}

SampleFormat parseFormatOption(const std::string& text) {
    const auto format = parseSampleFormat(text);
    if (!format) {
        throw UsageError("--format wants 8, 16, 24, 32, float or double, not '" + text + "'");
    }
    return *format;
}

ControlChange parseControlChange(const std::string& text) {
    const auto first = text.find(':');
    const auto second = text.find(':', first == std::string::npos ? first : first + 1);
    if (first == std::string::npos || second == std::string::npos) {
        throw UsageError("--midi-cc wants TIME:CC:VALUE, not '" + text + "'");
    }
    ControlChange change;
    change.seconds = numberOption<double>("--midi-cc time", text.substr(0, first), 0.0, 86400.0);
    change.controller = numberOption<int>("--midi-cc controller",
                                          text.substr(first + 1, second - first - 1), 0, 127);
    change.value = numberOption<int>("--midi-cc value", text.substr(second + 1), 0, 127);
    return change;
}

} // namespace

RenderOptions parseOptions(const std::vector<std::string>& arguments,
                           const std::string& defaultPlugin) {
    RenderOptions options;
    options.pluginPath = defaultPlugin;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const auto value = [&]() -> const std::string& {
            if (i + 1 >= arguments.size()) {
                throw UsageError(argument + " needs a value");
            }
            return arguments[++i];
        };
        if (argument == "-h" || argument == "--help") {
            options.showHelp = true;
        } else if (argument == "--plugin") {
            options.pluginPath = value();
        } else if (argument == "-o" || argument == "--output") {
            options.outputPath = value();
        } else if (argument == "--format") {
            options.sampleFormat = parseFormatOption(value());
        } else if (argument == "--param") {
            options.parameters.push_back(parseParameter(value()));
        } else if (argument == "--tempo") {
            options.tempo = numberOption<double>(argument, value(), 1.0, 1000.0);
        } else if (argument == "--block") {
            options.blockSize = numberOption<int>(argument, value(), 1, 65536);
        } else if (argument == "--double") {
            options.useDouble = true;
        } else if (argument == "--tail") {
            options.tailSeconds = numberOption<double>(argument, value(), 0.0, 3600.0);
        } else if (argument == "--rate") {
            options.sampleRate = numberOption<int>(argument, value(), 8000, 384000);
        } else if (argument == "--list-params") {
            options.listParameters = true;
        } else if (argument == "--list-presets") {
            options.listPresets = true;
        } else if (argument == "--preset") {
            options.preset = value();
        } else if (argument == "--assign-cc") {
            options.assignments.push_back(parseAssignment(value()));
        } else if (argument == "--midi-cc") {
            options.controlChanges.push_back(parseControlChange(value()));
        } else if (argument == "--save-state") {
            options.saveState = value();
        } else if (argument == "--load-state") {
            options.loadState = value();
        } else if (argument.size() > 1 && argument[0] == '-') {
            throw UsageError("unknown option " + argument);
        } else {
            positional.push_back(argument);
        }
    }
    if (positional.size() > 2) {
        throw UsageError("too many file names; give at most an input and an output");
    }
    if (!positional.empty()) {
        options.inputPath = positional[0];
    }
    if (positional.size() == 2) {
        if (options.outputPath) {
            throw UsageError("the output file is given twice");
        }
        options.outputPath = positional[1];
    }
    return options;
}

std::string usageText() {
    return R"(usage: velmora-render [options] [INPUT] [OUTPUT]

Renders INPUT (WAV, FLAC, AIFF, ...) through the Velmora plug-in into OUTPUT (format from its
extension: .wav, .flac, .aiff or .ogg). Without INPUT a built-in phrase of plucked notes and a
drum hit is rendered, through the program ")" +
           std::string(kPhraseProgram) + R"(" unless --preset or --load-state
chooses another.

  -o, --output FILE       output file (default: INPUT-velmora.wav beside INPUT, or
                          velmora-demo.wav); never the input itself
  --format SAMPLES        how OUTPUT stores samples: 8, 16, 24 or 32 (integer), float or double
                          (default: as INPUT where OUTPUT can hold that, else float for .wav
                          and 24 for .flac and .aiff). Integer files clip what lies beyond full
                          scale, and the renderer says how many samples it clipped; float
                          files keep it
  --plugin PATH           the plug-in binary to load
  --param INDEX=VALUE     set a parameter (normalised 0 to 1); NAME=VALUE uses the plug-in's
                          name; the indices after the parameters hold controller assignments
  --preset NAME|INDEX     start from a stored program (see --list-presets)
  --assign-cc CC:NAME     let MIDI controller CC (0 to 127) drive the parameter NAME (or INDEX)
                          (repeatable)
  --midi-cc TIME:CC:VALUE send a Control Change at TIME seconds (repeatable); it moves the
                          parameter that CC is assigned to (--assign-cc, or a loaded state)
  --tempo BPM             host tempo (otherwise the host reports none)
  --block N               block size in samples (default 512)
  --double                process in 64-bit floating point
  --tail SECONDS          extra time rendered after the input (default 2)
  --rate HZ               sample rate of the built-in phrase (default 44100)
  --load-state FILE       restore the plug-in's state chunk from FILE before rendering
  --save-state FILE       write the plug-in's state chunk to FILE after rendering
  --list-params           list the parameters, the index of each one's controller assignment
                          and the controller assigned, and exit
  --list-presets          list the stored programs and exit
  -h, --help              show this text

Example: --assign-cc 7:Output --midi-cc 1.5:7:100 turns the output up at 1.5 seconds.
)";
}

} // namespace velmora::render
