// velmora-render: renders a sound file (or a built-in phrase) through the plug-in binary, the
// way a host would, and writes the result.
#include "tools/host/HostError.h"
#include "tools/render/AudioFile.h"
#include "tools/render/DefaultPhrase.h"
#include "tools/render/RenderOptions.h"
#include "tools/render/RenderSession.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

#ifndef VELMORA_DEFAULT_PLUGIN
#define VELMORA_DEFAULT_PLUGIN "Velmora.so"
#endif

namespace {

using namespace velmora::render;
namespace fs = std::filesystem;

// Beside the input, so that rendering a file elsewhere does not litter the current folder.
std::string defaultOutputPath(const RenderOptions& options) {
    if (!options.inputPath) {
        return "velmora-demo.wav";
    }
    const fs::path input(*options.inputPath);
    return (input.parent_path() / (input.stem().string() + "-velmora.wav")).string();
}

// The built-in phrase is heard through a program whose echoes repeat, unless the user chose a
// program or a state of their own.
RenderOptions withPhraseProgram(RenderOptions options) {
    if (!options.inputPath && !options.preset && !options.loadState) {
        options.preset = std::string(kPhraseProgram);
    }
    return options;
}

// Catches every spelling of the same file (links, "./", "..") while the output exists; an output
// that does not exist yet cannot be the input.
void refuseOverwritingInput(const RenderOptions& options, const std::string& outputPath) {
    std::error_code noOutputYet;
    if (options.inputPath && fs::equivalent(*options.inputPath, outputPath, noOutputYet)) {
        throw UsageError("the output " + outputPath +
                         " is the input file; give the output another name");
    }
}

void warnAboutUnassignedControllers(RenderSession& session) {
    for (const int controller : session.unassignedControllers()) {
        std::cerr << "velmora-render: controller " << controller
                  << " drives no parameter, so --midi-cc on it changes nothing (assign it with "
                     "--assign-cc "
                  << controller << ":NAME)\n";
    }
}

void reportWrite(const std::string& path, const AudioData& output, const OutputFormat& format,
                 const WriteReport& report) {
    std::cout << "wrote " << path << " (" << output.frames() << " frames at " << output.sampleRate
              << " Hz, " << format.description << ")\n";
    if (report.clippedSamples > 0) {
        std::cerr << "velmora-render: clipped " << report.clippedSamples
                  << " samples beyond full scale, which " << format.description
                  << " cannot hold (--format float keeps them in a .wav or .aiff file)\n";
    }
    if (report.keptOvers > 0) {
        std::cout << "note: " << report.keptOvers
                  << " samples lie beyond full scale; the float file keeps them\n";
    }
}

int list(const RenderOptions& options) {
    RenderSession session(options);
    session.configure(options.sampleRate);
    if (options.listParameters) {
        session.listParameters(std::cout);
    }
    if (options.listPresets) {
        session.listPresets(std::cout);
    }
    return 0;
}

int render(const RenderOptions& options) {
    RenderSession session(options);
    const std::string outputPath = options.outputPath.value_or(defaultOutputPath(options));
    refuseOverwritingInput(options, outputPath);
    const AudioData input =
        options.inputPath ? readAudioFile(*options.inputPath) : defaultPhrase(options.sampleRate);
    const OutputFormat format =
        chooseOutputFormat(outputPath, options.sampleFormat, input.sampleFormat);
    session.configure(input.sampleRate);
    warnAboutUnassignedControllers(session);
    const AudioData output = session.render(input);
    reportWrite(outputPath, output, format, writeAudioFile(outputPath, output, format));
    return 0;
}

int run(const RenderOptions& options) {
    if (options.showHelp) {
        std::cout << usageText();
        return 0;
    }
    if (options.listParameters || options.listPresets) {
        return list(options);
    }
    return render(withPhraseProgram(options));
}

} // namespace

int main(int argc, char** argv) {
    try {
        const std::vector<std::string> arguments(argv + 1, argv + argc);
        return run(parseOptions(arguments, VELMORA_DEFAULT_PLUGIN));
    } catch (const UsageError& error) {
        std::cerr << "velmora-render: " << error.what() << "\n(try velmora-render --help)\n";
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "velmora-render: " << error.what() << '\n';
        return 1;
    }
}
