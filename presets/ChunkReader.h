// Bounds-checked reads of 32-bit fields at fixed offsets of outside data. Every read answers
// nothing when its bytes are not all present, so no count, size or offset found in the data can
// lead a loader outside it.
#pragma once

#include "presets/ByteOrder.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace velmora::chunk {

class ChunkReader {
  public:
    ChunkReader(std::span<const std::byte> data, bool reversed)
        : data_(data), reversed_(reversed) {}

    std::size_t size() const { return data_.size(); }
    bool reversed() const { return reversed_; }

    // True when `count` bytes from `offset` lie inside the data (overflow-safe).
    bool contains(std::size_t offset, std::size_t count) const {
        return offset <= data_.size() && count <= data_.size() - offset;
    }

    std::optional<std::uint8_t> byte(std::size_t offset) const {
        if (!contains(offset, 1)) return std::nullopt;
        return std::to_integer<std::uint8_t>(data_[offset]);
    }

    // A 32-bit field in the chunk's byte order.
    std::optional<std::uint32_t> word(std::size_t offset) const {
        if (!contains(offset, 4)) return std::nullopt;
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < 4; ++i)
            value |= std::to_integer<std::uint32_t>(data_[offset + i]) << (8 * i);
        return reversed_ ? reverseBytes(value) : value;
    }

    std::optional<std::int32_t> int32(std::size_t offset) const {
        const auto value = word(offset);
        if (!value) return std::nullopt;
        return static_cast<std::int32_t>(*value);
    }

    std::optional<float> float32(std::size_t offset) const {
        const auto value = word(offset);
        if (!value) return std::nullopt;
        return floatFromBits(*value);
    }

    // Raw bytes (names are 8-bit text and never reversed).
    std::optional<std::span<const std::byte>> bytes(std::size_t offset, std::size_t count) const {
        if (!contains(offset, count)) return std::nullopt;
        return data_.subspan(offset, count);
    }

    // A reader over part of the data, in the same byte order.
    std::optional<ChunkReader> window(std::size_t offset, std::size_t count) const {
        const auto part = bytes(offset, count);
        if (!part) return std::nullopt;
        return ChunkReader(*part, reversed_);
    }

  private:
    std::span<const std::byte> data_;
    bool reversed_;
};

} // namespace velmora::chunk
