// Byte-reverses every 32-bit field of a chunk this project built (names stay as they are), so
// that it reads as a machine of the other byte order would have written it.
#pragma once

#include <cstddef>
#include <span>

namespace velmora::presettool {

// `isState`: the chunk starts with the state version and ID before the bank chunk.
void reverseFields(std::span<std::byte> bytes, bool isState);

} // namespace velmora::presettool
