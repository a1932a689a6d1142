// The per-user settings store: named values that outlive the plug-in and are shared by all its
// instances. A value is bytes, a UTF-8 text or a number; each write replaces the whole value
// at once, so a reader in another instance sees the old value or the new one, never a mixture.
// Reads take a cap: a stored value larger than any the caller writes is treated as missing.
// Names are those of SettingNames.h (letters, digits, '_' and '-'); any other name is refused.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::platform {

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;

    virtual std::optional<std::vector<std::byte>> readBytes(std::string_view name,
                                                            std::size_t maxBytes) const = 0;
    virtual bool writeBytes(std::string_view name, std::span<const std::byte> bytes) = 0;

    // Nothing when the value is missing, too long or not well-formed UTF-8 (or holds a NUL).
    virtual std::optional<std::string> readText(std::string_view name,
                                                std::size_t maxBytes) const = 0;
    virtual bool writeText(std::string_view name, std::string_view text) = 0;

    virtual std::optional<std::uint32_t> readNumber(std::string_view name) const = 0;
    virtual bool writeNumber(std::string_view name, std::uint32_t number) = 0;

    // True when the value is gone afterwards, including when there was none.
    virtual bool remove(std::string_view name) = 0;
};

// The current user's store of this plug-in.
std::unique_ptr<SettingsStore> openUserSettings();

constexpr bool isValidSettingName(std::string_view name) {
    constexpr std::size_t longest = 64;
    if (name.empty() || name.size() > longest) return false;
    for (const char c : name) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        const bool digit = c >= '0' && c <= '9';
        if (!letter && !digit && c != '_' && c != '-') return false;
    }
    return true;
}

} // namespace velmora::platform
