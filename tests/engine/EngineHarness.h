// Drives an Engine the way the shell does, with whole signals split into host-sized blocks.
#pragma once

#include "engine/Engine.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace velmora::engine::test {

using Signal = std::vector<double>;

inline std::unique_ptr<Engine> makeEngine(int inputs = 2, int outputs = 2) {
    auto engine = std::make_unique<Engine>();
    engine->setSpeakerArrangement(inputs, outputs);
    return engine;
}

inline Signal impulse(std::size_t length, std::size_t at = 0, double height = 1.0) {
    Signal signal(length, 0.0);
    signal.at(at) = height;
    return signal;
}

// Runs `inputs` through the engine in blocks; returns `outputCount` output channels.
template <typename Sample = double>
std::vector<Signal> render(Engine& engine, const std::vector<Signal>& inputs, int outputCount,
                           int blockSize = 512, const HostTiming& timing = {}) {
    const std::size_t length = inputs.at(0).size();
    std::vector<std::vector<Sample>> in(inputs.size(), std::vector<Sample>(blockSize));
    std::vector<std::vector<Sample>> out(outputCount, std::vector<Sample>(blockSize));
    std::vector<const Sample*> inPointers;
    std::vector<Sample*> outPointers;
    for (auto& channel : in)
        inPointers.push_back(channel.data());
    for (auto& channel : out)
        outPointers.push_back(channel.data());
    std::vector<Signal> result(outputCount, Signal(length));
    for (std::size_t start = 0; start < length; start += blockSize) {
        const std::size_t frames = std::min<std::size_t>(blockSize, length - start);
        for (std::size_t c = 0; c < inputs.size(); ++c)
            for (std::size_t i = 0; i < frames; ++i)
                in[c][i] = static_cast<Sample>(inputs[c][start + i]);
        engine.process(inPointers.data(), outPointers.data(), static_cast<int>(frames), timing);
        for (int c = 0; c < outputCount; ++c)
            for (std::size_t i = 0; i < frames; ++i)
                result[c][start + i] = out[c][i];
    }
    return result;
}

// Index of the largest magnitude at or after `from`.
inline std::size_t peakIndex(const Signal& signal, std::size_t from = 0) {
    std::size_t best = from;
    for (std::size_t i = from; i < signal.size(); ++i)
        if (std::abs(signal[i]) > std::abs(signal[best])) best = i;
    return best;
}

} // namespace velmora::engine::test
