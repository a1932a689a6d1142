// Whole-file reads stop at the caller's cap, and atomic writes leave the old file or the new
// one, with no temporary beside it, whatever fails on the way.
#include "platform/Files.h"
#include "tests/support/Bytes.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora {
namespace {

using platform::FileStatus;

using test::bytesOf;

TEST(Files, WriteReplacesTheWholeFileAndLeavesNothingBeside) {
    test::ScratchFolder folder;
    const auto target = folder / "preset.qel";
    test::writeText(target, std::string(5000, 'x'));

    const auto shorter = bytesOf(std::string_view("VLMR\0\x22new", 9));
    ASSERT_EQ(platform::writeFileAtomically(target, shorter), FileStatus::ok);
    const auto read = platform::readWholeFile(target, 1000);
    ASSERT_EQ(read.status, FileStatus::ok);
    EXPECT_EQ(read.bytes, shorter);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"preset.qel"});

    ASSERT_EQ(platform::writeFileAtomically(target, {}), FileStatus::ok);
    EXPECT_EQ(platform::readWholeFile(target, 0).status, FileStatus::ok);
    EXPECT_TRUE(platform::readWholeFile(target, 0).bytes.empty());
}

TEST(Files, ReadRefusesAFileLargerThanTheCap) {
    test::ScratchFolder folder;
    const auto file = folder / "bank.qeb";
    test::writeText(file, std::string(1000, 'b'));

    EXPECT_EQ(platform::readWholeFile(file, 999).status, FileStatus::tooLarge);
    EXPECT_TRUE(platform::readWholeFile(file, 999).bytes.empty());
    EXPECT_EQ(platform::readWholeFile(file, 1000).bytes.size(), 1000u);
    EXPECT_EQ(platform::readWholeFile(file, 1u << 30).bytes.size(), 1000u);
}

TEST(Files, ReadNamesWhatIsWrongWithThePath) {
    test::ScratchFolder folder;
    EXPECT_EQ(platform::readWholeFile(folder / "missing", 10).status, FileStatus::notFound);
    EXPECT_EQ(platform::readWholeFile(folder / "missing" / "deeper", 10).status,
              FileStatus::notFound);
    EXPECT_EQ(platform::readWholeFile(folder.path(), 10).status, FileStatus::notAFile);
    // A named pipe with no writer would block a reader forever; it is refused instead.
    const auto pipe = folder / "pipe";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    EXPECT_EQ(platform::readWholeFile(pipe, 10).status, FileStatus::notAFile);
    EXPECT_EQ(platform::readWholeFile("/dev/zero", 10).status, FileStatus::notAFile);
}

TEST(Files, AFailedWriteKeepsTheOldFileAndRemovesItsTemporary) {
    test::ScratchFolder folder;
    const auto folderTarget = folder / "taken";
    std::filesystem::create_directory(folderTarget);
    EXPECT_EQ(platform::writeFileAtomically(folderTarget, bytesOf("x")), FileStatus::writeFailed);
    EXPECT_EQ(platform::writeFileAtomically(folder / "no" / "such", bytesOf("x")),
              FileStatus::writeFailed);
    EXPECT_EQ(folder.names(), std::vector<std::string>{"taken"});

    // The disk gives out half way: a file-size limit stops the write after 4 KiB, in a child
    // process so the limit does not outlive the test.
    const auto target = folder / "bank.qeb";
    test::writeText(target, "the good old bank");
    const pid_t child = ::fork();
    if (child == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &small);
        const auto big = std::vector<std::byte>(1 << 20, std::byte{0x42});
        ::_exit(platform::writeFileAtomically(target, big) == FileStatus::writeFailed ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(test::readText(target), "the good old bank");
    EXPECT_EQ(folder.names().size(), 2u); // the bank and the folder from above, no temporary
}

} // namespace
} // namespace velmora
