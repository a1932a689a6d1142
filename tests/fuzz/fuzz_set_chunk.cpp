// Feeds arbitrary bytes to setChunk as a host restoring a project would. Besides the
// sanitizers' checks, an accepted chunk must save and restore again to the same bytes.
#include "tests/fuzz/FuzzEffect.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using namespace velmora;

using fuzzing::FuzzEffect;

std::vector<std::byte> saved(FuzzEffect& effect) {
    void* data = nullptr;
    const VstInt32 size = effect.getChunk(&data, false);
    const auto* bytes = static_cast<const std::byte*>(data);
    return {bytes, bytes + size};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1u << 20) return 0;
    // A private copy, so that reading one byte past the input is caught.
    std::vector<std::byte> input(size);
    if (size > 0) std::memcpy(input.data(), data, size);

    FuzzEffect effect;
    if (effect.setChunk(input.data(), static_cast<VstInt32>(size), false) != 0) return 0;
    auto first = saved(effect);
    FuzzEffect again;
    if (again.setChunk(first.data(), static_cast<VstInt32>(first.size()), false) != 0 ||
        saved(again) != first)
        __builtin_trap();
    return 0;
}
