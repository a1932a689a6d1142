// Where the file dialogs start: one remembered directory shared by all three kinds, and the
// last file name of each kind, offered as the default name when saving. They come from and go
// back to the per-user settings.
#pragma once

#include "presets/FileKinds.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace velmora {

class FileLocations {
  public:
    const std::string& directory() const { return directory_; }
    const std::string& name(FileKind kind) const { return names_[index(kind)]; }
    void setDirectory(std::string directory) { directory_ = std::move(directory); }
    void setName(FileKind kind, std::string name) { names_[index(kind)] = std::move(name); }

    // A path chosen in a dialog: up to and including its last separator becomes the directory,
    // the rest the name of this kind. A path without a separator leaves both as they were.
    void remember(FileKind kind, std::string_view path) {
        const std::size_t separator = path.find_last_of("/\\");
        if (separator == std::string_view::npos) return;
        directory_ = std::string(path.substr(0, separator + 1));
        names_[index(kind)] = std::string(path.substr(separator + 1));
    }

  private:
    static std::size_t index(FileKind kind) { return static_cast<std::size_t>(kind); }

    std::string directory_;
    std::array<std::string, kFileKinds.size()> names_;
};

} // namespace velmora
