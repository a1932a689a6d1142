#include "engine/ChannelMap.h"

#include <array>

namespace velmora::engine {

namespace {

struct Routing {
    int inputs;
    int outputs;
    ChannelIndices indices;
};

// With two inputs and one output the second input is the sidechain; with plain stereo the
// sidechain is the main input itself.
constexpr std::array<Routing, 6> kRoutings{{
    {1, 1, {0, 0, 0, 0, 0, 0}},
    {1, 2, {0, 0, 0, 0, 0, 1}},
    {2, 1, {0, 0, 1, 1, 0, 0}},
    {2, 2, {0, 1, 0, 1, 0, 1}},
    {3, 2, {0, 1, 2, 2, 0, 1}},
    {4, 2, {0, 1, 2, 3, 0, 1}},
}};

} // namespace

std::optional<ChannelIndices> routingFor(int inputs, int outputs) {
    for (const Routing& routing : kRoutings)
        if (routing.inputs == inputs && routing.outputs == outputs) return routing.indices;
    return std::nullopt;
}

void ChannelMap::set(const ChannelIndices& indices) {
    mainLeft_.set(indices.mainLeft);
    mainRight_.set(indices.mainRight);
    sideLeft_.set(indices.sideLeft);
    sideRight_.set(indices.sideRight);
    outLeft_.set(indices.outLeft);
    outRight_.set(indices.outRight);
}

ChannelIndices ChannelMap::get() const {
    return {mainLeft_.get(),  mainRight_.get(), sideLeft_.get(),
            sideRight_.get(), outLeft_.get(),   outRight_.get()};
}

} // namespace velmora::engine
