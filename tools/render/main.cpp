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
#include <vector>

#ifndef VELMORA_DEFAULT_PLUGIN
#define VELMORA_DEFAULT_PLUGIN "Velmora.so"
#endif

namespace {

using namespace velmora::render;

std::string defaultOutputPath(const RenderOptions& options) {
    if (!options.inputPath) {
        return "velmora-demo.wav";
    }
    return std::filesystem::path(*options.inputPath).stem().string() + "-velmora.wav";
}

int run(const RenderOptions& options) {
    if (options.showHelp) {
        std::cout << usageText();
        return 0;
    }
    RenderSession session(options);
    if (options.listParameters || options.listPresets) {
        session.configure(options.sampleRate);
        if (options.listParameters) {
            session.listParameters(std::cout);
        }
        if (options.listPresets) {
            session.listPresets(std::cout);
        }
        return 0;
    }
    const std::string outputPath = options.outputPath.value_or(defaultOutputPath(options));
    checkOutputName(outputPath);
    const AudioData input =
        options.inputPath ? readAudioFile(*options.inputPath) : defaultPhrase(options.sampleRate);
    session.configure(input.sampleRate);
    const AudioData output = session.render(input);
    writeAudioFile(outputPath, output);
    std::cout << "wrote " << outputPath << " (" << output.frames() << " frames at "
              << output.sampleRate << " Hz)\n";
    return 0;
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
