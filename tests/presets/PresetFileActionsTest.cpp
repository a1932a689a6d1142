// The preset bar's file actions over a scripted dialog and an in-memory file system: what each
// dialog is asked, where the files go, the remembered locations, and how a cancelled dialog, an
// unreadable file or refused data end an action.
#include "presets/PresetFiles.h"
#include "tests/presets/PresetRig.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>

namespace velmora::testing {
namespace {

using chunk::LoadStatus;
using chunk::StoredOrder;

class FakeFileAccess final : public FileAccess {
  public:
    std::optional<std::string> chooseFile(const FileDialogRequest& request) override {
        requests.push_back(request);
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::vector<std::byte>> readFile(const std::string& path,
                                                   std::size_t maxBytes) override {
        lastReadLimit = maxBytes;
        const auto file = files.find(path);
        if (file == files.end() || file->second.size() > maxBytes) return std::nullopt;
        return file->second;
    }
    bool writeFile(const std::string& path, std::span<const std::byte> bytes) override {
        if (!writable) return false;
        files[path] = {bytes.begin(), bytes.end()};
        return true;
    }

    std::deque<std::optional<std::string>> answers;
    std::vector<FileDialogRequest> requests;
    std::map<std::string, std::vector<std::byte>> files;
    std::size_t lastReadLimit = 0;
    bool writable = true;
};

TEST(PresetFileActions, SaveAndLoadEachKindThroughTheChosenPaths) {
    PresetRig source;
    source.setCurrentProgram(6);
    source.setParameter(param::Mix, 0.25f);
    source.assignController(param::Mix, 11);
    PresetFiles sourceFiles(source);
    FakeFileAccess disk;
    disk.answers = {"/music/a.qel", "/music/b.qeb", "/music/c.qem"};
    EXPECT_EQ(sourceFiles.savePresetFile(disk).status, FileActionStatus::Done);
    EXPECT_EQ(sourceFiles.saveBankFile(disk).status, FileActionStatus::Done);
    EXPECT_EQ(sourceFiles.saveMidiSettingsFile(disk).status, FileActionStatus::Done);
    EXPECT_EQ(disk.files.at("/music/a.qel"), source.buildPresetChunk());
    EXPECT_EQ(disk.files.at("/music/b.qeb"), source.buildBankChunk());
    EXPECT_EQ(disk.files.at("/music/c.qem"), source.buildMidiSettingsChunk());

    PresetRig target;
    PresetFiles targetFiles(target);
    disk.answers = {"/music/b.qeb", "/music/c.qem", "/music/a.qel"};
    EXPECT_EQ(targetFiles.loadBankFile(disk, StoredOrder::AsFound).status, FileActionStatus::Done);
    EXPECT_EQ(targetFiles.loadMidiSettingsFile(disk, StoredOrder::AsFound).status,
              FileActionStatus::Done);
    EXPECT_EQ(targetFiles.loadPresetFile(disk, StoredOrder::AsFound).status,
              FileActionStatus::Done);
    EXPECT_EQ(disk.lastReadLimit, chunk::kMaxStoredChunkBytes);
    EXPECT_EQ(target.getCurrentProgramIndex(), 0);
    EXPECT_EQ(target.programs()[0].values[param::Mix].get(), 0.25f);
    EXPECT_EQ(target.controllerOfParameter(param::Mix), 11);
    EXPECT_EQ(target.buildBankChunk().size(), source.buildBankChunk().size());
}

TEST(PresetFileActions, DialogsShowTheirKindsTextsAndTheRememberedLocation) {
    PresetRig effect;
    PresetFiles files(effect);
    files.locations().setDirectory("/start/");
    files.locations().setName(FileKind::Bank, "last.qeb");
    FakeFileAccess disk;
    files.saveBankFile(disk);
    files.loadMidiSettingsFile(disk, StoredOrder::Inverted);
    files.loadPresetFile(disk, StoredOrder::AsFound);
    ASSERT_EQ(disk.requests.size(), 3u);
    const auto& save = disk.requests[0];
    EXPECT_EQ(save.mode, FileDialogRequest::Mode::Save);
    EXPECT_EQ(save.title, "Save bank");
    EXPECT_EQ(save.filterCaption, "Qel Bank");
    EXPECT_EQ(save.extension, "qeb");
    EXPECT_EQ(save.initialDirectory, "/start/");
    EXPECT_EQ(save.defaultName, "last.qeb");
    EXPECT_EQ(disk.requests[1].title, "Load MIDI settings (endian-reversed)");
    EXPECT_EQ(disk.requests[1].extension, "qem");
    EXPECT_EQ(disk.requests[1].mode, FileDialogRequest::Mode::Open);
    EXPECT_EQ(disk.requests[2].title, "Load preset");
    EXPECT_EQ(disk.requests[2].filterCaption, "Qel Preset");
}

TEST(PresetFileActions, NewDirectoryStartsEveryLaterDialogOfAllKinds) {
    PresetRig effect;
    PresetFiles files(effect);
    FakeFileAccess disk;
    disk.answers = {"C:\\Sets\\Live\\one.qel"};
    files.savePresetFile(disk);
    EXPECT_EQ(files.locations().directory(), "C:\\Sets\\Live\\");
    EXPECT_EQ(files.locations().name(FileKind::Preset), "one.qel");
    files.loadBankFile(disk, StoredOrder::AsFound);
    files.saveMidiSettingsFile(disk);
    files.loadPresetFile(disk, StoredOrder::Inverted);
    for (std::size_t i = 1; i < disk.requests.size(); ++i)
        EXPECT_EQ(disk.requests[i].initialDirectory, "C:\\Sets\\Live\\") << i;
    EXPECT_EQ(disk.requests[3].defaultName, "");
    EXPECT_EQ(disk.requests[2].defaultName, "");
}

TEST(PresetFileActions, PathWithoutDirectoryIsUsedAsChosenAndRemembersNothing) {
    PresetRig effect;
    PresetFiles files(effect);
    files.locations().setDirectory("/kept/");
    files.locations().setName(FileKind::Preset, "old.qel");
    FakeFileAccess disk;
    disk.answers = {"bare.qel"};
    EXPECT_EQ(files.savePresetFile(disk).status, FileActionStatus::Done);
    EXPECT_TRUE(disk.files.contains("bare.qel"));
    EXPECT_FALSE(disk.files.contains("/kept/old.qel"));
    EXPECT_EQ(files.locations().directory(), "/kept/");
    EXPECT_EQ(files.locations().name(FileKind::Preset), "old.qel");
}

TEST(PresetFileActions, CancelledUnreadableOrRefusedLoadsChangeNothing) {
    PresetRig effect;
    effect.setCurrentProgram(4);
    PresetFiles files(effect);
    FakeFileAccess disk;
    disk.files["/x/foreign.qel"] = std::vector<std::byte>(100, std::byte{0x41});
    disk.files["/x/bank.qeb"] = effect.buildBankChunk();
    const auto before = effect.snapshot();

    EXPECT_EQ(files.loadPresetFile(disk, StoredOrder::AsFound).status, FileActionStatus::Cancelled);
    disk.answers = {std::string{}, "/x/missing.qel", "/x/foreign.qel", "/x/bank.qeb"};
    EXPECT_EQ(files.loadPresetFile(disk, StoredOrder::AsFound).status, FileActionStatus::Cancelled);
    EXPECT_EQ(files.loadPresetFile(disk, StoredOrder::AsFound).status,
              FileActionStatus::ReadFailed);
    const auto foreign = files.loadPresetFile(disk, StoredOrder::AsFound);
    EXPECT_EQ(foreign.status, FileActionStatus::Refused);
    EXPECT_EQ(foreign.refusal, LoadStatus::ForeignId);
    const auto wrongKind = files.loadPresetFile(disk, StoredOrder::AsFound);
    EXPECT_EQ(wrongKind.refusal, LoadStatus::UnknownType);
    EXPECT_EQ(effect.snapshot(), before);
    EXPECT_EQ(effect.getCurrentProgramIndex(), 4);
}

TEST(PresetFileActions, FailedWriteIsReportedAsSuch) {
    PresetRig effect;
    PresetFiles files(effect);
    FakeFileAccess disk;
    disk.writable = false;
    disk.answers = {"/ro/a.qeb"};
    EXPECT_EQ(files.saveBankFile(disk).status, FileActionStatus::WriteFailed);
    EXPECT_TRUE(disk.files.empty());
}

} // namespace
} // namespace velmora::testing
