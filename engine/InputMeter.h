// The input meter: the gained input goes into a ring as long as the host's output latency, and
// the running extremes are taken from the oldest entry, so the meter shows what is being heard
// now. The editor reads and clears the extremes from its own thread.
#pragma once

#include "engine/RelaxedAtomic.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

namespace velmora::engine {

class InputMeter {
  public:
    static constexpr std::size_t kDefaultLength = 1024;

    // Outside the audio thread only; a length of at least 1 keeps the ring usable.
    void allocate(std::size_t length) {
        if (length < 1) length = 1;
        for (auto& ring : rings_)
            ring.assign(length, 0.0f);
        index_ = 0;
    }

    std::size_t length() const { return rings_[0].size(); }

    void process(double left, double right) {
        rings_[0][index_] = static_cast<float>(left);
        rings_[1][index_] = static_cast<float>(right);
        if (++index_ == rings_[0].size()) index_ = 0;
        track(0, rings_[0][index_]);
        track(1, rings_[1][index_]);
    }

    // For each channel max(maximum, -minimum); then all four extremes go back to 0.
    void takePeaks(float& left, float& right) {
        left = std::max(maximum_[0].get(), -minimum_[0].get());
        right = std::max(maximum_[1].get(), -minimum_[1].get());
        clearExtremes();
    }

    // Clears the rings and extremes; the index stays where it is.
    void clear() {
        for (auto& ring : rings_)
            std::fill(ring.begin(), ring.end(), 0.0f);
        clearExtremes();
    }

  private:
    void track(std::size_t channel, float oldest) {
        if (oldest > maximum_[channel].get())
            maximum_[channel].set(oldest);
        else if (oldest < minimum_[channel].get())
            minimum_[channel].set(oldest);
    }

    void clearExtremes() {
        for (std::size_t c = 0; c < 2; ++c) {
            maximum_[c].set(0.0f);
            minimum_[c].set(0.0f);
        }
    }

    std::array<std::vector<float>, 2> rings_;
    std::size_t index_ = 0;
    std::array<RelaxedAtomic<float>, 2> maximum_;
    std::array<RelaxedAtomic<float>, 2> minimum_;
};

} // namespace velmora::engine
