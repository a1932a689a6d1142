#include "presets/PresetSystemEffect.h"

#include "presets/ChunkBuilder.h"
#include "presets/ChunkLoader.h"
#include "presets/FactoryPrograms.h"
#include "presets/StateChunkLoader.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace velmora {
namespace {

constexpr auto kRelaxed = std::memory_order_relaxed;
constexpr int kLearnTargetNone = -1;

bool isAssignmentParameter(VstInt32 index) {
    return index >= kFirstAssignmentParameter && index < kEndAssignmentParameters;
}

struct ControlChange {
    int controller;
    int value;
};

// A Control Change on any channel; every other event, and controller numbers that read as
// negative 8-bit values, give nothing.
std::optional<ControlChange> controlChangeOf(const VstEvent* event) {
    if (event == nullptr || event->type != kVstMidiType) return std::nullopt;
    const auto* midi = reinterpret_cast<const VstMidiEvent*>(event);
    const auto status = static_cast<unsigned char>(midi->midiData[0]);
    if ((status & 0xF0) != 0xB0) return std::nullopt;
    const int controller = static_cast<signed char>(midi->midiData[1]);
    const int value = static_cast<signed char>(midi->midiData[2]);
    if (!isControllerNumber(controller)) return std::nullopt;
    return ControlChange{controller, value};
}

} // namespace

CPresetSystemEffect::CPresetSystemEffect(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, 1, kNumParameters), stateChunk_(chunk::kStateChunkCapacity) {
    programsAreChunks(true);
    fillFactoryPrograms();
    template_ = programs_[0];
}

// ---- Host-facing program operations ----

void CPresetSystemEffect::setProgramName(char* name) {
    if (name == nullptr) return;
    const int current = getCurrentProgramIndex();
    programs_[current].setName(static_cast<const char*>(name));
    programNameChanged(current);
}

void CPresetSystemEffect::getProgramName(char* name) {
    if (name != nullptr) programs_[getCurrentProgramIndex()].copyNameTo(name);
}

bool CPresetSystemEffect::getProgramNameIndexed(VstInt32, VstInt32 index, char* text) {
    if (!isProgramIndex(index) || text == nullptr) return false;
    programs_[index].copyNameTo(text);
    return true;
}

// ---- State chunk ----

VstInt32 CPresetSystemEffect::getChunk(void** data, bool) {
    if (data == nullptr) return 0;
    const auto assignments = reportedAssignments();
    const std::size_t size = chunk::writeStateChunk(
        stateChunk_, programs_, getCurrentProgramIndex(), assignments, savedParameters());
    if (size == 0) return 0;
    *data = stateChunk_.data();
    return static_cast<VstInt32>(size);
}

VstInt32 CPresetSystemEffect::setChunk(void* data, VstInt32 byteSize, bool) {
    if (data == nullptr || byteSize < 0) return -1;
    const std::span bytes(static_cast<const std::byte*>(data), static_cast<std::size_t>(byteSize));
    const auto load = chunk::decodeStateChunk(bytes, programs_, template_, loadedParameters());
    if (!load.accepted) return -1;
    applyControllerSettings(load.controllers);
    applyPrograms(load.programs, load.renamed, load.currentProgram);
    return 0;
}

// ---- MIDI ----

VstInt32 CPresetSystemEffect::processEvents(VstEvents* events) {
    if (events == nullptr) return 0;
    // The list is declared with two entries but really holds numEvents of them.
    VstEvent* const* list = events->events;
    for (VstInt32 i = 0; i < events->numEvents; ++i) {
        if (const auto change = controlChangeOf(list[i]))
            routeControlChange(change->controller, change->value);
    }
    return 1;
}

void CPresetSystemEffect::routeControlChange(int controller, int value) {
    const int target = learnTarget();
    if (isLearning() && isParameterIndex(target) && controller < kFirstChannelModeController) {
        assignments_.learn(target, controller);
        stopLearning();
    }
    const int parameter = assignments_.routeOf(controller);
    if (!isParameterIndex(parameter)) return;
    setParameter(parameter, static_cast<float>(std::clamp(value, 0, 127)) / 127.0f);
}

