#include "platform/windows/RegistrySettingsStore.h"

#include "platform/Utf8.h"
#include "platform/windows/WideText.h"

#include <cstring>
#include <windows.h>

namespace velmora::platform {

namespace windows {
namespace {

// Owns an open key and closes it on every way out.
class OpenKey {
  public:
    OpenKey() = default;
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    ~OpenKey() {
        if (key_) RegCloseKey(key_);
    }

    HKEY* out() { return &key_; }
    HKEY get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

std::optional<std::wstring> valueName(std::string_view name) {
    if (!isValidSettingName(name)) return std::nullopt;
    return toWide(name);
}

} // namespace

RegistrySettingsStore::RegistrySettingsStore(std::wstring keyPath) : keyPath_(std::move(keyPath)) {}

std::optional<std::vector<std::byte>> RegistrySettingsStore::readValue(std::string_view name,
                                                                       unsigned long type,
                                                                       std::size_t maxBytes) const {
    const auto wideName = valueName(name);
    if (!wideName) return std::nullopt;
    OpenKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath_.c_str(), 0, KEY_QUERY_VALUE, key.out()) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD storedType = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key.get(), wideName->c_str(), nullptr, &storedType, nullptr, &size) !=
            ERROR_SUCCESS ||
        storedType != type || size > maxBytes) {
        return std::nullopt;
    }
    // Another instance may rewrite the value between the two queries: a grown value fails the
    // second query, which is read as missing, never as a torn value.
    std::vector<std::byte> bytes(size);
    DWORD filled = size;
    if (RegQueryValueExW(key.get(), wideName->c_str(), nullptr, &storedType,
                         reinterpret_cast<BYTE*>(bytes.data()), &filled) != ERROR_SUCCESS ||
        storedType != type) {
        return std::nullopt;
    }
    bytes.resize(filled);
    return bytes;
}

bool RegistrySettingsStore::writeValue(std::string_view name, unsigned long type,
                                       std::span<const std::byte> bytes) {
    const auto wideName = valueName(name);
    if (!wideName || bytes.size() > MAXDWORD) return false;
    OpenKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath_.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                        key.out(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    return RegSetValueExW(key.get(), wideName->c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(bytes.data()),
                          static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
}

std::optional<std::vector<std::byte>> RegistrySettingsStore::readBytes(std::string_view name,
                                                                       std::size_t maxBytes) const {
    return readValue(name, REG_BINARY, maxBytes);
}

bool RegistrySettingsStore::writeBytes(std::string_view name, std::span<const std::byte> bytes) {
    return writeValue(name, REG_BINARY, bytes);
}

std::optional<std::string> RegistrySettingsStore::readText(std::string_view name,
                                                           std::size_t maxBytes) const {
    // A UTF-8 text of n bytes takes at most 2n bytes in UTF-16, plus the terminator.
    const std::size_t cap = maxBytes > (MAXDWORD - 2) / 2 ? MAXDWORD : maxBytes * 2 + 2;
    const auto stored = readValue(name, REG_SZ, cap);
    if (!stored) return std::nullopt;
    std::wstring wide(stored->size() / sizeof(wchar_t), L'\0');
    std::memcpy(wide.data(), stored->data(), wide.size() * sizeof(wchar_t));
    // The terminator is usually stored, but not always.
    if (!wide.empty() && wide.back() == L'\0') wide.pop_back();
    if (wide.find(L'\0') != std::wstring::npos) return std::nullopt;
    auto text = toUtf8(wide);
    if (!text || text->size() > maxBytes || !isValidUtf8(*text)) return std::nullopt;
    return text;
}

bool RegistrySettingsStore::writeText(std::string_view name, std::string_view text) {
    if (!isValidUtf8(text) || text.find('\0') != std::string_view::npos) return false;
    const auto wide = toWide(text);
    if (!wide) return false;
    // Stored with its terminator, as REG_SZ readers expect.
    const std::span<const wchar_t> withTerminator(wide->c_str(), wide->size() + 1);
    return writeValue(name, REG_SZ, std::as_bytes(withTerminator));
}

std::optional<std::uint32_t> RegistrySettingsStore::readNumber(std::string_view name) const {
    const auto stored = readValue(name, REG_DWORD, sizeof(DWORD));
    if (!stored || stored->size() != sizeof(DWORD)) return std::nullopt;
    DWORD number = 0;
    std::memcpy(&number, stored->data(), sizeof number);
    return number;
}

bool RegistrySettingsStore::writeNumber(std::string_view name, std::uint32_t number) {
    const DWORD value = number;
    return writeValue(name, REG_DWORD, std::as_bytes(std::span(&value, 1)));
}

bool RegistrySettingsStore::remove(std::string_view name) {
    const auto wideName = valueName(name);
    if (!wideName) return false;
    OpenKey key;
    const LSTATUS opened =
        RegOpenKeyExW(HKEY_CURRENT_USER, keyPath_.c_str(), 0, KEY_SET_VALUE, key.out());
    if (opened == ERROR_FILE_NOT_FOUND) return true;
    if (opened != ERROR_SUCCESS) return false;
    const LSTATUS deleted = RegDeleteValueW(key.get(), wideName->c_str());
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

} // namespace windows

std::unique_ptr<SettingsStore> openUserSettings() {
    return std::make_unique<windows::RegistrySettingsStore>(windows::kUserSettingsKey);
}

} // namespace velmora::platform
