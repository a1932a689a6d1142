#include "platform/Files.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace velmora::platform {

namespace {

// Owns one open descriptor and closes it on every way out.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { close(); }

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closing can report the last delayed write error, so a writer asks for the result.
    bool close() {
        if (fd_ < 0) return true;
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0;
    }

  private:
    int fd_;
};

FileStatus readStatusOf(int error) {
    return error == ENOENT || error == ENOTDIR ? FileStatus::notFound : FileStatus::readFailed;
}

FileStatus writeStatusOf(int error) {
    return error == ENOSPC || error == EDQUOT ? FileStatus::noSpace : FileStatus::writeFailed;
}

// Reads until the end of the file, or until more than `maxBytes` have arrived: a file may grow
// after its size was taken, and some files report no size at all.
FileContents readUpTo(int fd, std::size_t maxBytes, std::size_t expected) {
    FileContents contents;
    contents.bytes.resize(std::min(expected, maxBytes) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == contents.bytes.size()) {
            if (filled > maxBytes) return {FileStatus::tooLarge, {}};
            contents.bytes.resize(std::min(filled * 2, maxBytes + 1));
        }
        const ssize_t got =
            ::read(fd, contents.bytes.data() + filled, contents.bytes.size() - filled);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return {FileStatus::readFailed, {}};
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    if (filled > maxBytes) return {FileStatus::tooLarge, {}};
    contents.bytes.resize(filled);
    return contents;
}

bool writeAll(int fd, std::span<const std::byte> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

// A hidden name beside the target that no other writer picks: each writer, in this process or
// another, renames only its own temporary over the target.
std::filesystem::path temporaryBeside(const std::filesystem::path& target, std::uint64_t salt) {
    std::string name(".");
    for (const std::string& part :
         {target.filename().string(), std::to_string(::getpid()), std::to_string(salt)}) {
        name += part;
        name += '.';
    }
    name += "tmp";
    return target.parent_path() / name;
}

struct Temporary {
    std::filesystem::path path;
    int fd = -1;
};

Temporary createTemporaryBeside(const std::filesystem::path& target, int& error) {
    // The thread and the clock set writers of one process apart; a clash is retried.
    const std::uint64_t thread = std::hash<std::thread::id>{}(std::this_thread::get_id());
    constexpr int attempts = 16;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
        const std::uint64_t salt = thread ^ static_cast<std::uint64_t>(now) ^ attempt;
        Temporary temporary{temporaryBeside(target, salt)};
        temporary.fd =
            ::open(temporary.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (temporary.fd >= 0) return temporary;
        error = errno;
        if (error != EEXIST) break;
    }
    return {};
}

// Makes the rename itself survive a crash. The new file is already in place when this runs, so
// a failure here is not reported as a failed write.
void syncFolderOf(const std::filesystem::path& path) {
    const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
    Descriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.valid()) ::fsync(directory.get());
}

} // namespace

FileContents readWholeFile(const std::filesystem::path& path, std::size_t maxBytes) {
    // Not blocking, so a named pipe at the path is refused rather than waited on.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!file.valid()) return {readStatusOf(errno), {}};
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) return {FileStatus::readFailed, {}};
    if (!S_ISREG(status.st_mode)) return {FileStatus::notAFile, {}};
    const auto size = static_cast<std::size_t>(status.st_size);
    if (size > maxBytes) return {FileStatus::tooLarge, {}};
    return readUpTo(file.get(), maxBytes, size);
}

FileStatus writeFileAtomically(const std::filesystem::path& path,
                               std::span<const std::byte> bytes) {
    if (path.filename().empty()) return FileStatus::writeFailed;
    int error = 0;
    Temporary temporary = createTemporaryBeside(path, error);
    if (temporary.fd < 0) return writeStatusOf(error);

    Descriptor file(temporary.fd);
    bool written = writeAll(file.get(), bytes);
    if (!written) error = errno;
    if (written && ::fsync(file.get()) != 0) {
        written = false;
        error = errno;
    }
    if (!file.close() && written) {
        written = false;
        error = errno;
    }
    if (written && ::rename(temporary.path.c_str(), path.c_str()) != 0) {
        written = false;
        error = errno;
    }
    if (!written) {
        ::unlink(temporary.path.c_str());
        return writeStatusOf(error);
    }
    syncFolderOf(path);
    return FileStatus::ok;
}

} // namespace velmora::platform
