#include "presets/PresetSystem.h"

#include "presets/ChunkBuilder.h"
#include "presets/ChunkLoader.h"
#include "presets/FactoryPrograms.h"
#include "presets/StateChunkLoader.h"

#include <algorithm>
#include <cmath>

namespace velmora {
namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr int kLearnTargetNone = -1;

bool isAssignmentParameter(int index) {
    return index >= kFirstAssignmentParameter && index < kEndAssignmentParameters;
}

// Every parameter is saved and loaded.
ParameterMask everyParameter() {
    return ParameterMask{}.set();
}

} // namespace

PresetSystem::PresetSystem(PresetSystemOwner& owner)
    : owner_(owner), stateChunk_(chunk::kStateChunkCapacity) {
    fillFactoryPrograms();
    template_ = programs_[0];
}

// ---- Host-facing program operations ----

void PresetSystem::setProgramName(const char* name) {
    if (name == nullptr) return;
    const int current = getCurrentProgramIndex();
    programs_[current].setName(name);
    owner_.programNameChanged(current);
}

void PresetSystem::getProgramName(char* name) const {
    if (name != nullptr) programs_[getCurrentProgramIndex()].copyNameTo(name);
}

bool PresetSystem::getProgramNameIndexed(int index, char* text) const {
    if (!isProgramIndex(index) || text == nullptr) return false;
    programs_[index].copyNameTo(text);
    return true;
}

// ---- State chunk ----

std::span<const std::byte> PresetSystem::saveState() {
    const auto assignments = reportedAssignments();
    const std::size_t size = chunk::writeStateChunk(
        stateChunk_, programs_, getCurrentProgramIndex(), assignments, everyParameter());
    return std::span<const std::byte>(stateChunk_).first(size);
}

bool PresetSystem::restoreState(std::span<const std::byte> bytes) {
    const auto load = chunk::decodeStateChunk(bytes, programs_, template_, everyParameter());
    if (!load.accepted) return false;
    applyControllerSettings(load.controllers);
    applyPrograms(load.programs, load.renamed, load.currentProgram);
    return true;
}

// ---- MIDI ----

void PresetSystem::receiveControlChange(int controller, int value) {
    const int target = learnTarget();
    if (isLearning() && isParameterIndex(target) && controller < kFirstChannelModeController) {
        assignments_.learn(target, controller);
        stopLearning();
    }
    const int parameter = assignments_.routeOf(controller);
    if (!isParameterIndex(parameter)) return;
    owner_.applyParameter(parameter, static_cast<float>(std::clamp(value, 0, 127)) / 127.0f);
}

void PresetSystem::resume() {
    owner_.requestMidi();
}

// ---- Parameters ----

void PresetSystem::setParameter(int index, float value) {
    if (isParameterIndex(index)) {
        storeInCurrentProgram(index, value);
        if (isLearning()) setLearnTarget(index);
        if (isForgetting()) {
            unassignParameter(index);
            stopForgetting();
        }
    } else if (isAssignmentParameter(index)) {
        assignments_.setFromValue(index - kFirstAssignmentParameter, value);
    }
}

// Out-of-range values are clamped so that every saved chunk loads again; NaN is not stored.
void PresetSystem::storeInCurrentProgram(int index, float value) {
    if (isParameterIndex(index) && !std::isnan(value))
        programs_[getCurrentProgramIndex()].values[index] = std::clamp(value, 0.0f, 1.0f);
}

float PresetSystem::getParameter(int index) const {
    if (isParameterIndex(index)) return programs_[getCurrentProgramIndex()].values[index];
    if (isAssignmentParameter(index))
        return assignments_.reportedValue(index - kFirstAssignmentParameter);
    return 0.0f;
}

// ---- Program operations ----

