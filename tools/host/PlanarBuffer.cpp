#include "tools/host/PlanarBuffer.h"

#include <algorithm>

namespace velmora::host {

template <typename Sample>
PlanarBuffer<Sample>::PlanarBuffer(int channels, int frames)
    : frames_(frames), channels_(static_cast<std::size_t>(channels),
                                 std::vector<Sample>(static_cast<std::size_t>(frames), Sample{})) {
    pointers_.reserve(channels_.size());
    for (auto& channel : channels_) {
        pointers_.push_back(channel.data());
    }
}

template <typename Sample> void PlanarBuffer<Sample>::clear() {
    for (auto& channel : channels_) {
        std::ranges::fill(channel, Sample{});
    }
}

template class PlanarBuffer<float>;
template class PlanarBuffer<double>;

} // namespace velmora::host
