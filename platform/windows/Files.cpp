#include "platform/Files.h"

#include <algorithm>
#include <atomic>
#include <string>
#include <windows.h>

namespace velmora::platform {

namespace {

// Owns one open file handle and closes it on every way out.
class FileHandle {
  public:
    explicit FileHandle(HANDLE handle) : handle_(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { close(); }

    HANDLE get() const { return handle_; }
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    bool close() {
        if (!valid()) return true;
        const BOOL closed = CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
        return closed != 0;
    }

  private:
    HANDLE handle_;
};

FileStatus readStatusOf(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? FileStatus::notFound
                                                                          : FileStatus::readFailed;
}

FileStatus writeStatusOf(DWORD error) {
    return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL ? FileStatus::noSpace
                                                                       : FileStatus::writeFailed;
}

bool readAll(HANDLE file, std::span<std::byte> into) {
    while (!into.empty()) {
        constexpr std::size_t largestCall = 1u << 30;
        const auto wanted = static_cast<DWORD>(std::min(into.size(), largestCall));
        DWORD got = 0;
        if (!ReadFile(file, into.data(), wanted, &got, nullptr) || got == 0) return false;
        into = into.subspan(got);
    }
    return true;
}

bool writeAll(HANDLE file, std::span<const std::byte> bytes) {
    while (!bytes.empty()) {
        constexpr std::size_t largestCall = 1u << 30;
        const auto wanted = static_cast<DWORD>(std::min(bytes.size(), largestCall));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), wanted, &written, nullptr) || written == 0) {
            return false;
        }
        bytes = bytes.subspan(written);
    }
    return true;
}

// A name beside the target that no other writer picks: the process, a counter of this
// process, and the tick count set writers apart; a clash is retried.
std::filesystem::path temporaryBeside(const std::filesystem::path& target, unsigned attempt) {
    static std::atomic<unsigned> counter{0};
    std::wstring name = L".";
    name += target.filename().wstring();
    for (const unsigned long part : {static_cast<unsigned long>(GetCurrentProcessId()),
                                     static_cast<unsigned long>(counter.fetch_add(1)),
                                     static_cast<unsigned long>(GetTickCount() ^ attempt)}) {
        name += L'.';
        name += std::to_wstring(part);
    }
    name += L".tmp";
    return target.parent_path() / name;
}

struct Temporary {
    std::filesystem::path path;
    HANDLE handle = INVALID_HANDLE_VALUE;
};

Temporary createTemporaryBeside(const std::filesystem::path& target, DWORD& error) {
    constexpr unsigned attempts = 16;
    for (unsigned attempt = 0; attempt < attempts; ++attempt) {
        Temporary temporary{temporaryBeside(target, attempt)};
        temporary.handle = CreateFileW(temporary.path.c_str(), GENERIC_WRITE, 0, nullptr,
                                       CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (temporary.handle != INVALID_HANDLE_VALUE) return temporary;
        error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
    }
    return {};
}

} // namespace

FileContents readWholeFile(const std::filesystem::path& path, std::size_t maxBytes) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) {
        const DWORD error = GetLastError();
        // Opening a folder is refused as access denied; tell it apart from a real refusal.
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return {FileStatus::notAFile, {}};
        }
        return {readStatusOf(error), {}};
    }
    if (GetFileType(file.get()) != FILE_TYPE_DISK) return {FileStatus::notAFile, {}};
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) {
        return {FileStatus::readFailed, {}};
    }
    if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
        return {FileStatus::tooLarge, {}};
    }
    FileContents contents;
    contents.bytes.resize(static_cast<std::size_t>(size.QuadPart));
    if (!readAll(file.get(), contents.bytes)) return {FileStatus::readFailed, {}};
    return contents;
}

FileStatus writeFileAtomically(const std::filesystem::path& path,
                               std::span<const std::byte> bytes) {
    if (path.filename().empty()) return FileStatus::writeFailed;
    DWORD error = 0;
    Temporary temporary = createTemporaryBeside(path, error);
    if (temporary.handle == INVALID_HANDLE_VALUE) return writeStatusOf(error);

    FileHandle file(temporary.handle);
    bool written = writeAll(file.get(), bytes) && FlushFileBuffers(file.get());
    if (!written) error = GetLastError();
    if (!file.close() && written) {
        written = false;
        error = GetLastError();
    }
    if (written && !MoveFileExW(temporary.path.c_str(), path.c_str(),
                                MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        written = false;
        error = GetLastError();
    }
    if (!written) {
        DeleteFileW(temporary.path.c_str());
        return writeStatusOf(error);
    }
    return FileStatus::ok;
}

} // namespace velmora::platform
