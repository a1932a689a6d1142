#include "tools/host/StoredPrograms.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>

namespace velmora::host {

namespace {

constexpr std::uint32_t kUniqueId = 0x564C4D52; // VLMR
constexpr std::uint32_t kStateVersion = 0x02000000;
constexpr std::uint8_t kBankType = 0x38;
constexpr std::size_t kBankOffset = 8;
constexpr std::size_t kBankHeaderSize = 41;
constexpr std::size_t kRecordHeadSize = 12;
constexpr std::size_t kNameBytes = 24;
constexpr std::size_t kValuePayloadSize = 20;
constexpr std::uint32_t kNameRecord = 0;
constexpr std::uint32_t kValueRecord = 1;

std::uint32_t byteSwap(std::uint32_t word) {
    return (word >> 24) | ((word >> 8) & 0xFF00u) | ((word << 8) & 0xFF0000u) | (word << 24);
}

// Reads 32-bit fields in the chunk's byte order, refusing anything past the end.
class ChunkReader {
  public:
    ChunkReader(std::span<const std::uint8_t> bytes, bool reversed)
        : bytes_(bytes), reversed_(reversed) {}

    bool has(std::size_t offset, std::size_t size) const {
        return offset <= bytes_.size() && size <= bytes_.size() - offset;
    }

    std::optional<std::uint32_t> word(std::size_t offset) const {
        if (!has(offset, 4)) {
            return std::nullopt;
        }
        std::uint32_t value = 0;
        std::memcpy(&value, bytes_.data() + offset, 4);
        return reversed_ ? byteSwap(value) : value;
    }

    std::optional<float> real(std::size_t offset) const {
        const auto bits = word(offset);
        if (!bits) {
            return std::nullopt;
        }
        float value = 0.0f;
        std::memcpy(&value, &*bits, 4);
        return value;
    }

    std::span<const std::uint8_t> slice(std::size_t offset, std::size_t size) const {
        return bytes_.subspan(offset, size);
    }

  private:
    std::span<const std::uint8_t> bytes_;
    bool reversed_;
};

std::optional<bool> detectReversed(std::span<const std::uint8_t> chunk) {
    const auto id = ChunkReader(chunk, false).word(4);
    if (!id) {
        return std::nullopt;
    }
    if (*id == kUniqueId) {
        return false;
    }
    if (*id == byteSwap(kUniqueId)) {
        return true;
    }
    return std::nullopt;
}

std::string nameFrom(std::span<const std::uint8_t> bytes) {
    const auto* text = reinterpret_cast<const char*>(bytes.data());
    return {text, strnlen(text, bytes.size())};
}

bool equalIgnoringCase(const std::string& a, const std::string& b) {
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

} // namespace

std::optional<std::vector<StoredProgram>> readStoredPrograms(std::span<const std::uint8_t> chunk) {
    const auto reversed = detectReversed(chunk);
    if (!reversed) {
        return std::nullopt;
    }
    const ChunkReader reader(chunk, *reversed);
    if (reader.word(0) != kStateVersion || !reader.has(kBankOffset, kBankHeaderSize) ||
        chunk[kBankOffset + 4] != kBankType) {
        return std::nullopt;
    }
    const auto recordCount = reader.word(kBankOffset + 13);
    std::vector<StoredProgram> programs(kStoredPrograms);
    std::size_t offset = kBankOffset + kBankHeaderSize;
    for (std::uint32_t record = 0; record < recordCount.value_or(0); ++record) {
        const auto type = reader.word(offset);
        const auto payloadSize = reader.word(offset + 4);
        const auto program = reader.word(offset + 8);
        const std::size_t payload = offset + kRecordHeadSize;
        if (!type || !payloadSize || !program || !reader.has(payload, *payloadSize)) {
            return std::nullopt;
        }
        if (*program < kStoredPrograms) {
            StoredProgram& target = programs[*program];
            if (*type == kNameRecord && *payloadSize >= kNameBytes) {
                target.name = nameFrom(reader.slice(payload, kNameBytes));
            } else if (*type == kValueRecord && *payloadSize >= kValuePayloadSize) {
                const auto index = reader.word(payload);
                const auto value = reader.real(payload + 12);
                if (index && value && *index < kStoredParameters) {
                    target.values[*index] = *value;
                    target.present.set(*index);
                }
            }
        }
        offset = payload + *payloadSize;
    }
    return programs;
}

std::optional<int> findProgram(const std::vector<StoredProgram>& programs,
                               const std::string& nameOrIndex) {
    for (std::size_t i = 0; i < programs.size(); ++i) {
        if (programs[i].name == nameOrIndex) {
            return static_cast<int>(i);
        }
    }
    for (std::size_t i = 0; i < programs.size(); ++i) {
        if (equalIgnoringCase(programs[i].name, nameOrIndex)) {
            return static_cast<int>(i);
        }
    }
    int index = -1;
    const char* end = nameOrIndex.data() + nameOrIndex.size();
    const auto [stop, error] = std::from_chars(nameOrIndex.data(), end, index);
    if (error == std::errc{} && stop == end && index >= 0 &&
        index < static_cast<int>(programs.size())) {
        return index;
    }
    return std::nullopt;
}

} // namespace velmora::host
