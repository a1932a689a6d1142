#include "toolkit/DirtyRegion.h"

namespace velmora::toolkit {

void DirtyRegion::add(const PixelRect& area) {
    if (area.isEmpty()) return;
    PixelRect merged = area;
    // Merging can make the grown rectangle touch others it did not touch before.
    for (bool grew = true; grew;) {
        grew = false;
        for (auto it = rects_.begin(); it != rects_.end(); ++it) {
            if (it->touches(merged)) {
                merged = merged.unite(*it);
                rects_.erase(it);
                grew = true;
                break;
            }
        }
    }
    rects_.push_back(merged);
    if (rects_.size() > kMaxRects) {
        const PixelRect all = bounds();
        rects_.assign(1, all);
    }
}

PixelRect DirtyRegion::bounds() const {
    PixelRect all;
    for (const auto& r : rects_)
        all = all.unite(r);
    return all;
}

} // namespace velmora::toolkit
