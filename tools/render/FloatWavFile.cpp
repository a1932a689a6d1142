#include "tools/render/FloatWavFile.h"

#include "tools/render/AudioFile.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <fstream>
#include <limits>
#include <vector>

namespace velmora::render {

namespace {

constexpr std::uint16_t kIeeeFloatTag = 3;
constexpr std::uint32_t kFormatChunkBytes = 18; // the 16 common bytes and an empty extension
constexpr std::uint32_t kFactChunkBytes = 4;
constexpr std::size_t kSamplesPerWrite = 8192;
constexpr std::uint32_t kHeaderBytesAfterRiffSize =
    4 + (8 + kFormatChunkBytes) + (8 + kFactChunkBytes) + 8; // "WAVE", fmt, fact, data header

class LittleEndianBytes {
  public:
    void text(const char (&fourCharacters)[5]) {
        bytes_.insert(bytes_.end(), fourCharacters, fourCharacters + 4);
    }
    void u16(std::uint16_t value) { put(value, 2); }
    void u32(std::uint32_t value) { put(value, 4); }
    void u64(std::uint64_t value) { put(value, 8); }
    void writeTo(std::ofstream& file) {
        file.write(bytes_.data(), static_cast<std::streamsize>(bytes_.size()));
        bytes_.clear();
    }

  private:
    void put(std::uint64_t value, int count) {
        for (int byte = 0; byte < count; ++byte) {
            bytes_.push_back(static_cast<char>((value >> (8 * byte)) & 0xFF));
        }
    }
    std::vector<char> bytes_;
};

} // namespace

void writeFloatWav(const std::string& path, int sampleRate, int channels,
                   std::span<const double> interleaved, FloatWidth width) {
    const std::uint32_t sampleBytes = width == FloatWidth::Single ? 4 : 8;
    const std::uint64_t dataBytes = std::uint64_t{interleaved.size()} * sampleBytes;
    if (dataBytes + kHeaderBytesAfterRiffSize > std::numeric_limits<std::uint32_t>::max()) {
        throw AudioFileError("cannot write " + path + ": too long for a WAV file");
    }
    const auto frames = static_cast<std::uint32_t>(interleaved.size() / std::size_t(channels));
    const auto blockAlign = static_cast<std::uint16_t>(channels * sampleBytes);

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    LittleEndianBytes out;
    out.text("RIFF");
    out.u32(static_cast<std::uint32_t>(kHeaderBytesAfterRiffSize + dataBytes));
    out.text("WAVE");
    out.text("fmt ");
    out.u32(kFormatChunkBytes);
    out.u16(kIeeeFloatTag);
    out.u16(static_cast<std::uint16_t>(channels));
    out.u32(static_cast<std::uint32_t>(sampleRate));
    out.u32(static_cast<std::uint32_t>(sampleRate) * blockAlign);
    out.u16(blockAlign);
    out.u16(static_cast<std::uint16_t>(8 * sampleBytes));
    out.u16(0); // no extension bytes follow
    out.text("fact");
    out.u32(kFactChunkBytes);
    out.u32(frames);
    out.text("data");
    out.u32(static_cast<std::uint32_t>(dataBytes));
    for (std::size_t start = 0; start < interleaved.size(); start += kSamplesPerWrite) {
        for (const double sample : interleaved.subspan(start).first(
                 std::min(kSamplesPerWrite, interleaved.size() - start))) {
            if (width == FloatWidth::Single) {
                out.u32(std::bit_cast<std::uint32_t>(static_cast<float>(sample)));
            } else {
                out.u64(std::bit_cast<std::uint64_t>(sample));
            }
        }
        out.writeTo(file);
    }
    out.writeTo(file);
    if (!file) {
        throw AudioFileError("cannot write " + path);
    }
}

} // namespace velmora::render
