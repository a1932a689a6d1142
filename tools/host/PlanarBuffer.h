// Audio buffers in the layout the process routines take.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

namespace velmora::host {

// Planar audio: one contiguous run of samples per channel, plus the pointer table the process
// routines take. Sized once; processing through it never allocates.
template <typename Sample> class PlanarBuffer {
  public:
    PlanarBuffer(int channels, int frames);
    PlanarBuffer(const PlanarBuffer&) = delete;
    PlanarBuffer& operator=(const PlanarBuffer&) = delete;

    int channels() const { return static_cast<int>(channels_.size()); }
    int frames() const { return frames_; }
    std::span<Sample> channel(int index) { return channels_.at(static_cast<std::size_t>(index)); }
    std::span<const Sample> channel(int index) const {
        return channels_.at(static_cast<std::size_t>(index));
    }
    Sample** pointers() { return pointers_.data(); }
    void clear();

  private:
    int frames_;
    std::vector<std::vector<Sample>> channels_;
    std::vector<Sample*> pointers_;
};

} // namespace velmora::host
