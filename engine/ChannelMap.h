// Which host buffer each of the engine's channels uses, for the speaker arrangements the
// effect accepts.
#pragma once

#include "engine/RelaxedAtomic.h"

#include <optional>

namespace velmora::engine {

struct ChannelIndices {
    int mainLeft = 0;
    int mainRight = 0;
    int sideLeft = 0;
    int sideRight = 0;
    int outLeft = 0;
    int outRight = 0;
};

// The routing for a host arrangement of `inputs` -> `outputs` channels, or none when the pair
// is not supported.
std::optional<ChannelIndices> routingFor(int inputs, int outputs);

class ChannelMap {
  public:
    // Written from the dispatcher thread, read by the loop once per block.
    void set(const ChannelIndices& indices);
    ChannelIndices get() const;

    bool arrangementFixed() const { return arrangementFixed_.get(); }
    void fixArrangement() { arrangementFixed_.set(true); }

  private:
    RelaxedAtomic<int> mainLeft_{0};
    RelaxedAtomic<int> mainRight_{0};
    RelaxedAtomic<int> sideLeft_{0};
    RelaxedAtomic<int> sideRight_{0};
    RelaxedAtomic<int> outLeft_{0};
    RelaxedAtomic<int> outRight_{0};
    RelaxedAtomic<bool> arrangementFixed_{false};
};

} // namespace velmora::engine
