// The parts of the frame that need drawing and presenting: a few disjoint-ish rectangles.
// Touching rectangles merge; past a handful they collapse into their bounds, since one larger
// blit costs less than many small presents.
#pragma once

#include "toolkit/Geometry.h"

#include <span>
#include <vector>

namespace velmora::toolkit {

class DirtyRegion {
  public:
    static constexpr std::size_t kMaxRects = 8;

    void add(const PixelRect& area);
    void clear() { rects_.clear(); }
    bool empty() const { return rects_.empty(); }
    std::span<const PixelRect> rects() const { return rects_; }
    PixelRect bounds() const;

  private:
    std::vector<PixelRect> rects_;
};

} // namespace velmora::toolkit
