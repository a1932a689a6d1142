#include "presets/PresetFiles.h"

namespace velmora {

// The file is written and read at the path chosen, even when that path has no directory part
// to remember: the remembered name is where the next dialog starts, not where the data goes.
std::optional<std::string> PresetFiles::choose(FileKind kind, FileDialogRequest::Mode mode,
                                               std::string_view title, FileAccess& access) {
    const FileKindTexts texts = textsOf(kind);
    FileDialogRequest request{
        mode, title, texts.filterCaption, texts.extension, locations_.directory(), {}};
    if (mode == FileDialogRequest::Mode::Save) request.defaultName = locations_.name(kind);
    auto path = access.chooseFile(request);
    if (!path || path->empty()) return std::nullopt;
    locations_.remember(kind, *path);
    return path;
}

FileActionResult PresetFiles::save(FileKind kind, FileAccess& access) {
    const auto path = choose(kind, FileDialogRequest::Mode::Save, textsOf(kind).saveTitle, access);
    if (!path) return {FileActionStatus::Cancelled};
    const auto bytes = buildChunk(kind);
    if (!access.writeFile(*path, bytes)) return {FileActionStatus::WriteFailed};
    return {FileActionStatus::Done};
}

FileActionResult PresetFiles::load(FileKind kind, FileAccess& access, chunk::StoredOrder order) {
    const FileKindTexts texts = textsOf(kind);
    const auto title =
        order == chunk::StoredOrder::Inverted ? texts.reversedLoadTitle : texts.loadTitle;
    const auto path = choose(kind, FileDialogRequest::Mode::Open, title, access);
    if (!path) return {FileActionStatus::Cancelled};
    const auto bytes = access.readFile(*path, chunk::kMaxStoredChunkBytes);
    if (!bytes) return {FileActionStatus::ReadFailed};
    const chunk::LoadStatus status = loadChunk(kind, *bytes, order);
    if (!chunk::isLoaded(status)) return {FileActionStatus::Refused, status};
    return {FileActionStatus::Done};
}

std::vector<std::byte> PresetFiles::buildChunk(FileKind kind) const {
    switch (kind) {
    case FileKind::Preset:
        return presets_.buildPresetChunk();
    case FileKind::Bank:
        return presets_.buildBankChunk();
    case FileKind::MidiSettings:
        return presets_.buildMidiSettingsChunk();
    }
    return {};
}

chunk::LoadStatus PresetFiles::loadChunk(FileKind kind, std::span<const std::byte> bytes,
                                         chunk::StoredOrder order) {
    switch (kind) {
    case FileKind::Preset:
        return presets_.loadPresetFile(bytes, order);
    case FileKind::Bank:
        return presets_.loadBankFile(bytes, order);
    case FileKind::MidiSettings:
        return presets_.loadMidiSettingsFile(bytes, order);
    }
    return chunk::LoadStatus::UnknownType;
}

} // namespace velmora
