// A test fixture that loads the built plug-in binary through its entry, as a host does, with a
// scripted host callback the test can configure and inspect.
#pragma once

#include "tools/host/PluginHost.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace velmora::testing {

inline std::string builtPluginPath() {
    return VELMORA_PLUGIN_PATH;
}

class HostFixture : public ::testing::Test {
  protected:
    HostFixture() : library(builtPluginPath()) {}

    // A fresh instance answering from `host`; the host may be configured before this.
    host::PluginInstance& createInstance() {
        instance = std::make_unique<host::PluginInstance>(library, host);
        return *instance;
    }

    // An instance opened and prepared the way hosts do before processing.
    host::PluginInstance& createRunningInstance(float sampleRate = 44100.0f,
                                                VstInt32 blockSize = 256) {
        auto& plugin = createInstance();
        plugin.open();
        plugin.setSampleRate(sampleRate);
        plugin.setBlockSize(blockSize);
        plugin.resume();
        return plugin;
    }

    host::PluginLibrary library;
    host::ScriptedHost host;
    std::unique_ptr<host::PluginInstance> instance;
};

} // namespace velmora::testing
