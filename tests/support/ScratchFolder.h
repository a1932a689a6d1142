// A fresh folder under the system's temporary folder, removed with everything in it at the end
// of the test; and an environment variable set for the length of a test, then put back.
#pragma once

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <thread>
#include <vector>

namespace velmora::test {

class ScratchFolder {
  public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "velmora-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no scratch folder");
        path_ = pattern;
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            found.push_back(entry.path().filename().string());
        }
        return found;
    }

  private:
    std::filesystem::path path_;
};

class ScopedEnvironment {
  public:
    // Sets `name` to `value`, or removes it when there is no value.
    ScopedEnvironment(std::string name, const std::optional<std::string>& value)
        : name_(std::move(name)) {
        if (const char* old = std::getenv(name_.c_str())) old_ = old;
        if (value) {
            ::setenv(name_.c_str(), value->c_str(), 1);
        } else {
            ::unsetenv(name_.c_str());
        }
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment() {
        if (old_) {
            ::setenv(name_.c_str(), old_->c_str(), 1);
        } else {
            ::unsetenv(name_.c_str());
        }
    }

  private:
    std::string name_;
    std::optional<std::string> old_;
};

inline std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// A script line that sends the output of `command` to `path` all at once (written beside it,
// then renamed), so a test that sees the file also sees all of it.
inline std::string scriptLineWritingAtOnce(const std::string& command,
                                           const std::filesystem::path& path) {
    const std::string target = "'" + path.string() + "'";
    const std::string part = "'" + path.string() + ".part'";
    return command + " > " + part + " && mv " + part + " " + target + "\n";
}

// Waits up to ten seconds for a file a stand-in writes; its content, or nothing.
inline std::string contentOnceWritten(const std::filesystem::path& path) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!std::filesystem::exists(path) && std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return readText(path);
}

// An executable shell script standing in for a desktop program.
inline void writeScript(const std::filesystem::path& path, const std::string& body) {
    writeText(path, "#!/bin/sh\n" + body);
    ::chmod(path.c_str(), 0755);
}

} // namespace velmora::test
