// The engine prepared for the benchmarks: a setting applied, and buffers holding the input.
#pragma once

#include "bench/BenchSettings.h"
#include "engine/Engine.h"

#include <array>
#include <memory>
#include <vector>

namespace velmora::engine {

template <typename Sample> struct Buffers {
    std::array<std::vector<Sample>, 4> inputs;
    std::array<std::vector<Sample>, 2> outputs;
    std::array<const Sample*, 4> inputPointers{};
    std::array<Sample*, 2> outputPointers{};

    Buffers(int frames, double fs) {
        for (auto& channel : inputs)
            channel.resize(static_cast<std::size_t>(frames));
        for (auto& channel : outputs)
            channel.resize(static_cast<std::size_t>(frames));
        fillBenchInputs<Sample>({inputs[0], inputs[1], inputs[2], inputs[3]}, fs);
        for (std::size_t c = 0; c < 4; ++c)
            inputPointers[c] = inputs[c].data();
        for (std::size_t c = 0; c < 2; ++c)
            outputPointers[c] = outputs[c].data();
    }
};

// An engine resumed at fs with the host at 120 BPM, four inputs and two outputs, in a setting.
inline std::unique_ptr<Engine> makeEngine(Setting setting, double fs) {
    auto engine = std::make_unique<Engine>();
    engine->setSpeakerArrangement(4, 2);
    ResumeRequest resume;
    resume.hostTempoBpm = 120.0;
    resume.sampleRate = fs;
    engine->resume(resume);
    for (const auto& [index, value] : parametersOf(setting))
        engine->setParameter(index, value);
    return engine;
}

} // namespace velmora::engine
