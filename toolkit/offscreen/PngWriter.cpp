#include "toolkit/offscreen/PngWriter.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <string_view>

namespace velmora::toolkit {
namespace {

constexpr std::array<std::uint32_t, 256> makeCrcTable() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}
constexpr auto kCrcTable = makeCrcTable();

std::uint32_t crc32(std::span<const std::uint8_t> bytes) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (const std::uint8_t b : bytes)
        c = kCrcTable[(c ^ b) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t adler32(std::span<const std::uint8_t> bytes) {
    std::uint32_t a = 1, b = 0;
    for (const std::uint8_t x : bytes) {
        a = (a + x) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void putBig32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(std::uint8_t(v >> shift));
}

void putChunk(std::vector<std::uint8_t>& out, std::string_view type,
              std::span<const std::uint8_t> data) {
    putBig32(out, std::uint32_t(data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    putBig32(out, crc32(std::span(out).subspan(typeAt)));
}

// A zlib stream of stored blocks, at most 65535 bytes each.
std::vector<std::uint8_t> storedZlib(std::span<const std::uint8_t> raw) {
    std::vector<std::uint8_t> out{0x78, 0x01};
    std::size_t at = 0;
    do {
        const std::size_t n = std::min<std::size_t>(raw.size() - at, 65535);
        const bool last = at + n == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(std::uint8_t(n));
        out.push_back(std::uint8_t(n >> 8));
        out.push_back(std::uint8_t(~n));
        out.push_back(std::uint8_t(~n >> 8));
        out.insert(out.end(), raw.begin() + at, raw.begin() + at + n);
        at += n;
    } while (at < raw.size());
    putBig32(out, adler32(raw));
    return out;
}

} // namespace

std::vector<std::uint8_t> encodePng(const Framebuffer& image) {
    std::vector<std::uint8_t> raw;
    raw.reserve(std::size_t(image.height()) * (1 + 3 * std::size_t(image.width())));
    for (int y = 0; y < image.height(); ++y) {
        raw.push_back(0); // no filter
        for (const Pixel p : image.row(y)) {
            raw.push_back(std::uint8_t(redOf(p)));
            raw.push_back(std::uint8_t(greenOf(p)));
            raw.push_back(std::uint8_t(blueOf(p)));
        }
    }
    std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    putBig32(header, std::uint32_t(image.width()));
    putBig32(header, std::uint32_t(image.height()));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // 8 bits, RGB, deflate, no filter, no interlace
    putChunk(png, "IHDR", header);
    putChunk(png, "IDAT", storedZlib(raw));
    putChunk(png, "IEND", {});
    return png;
}

bool writePngFile(const std::filesystem::path& path, const Framebuffer& image) {
    const auto bytes = encodePng(image);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return bool(out);
}

} // namespace velmora::toolkit
