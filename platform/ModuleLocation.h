// The folder the plug-in's own binary was loaded from: documents installed beside it (the
// user manual) are found there whatever folder the host was started in.
#pragma once

#include <filesystem>

namespace velmora::platform {

// Empty when the system cannot tell.
std::filesystem::path moduleFolder();

} // namespace velmora::platform
