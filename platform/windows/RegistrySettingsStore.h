// The per-user settings in the registry: values of one key under HKEY_CURRENT_USER, the key
// opened afresh for every access and closed right after, so instances never share a handle.
#pragma once

#include "platform/SettingsStore.h"

#include <string>

namespace velmora::platform::windows {

// Where the product keeps a user's settings below HKEY_CURRENT_USER: the maker's key under
// SOFTWARE, the product's key under it.
inline constexpr wchar_t kUserSettingsKey[] = L"SOFTWARE\\Velmora Audio\\Velmora";

class RegistrySettingsStore final : public SettingsStore {
  public:
    // `keyPath` below HKEY_CURRENT_USER, e.g. kUserSettingsKey.
    explicit RegistrySettingsStore(std::wstring keyPath);

    std::optional<std::vector<std::byte>> readBytes(std::string_view name,
                                                    std::size_t maxBytes) const override;
    bool writeBytes(std::string_view name, std::span<const std::byte> bytes) override;
    std::optional<std::string> readText(std::string_view name, std::size_t maxBytes) const override;
    bool writeText(std::string_view name, std::string_view text) override;
    std::optional<std::uint32_t> readNumber(std::string_view name) const override;
    bool writeNumber(std::string_view name, std::uint32_t number) override;
    bool remove(std::string_view name) override;

  private:
    // The value's raw bytes when it has the type asked for and at most `maxBytes` of them.
    std::optional<std::vector<std::byte>> readValue(std::string_view name, unsigned long type,
                                                    std::size_t maxBytes) const;
    bool writeValue(std::string_view name, unsigned long type, std::span<const std::byte> bytes);

    std::wstring keyPath_;
};

} // namespace velmora::platform::windows
