// The file dialog runs the desktop's dialog program as a child without waiting for it. Here a
// stand-in script named like the program sits first on PATH: it records its arguments, prints
// a reply and exits with a chosen status, or holds until told to go on.
#include "platform/FileDialog.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <sys/wait.h>
#include <thread>

namespace velmora {
namespace {

using Outcome = platform::FileDialogResult::Outcome;
using Purpose = platform::FileDialogRequest::Purpose;

class FileDialogTest : public ::testing::Test {
  protected:
    test::ScratchFolder tools;
    test::ScratchFolder work;
    test::ScopedEnvironment path{"PATH", tools.path().string() + ":/usr/bin:/bin"};
    test::ScopedEnvironment desktop{"XDG_CURRENT_DESKTOP", std::nullopt};
    std::unique_ptr<platform::FileDialog> dialog = platform::makeFileDialog();

    // A stand-in that records its arguments one per line, waits while `hold` exists, prints
    // `reply` and exits with `status`.
    void standIn(const std::string& program, const std::string& reply, int status) {
        test::writeScript(tools / program,
                          test::scriptLineWritingAtOnce("echo $$", work / "pid") +
                              "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" +
                              (work / "arguments").string() + "'\n" + "while [ -e '" +
                              (work / "hold").string() + "' ]; do sleep 0.02; done\n" +
                              "printf '%s' '" + reply + "'\nexit " + std::to_string(status) + "\n");
    }

