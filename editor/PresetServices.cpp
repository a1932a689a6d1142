#include "editor/PresetServices.h"

#include "platform/Files.h"
#include "platform/ModuleLocation.h"
#include "platform/SettingNames.h"
#include "presets/LoadStatus.h"
#include "presets/StoredChunkLoader.h"

namespace velmora::editor {

namespace {

constexpr std::string_view kManualFileName = "Velmora-Manual.pdf";
// Paths and file names are never longer than this; a longer stored value is not ours.
constexpr std::size_t kMaxPathBytes = 4096;

// What each kind of file keeps in the settings, and how messages name it.
struct KindFacts {
    std::string_view storedDefault; // the start-up default
    std::string_view lastLocation;  // the remembered file of this kind
    std::string_view noun;
};

KindFacts factsOf(FileKind kind) {
    namespace setting = platform::setting;
    switch (kind) {
    case FileKind::Bank:
        return {setting::defaultBank, setting::currentBank, "bank"};
    case FileKind::Preset:
        return {setting::defaultPreset, setting::currentPreset, "preset"};
    case FileKind::MidiSettings:
        break;
    }
    return {setting::defaultMidi, setting::currentMidi, "MIDI settings"};
}

std::string_view memoSettingOf(Memo memo) {
    return memo == Memo::a ? platform::setting::memoA : platform::setting::memoB;
}

platform::FileDialogRequest platformRequestOf(const FileDialogRequest& request) {
    platform::FileDialogRequest converted;
    converted.purpose = request.mode == FileDialogRequest::Mode::Save
                            ? platform::FileDialogRequest::Purpose::save
                            : platform::FileDialogRequest::Purpose::open;
    converted.title = std::string(request.title);
    converted.filters.push_back(
        {std::string(request.filterCaption), std::string(request.extension)});
    converted.folder = request.initialDirectory;
    converted.suggestedName = request.defaultName;
    return converted;
}

} // namespace

// The file actions ask for a path in the middle of their work. The first run starts the
// platform's dialog and stops there, as if cancelled; once the user has chosen, the action
// runs again and is handed that path at once.
class PresetServices::DialogFileAccess final : public FileAccess {
  public:
    DialogFileAccess(PresetServices& owner, std::optional<std::string> chosen)
        : owner_(owner), chosen_(std::move(chosen)) {}

    std::optional<std::string> chooseFile(const FileDialogRequest& request) override {
        if (chosen_) return chosen_;
        const platform::FileDialogStart start =
            owner_.platform_.dialog->start(platformRequestOf(request));
        if (!start.started) owner_.tell("No file dialog", start.problem);
        dialogStarted_ = start.started;
        return std::nullopt;
    }
    std::optional<std::vector<std::byte>> readFile(const std::string& path,
                                                   std::size_t maxBytes) override {
        platform::FileContents contents = platform::readWholeFile(path, maxBytes);
        if (contents.status != platform::FileStatus::ok) return std::nullopt;
        return std::move(contents.bytes);
    }
    bool writeFile(const std::string& path, std::span<const std::byte> bytes) override {
        return platform::writeFileAtomically(path, bytes) == platform::FileStatus::ok;
    }

    bool dialogStarted() const { return dialogStarted_; }