void PresetSystem::setCurrentProgram(int index) {
    if (!isProgramIndex(index)) return;
    owner_.programApplicationStarts(index);
    applying_.store(true, kRelaxed);
    currentProgram_.store(index, kRelaxed);
    const Program program = programs_[index];
    for (int i = 0; i < kNumParameters; ++i)
        owner_.applyParameter(i, program.values[i]);
    owner_.requestDisplayUpdate();
    // Hosts refresh their parameter views on an edit bracket.
    owner_.beginHostEdit(0);
    owner_.endHostEdit(0);
    applying_.store(false, kRelaxed);
    owner_.programApplied(index);
}

void PresetSystem::setCurrentProgramName(const char* name) {
    if (name != nullptr) programs_[getCurrentProgramIndex()].setName(name);
    owner_.requestDisplayUpdate();
}

void PresetSystem::replaceProgram(int index, const Program& program) {
    if (isProgramIndex(index)) programs_[index] = program;
}

std::uint32_t PresetSystem::uniqueId() const {
    return chunk::kUniqueId;
}

void PresetSystem::resetProgramToTemplate(int index) {
    if (isProgramIndex(index)) programs_[index] = template_;
}

void PresetSystem::captureTemplate() {
    template_ = programs_[0];
    owner_.applyStartupDefaults();
}

void PresetSystem::fillFactoryPrograms() {
    for (int i = 0; i < kNumPrograms; ++i)
        programs_[i] = factoryProgram(i);
}

// ---- Controller assignments ----

void PresetSystem::assignController(int parameter, int controller) {
    assignments_.assign(parameter, controller);
}

void PresetSystem::unassignParameter(int parameter) {
    assignments_.unassignParameter(parameter);
}

void PresetSystem::unassignController(int controller) {
    assignments_.unassignController(controller);
}

int PresetSystem::controllerOfParameter(int parameter) const {
    return assignments_.controllerOf(parameter);
}

int PresetSystem::parameterOfController(int controller) const {
    return assignments_.parameterOf(controller);
}

void PresetSystem::clearAllControllerAssignments() {
    assignments_.clearAll();
}

void PresetSystem::startLearning() {
    learnTarget_.store(kLearnTargetNone, kRelaxed);
    learning_.store(true, kRelaxed);
}

void PresetSystem::stopLearning() {
    learning_.store(false, kRelaxed);
    learnTarget_.store(kLearnTargetNone, kRelaxed);
    owner_.learnButtonReleased();
}

void PresetSystem::setLearnTarget(int index) {
    learnTarget_.store(index, kRelaxed);
}

void PresetSystem::startForgetting() {
    forgetting_.store(true, kRelaxed);
}

void PresetSystem::stopForgetting() {
    forgetting_.store(false, kRelaxed);
    owner_.forgetButtonReleased();
}

std::array<float, kNumParameters> PresetSystem::reportedAssignments() const {
    std::array<float, kNumParameters> values{};
    for (int i = 0; i < kNumParameters; ++i)
        values[i] = getParameter(kFirstAssignmentParameter + i);
    return values;
}

// ---- Chunk builders and loaders ----

std::vector<std::byte> PresetSystem::buildPresetChunk() const {
    return chunk::buildPresetChunk(programs_[getCurrentProgramIndex()], everyParameter());
}

std::vector<std::byte> PresetSystem::buildBankChunk() const {
    return chunk::buildBankChunk(programs_, getCurrentProgramIndex(), everyParameter());
}

std::vector<std::byte> PresetSystem::buildMidiSettingsChunk() const {
    const auto assignments = reportedAssignments();
    return chunk::buildMidiSettingsChunk(assignments, everyParameter());
}

bool PresetSystem::loadPresetChunk(std::span<const std::byte> records,
                                   const chunk::ChunkHeader& header, bool reversed) {
    const auto load = chunk::decodePresetRecords(chunk::ChunkReader(records, reversed), header,
                                                 template_, everyParameter());
    if (load.status != chunk::LoadStatus::Loaded) return false;
    applyPreset(load.program);
    return true;
}

