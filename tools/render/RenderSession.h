// One run of the renderer: loads the plug-in, drives it through the lifecycle a host uses and
// pushes audio through it block by block.
#pragma once

#include "tools/host/PluginHost.h"
#include "tools/render/AudioFile.h"
#include "tools/render/RenderOptions.h"

#include <iosfwd>
#include <memory>

namespace velmora::render {

class RenderSession {
  public:
    // Loads the plug-in and creates the instance; throws HostError when that fails.
    explicit RenderSession(const RenderOptions& options);

    // Sets the sample rate and block size, then applies the state file, the preset and the
    // parameters asked for, in that order (later ones win).
    void configure(int sampleRate);

    void listParameters(std::ostream& out);
    void listPresets(std::ostream& out);

    // Renders `input` plus the tail; writes the state file afterwards when one was asked for.
    AudioData render(const AudioData& input);

  private:
    void applyState();
    void applyPreset();
    void applyParameters();
    int parameterIndex(const ParameterSetting& setting);
    template <typename Sample> AudioData process(const AudioData& input);

    const RenderOptions& options_;
    host::ScriptedHost host_;
    host::PluginLibrary library_;
    std::unique_ptr<host::PluginInstance> instance_;
};

} // namespace velmora::render
