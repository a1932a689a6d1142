// The bitmaps as bitmap resources of the module, as Windows users read and replace them with
// resource tools. A bitmap resource is its BMP file without the 14-byte file header: the header
// is rebuilt in front of it, so the one BMP decoder reads the same bytes on every platform.
#include "resources/Bitmaps.h"

#include "platform/windows/ModuleHandle.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <vector>
#include <windows.h>

namespace velmora::resources {

namespace {

constexpr std::size_t fileHeaderSize = 14;
constexpr std::size_t smallestInfoHeader = 40;

std::uint32_t readLittle32(std::span<const std::byte> bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= std::to_integer<std::uint32_t>(bytes[at + i]) << (8 * i);
    }
    return value;
}

void writeLittle32(std::span<std::byte> bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        bytes[at + i] = std::byte((value >> (8 * i)) & 0xffu);
}

// Where the pixels start behind the info header: after its colour masks and palette.
std::size_t pixelOffset(std::span<const std::byte> info) {
    const std::uint32_t headerSize = readLittle32(info, 0);
    const auto bitCount =
        static_cast<std::uint16_t>(readLittle32(info, 12) >> 16); // after the planes
    const std::uint32_t compression = readLittle32(info, 16);
    const std::uint32_t coloursUsed = readLittle32(info, 32);
    constexpr std::uint32_t bitFields = 3;
    std::size_t offset = headerSize;
    if (compression == bitFields && headerSize == smallestInfoHeader) offset += 3 * 4;
    const std::size_t paletteEntries =
        coloursUsed != 0 ? coloursUsed : (bitCount <= 8 ? std::size_t{1} << bitCount : 0);
    return fileHeaderSize + offset + paletteEntries * 4;
}

std::vector<std::byte> withFileHeader(std::span<const std::byte> info) {
    std::vector<std::byte> file(fileHeaderSize + info.size());
    file[0] = std::byte{'B'};
    file[1] = std::byte{'M'};
    writeLittle32(file, 2, static_cast<std::uint32_t>(file.size()));
    writeLittle32(file, 10, static_cast<std::uint32_t>(pixelOffset(info)));
    std::memcpy(file.data() + fileHeaderSize, info.data(), info.size());
    return file;
}

std::span<const std::byte> resourceOf(int id) {
    HMODULE module = platform::windows::moduleHandle();
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(2)); // RT_BITMAP
    if (found == nullptr) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    const DWORD size = SizeofResource(module, found);
    if (bytes == nullptr || size < smallestInfoHeader) return {};
    return {static_cast<const std::byte*>(bytes), size};
}

// The rebuilt files, made once per id and kept for the life of the module: callers hold spans
// into them. Editors on several threads of a host may ask at once.
struct RebuiltFiles {
    std::mutex mutex;
    std::map<int, std::vector<std::byte>> byId;
};

RebuiltFiles& rebuiltFiles() {
    static RebuiltFiles files;
    return files;
}

} // namespace

std::span<const std::byte> bitmapBytes(int id) {
    RebuiltFiles& files = rebuiltFiles();
    const std::scoped_lock lock(files.mutex);
    if (const auto kept = files.byId.find(id); kept != files.byId.end()) return kept->second;
    const std::span<const std::byte> info = resourceOf(id);
    if (info.empty()) return {};
    return files.byId.emplace(id, withFileHeader(info)).first->second;
}

} // namespace velmora::resources
