// The renderer's command line, parsed into plain settings.
#pragma once

#include "tools/render/SampleFormat.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmora::render {

// A command line that cannot be obeyed; what() is the message for the user.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A parameter as the user named it: by index or by the name the plug-in reports.
struct ParameterRef {
    std::optional<int> index;
    std::string name;
};

// One --param.
struct ParameterSetting {
    ParameterRef parameter;
    float value = 0.0f;
};

// One --assign-cc: a MIDI controller and the parameter it is to drive.
struct ControllerAssignment {
    int controller = 0;
    ParameterRef parameter;
};

struct ControlChange {
    double seconds = 0.0;
    int controller = 0;
    int value = 0;
};

struct RenderOptions {
    std::string pluginPath;
    std::optional<std::string> inputPath; // none: the built-in phrase
    std::optional<std::string> outputPath;
    std::optional<SampleFormat> sampleFormat; // none: as the input, or the container's usual
    std::vector<ParameterSetting> parameters;
    std::vector<ControllerAssignment> assignments;
    std::vector<ControlChange> controlChanges;
    std::optional<double> tempo;
    std::optional<std::string> preset;
    std::optional<std::string> loadState;
    std::optional<std::string> saveState;
    int blockSize = 512;
    int sampleRate = 44100; // for the built-in phrase
    double tailSeconds = 2.0;
    bool useDouble = false;
    bool listParameters = false;
    bool listPresets = false;
    bool showHelp = false;
};

RenderOptions parseOptions(const std::vector<std::string>& arguments,
                           const std::string& defaultPlugin);

std::string usageText();

} // namespace velmora::render
