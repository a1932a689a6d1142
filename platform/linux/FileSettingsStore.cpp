#include "platform/linux/FileSettingsStore.h"

#include "platform/Files.h"
#include "platform/Utf8.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::platform {

namespace {

constexpr std::string_view productFolder = "Velmora";
constexpr std::size_t longestNumberText = 16;

std::optional<std::filesystem::path> absoluteFromEnvironment(const char* variable) {
    const char* value = std::getenv(variable);
    if (value == nullptr || *value == '\0') return std::nullopt;
    std::filesystem::path path(value);
    // A relative configuration folder is to be ignored, not taken from the host's directory.
    if (!path.is_absolute()) return std::nullopt;
    return path;
}

std::optional<std::filesystem::path> homeFolder() {
    if (auto home = absoluteFromEnvironment("HOME")) return home;
    passwd entry{};
    passwd* found = nullptr;
    std::vector<char> buffer(16384);
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_dir == nullptr || found->pw_dir[0] != '/') {
        return std::nullopt;
    }
    return std::filesystem::path(found->pw_dir);
}

// Like `mkdir -p`, but a folder it makes is the user's alone: settings are nobody else's.
bool makeFolders(const std::filesystem::path& folder) {
    std::filesystem::path partial;
    for (const auto& part : folder) {
        partial /= part;
        if (::mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat status {};
    return ::stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

std::string_view withoutFinalNewline(std::string_view text) {
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    return text;
}

std::span<const std::byte> bytesOf(std::string_view text) {
    return std::as_bytes(std::span(text.data(), text.size()));
}

} // namespace

std::optional<std::filesystem::path> userSettingsFolder() {
    if (auto configuration = absoluteFromEnvironment("XDG_CONFIG_HOME")) {
        return *configuration / productFolder;
    }
    if (auto home = homeFolder()) return *home / ".config" / productFolder;
    return std::nullopt;
}

std::unique_ptr<SettingsStore> openUserSettings() {
    return std::make_unique<FileSettingsStore>(userSettingsFolder());
}

FileSettingsStore::FileSettingsStore(std::optional<std::filesystem::path> folder)
    : folder_(std::move(folder)) {}

std::optional<std::filesystem::path> FileSettingsStore::pathOf(std::string_view name) const {
    if (!folder_ || !isValidSettingName(name)) return std::nullopt;
    return *folder_ / name;
}

std::optional<std::vector<std::byte>> FileSettingsStore::readBytes(std::string_view name,
                                                                   std::size_t maxBytes) const {
    const auto path = pathOf(name);
    if (!path) return std::nullopt;
    FileContents contents = readWholeFile(*path, maxBytes);
    if (contents.status != FileStatus::ok) return std::nullopt;
    return std::move(contents.bytes);
}

bool FileSettingsStore::writeBytes(std::string_view name, std::span<const std::byte> bytes) {
    const auto path = pathOf(name);
    if (!path || !makeFolders(*folder_)) return false;
    return writeFileAtomically(*path, bytes) == FileStatus::ok;
}

std::optional<std::string> FileSettingsStore::readText(std::string_view name,
                                                       std::size_t maxBytes) const {
    // One more byte than the cap, for the newline a hand-written value ends with.
    const auto bytes = readBytes(name, maxBytes + 1);
    if (!bytes) return std::nullopt;
    const std::string_view stored(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    const std::string_view text = withoutFinalNewline(stored);
    if (text.size() > maxBytes || text.find('\0') != std::string_view::npos || !isValidUtf8(text)) {
        return std::nullopt;
    }
    return std::string(text);
}

bool FileSettingsStore::writeText(std::string_view name, std::string_view text) {
    if (text.find('\0') != std::string_view::npos || !isValidUtf8(text)) return false;
    return writeBytes(name, bytesOf(text));
}

std::optional<std::uint32_t> FileSettingsStore::readNumber(std::string_view name) const {
    const auto text = readText(name, longestNumberText);
    if (!text) return std::nullopt;
    const std::string_view digits = *text;
    std::uint32_t number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return number;
}

bool FileSettingsStore::writeNumber(std::string_view name, std::uint32_t number) {
    return writeText(name, std::to_string(number));
}

bool FileSettingsStore::remove(std::string_view name) {
    const auto path = pathOf(name);
    if (!path) return false;
    return ::unlink(path->c_str()) == 0 || errno == ENOENT || errno == ENOTDIR;
}

} // namespace velmora::platform
