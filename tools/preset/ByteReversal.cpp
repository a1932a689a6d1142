#include "tools/preset/ByteReversal.h"

#include "presets/ChunkFormat.h"
#include "presets/ChunkReader.h"

#include <algorithm>

namespace velmora::presettool {
namespace {

void reverseWord(std::span<std::byte> bytes, std::size_t at) {
    std::reverse(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                 bytes.begin() + static_cast<std::ptrdiff_t>(at + 4));
}

// The header at `at` (all but its type byte), then every record to the end. Record fields are
// read before they are reversed; a record that does not fit ends the walk.
void reverseChunkAt(std::span<std::byte> bytes, std::size_t at) {
    if (at + chunk::kHeaderBytes > bytes.size()) return;
    reverseWord(bytes, at);
    for (std::size_t word = at + 5; word < at + chunk::kHeaderBytes; word += 4)
        reverseWord(bytes, word);
    std::size_t record = at + chunk::kHeaderBytes;
    while (record + chunk::kRecordHeadBytes <= bytes.size()) {
        const chunk::ChunkReader native(bytes, false);
        const std::uint32_t type = *native.word(record);
        const std::size_t size = *native.word(record + 4);
        if (size > bytes.size() - record - chunk::kRecordHeadBytes) return;
        for (std::size_t word = 0; word < 3; ++word)
            reverseWord(bytes, record + 4 * word);
        if (type != chunk::kNameRecord)
            for (std::size_t word = 0; word < size / 4; ++word)
                reverseWord(bytes, record + chunk::kRecordHeadBytes + 4 * word);
        record += chunk::kRecordHeadBytes + size;
    }
}

} // namespace

void reverseFields(std::span<std::byte> bytes, bool isState) {
    if (!isState) {
        reverseChunkAt(bytes, 0);
        return;
    }
    if (bytes.size() < chunk::kStatePrefixBytes) return;
    reverseWord(bytes, 0);
    reverseWord(bytes, 4);
    reverseChunkAt(bytes, chunk::kStatePrefixBytes);
}

} // namespace velmora::presettool
