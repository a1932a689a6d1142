// Feeds arbitrary bytes to the state restore as a host restoring a project would. Besides the
// sanitizers' checks, an accepted chunk must save and restore again to the same bytes.
#include "tests/presets/OwnedPresetSystem.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using namespace velmora;

using testing::OwnedPresetSystem;

std::vector<std::byte> saved(OwnedPresetSystem& presets) {
    const auto state = presets.saveState();
    return {state.begin(), state.end()};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1u << 20) return 0;
    // A private copy, so that reading one byte past the input is caught.
    std::vector<std::byte> input(size);
    if (size > 0) std::memcpy(input.data(), data, size);

    OwnedPresetSystem presets;
    if (!presets.restoreState(input)) return 0;
    auto first = saved(presets);
    OwnedPresetSystem again;
    if (!again.restoreState(first) || saved(again) != first) __builtin_trap();
    return 0;
}
