// One delay line: a ring of samples with the write, feedback and read taps that walk it together.
#pragma once

#include <cstddef>
#include <vector>

namespace velmora::engine {

struct DelayLine {
    std::vector<double> buffer; // lineLength samples, sized outside the audio thread
    std::size_t write = 0;      // W: the input is stored here
    std::size_t feedback = 0;   // F: preSamples behind W, the feedback is added here
    std::size_t read = 0;       // R: delaySamples behind F, the output is taken here

    std::size_t length() const { return buffer.size(); }

    // Moves all three taps one sample on, each wrapping from the end to the start.
    void advance() {
        const std::size_t n = buffer.size();
        if (++write == n) write = 0;
        if (++feedback == n) feedback = 0;
        if (++read == n) read = 0;
    }

    // F = W - preSamples, R = F - delaySamples, both wrapped into the buffer.
    void placeTaps(std::size_t preSamples, std::size_t delaySamples) {
        const std::size_t n = buffer.size();
        feedback = (write + n - preSamples % n) % n;
        read = (feedback + n - delaySamples % n) % n;
    }
};

} // namespace velmora::engine
