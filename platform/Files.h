// Whole-file reads and atomic writes. A read refuses a file larger than the caller's cap before
// reading it; a write goes to a temporary file beside the target and is renamed over it, so a
// full disk or a crash leaves either the old file or the new one, never a mixture.
#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <vector>

namespace velmora::platform {

enum class FileStatus {
    ok,
    notFound,   // no file at that path
    tooLarge,   // larger than the cap; nothing was kept
    notAFile,   // a folder or a device
    readFailed, // no permission or an input error
    noSpace,    // the disk or the user's quota is full
    writeFailed // no permission, a missing folder or an output error
};

struct FileContents {
    FileStatus status = FileStatus::ok;
    std::vector<std::byte> bytes; // empty unless status is ok
};

FileContents readWholeFile(const std::filesystem::path& path, std::size_t maxBytes);

// Replaces the file at `path` (or creates it) with exactly `bytes`, flushed to the disk.
FileStatus writeFileAtomically(const std::filesystem::path& path, std::span<const std::byte> bytes);

} // namespace velmora::platform
