// The argument vector exec wants (program first, then the arguments, then a null), built
// before any process is started so that nothing is allocated between fork and exec.
#pragma once

#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace velmora::platform {

class SpawnArguments {
  public:
    SpawnArguments(const std::filesystem::path& program, std::span<const std::string> arguments)
        : texts_{program.string()} {
        texts_.insert(texts_.end(), arguments.begin(), arguments.end());
        for (std::string& text : texts_)
            pointers_.push_back(text.data());
        pointers_.push_back(nullptr);
    }
    SpawnArguments(const SpawnArguments&) = delete;
    SpawnArguments& operator=(const SpawnArguments&) = delete;

    const char* program() const { return texts_.front().c_str(); }
    char* const* vector() const { return pointers_.data(); }

  private:
    std::vector<std::string> texts_;
    std::vector<char*> pointers_;
};

} // namespace velmora::platform
