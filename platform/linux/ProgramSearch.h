// Finds a program the way a shell would, along $PATH, without running a shell.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace velmora::platform {

std::optional<std::filesystem::path> findProgram(std::string_view name);

} // namespace velmora::platform
