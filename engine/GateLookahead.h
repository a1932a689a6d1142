// The gate's look-ahead: both channels' signals wait 1 ms in a ring so that the gate gain,
// computed from the undelayed envelope, acts slightly early.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

namespace velmora::engine {

class GateLookahead {
  public:
    // Outside the audio thread only. A length of at least 1 keeps the ring usable.
    void allocate(std::size_t length) {
        if (length < 1) length = 1;
        for (auto& ring : rings_)
            ring.assign(length, 0.0);
        index_ = 0;
    }

    std::size_t length() const { return rings_[0].size(); }

    // Stores this sample's signals and returns the ones of one ring length ago.
    void exchange(double& left, double& right) {
        double& slotL = rings_[0][index_];
        double& slotR = rings_[1][index_];
        const double oldL = slotL;
        const double oldR = slotR;
        slotL = left;
        slotR = right;
        left = oldL;
        right = oldR;
        if (++index_ == rings_[0].size()) index_ = 0;
    }

    // Clears the rings; the index stays where it is.
    void clear() {
        for (auto& ring : rings_)
            std::fill(ring.begin(), ring.end(), 0.0);
    }

  private:
    std::array<std::vector<double>, 2> rings_;
    std::size_t index_ = 0;
};

} // namespace velmora::engine
