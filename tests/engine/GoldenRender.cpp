#include "tests/engine/GoldenRender.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace velmora::engine::test {

namespace {

constexpr std::size_t kWavHeaderSize = 46;
constexpr std::uint16_t kIeeeFloatFormat = 3;

void putU16(std::vector<std::byte>& out, std::uint16_t value) {
    for (int shift = 0; shift < 16; shift += 8)
        out.push_back(static_cast<std::byte>((value >> shift) & 0xffu));
}

void putU32(std::vector<std::byte>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::byte>((value >> shift) & 0xffu));
}

void putTag(std::vector<std::byte>& out, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::byte>(tag[i]));
}

// RIFF header, an 18-byte format chunk (no extension) and the data chunk's header.
std::vector<std::byte> wavHeader(double sampleRate, std::size_t sampleSize, std::size_t dataBytes) {
    const auto rate = static_cast<std::uint32_t>(sampleRate);
    const auto frameSize = static_cast<std::uint16_t>(2 * sampleSize);
    std::vector<std::byte> header;
    putTag(header, "RIFF");
    putU32(header, static_cast<std::uint32_t>(kWavHeaderSize - 8 + dataBytes));
    putTag(header, "WAVE");
    putTag(header, "fmt ");
    putU32(header, 18);
    putU16(header, kIeeeFloatFormat);
    putU16(header, 2);
    putU32(header, rate);
    putU32(header, rate * frameSize);
    putU16(header, frameSize);
    putU16(header, static_cast<std::uint16_t>(8 * sampleSize));
    putU16(header, 0);
    putTag(header, "data");
    putU32(header, static_cast<std::uint32_t>(dataBytes));
    return header;
}

std::uint32_t readU32(std::span<const std::byte> bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    return value;
}

} // namespace

std::uint64_t fnv1a(std::span<const std::byte> bytes, std::uint64_t hash) {
    for (const std::byte byte : bytes)
        hash = (hash ^ static_cast<std::uint64_t>(byte)) * 0x100000001b3ull;
    return hash;
}

double GoldenRender::sample(std::size_t frame, int channel) const {
    const std::byte* at =
        frames.data() + frame * frameSize() + static_cast<std::size_t>(channel) * sampleSize;
    if (sampleSize == sizeof(float)) {
        float value = 0.0f;
        std::memcpy(&value, at, sizeof value);
        return value;
    }
    double value = 0.0;
    std::memcpy(&value, at, sizeof value);
    return value;
}

std::span<const std::byte> GoldenRender::frameBytes(std::size_t first, std::size_t count) const {
    return std::span(frames).subspan(first * frameSize(), count * frameSize());
}

std::uint64_t peakHash(const GoldenRender& render) {
    const auto peakBytes = std::bit_cast<std::array<std::byte, sizeof render.peaks>>(render.peaks);
    return fnv1a(peakBytes);
}

std::uint64_t wholeHash(const GoldenRender& render) {
    const auto peakBytes = std::bit_cast<std::array<std::byte, sizeof render.peaks>>(render.peaks);
    return fnv1a(peakBytes, fnv1a(render.frames));
}

std::vector<std::uint64_t> blockHashes(const GoldenRender& render) {
    std::vector<std::uint64_t> hashes;
    const std::size_t frames = render.frameCount();
    for (std::size_t first = 0; first < frames; first += kFramesPerBlock)
        hashes.push_back(
            fnv1a(render.frameBytes(first, std::min(kFramesPerBlock, frames - first))));
    return hashes;
}

void writeWav(const std::filesystem::path& path, const GoldenRender& render) {
    std::filesystem::create_directories(path.parent_path());
    const auto header = wavHeader(render.sampleRate, render.sampleSize, render.frames.size());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(header.data()),
               static_cast<std::streamsize>(header.size()));
    file.write(reinterpret_cast<const char*>(render.frames.data()),
               static_cast<std::streamsize>(render.frames.size()));
}

std::optional<GoldenRender> readWav(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return std::nullopt;
    std::vector<char> chars{std::istreambuf_iterator<char>(file), {}};
    const auto bytes = std::as_bytes(std::span(chars));
    if (bytes.size() < kWavHeaderSize) return std::nullopt;
    GoldenRender render;
    render.sampleRate = readU32(bytes, 24);
    render.sampleSize = (readU32(bytes, 32) & 0xffffu) / 2; // the frame size, then the bits
    const std::size_t dataBytes = bytes.size() - kWavHeaderSize;
    const auto expected = wavHeader(render.sampleRate, render.sampleSize, dataBytes);
    if (!std::ranges::equal(bytes.first(kWavHeaderSize), expected)) return std::nullopt;
    if (render.sampleSize != sizeof(float) && render.sampleSize != sizeof(double))
        return std::nullopt;
    render.frames.assign(bytes.begin() + kWavHeaderSize, bytes.end());
    return render;
}

} // namespace velmora::engine::test
