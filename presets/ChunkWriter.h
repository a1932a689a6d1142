// Sequential little-endian writes into a fixed block. A write that would not fit is dropped and
// marks the writer failed, so a builder can never write past the block it was given.
#pragma once

#include "presets/ByteOrder.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace velmora::chunk {

class ChunkWriter {
  public:
    explicit ChunkWriter(std::span<std::byte> out) : out_(out) {}

    std::size_t position() const { return position_; }
    bool ok() const { return ok_; }

    void byte(std::uint8_t value) {
        if (reserve(1)) out_[position_++] = std::byte{value};
    }

    void word(std::uint32_t value) {
        if (!reserve(4)) return;
        for (std::size_t i = 0; i < 4; ++i)
            out_[position_++] = static_cast<std::byte>((value >> (8 * i)) & 0xFFu);
    }

    void int32(std::int32_t value) { word(static_cast<std::uint32_t>(value)); }
    void float32(float value) { word(floatBits(value)); }

    void bytes(std::span<const std::byte> data) {
        if (!reserve(data.size())) return;
        for (const std::byte b : data)
            out_[position_++] = b;
    }

    void zeros(std::size_t count) {
        if (!reserve(count)) return;
        for (std::size_t i = 0; i < count; ++i)
            out_[position_++] = std::byte{0};
    }

    // Overwrites a 32-bit field written earlier (the state chunk's record count).
    void patchWord(std::size_t offset, std::uint32_t value) {
        if (offset > out_.size() || out_.size() - offset < 4) {
            ok_ = false;
            return;
        }
        for (std::size_t i = 0; i < 4; ++i)
            out_[offset + i] = static_cast<std::byte>((value >> (8 * i)) & 0xFFu);
    }

  private:
    bool reserve(std::size_t count) {
        if (!ok_ || count > out_.size() - position_) {
            ok_ = false;
            return false;
        }
        return true;
    }

    std::span<std::byte> out_;
    std::size_t position_ = 0;
    bool ok_ = true;
};

} // namespace velmora::chunk
