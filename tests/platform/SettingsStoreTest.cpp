// The per-user settings store as files under $XDG_CONFIG_HOME/Velmora: values of each kind come
// back as written, oversized or malformed values read as missing, and several processes writing
// one value at once never leave a reader a torn value.
#include "platform/SettingNames.h"
#include "platform/linux/FileSettingsStore.h"
#include "tests/support/Bytes.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora {
namespace {

namespace setting = platform::setting;

using test::bytesOf;

class SettingsStoreTest : public ::testing::Test {
  protected:
    test::ScratchFolder configuration;
    test::ScopedEnvironment xdg{"XDG_CONFIG_HOME", configuration.path().string()};
    std::filesystem::path folder = configuration.path() / "Velmora";
    std::unique_ptr<platform::SettingsStore> store = platform::openUserSettings();
};

TEST_F(SettingsStoreTest, EachValueIsAFileOfItsOwnInAFolderMadeOnTheFirstWrite) {
    EXPECT_FALSE(std::filesystem::exists(folder));
    EXPECT_FALSE(store->readBytes(setting::memoA, 100));

    const auto chunk = bytesOf(std::string_view("VLMR\x22\0\0\0", 8));
    ASSERT_TRUE(store->writeBytes(setting::memoA, chunk));
    ASSERT_TRUE(store->writeText(setting::currentFolder, "/home/jürgen/Presets/"));
    ASSERT_TRUE(store->writeNumber(setting::keyboardFocus, 1));

    struct stat status {};
    ASSERT_EQ(::stat(folder.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
    EXPECT_EQ(test::readText(folder / "MemoA").size(), 8u);
    EXPECT_EQ(test::readText(folder / "CurrDir"), "/home/jürgen/Presets/");
    EXPECT_EQ(test::readText(folder / "KeyboardFocus"), "1");

    // A second store (another plug-in instance) sees what the first wrote.
    const auto other = platform::openUserSettings();
    EXPECT_EQ(other->readBytes(setting::memoA, 100), chunk);
    EXPECT_EQ(other->readText(setting::currentFolder, 256), "/home/jürgen/Presets/");
    EXPECT_EQ(other->readNumber(setting::keyboardFocus), 1u);
}

TEST_F(SettingsStoreTest, ARemovedValueReadsAsMissing) {
    ASSERT_TRUE(store->writeBytes(setting::defaultBank, bytesOf("bank")));
    EXPECT_TRUE(store->remove(setting::defaultBank));
    EXPECT_FALSE(store->readBytes(setting::defaultBank, 100));
    EXPECT_FALSE(std::filesystem::exists(folder / "DefaultBank"));
    EXPECT_TRUE(store->remove(setting::defaultBank)); // already gone
    EXPECT_TRUE(store->remove(setting::defaultMidi)); // never written, no folder either way
}

TEST_F(SettingsStoreTest, AValueLargerThanTheReadersCapReadsAsMissing) {
    ASSERT_TRUE(store->writeBytes(setting::defaultPreset, std::vector<std::byte>(2129)));
    EXPECT_FALSE(store->readBytes(setting::defaultPreset, 2128));
    EXPECT_EQ(store->readBytes(setting::defaultPreset, 2129)->size(), 2129u);

    ASSERT_TRUE(store->writeText(setting::manualPath, std::string(300, 'm')));
    EXPECT_FALSE(store->readText(setting::manualPath, 299));
    EXPECT_EQ(store->readText(setting::manualPath, 300)->size(), 300u);
}

TEST_F(SettingsStoreTest, HandWrittenValuesMayEndInANewlineButMustBeWellFormed) {
    ASSERT_TRUE(store->writeNumber(setting::keyboardFocus, 0)); // makes the folder
    test::writeText(folder / "ManualPath", "/usr/share/doc/velmora/manual.pdf\n");
    EXPECT_EQ(store->readText(setting::manualPath, 40), "/usr/share/doc/velmora/manual.pdf");
    test::writeText(folder / "KeyboardFocus", "1\n");
    EXPECT_EQ(store->readNumber(setting::keyboardFocus), 1u);

    test::writeText(folder / "CurrDir", "/home/\xC3(/");
    EXPECT_FALSE(store->readText(setting::currentFolder, 256)); // not UTF-8
    test::writeText(folder / "CurrDir", std::string("/home/\0/", 8));
    EXPECT_FALSE(store->readText(setting::currentFolder, 256));
    for (const char* notANumber : {"", "on", "1 ", "-1", "99999999999"}) {
        test::writeText(folder / "KeyboardFocus", notANumber);
        EXPECT_FALSE(store->readNumber(setting::keyboardFocus)) << '"' << notANumber << '"';
    }

    EXPECT_FALSE(store->writeText(setting::currentBank, "bad \xFF byte"));
    EXPECT_FALSE(store->writeText(setting::currentBank, std::string("nul\0", 4)));
    EXPECT_FALSE(std::filesystem::exists(folder / "CurrBank"));
}

TEST_F(SettingsStoreTest, NamesThatAreNotPlainWordsAreRefused) {
    for (const char* name : {"", "../escape", "a/b", ".hidden", "Memo A"}) {
        EXPECT_FALSE(store->writeNumber(name, 1)) << name;
        EXPECT_FALSE(store->readNumber(name)) << name;
        EXPECT_FALSE(store->remove(name)) << name;
    }
    EXPECT_EQ(configuration.names(), std::vector<std::string>{});
}

TEST(SettingsFolder, FollowsTheConfigurationFolderOrFallsBackToTheHomeFolder) {
    test::ScratchFolder home;
    test::ScopedEnvironment homeVariable("HOME", home.path().string());
    {
        test::ScopedEnvironment xdg("XDG_CONFIG_HOME", std::nullopt);
        EXPECT_EQ(platform::userSettingsFolder(), home.path() / ".config" / "Velmora");
    }
    {
        test::ScopedEnvironment xdg("XDG_CONFIG_HOME", "relative/config");
        EXPECT_EQ(platform::userSettingsFolder(), home.path() / ".config" / "Velmora");
    }
    {
        test::ScopedEnvironment xdg("XDG_CONFIG_HOME", "/somewhere/else");
        EXPECT_EQ(platform::userSettingsFolder(), std::filesystem::path("/somewhere/else/Velmora"));
    }
    // With no folder at all nothing is read or written.
    platform::FileSettingsStore nowhere(std::nullopt);
    EXPECT_FALSE(nowhere.writeNumber(platform::setting::keyboardFocus, 1));
    EXPECT_FALSE(nowhere.readNumber(platform::setting::keyboardFocus));
}

// Two writer processes replace one value over and over with values of different lengths while
// this process reads it: every read must be one whole value.
TEST_F(SettingsStoreTest, ConcurrentWritersNeverLeaveATornValue) {
    constexpr int writesPerWriter = 300;
    const std::vector<std::byte> first(3000, std::byte{'A'});
    const std::vector<std::byte> second(7001, std::byte{'B'});

    std::vector<pid_t> writers;
    for (const auto* value : {&first, &second}) {
        const pid_t writer = ::fork();
        if (writer == 0) {
            const auto own = platform::openUserSettings();
            bool allWritten = true;
            for (int i = 0; i < writesPerWriter; ++i) {
                allWritten = own->writeBytes(setting::defaultBank, *value) && allWritten;
            }
            ::_exit(allWritten ? 0 : 1);
        }
        ASSERT_GT(writer, 0);
        writers.push_back(writer);
    }

    int reads = 0;
    int torn = 0;
    auto writersRunning = [&] {
        for (const pid_t writer : writers) {
            siginfo_t ended{};
            // Looks without reaping, so the exit status is still there below.
            ::waitid(P_PID, static_cast<id_t>(writer), &ended, WEXITED | WNOHANG | WNOWAIT);
            if (ended.si_pid == 0) return true;
        }
        return false;
    };
    while (writersRunning()) {
        const auto value = store->readBytes(setting::defaultBank, 10000);
        if (!value) continue; // not written yet
        ++reads;
        if (*value != first && *value != second) ++torn;
    }
    for (const pid_t writer : writers) {
        int status = -1;
        ASSERT_EQ(::waitpid(writer, &status, 0), writer);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(torn, 0) << "of " << reads << " reads";
    EXPECT_GT(reads, 0);
    const auto last = store->readBytes(setting::defaultBank, 10000);
    EXPECT_TRUE(last == first || last == second);
    // Each writer renamed its own temporary away: none is left beside the value.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                            std::filesystem::directory_iterator()),
              1);
}

} // namespace
} // namespace velmora