  private:
    PresetServices& owner_;
    std::optional<std::string> chosen_;
    bool dialogStarted_ = false;
};

PresetServices::Platform PresetServices::userPlatform() {
    return {platform::openUserSettings(), platform::makeFileDialog(), platform::makeShell(),
            platform::moduleFolder()};
}

PresetServices::PresetServices(PresetSystem& presets, Platform platform)
    : presets_(presets), platform_(std::move(platform)), files_(presets) {}

PresetServices::~PresetServices() {
    saveFileLocations();
}

// ---- Start-up ----

void PresetServices::applyStartupDefaults() {
    // Construction applied program 0 already; a stored bank replaced it and needs it again.
    if (loadStored(FileKind::Bank) || presets_.getCurrentProgramIndex() != 0)
        presets_.setCurrentProgram(0);
    loadStored(FileKind::Preset);
    loadStored(FileKind::MidiSettings);
    loadFileLocations();
}

// A damaged or foreign stored value loads nothing and changes nothing. True when it loaded.
bool PresetServices::loadStored(FileKind kind) {
    const auto bytes =
        platform_.settings->readBytes(factsOf(kind).storedDefault, chunk::kMaxStoredChunkBytes);
    if (!bytes) return false;
    switch (kind) {
    case FileKind::Bank:
        return presets_.loadStoredBank(*bytes) == chunk::LoadStatus::Loaded;
    case FileKind::Preset:
        return presets_.loadStoredPreset(*bytes) == chunk::LoadStatus::Loaded;
    case FileKind::MidiSettings:
        return presets_.loadStoredMidiSettings(*bytes) == chunk::LoadStatus::Loaded;
    }
    return false;
}

void PresetServices::loadFileLocations() {
    FileLocations& locations = files_.locations();
    locations.setDirectory(
        platform_.settings->readText(platform::setting::currentFolder, kMaxPathBytes)
            .value_or(std::string{}));
    for (const FileKind kind : kFileKinds)
        locations.setName(kind,
                          platform_.settings->readText(factsOf(kind).lastLocation, kMaxPathBytes)
                              .value_or(std::string{}));
}

void PresetServices::saveFileLocations() {
    const FileLocations& locations = files_.locations();
    platform_.settings->writeText(platform::setting::currentFolder, locations.directory());
    for (const FileKind kind : kFileKinds)
        platform_.settings->writeText(factsOf(kind).lastLocation, locations.name(kind));
}

// ---- Files ----

void PresetServices::loadFile(FileKind kind, bool reversed) {
    startFileAction(
        {kind, false, reversed ? chunk::StoredOrder::Inverted : chunk::StoredOrder::AsFound});
}

void PresetServices::saveFile(FileKind kind) {
    startFileAction({kind, true, chunk::StoredOrder::AsFound});
}

// One dialog at a time: a click while one is open leaves it to the user.
void PresetServices::startFileAction(const FileAction& action) {
    if (platform_.dialog->isRunning()) return;
    pendingAction_.reset();
    DialogFileAccess access(*this, std::nullopt);
    run(action, access);
    if (access.dialogStarted()) pendingAction_ = action;
}

void PresetServices::finishFileAction(const std::string& path) {
    const FileAction action = *pendingAction_;
    pendingAction_.reset();
    DialogFileAccess access(*this, path);
    reportFileProblem(action, run(action, access));
}

FileActionResult PresetServices::run(const FileAction& action, FileAccess& access) {
    return action.save ? files_.save(action.kind, access)
                       : files_.load(action.kind, access, action.order);
}

void PresetServices::reportFileProblem(const FileAction& action, const FileActionResult& result) {
    const std::string noun(factsOf(action.kind).noun);
    switch (result.status) {
    case FileActionStatus::Done:
    case FileActionStatus::Cancelled:
        return;
    case FileActionStatus::ReadFailed:
        tell("Could not load " + noun, "The file could not be read.");
        return;
    case FileActionStatus::WriteFailed:
        tell("Could not save " + noun, "The file could not be written; nothing was changed.");
        return;
    case FileActionStatus::Refused:
        tell("Could not load " + noun, "This is not a " + noun + " file Velmora can read (" +
                                           std::string(chunk::describe(result.refusal)) +
                                           "); nothing was changed.");
        return;
    }
}

// ---- Defaults and memories ----

void PresetServices::storeDefault(FileKind kind) {
    const std::vector<std::byte> chunk = kind == FileKind::Bank ? presets_.buildBankChunk()
                                         : kind == FileKind::Preset
                                             ? presets_.buildPresetChunk()
                                             : presets_.buildMidiSettingsChunk();
    platform_.settings->writeBytes(factsOf(kind).storedDefault, chunk);
}

void PresetServices::clearDefault(FileKind kind) {
    platform_.settings->remove(factsOf(kind).storedDefault);
}

void PresetServices::storeMemo(Memo memo) {
    platform_.settings->writeBytes(memoSettingOf(memo), presets_.buildPresetChunk());
}

void PresetServices::recallMemo(Memo memo) {
    const auto bytes =
        platform_.settings->readBytes(memoSettingOf(memo), chunk::kMaxStoredChunkBytes);
    if (bytes) presets_.loadStoredPreset(*bytes);
}

// ---- Keyboard focus ----

void PresetServices::storeKeyboardFocus(bool on) {
    platform_.settings->writeNumber(platform::setting::keyboardFocus, on ? 1 : 0);
}

bool PresetServices::storedKeyboardFocus() const {
    return platform_.settings->readNumber(platform::setting::keyboardFocus).value_or(0) != 0;
}

// ---- The manual ----

std::filesystem::path PresetServices::manualPath() const {
    const auto recorded =
        platform_.settings->readText(platform::setting::manualPath, kMaxPathBytes);
    if (recorded && !recorded->empty()) return *recorded;
    if (platform_.moduleFolder.empty()) return {};
    return platform_.moduleFolder / kManualFileName;
}

void PresetServices::openUserManual() {
    reportManualOpening(platform_.shell->openDocument(manualPath()));
}

void PresetServices::reportManualOpening(platform::DocumentOpening opening) {
    switch (opening) {
    case platform::DocumentOpening::pending:
    case platform::DocumentOpening::opened:
        return;
    case platform::DocumentOpening::noApplication:
        tell("Could not open manual file", "Make sure a PDF viewer is installed");
        return;
    case platform::DocumentOpening::missingFile:
    case platform::DocumentOpening::failed:
        tell("", "Could not open user manual");
        return;
    }
}

// A message in a desktop window; without a program to show one, the editor shows it.
void PresetServices::tell(std::string_view caption, std::string_view text) {
    if (platform_.shell->showError(caption, text)) return;
    message_ = UserMessage{std::string(caption), std::string(text)};
}

// ---- Idle ----

void PresetServices::idle() {
    if (const auto opening = platform_.shell->poll()) reportManualOpening(*opening);
    const auto result = platform_.dialog->poll();
    if (!result || !pendingAction_) return;
    switch (result->outcome) {
    case platform::FileDialogResult::Outcome::chosen:
        finishFileAction(result->path.string());
        return;
    case platform::FileDialogResult::Outcome::cancelled:
        pendingAction_.reset();
        return;
    case platform::FileDialogResult::Outcome::failed:
        pendingAction_.reset();
        tell("No file dialog", result->problem);
        return;
    }
}

// A dialog left open would act on an editor that is gone.
void PresetServices::editorClosed() {
    platform_.dialog->cancel();
    pendingAction_.reset();
}

} // namespace velmora::editor
