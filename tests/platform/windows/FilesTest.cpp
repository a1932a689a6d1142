// Whole-file reads and atomic writes through the Windows file calls, and the UTF-8 <-> UTF-16
// conversion every wide call goes through.
#include "platform/Files.h"
#include "platform/windows/WideText.h"
#include "tests/support/Bytes.h"

#include <gtest/gtest.h>

#include <fstream>
#include <windows.h>

namespace velmora {
namespace {

using platform::FileStatus;

using test::bytesOf;

// A fresh folder under the temporary folder, removed with everything in it afterwards.
class WindowsFilesTest : public ::testing::Test {
  protected:
    WindowsFilesTest() { std::filesystem::create_directories(folder); }
    ~WindowsFilesTest() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::vector<std::filesystem::path> entries() const {
        std::vector<std::filesystem::path> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            found.push_back(entry.path().filename());
        }
        return found;
    }

    std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                   ("velmora-files-" + std::to_string(GetCurrentProcessId()));
};

TEST_F(WindowsFilesTest, AWriteReplacesTheFileWholeAndLeavesNoTemporaryBehind) {
    // A name outside the ANSI code page must survive the wide calls.
    const auto target = folder / std::filesystem::path(u8"J\u00fcrgen \u03a9.qel");
    ASSERT_EQ(platform::writeFileAtomically(target, bytesOf("first version")), FileStatus::ok);
    ASSERT_EQ(platform::writeFileAtomically(target, bytesOf("second")), FileStatus::ok);

    const auto read = platform::readWholeFile(target, 100);
    EXPECT_EQ(read.status, FileStatus::ok);
    EXPECT_EQ(read.bytes, bytesOf("second"));
    EXPECT_EQ(entries(), std::vector<std::filesystem::path>{target.filename()});
}

TEST_F(WindowsFilesTest, ReadsReportMissingFoldersAndFilesOverTheCap) {
    EXPECT_EQ(platform::readWholeFile(folder / "none.qel", 100).status, FileStatus::notFound);
    EXPECT_EQ(platform::readWholeFile(folder, 100).status, FileStatus::notAFile);

    ASSERT_EQ(platform::writeFileAtomically(folder / "big.qeb", std::vector<std::byte>(2129)),
              FileStatus::ok);
    const auto tooLarge = platform::readWholeFile(folder / "big.qeb", 2128);
    EXPECT_EQ(tooLarge.status, FileStatus::tooLarge);
    EXPECT_TRUE(tooLarge.bytes.empty());
    EXPECT_EQ(platform::readWholeFile(folder / "big.qeb", 2129).bytes.size(), 2129u);

    ASSERT_EQ(platform::writeFileAtomically(folder / "empty.qel", {}), FileStatus::ok);
    EXPECT_EQ(platform::readWholeFile(folder / "empty.qel", 10).status, FileStatus::ok);
}

TEST_F(WindowsFilesTest, AWriteIntoAMissingFolderFailsWithoutLeavingAnything) {
    EXPECT_EQ(platform::writeFileAtomically(folder / "missing" / "a.qel", bytesOf("x")),
              FileStatus::writeFailed);
    EXPECT_EQ(platform::writeFileAtomically(folder / "", bytesOf("x")), FileStatus::writeFailed);
    EXPECT_TRUE(entries().empty());
}

TEST(WideText, RoundTripsEveryPlaneAndRefusesMalformedInput) {
    const std::string text = "a\xC3\xBC\xE2\x82\xAC\xF0\x9F\x8E\xB8"; // a, ü, €, a guitar
    const auto wide = platform::windows::toWide(text);
    ASSERT_TRUE(wide);
    EXPECT_EQ(*wide, std::wstring(L"a\u00fc\u20ac\U0001F3B8"));
    EXPECT_EQ(platform::windows::toUtf8(*wide), text);
    EXPECT_EQ(platform::windows::toWide(""), std::wstring());

    EXPECT_FALSE(platform::windows::toWide("bad \xFF byte"));
    EXPECT_FALSE(platform::windows::toWide("\xC0\xAF")); // overlong '/'
    const wchar_t lonelySurrogate[] = {L'a', static_cast<wchar_t>(0xD800), L'b'};
    EXPECT_FALSE(platform::windows::toUtf8(std::wstring_view(lonelySurrogate, 3)));
}

} // namespace
} // namespace velmora
