// Opening a document hands it to xdg-open and reports how that ended; error messages go to the
// dialog program. Stand-in scripts on PATH record their arguments and exit as told.
#include "platform/Shell.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <sys/wait.h>
#include <thread>

namespace velmora {
namespace {

using platform::DocumentOpening;

class ShellTest : public ::testing::Test {
  protected:
    test::ScratchFolder tools;
    test::ScratchFolder work;
    test::ScopedEnvironment path{"PATH", tools.path().string() + ":/usr/bin:/bin"};
    test::ScopedEnvironment desktop{"XDG_CURRENT_DESKTOP", std::nullopt};
    std::filesystem::path manual = work / "manual.pdf";
    std::unique_ptr<platform::Shell> shell = platform::makeShell();

    void SetUp() override { test::writeText(manual, "%PDF"); }

    // Records its pid and arguments, waits while `hold` exists, exits with `status`.
    void standIn(const std::string& program, int status) {
        test::writeScript(
            tools / program,
            test::scriptLineWritingAtOnce("for a in \"$@\"; do printf '%s\\n' \"$a\"; done",
                                          work / "arguments") +
                test::scriptLineWritingAtOnce("echo $$", work / "pid") + "while [ -e '" +
                (work / "hold").string() + "' ]; do sleep 0.02; done\nexit " +
                std::to_string(status) + "\n");
    }

    std::vector<std::string> argumentsOnceRun() const {
        std::vector<std::string> lines;
        std::istringstream in(test::contentOnceWritten(work / "arguments"));
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    std::optional<DocumentOpening> outcome() {
        const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < give_up) {
            if (auto opening = shell->poll()) return opening;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return std::nullopt;
    }
};

bool noChildLeft() {
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

TEST_F(ShellTest, ADocumentIsHandedToXdgOpenWithoutAShell) {
    standIn("xdg-open", 0);
    EXPECT_EQ(shell->openDocument(manual), DocumentOpening::pending);
    EXPECT_EQ(outcome(), DocumentOpening::opened);
    EXPECT_EQ(argumentsOnceRun(), std::vector<std::string>{manual.string()});
    EXPECT_FALSE(shell->poll());
    EXPECT_TRUE(noChildLeft());
}

TEST_F(ShellTest, XdgOpensFailuresBecomeTheOutcomesTheMessagesNeed) {
    const std::vector<std::pair<int, DocumentOpening>> cases{{2, DocumentOpening::missingFile},
                                                             {3, DocumentOpening::noApplication},
                                                             {4, DocumentOpening::noApplication},
                                                             {1, DocumentOpening::failed}};
    for (const auto& [status, expected] : cases) {
        standIn("xdg-open", status);
        ASSERT_EQ(shell->openDocument(manual), DocumentOpening::pending);
        EXPECT_EQ(outcome(), expected) << "exit status " << status;
    }
}

TEST_F(ShellTest, AMissingDocumentOrOpenerIsReportedAtOnce) {
    standIn("xdg-open", 0);
    EXPECT_EQ(shell->openDocument(work / "no-manual.pdf"), DocumentOpening::missingFile);
    EXPECT_EQ(shell->openDocument(""), DocumentOpening::missingFile);
    EXPECT_FALSE(std::filesystem::exists(work / "arguments")); // nothing was run

    test::ScopedEnvironment bare("PATH", work.path().string());
    EXPECT_EQ(shell->openDocument(manual), DocumentOpening::noApplication);
    EXPECT_FALSE(shell->poll());
}

TEST_F(ShellTest, TheViewerOutlivesTheShellAndLeavesNoChildBehind) {
    test::writeText(work / "hold", "");
    standIn("xdg-open", 0);
    ASSERT_EQ(shell->openDocument(manual), DocumentOpening::pending);
    argumentsOnceRun();
    const pid_t viewer = std::stoi(test::contentOnceWritten(work / "pid"));
    EXPECT_FALSE(shell->poll()); // still open

    shell.reset(); // the editor goes away
    EXPECT_EQ(::kill(viewer, 0), 0);
    EXPECT_TRUE(noChildLeft());
    std::filesystem::remove(work / "hold");
}

TEST_F(ShellTest, AnErrorGoesToTheDialogProgramAsPlainText) {
    standIn("zenity", 0);
    EXPECT_TRUE(
        shell->showError("Could not open manual file", "Make sure Acrobat Reader is installed"));
    EXPECT_EQ(
        argumentsOnceRun(),
        (std::vector<std::string>{"--error", "--no-markup", "--title=Could not open manual file",
                                  "--text=Make sure Acrobat Reader is installed"}));
    EXPECT_TRUE(noChildLeft());

    test::ScopedEnvironment bare("PATH", work.path().string());
    EXPECT_FALSE(shell->showError("", "Could not open user manual")); // the editor shows it
}

} // namespace
} // namespace velmora
