// The settings store as one file per value in a folder of the user's configuration:
// `$XDG_CONFIG_HOME/Velmora/` (or `~/.config/Velmora/`). The folder is made on the first write.
// A file holds the value as it is: the bytes, the text, or a number in decimal, so a value can
// also be written by hand (a single newline after a text or number is ignored).
#pragma once

#include "platform/SettingsStore.h"

#include <filesystem>
#include <optional>

namespace velmora::platform {

// Where the current user's values live; nothing when neither the configuration folder nor the
// home folder is known.
std::optional<std::filesystem::path> userSettingsFolder();

class FileSettingsStore final : public SettingsStore {
  public:
    // Without a folder every read finds nothing and every write fails.
    explicit FileSettingsStore(std::optional<std::filesystem::path> folder);

    std::optional<std::vector<std::byte>> readBytes(std::string_view name,
                                                    std::size_t maxBytes) const override;
    bool writeBytes(std::string_view name, std::span<const std::byte> bytes) override;
    std::optional<std::string> readText(std::string_view name, std::size_t maxBytes) const override;
    bool writeText(std::string_view name, std::string_view text) override;
    std::optional<std::uint32_t> readNumber(std::string_view name) const override;
    bool writeNumber(std::string_view name, std::uint32_t number) override;
    bool remove(std::string_view name) override;

  private:
    std::optional<std::filesystem::path> pathOf(std::string_view name) const;

    std::optional<std::filesystem::path> folder_;
};

} // namespace velmora::platform
