#include "toolkit/BitmapCache.h"

#include "toolkit/BmpDecoder.h"

namespace velmora::toolkit {

CBitmap BitmapCache::load(int resourceId) {
    // Decoding under the lock keeps two threads from decoding the same id twice; it happens
    // once per id while any editor is open.
    const std::scoped_lock lock(mutex_);
    if (auto shared = decoded_[resourceId].lock()) return {resourceId, std::move(shared)};
    const auto bytes = provider_ ? provider_(resourceId) : std::span<const std::uint8_t>{};
    if (bytes.empty()) return {};
    ++decodes_;
    BmpResult result = decodeBmp(bytes);
    if (!result.ok()) return {};
    auto pixels = std::make_shared<const Pixmap>(std::move(result.image));
    decoded_[resourceId] = pixels;
    return {resourceId, std::move(pixels)};
}

int BitmapCache::decodeCount() const {
    const std::scoped_lock lock(mutex_);
    return decodes_;
}

} // namespace velmora::toolkit