bool PresetSystem::loadBankChunk(std::span<const std::byte> records,
                                 const chunk::ChunkHeader& header, bool reversed) {
    const auto load = chunk::decodeBankRecords(chunk::ChunkReader(records, reversed), header,
                                               programs_, template_, everyParameter());
    if (load.status != chunk::LoadStatus::Loaded) return false;
    applyPrograms(load.programs, load.renamed, load.currentProgram);
    return true;
}

bool PresetSystem::loadMidiSettingsChunk(std::span<const std::byte> records,
                                         const chunk::ChunkHeader& header, bool reversed) {
    const auto load = chunk::decodeMidiSettingsRecords(chunk::ChunkReader(records, reversed),
                                                       header, everyParameter());
    if (load.status != chunk::LoadStatus::Loaded) return false;
    applyControllerSettings(load.settings);
    return true;
}

chunk::LoadStatus PresetSystem::loadPresetFile(std::span<const std::byte> bytes,
                                               chunk::StoredOrder order) {
    const auto load = chunk::decodeStoredPreset(bytes, order, template_, everyParameter());
    if (isLoaded(load.status)) applyPreset(load.program);
    return load.status;
}

chunk::LoadStatus PresetSystem::loadBankFile(std::span<const std::byte> bytes,
                                             chunk::StoredOrder order) {
    return loadBank(bytes, order, true);
}

chunk::LoadStatus PresetSystem::loadMidiSettingsFile(std::span<const std::byte> bytes,
                                                     chunk::StoredOrder order) {
    const auto load = chunk::decodeStoredMidiSettings(bytes, order, everyParameter());
    if (isLoaded(load.status)) applyControllerSettings(load.settings);
    return load.status;
}

chunk::LoadStatus PresetSystem::loadStoredPreset(std::span<const std::byte> bytes) {
    return loadPresetFile(bytes, chunk::StoredOrder::AsFound);
}

chunk::LoadStatus PresetSystem::loadStoredBank(std::span<const std::byte> bytes) {
    return loadBank(bytes, chunk::StoredOrder::AsFound, false);
}

chunk::LoadStatus PresetSystem::loadStoredMidiSettings(std::span<const std::byte> bytes) {
    return loadMidiSettingsFile(bytes, chunk::StoredOrder::AsFound);
}

// A bank file always leaves program 0 current; a stored default bank the program it names.
chunk::LoadStatus PresetSystem::loadBank(std::span<const std::byte> bytes, chunk::StoredOrder order,
                                         bool selectFirstProgram) {
    const auto load = chunk::decodeStoredBank(bytes, order, programs_, template_, everyParameter());
    if (isLoaded(load.status))
        applyPrograms(load.programs, load.renamed, selectFirstProgram ? 0 : load.currentProgram);
    return load.status;
}

// The loaded program replaces the current one, whose name the editor and the host then show.
void PresetSystem::applyPreset(const Program& program) {
    const int current = getCurrentProgramIndex();
    programs_[current] = program;
    owner_.programNameChanged(current);
    char name[kProgramNameBytes + 1];
    program.copyNameTo(name);
    setCurrentProgramName(name);
    setCurrentProgram(current);
}

// Restored settings replace the present assignments as a whole: a route left from before
// would keep a controller driving a parameter that the restored settings leave unassigned.
void PresetSystem::applyControllerSettings(std::span<const chunk::ControllerSetting> settings) {
    if (!settings.empty()) clearAllControllerAssignments();
    for (const auto& setting : settings)
        owner_.applyParameter(kFirstAssignmentParameter + setting.parameter, setting.value);
}

void PresetSystem::applyPrograms(const ProgramStore& programs,
                                 const std::bitset<kNumPrograms>& renamed, int current) {
    programs_ = programs;
    for (int i = 0; i < kNumPrograms; ++i)
        if (renamed.test(i)) owner_.programNameChanged(i);
    owner_.currentProgramShown(current);
    setCurrentProgram(current);
}

} // namespace velmora