VstInt32 CPresetSystemEffect::canDo(char* text) {
    if (text == nullptr || std::strcmp(text, "receiveVstMidiEvent") != 0) return 0;
    char hostCapability[] = "sendVstMidiEvent";
    return canHostDo(hostCapability) ? 1 : 0;
}

void CPresetSystemEffect::resume() {
    wantEvents(1);
}

// ---- Parameters ----

void CPresetSystemEffect::setParameter(VstInt32 index, float value) {
    if (isParameterIndex(index)) {
        // Out-of-range values are clamped so that every saved chunk loads again; NaN is not
        // stored at all.
        if (!std::isnan(value))
            programs_[getCurrentProgramIndex()].values[index] = std::clamp(value, 0.0f, 1.0f);
        if (isLearning()) setLearnTarget(index);
        if (isForgetting()) {
            unassignParameter(index);
            stopForgetting();
        }
    } else if (isAssignmentParameter(index)) {
        assignments_.setFromValue(index - kFirstAssignmentParameter, value);
    }
}

float CPresetSystemEffect::getParameter(VstInt32 index) {
    if (isParameterIndex(index)) return programs_[getCurrentProgramIndex()].values[index];
    if (isAssignmentParameter(index))
        return assignments_.reportedValue(index - kFirstAssignmentParameter);
    return 0.0f;
}

// ---- Program operations ----

int CPresetSystemEffect::getCurrentProgramIndex() const {
    return currentProgram_.load(kRelaxed);
}

void CPresetSystemEffect::setCurrentProgram(int index) {
    if (!isProgramIndex(index)) return;
    applying_.store(true, kRelaxed);
    curProgram_ = 0;
    currentProgram_.store(index, kRelaxed);
    const Program program = programs_[index];
    for (int i = 0; i < kNumParameters; ++i)
        setParameter(i, program.values[i]);
    updateDisplay();
    // Hosts refresh their parameter views on an edit bracket.
    beginEdit(0);
    endEdit(0);
    applying_.store(false, kRelaxed);
}

void CPresetSystemEffect::setCurrentProgramName(const char* name) {
    if (name != nullptr) programs_[getCurrentProgramIndex()].setName(name);
    curProgram_ = 0;
    updateDisplay();
}

void CPresetSystemEffect::replaceProgram(int index, const Program& program) {
    if (isProgramIndex(index)) programs_[index] = program;
}

VstInt32 CPresetSystemEffect::getUniqueId() const {
    return static_cast<VstInt32>(chunk::kUniqueId);
}

void CPresetSystemEffect::resetProgramToTemplate(int index) {
    if (isProgramIndex(index)) programs_[index] = template_;
}

void CPresetSystemEffect::captureTemplate() {
    template_ = programs_[0];
    applyStartupDefaults();
}

void CPresetSystemEffect::fillFactoryPrograms() {
    for (int i = 0; i < kNumPrograms; ++i)
        programs_[i] = factoryProgram(i);
}

ParameterMask CPresetSystemEffect::savedParameters() const {
    ParameterMask mask;
    for (int i = 0; i < kNumParameters; ++i)
        mask.set(i, !isParameterExcludedFromSave(i));
    return mask;
}

ParameterMask CPresetSystemEffect::loadedParameters() const {
    ParameterMask mask;
    for (int i = 0; i < kNumParameters; ++i)
        mask.set(i, !isParameterExcludedFromLoad(i));
    return mask;
}

// ---- Controller assignments ----

void CPresetSystemEffect::assignController(int parameter, int controller) {
    assignments_.assign(parameter, controller);
}

void CPresetSystemEffect::unassignParameter(int parameter) {
    assignments_.unassignParameter(parameter);
}

void CPresetSystemEffect::unassignController(int controller) {
    assignments_.unassignController(controller);
}

int CPresetSystemEffect::controllerOfParameter(int parameter) const {
    return assignments_.controllerOf(parameter);
}

int CPresetSystemEffect::parameterOfController(int controller) const {
    return assignments_.parameterOf(controller);
}

