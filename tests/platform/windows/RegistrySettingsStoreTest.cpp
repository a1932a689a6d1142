// The settings store over the registry: each kind of value lands as the registry type a user
// or an installer expects (REG_BINARY, REG_SZ in UTF-16, REG_DWORD), comes back as written, and
// values of the wrong type, too long or malformed read as missing.
#include "platform/windows/RegistrySettingsStore.h"
#include "platform/SettingNames.h"
#include "tests/support/Bytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <windows.h>

namespace velmora {
namespace {

namespace setting = platform::setting;

using test::bytesOf;

// A key of its own for each test, removed afterwards.
class RegistrySettingsStoreTest : public ::testing::Test {
  protected:
    ~RegistrySettingsStoreTest() override { RegDeleteKeyW(HKEY_CURRENT_USER, keyPath.c_str()); }

    struct RawValue {
        DWORD type = REG_NONE;
        std::vector<std::byte> bytes;
    };

    RawValue raw(const wchar_t* name) const {
        RawValue value;
        DWORD size = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, keyPath.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND,
                         &value.type, nullptr, &size) != ERROR_SUCCESS) {
            return {};
        }
        value.bytes.resize(size);
        RegGetValueW(HKEY_CURRENT_USER, keyPath.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND,
                     &value.type, value.bytes.data(), &size);
        return value;
    }

    void writeRaw(const wchar_t* name, DWORD type, std::span<const std::byte> bytes) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size()));
        RegCloseKey(key);
    }

    std::wstring keyPath = L"SOFTWARE\\Velmora Audio\\VelmoraTest-" +
                           std::to_wstring(GetCurrentProcessId()) + L"-" +
                           std::to_wstring(GetTickCount());
    platform::windows::RegistrySettingsStore store{keyPath};
};

TEST_F(RegistrySettingsStoreTest, EachKindOfValueHasItsRegistryTypeAndComesBack) {
    EXPECT_FALSE(store.readBytes(setting::memoA, 100)); // no key yet

    const auto chunk = bytesOf(std::string_view("VLMR\x22\0\0\0", 8));
    ASSERT_TRUE(store.writeBytes(setting::memoA, chunk));
    ASSERT_TRUE(store.writeText(setting::currentFolder, "C:\\Users\\jürgen\\Presets\\"));
    ASSERT_TRUE(store.writeNumber(setting::keyboardFocus, 1));

    const RawValue memo = raw(L"MemoA");
    EXPECT_EQ(memo.type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(memo.bytes, chunk);

    const RawValue folder = raw(L"CurrDir");
    EXPECT_EQ(folder.type, static_cast<DWORD>(REG_SZ));
    const std::wstring expected = L"C:\\Users\\j\u00fcrgen\\Presets\\";
    ASSERT_EQ(folder.bytes.size(), (expected.size() + 1) * sizeof(wchar_t)); // with terminator
    EXPECT_EQ(std::memcmp(folder.bytes.data(), expected.c_str(), folder.bytes.size()), 0);

    const RawValue focus = raw(L"KeyboardFocus");
    EXPECT_EQ(focus.type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(focus.bytes.size(), sizeof(DWORD));

    // Another store over the same key (another plug-in instance) reads what this one wrote.
    platform::windows::RegistrySettingsStore other{keyPath};
    EXPECT_EQ(other.readBytes(setting::memoA, 100), chunk);
    EXPECT_EQ(other.readText(setting::currentFolder, 256), "C:\\Users\\jürgen\\Presets\\");
    EXPECT_EQ(other.readNumber(setting::keyboardFocus), 1u);
}

TEST_F(RegistrySettingsStoreTest, RemovedAndNeverWrittenValuesReadAsMissing) {
    EXPECT_TRUE(store.remove(setting::defaultMidi)); // no key at all
    ASSERT_TRUE(store.writeBytes(setting::defaultBank, bytesOf("bank")));
    EXPECT_TRUE(store.remove(setting::defaultBank));
    EXPECT_FALSE(store.readBytes(setting::defaultBank, 100));
    EXPECT_EQ(raw(L"DefaultBank").type, static_cast<DWORD>(REG_NONE));
    EXPECT_TRUE(store.remove(setting::defaultBank)); // already gone
}

TEST_F(RegistrySettingsStoreTest, ValuesOverTheCapOrOfAnotherTypeReadAsMissing) {
    ASSERT_TRUE(store.writeBytes(setting::defaultPreset, std::vector<std::byte>(2129)));
    EXPECT_FALSE(store.readBytes(setting::defaultPreset, 2128));
    EXPECT_EQ(store.readBytes(setting::defaultPreset, 2129)->size(), 2129u);

    ASSERT_TRUE(store.writeText(setting::manualPath, std::string(300, 'm')));
    EXPECT_FALSE(store.readText(setting::manualPath, 299));
    EXPECT_EQ(store.readText(setting::manualPath, 300)->size(), 300u);
    // Two bytes of UTF-8 per character: the cap counts UTF-8 bytes, not UTF-16 units.
    ASSERT_TRUE(store.writeText(setting::currentBank, "üüü"));
    EXPECT_FALSE(store.readText(setting::currentBank, 5));
    EXPECT_EQ(store.readText(setting::currentBank, 6), "üüü");

    // A number stored as text by hand, or a text stored as bytes, is not what was asked for.
    const std::wstring one = L"1";
    writeRaw(L"KeyboardFocus", REG_SZ, std::as_bytes(std::span(one.c_str(), one.size() + 1)));
    EXPECT_FALSE(store.readNumber(setting::keyboardFocus));
    writeRaw(L"CurrDir", REG_BINARY, bytesOf("C:\\"));
    EXPECT_FALSE(store.readText(setting::currentFolder, 256));
}

TEST_F(RegistrySettingsStoreTest, MalformedTextsAndNamesAreRefused) {
    EXPECT_FALSE(store.writeText(setting::currentBank, "bad \xFF byte"));
    EXPECT_FALSE(store.writeText(setting::currentBank, std::string("nul\0", 4)));
    EXPECT_EQ(raw(L"CurrBank").type, static_cast<DWORD>(REG_NONE));

    // A REG_SZ without its terminator still reads; one with a NUL inside does not.
    const std::wstring unterminated = L"C:\\Presets";
    writeRaw(L"CurrDir", REG_SZ,
             std::as_bytes(std::span(unterminated.data(), unterminated.size())));
    EXPECT_EQ(store.readText(setting::currentFolder, 256), "C:\\Presets");
    const std::wstring inner(L"C:\\\0x", 5);
    writeRaw(L"CurrDir", REG_SZ, std::as_bytes(std::span(inner.data(), inner.size())));
    EXPECT_FALSE(store.readText(setting::currentFolder, 256));

    for (const char* name : {"", "..\\escape", "a\\b", "Memo A"}) {
        EXPECT_FALSE(store.writeNumber(name, 1)) << name;
        EXPECT_FALSE(store.readNumber(name)) << name;
        EXPECT_FALSE(store.remove(name)) << name;
    }
}

TEST(UserSettings, LiveUnderTheMakersKeyInTheCurrentUsersSoftware) {
    const auto store = platform::openUserSettings();
    ASSERT_TRUE(store->writeNumber(setting::keyboardFocus, 0));
    DWORD value = 7;
    DWORD size = sizeof value;
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"SOFTWARE\\Velmora Audio\\Velmora", L"KeyboardFocus",
                           RRF_RT_REG_DWORD, nullptr, &value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(value, 0u);
}

} // namespace
} // namespace velmora
