#include "platform/linux/ProgramSearch.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::platform {

namespace {

bool isExecutableFile(const std::filesystem::path& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
           ::access(path.c_str(), X_OK) == 0;
}

} // namespace

std::optional<std::filesystem::path> findProgram(std::string_view name) {
    if (name.empty() || name.find('/') != std::string_view::npos) return std::nullopt;
    const char* variable = std::getenv("PATH");
    const std::string_view folders = variable != nullptr ? variable : "/usr/bin:/bin";
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = folders.find(':', start);
        const std::string_view folder = folders.substr(start, end - start);
        // An empty entry means the current folder to a shell; a plug-in has no business there.
        if (!folder.empty() && folder.front() == '/') {
            std::filesystem::path candidate = std::filesystem::path(folder) / name;
            if (isExecutableFile(candidate)) return candidate;
        }
        if (end == std::string_view::npos) return std::nullopt;
        start = end + 1;
    }
}

} // namespace velmora::platform