void CPresetSystemEffect::clearAllControllerAssignments() {
    assignments_.clearAll();
}

void CPresetSystemEffect::startLearning() {
    learnTarget_.store(kLearnTargetNone, kRelaxed);
    learning_.store(true, kRelaxed);
}

void CPresetSystemEffect::stopLearning() {
    learning_.store(false, kRelaxed);
    learnTarget_.store(kLearnTargetNone, kRelaxed);
    learnButtonReleased();
}

void CPresetSystemEffect::setLearnTarget(int index) {
    learnTarget_.store(index, kRelaxed);
}

void CPresetSystemEffect::startForgetting() {
    forgetting_.store(true, kRelaxed);
}

void CPresetSystemEffect::stopForgetting() {
    forgetting_.store(false, kRelaxed);
    forgetButtonReleased();
}

std::array<float, kNumParameters> CPresetSystemEffect::reportedAssignments() {
    std::array<float, kNumParameters> values{};
    for (int i = 0; i < kNumParameters; ++i)
        values[i] = getParameter(kFirstAssignmentParameter + i);
    return values;
}

// ---- Chunk builders and loaders ----

std::vector<std::byte> CPresetSystemEffect::buildPresetChunk() const {
    return chunk::buildPresetChunk(programs_[getCurrentProgramIndex()], savedParameters());
}

std::vector<std::byte> CPresetSystemEffect::buildBankChunk() const {
    return chunk::buildBankChunk(programs_, getCurrentProgramIndex(), savedParameters());
}

std::vector<std::byte> CPresetSystemEffect::buildMidiSettingsChunk() {
    const auto assignments = reportedAssignments();
    return chunk::buildMidiSettingsChunk(assignments, savedParameters());
}

bool CPresetSystemEffect::loadPresetChunk(std::span<const std::byte> records,
                                          const chunk::ChunkHeader& header, bool reversed) {
    const auto load = chunk::decodePresetRecords(chunk::ChunkReader(records, reversed), header,
                                                 template_, loadedParameters());
    if (load.status != chunk::LoadStatus::Loaded) return false;
    const int current = getCurrentProgramIndex();
    programs_[current] = load.program;
    programNameChanged(current);
    char name[kProgramNameBytes + 1];
    load.program.copyNameTo(name);
    setCurrentProgramName(name);
    setCurrentProgram(current);
    return true;
}

bool CPresetSystemEffect::loadBankChunk(std::span<const std::byte> records,
                                        const chunk::ChunkHeader& header, bool reversed) {
    const auto load = chunk::decodeBankRecords(chunk::ChunkReader(records, reversed), header,
                                               programs_, template_, loadedParameters());
    if (load.status != chunk::LoadStatus::Loaded) return false;
    applyPrograms(load.programs, load.renamed, load.currentProgram);
    return true;
}

bool CPresetSystemEffect::loadMidiSettingsChunk(std::span<const std::byte> records,
                                                const chunk::ChunkHeader& header, bool reversed) {
    const auto load = chunk::decodeMidiSettingsRecords(chunk::ChunkReader(records, reversed),
                                                       header, loadedParameters());
    if (load.status != chunk::LoadStatus::Loaded) return false;
    applyControllerSettings(load.settings);
    return true;
}

// Restored settings replace the present assignments as a whole: a route left from before
// would keep a controller driving a parameter that the restored settings leave unassigned.
void CPresetSystemEffect::applyControllerSettings(
    std::span<const chunk::ControllerSetting> settings) {
    if (!settings.empty()) clearAllControllerAssignments();
    for (const auto& setting : settings)
        setParameter(kFirstAssignmentParameter + setting.parameter, setting.value);
}

void CPresetSystemEffect::applyPrograms(const ProgramStore& programs,
                                        const std::bitset<kNumPrograms>& renamed, int current) {
    programs_ = programs;
    for (int i = 0; i < kNumPrograms; ++i)
        if (renamed.test(i)) programNameChanged(i);
    currentProgramShown(current);
    setCurrentProgram(current);
}

} // namespace velmora
