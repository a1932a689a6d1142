// Bitmaps by resource id, decoded once and shared by every editor of the process while any of
// them holds the bitmap. The embedder owns one cache for the process and supplies the bytes of
// each id; loads may come from any thread.
#pragma once

#include "toolkit/CBitmap.h"

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <span>

namespace velmora::toolkit {

// The encoded bytes of a resource id, empty when there is no such resource. The bytes must
// stay valid while the call that asked for them runs.
using ResourceProvider = std::function<std::span<const std::uint8_t>(int resourceId)>;

class BitmapCache {
  public:
    explicit BitmapCache(ResourceProvider provider) : provider_(std::move(provider)) {}

    // The bitmap of `resourceId`; not loaded when the id is unknown or its bytes do not decode.
    CBitmap load(int resourceId);
    // How many times bytes were decoded, for checking that sharing works.
    int decodeCount() const;

  private:
    ResourceProvider provider_;
    mutable std::mutex mutex_;
    std::map<int, std::weak_ptr<const Pixmap>> decoded_;
    int decodes_ = 0;
};

} // namespace velmora::toolkit
