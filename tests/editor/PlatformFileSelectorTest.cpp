// The toolkit's file selector over the platform dialog: the request arrives translated, the
// completion hears the choice exactly once on the poll after the dialog ends, and a dialog that
// cannot start leaves its reason without calling the completion.
#include "editor/PlatformFileSelector.h"

#include <gtest/gtest.h>

#include <deque>

namespace velmora::editor {
namespace {

using platform::FileDialogResult;
using Selector = toolkit::CNewFileSelector;

// A dialog the test ends by hand.
class ScriptedDialog final : public platform::FileDialog {
  public:
    platform::FileDialogStart start(const platform::FileDialogRequest& request) override {
        if (!problem.empty()) return {false, problem};
        lastRequest = request;
        running = true;
        return {true, {}};
    }
    std::optional<FileDialogResult> poll() override {
        if (!running || !ending) return std::nullopt;
        running = false;
        return std::exchange(ending, std::nullopt);
    }
    void cancel() override {
        if (running) ending = FileDialogResult{};
    }
    bool isRunning() const override { return running; }

    std::string problem;
    platform::FileDialogRequest lastRequest;
    std::optional<FileDialogResult> ending;
    bool running = false;
};

struct PlatformFileSelectorTest : ::testing::Test {
    std::unique_ptr<ScriptedDialog> owned = std::make_unique<ScriptedDialog>();
    ScriptedDialog& dialog = *owned;
    PlatformFileSelector selector{std::move(owned)};
    std::vector<std::optional<std::filesystem::path>> heard;
    Selector::Completion record = [this](std::optional<std::filesystem::path> path) {
        heard.push_back(std::move(path));
    };
};

TEST_F(PlatformFileSelectorTest, ASaveRequestReachesTheDialogAndTheChoiceTheCompletionOnce) {
    const Selector::Request saveBank{Selector::Style::selectSaveFile,
                                     "Save bank",
                                     {{"Qel Bank", "qeb"}},
                                     "/data/banks",
                                     "live.qeb"};
    ASSERT_TRUE(selector.run(saveBank, record));
    const auto& asked = dialog.lastRequest;
    EXPECT_EQ(asked.purpose, platform::FileDialogRequest::Purpose::save);
    EXPECT_EQ(asked.title, "Save bank");
    ASSERT_EQ(asked.filters.size(), 1u);
    EXPECT_EQ(asked.filters[0].caption, "Qel Bank");
    EXPECT_EQ(asked.filters[0].extension, "qeb");
    EXPECT_EQ(asked.folder, std::filesystem::path("/data/banks"));
    EXPECT_EQ(asked.suggestedName, "live.qeb");

    EXPECT_FALSE(selector.run(saveBank, record)); // one at a time
    selector.poll();
    EXPECT_TRUE(heard.empty()); // still open

    dialog.ending = FileDialogResult{FileDialogResult::Outcome::chosen, "/data/banks/new.qeb", {}};
    selector.poll();
    selector.poll();
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0], std::filesystem::path("/data/banks/new.qeb"));
    EXPECT_FALSE(selector.isRunning());
}

TEST_F(PlatformFileSelectorTest, CancelledAndFailedDialogsCompleteWithNothing) {
    const Selector::Request loadPreset{Selector::Style::selectFile, "Load preset", {}, {}, {}};
    ASSERT_TRUE(selector.run(loadPreset, record));
    EXPECT_EQ(dialog.lastRequest.purpose, platform::FileDialogRequest::Purpose::open);
    selector.cancel();
    selector.poll();

    ASSERT_TRUE(selector.run(loadPreset, record));
    dialog.ending = FileDialogResult{FileDialogResult::Outcome::failed, {}, "it broke"};
    selector.poll();
    EXPECT_EQ(heard,
              (std::vector<std::optional<std::filesystem::path>>{std::nullopt, std::nullopt}));
    EXPECT_EQ(selector.problem(), "it broke");
}

TEST_F(PlatformFileSelectorTest, ADialogThatCannotStartKeepsItsReasonAndNeverCompletes) {
    dialog.problem = "No file dialog is available: install zenity or kdialog.";
    EXPECT_FALSE(selector.run({Selector::Style::selectFile, "Load bank", {}, {}, {}}, record));
    EXPECT_EQ(selector.problem(), dialog.problem);
    selector.poll();
    EXPECT_TRUE(heard.empty());
}

} // namespace
} // namespace velmora::editor