    std::vector<std::string> recordedArguments() const {
        std::vector<std::string> lines;
        std::istringstream in(test::readText(work / "arguments"));
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    platform::FileDialogResult resultWhenOver() {
        const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < give_up) {
            if (auto result = dialog->poll()) return *result;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ADD_FAILURE() << "the dialog never ended";
        return {Outcome::failed, {}, "timed out"};
    }

    static platform::FileDialogRequest loadPreset() {
        return {Purpose::open, "Load preset", {{"Qel Preset", "qel"}}, "/home/user/Presets", ""};
    }
};

// No child of this process is left, running or as a zombie.
bool noChildLeft() {
    return ::waitpid(-1, nullptr, WNOHANG) == -1 && errno == ECHILD;
}

// Gone, or a zombie waiting for whoever adopted it.
bool hasEnded(pid_t pid) {
    const std::string stat = test::readText("/proc/" + std::to_string(pid) + "/stat");
    const auto nameEnd = stat.rfind(") ");
    if (nameEnd == std::string::npos || nameEnd + 2 >= stat.size()) return true;
    const char state = stat[nameEnd + 2];
    return state == 'Z' || state == 'X';
}

TEST_F(FileDialogTest, OpenRunsZenityWithTitleFolderAndFilterAndHandsOverThePath) {
    standIn("zenity", "/home/user/Presets/warm.qel\n", 0);
    ASSERT_TRUE(dialog->start(loadPreset()).started);
    const auto result = resultWhenOver();
    EXPECT_EQ(result.outcome, Outcome::chosen);
    EXPECT_EQ(result.path, std::filesystem::path("/home/user/Presets/warm.qel"));
    EXPECT_EQ(recordedArguments(),
              (std::vector<std::string>{"--file-selection", "--title=Load preset",
                                        "--filename=/home/user/Presets/",
                                        "--file-filter=Qel Preset (*.qel) | *.qel"}));
    EXPECT_FALSE(dialog->isRunning());
    EXPECT_FALSE(dialog->poll()); // told once
    EXPECT_TRUE(noChildLeft());
}

TEST_F(FileDialogTest, SaveOffersTheRememberedNameAndConfirmsOverwriting) {
    standIn("zenity", "/data/banks/live set.qeb\n", 0);
    const platform::FileDialogRequest saveBank{
        Purpose::save, "Save bank", {{"Qel Bank", "qeb"}}, "/data/banks", "live.qeb"};
    ASSERT_TRUE(dialog->start(saveBank).started);
    EXPECT_EQ(resultWhenOver().path, std::filesystem::path("/data/banks/live set.qeb"));
    EXPECT_EQ(recordedArguments(),
              (std::vector<std::string>{"--file-selection", "--title=Save bank", "--save",
                                        "--confirm-overwrite", "--filename=/data/banks/live.qeb",
                                        "--file-filter=Qel Bank (*.qeb) | *.qeb"}));
}

TEST_F(FileDialogTest, KdialogIsUsedWhenItIsTheOneInstalled) {
    standIn("kdialog", "/home/user/Presets/a.qem\n", 0);
    const platform::FileDialogRequest loadMidi{Purpose::open,
                                               "Load MIDI settings",
                                               {{"Qel MIDI Settings", "qem"}},
                                               "/home/user/Presets",
                                               ""};
    ASSERT_TRUE(dialog->start(loadMidi).started);
    EXPECT_EQ(resultWhenOver().outcome, Outcome::chosen);
    EXPECT_EQ(recordedArguments(),
              (std::vector<std::string>{"--title", "Load MIDI settings", "--getopenfilename",
                                        "/home/user/Presets/", "*.qem|Qel MIDI Settings (*.qem)"}));
}

TEST_F(FileDialogTest, ExitOneIsACancelAndAnyOtherFailureIsNamed) {
    standIn("zenity", "", 1);
    ASSERT_TRUE(dialog->start(loadPreset()).started);
    EXPECT_EQ(resultWhenOver().outcome, Outcome::cancelled);

    standIn("zenity", "", 5);
    ASSERT_TRUE(dialog->start(loadPreset()).started);
    const auto failed = resultWhenOver();
    EXPECT_EQ(failed.outcome, Outcome::failed);
    EXPECT_NE(failed.problem.find("zenity"), std::string::npos) << failed.problem;
    EXPECT_NE(failed.problem.find('5'), std::string::npos) << failed.problem;

    // Success with no path, or with more than one, is not one chosen file.
    standIn("zenity", "/a.qel\n/b.qel\n", 0);
    ASSERT_TRUE(dialog->start(loadPreset()).started);
    EXPECT_EQ(resultWhenOver().outcome, Outcome::cancelled);
    EXPECT_TRUE(noChildLeft());
}

TEST_F(FileDialogTest, TheCallerIsNotHeldUpAndCancellingKillsTheDialog) {
    test::writeText(work / "hold", "");
    standIn("zenity", "/never.qel\n", 0);
    ASSERT_TRUE(dialog->start(loadPreset()).started);
    // start returned with the stand-in held: it is still running.
    EXPECT_FALSE(dialog->poll());
    EXPECT_TRUE(dialog->isRunning());
    const auto second = dialog->start(loadPreset());
    EXPECT_FALSE(second.started);
    EXPECT_FALSE(second.problem.empty());

    const pid_t standInPid = std::stoi(test::contentOnceWritten(work / "pid"));
    dialog->cancel();
    const auto cancelled = dialog->poll();
    ASSERT_TRUE(cancelled);
    EXPECT_EQ(cancelled->outcome, Outcome::cancelled);
    EXPECT_FALSE(dialog->isRunning());
    EXPECT_EQ(::kill(standInPid, 0), -1); // gone, and reaped
    EXPECT_TRUE(noChildLeft());
}

// Whatever the dialog program started goes with it: here the stand-in leaves a long sleep
// running in the background and waits for it.
TEST_F(FileDialogTest, ClosingWithADialogOpenLeavesNoProcessBehind) {
    const auto sleeper = work / "sleeper";
    test::writeScript(tools / "zenity", "sleep 60 &\n" +
                                            test::scriptLineWritingAtOnce("echo $!", sleeper) +
                                            "wait\n");
    ASSERT_TRUE(dialog->start(loadPreset()).started);
    const pid_t sleeperPid = std::stoi(test::contentOnceWritten(sleeper));
    ASSERT_FALSE(hasEnded(sleeperPid));

    dialog.reset();
    EXPECT_TRUE(noChildLeft());
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!hasEnded(sleeperPid) && std::chrono::steady_clock::now() < give_up) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(hasEnded(sleeperPid));
}

TEST_F(FileDialogTest, WithNeitherProgramInstalledTheStartSaysSo) {
    test::ScopedEnvironment bare("PATH", tools.path().string());
    const auto start = dialog->start(loadPreset());
    EXPECT_FALSE(start.started);
    EXPECT_NE(start.problem.find("zenity"), std::string::npos) << start.problem;
    EXPECT_NE(start.problem.find("kdialog"), std::string::npos) << start.problem;
    EXPECT_FALSE(dialog->isRunning());
    EXPECT_FALSE(dialog->poll());
}

} // namespace
} // namespace velmora
