// A golden render kept as the bytes the host buffers held, so its hash, its blocks and the WAV
// file written for a developer are all the same bytes, and hashing needs no knowledge of the
// sample type.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace velmora::engine::test {

// The recorded hashes fold each value's bits in from the lowest byte up, which is the order of
// its bytes in memory only on a little-endian machine.
static_assert(std::endian::native == std::endian::little);

inline constexpr std::uint64_t kFnvOffset = 0xcbf29ce484222325ull;

// About 46 ms at 44.1 kHz: fine enough to place a fault beside a parameter change, coarse
// enough that the recorded hashes stay a small file. Changing it needs a re-record.
inline constexpr std::size_t kFramesPerBlock = 2048;

// FNV-1a over the bytes, continuing from `hash`.
std::uint64_t fnv1a(std::span<const std::byte> bytes, std::uint64_t hash = kFnvOffset);

struct GoldenRender {
    double sampleRate = 0.0;
    std::size_t sampleSize = 0;    // 4 for float buffers, 8 for double
    std::vector<std::byte> frames; // left, right, left, right, ... as the buffers held them
    std::array<float, 2> peaks{};  // the meter peaks taken after the last block

    template <typename Sample> void append(Sample left, Sample right) {
        for (const Sample value : {left, right}) {
            const auto bytes = std::bit_cast<std::array<std::byte, sizeof(Sample)>>(value);
            frames.insert(frames.end(), bytes.begin(), bytes.end());
        }
    }
    std::size_t frameSize() const { return 2 * sampleSize; }
    std::size_t frameCount() const { return frames.size() / frameSize(); }
    double seconds(std::size_t frame) const { return static_cast<double>(frame) / sampleRate; }
    double sample(std::size_t frame, int channel) const;
    std::span<const std::byte> frameBytes(std::size_t first, std::size_t count) const;
};

// The whole-render hash: every frame, then both peaks.
std::uint64_t wholeHash(const GoldenRender& render);
std::uint64_t peakHash(const GoldenRender& render);
// One hash per kFramesPerBlock frames, the last block possibly shorter.
std::vector<std::uint64_t> blockHashes(const GoldenRender& render);

// A stereo IEEE-float WAV of the frames as they are (32- or 64-bit), so any audio tool opens
// the render and a byte comparison of two of them finds the first differing frame.
void writeWav(const std::filesystem::path& path, const GoldenRender& render);
// Reads back a file writeWav wrote; nothing for a missing or foreign file.
std::optional<GoldenRender> readWav(const std::filesystem::path& path);

} // namespace velmora::engine::test
