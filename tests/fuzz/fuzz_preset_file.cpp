// Arbitrary bytes as a preset file (or the stored value of that kind).
#include "tests/fuzz/StoredChunkFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    velmora::testing::fuzzStoredChunk(velmora::testing::FuzzedKind::Preset, data, size);
    return 0;
}
