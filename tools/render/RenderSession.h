// One run of the renderer: loads the plug-in, drives it through the lifecycle a host uses and
// pushes audio through it block by block.
#pragma once

#include "tools/host/PluginHost.h"
#include "tools/render/AudioFile.h"
#include "tools/render/RenderOptions.h"

#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora::render {

class RenderSession {
  public:
    // Loads the plug-in and creates the instance; throws HostError when that fails.
    explicit RenderSession(const RenderOptions& options);

    // Sets the sample rate and block size, then applies the state file, the preset, the
    // parameters and the controller assignments asked for, in that order (later ones win).
    void configure(int sampleRate);

    void listParameters(std::ostream& out);
    void listPresets(std::ostream& out);

    // The controllers that --midi-cc sends but no parameter is assigned to, in rising order.
    std::vector<int> unassignedControllers();

    // Renders `input` plus the tail; writes the state file afterwards when one was asked for.
    AudioData render(const AudioData& input);

  private:
    void applyState();
    void applyPreset();
    void applyParameters();
    void applyAssignments();
    // The index the user means; `slots` is how many indices past 0 are accepted.
    int parameterIndex(const ParameterRef& parameter, const std::string& option, int slots);
    std::optional<int> controllerOf(int parameter);
    template <typename Sample> AudioData process(const AudioData& input);

    const RenderOptions& options_;
    host::ScriptedHost host_;
    host::PluginLibrary library_;
    std::unique_ptr<host::PluginInstance> instance_;
};

} // namespace velmora::render
