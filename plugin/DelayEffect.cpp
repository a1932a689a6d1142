#include "plugin/DelayEffect.h"

#include "engine/ParameterDescriptions.h"
#include "engine/ParameterIndex.h"
#include "plugin/ControlChanges.h"
#include "plugin/ParameterDisplay.h"
#include "plugin/ParameterProperties.h"
#include "plugin/ParameterTable.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <mutex>
#include <span>
#include <utility>

namespace velmora {

namespace {

constexpr VstInt32 kUniqueId = fourCharacters('V', 'L', 'M', 'R');
constexpr const char* kEffectName = "Velmora";
constexpr const char* kVendor = "Velmora Audio";
constexpr const char* kTagline = "Stereo Delay with Clocked Modulation";

// Copies text into a host buffer of `capacity` bytes, always terminated.
void copyText(char* destination, const char* source, std::size_t capacity) {
    const std::size_t length = std::min(std::strlen(source), capacity - 1);
    std::memcpy(destination, source, length);
    destination[length] = 0;
}

// Only the output channels the current arrangement uses: with one output the host may hand a
// single buffer.
bool engineHolds(VstInt32 index) {
    return describe(index).group != EngineGroup::None;
}

template <typename Sample>
void writeSilence(Sample** outputs, const engine::ChannelIndices& channels, int frames) {
    for (const int channel : {channels.outLeft, channels.outRight})
        if (outputs[channel]) std::fill_n(outputs[channel], frames, Sample{0});
}

} // namespace

DelayEffect::DelayEffect(audioMasterCallback audioMaster)
    : AudioEffectX(audioMaster, 1, kNumParameters), presets_(*this) {
    std::lock_guard construction(engineLock_);
    programsAreChunks(true);
    setNumInputs(4);
    setNumOutputs(2);
    setUniqueID(kUniqueId);
    canProcessReplacing();
    canDoubleReplacing();
    setParameter(param::RvbType, 0.0f);
    presets_.captureTemplate();
    presets_.setCurrentProgram(0);
    suspend();
}

DelayEffect::~DelayEffect() {
    // Waits for a block in flight: the engine's buffers go with this object.
    std::lock_guard destruction(engineLock_);
}

// When the lock cannot be had within the time-out, another thread is reconfiguring the
// engine (a resume or a reverb re-layout that stalled): this block is written as silence
// rather than running the engine beside it. A host that hands no input array at all gets
// silence too, as a missing input channel does.
template <typename Sample>
void DelayEffect::processBlock(Sample** inputs, Sample** outputs, int frames) {
    if (!outputs) return;
    frames = std::max(frames, 0);
    auto lock = lockEngineTimed(engineLock_, lockTimeout_);
    if (!lock.owns_lock() || !inputs) {
        writeSilence(outputs, engine_.state().channels.get(), frames);
        return;
    }
    engine_.process(inputs, outputs, frames, readHostTiming());
}

void DelayEffect::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
    processBlock(inputs, outputs, sampleFrames);
}

void DelayEffect::processDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames) {
    processBlock(inputs, outputs, sampleFrames);
}

engine::HostTiming DelayEffect::readHostTiming() {
    engine::HostTiming timing;
    if (const VstTimeInfo* info = getTimeInfo(kVstTempoValid)) timing.tempoBpm = info->tempo;
    if (const VstTimeInfo* info = getTimeInfo(kVstPpqPosValid);
        info && (info->flags & kVstPpqPosValid))
        timing.ppqPosition = info->ppqPos;
    return timing;
}

// Suspend and resume skip their work if the lock cannot be had in time: the engine is then
// left as it was rather than changed beside a running block.
void DelayEffect::suspend() {
    auto lock = lockEngineTimed(engineLock_, lockTimeout_);
    if (lock.owns_lock()) engine_.suspend();
}

void DelayEffect::resume() {
    auto lock = lockEngineTimed(engineLock_, lockTimeout_);
    if (!lock.owns_lock()) return;
    presets_.resume();
    engine_.resume(gatherResumeRequest());
}

engine::ResumeRequest DelayEffect::gatherResumeRequest() {
    engine::ResumeRequest request;
    if (const VstTimeInfo* info = getTimeInfo(kVstTempoValid)) request.hostTempoBpm = info->tempo;
    if (!engine_.arrangementFixed()) {
        int inputs = 0;
        while (inputs < 4 && isInputConnected(inputs))
            ++inputs;
        int outputs = 0;
        while (outputs < 2 && isOutputConnected(outputs))
            ++outputs;
        request.connectedInputs = inputs;
        request.connectedOutputs = outputs;
    }
    // The engine replaces an out-of-range rate or latency with its default.
    request.sampleRate = getSampleRate();
    request.outputLatency = getOutputLatency();
    return request;
}

// The reverb type moves the reverb's taps under the running loop, so it alone waits for the
// lock; if that times out the engine keeps its present layout.
void DelayEffect::applyToEngine(VstInt32 index, float value) {
    if (index < 0 || index >= kNumParameters) return;
    if (index == param::RvbType) {
        auto lock = lockEngineTimed(engineLock_, lockTimeout_);
        if (lock.owns_lock()) engine_.setParameter(index, value);
        return;
    }
    engine_.setParameter(index, value);
}

// The program stores what the engine accepted rather than what was written (a time ignored
// in note mode, a non-finite value taken as 0, a reverb type kept when the lock timed out),
// so a saved program sounds as the effect does now.
void DelayEffect::setParameter(VstInt32 index, float value) {
    const CoupledTiming* coupled = coupledTimingOf(index);
    const auto before = coupled ? timingValues(*coupled) : TimingValues{};
    applyToEngine(index, value);
    showInEditor(index);
    if (presets_.isApplyingProgram()) return;
    presets_.setParameter(index, engineHolds(index) ? getParameter(index) : value);
    if (!coupled) return;
    storeCoupledTiming(*coupled, index, value, before);
    for (const int moved : {coupled->mode, coupled->range, coupled->time})
        if (moved != index) showInEditor(moved);
}

// The editor shows what the effect holds, which is not always what was written: a value out
// of range is limited, and a side's delay mode, range and time move each other.
void DelayEffect::showInEditor(VstInt32 index) {
    if (AEffEditor* editor = getEditor()) editor->setParameter(index, getParameter(index));
}

DelayEffect::TimingValues DelayEffect::timingValues(const CoupledTiming& side) {
    return {getParameter(side.mode), getParameter(side.range), getParameter(side.time)};
}

// The values the engine moved beside the written one go into the program too. The host,
// which knows only what it wrote, is asked to read the side's values again when any of them
// is not what it believes.
void DelayEffect::storeCoupledTiming(const CoupledTiming& side, VstInt32 written, float value,
                                     TimingValues hostView) {
    const std::array indices{side.mode, side.range, side.time};
    const TimingValues now = timingValues(side);
    bool hostIsStale = false;
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (indices[i] == written) hostView[i] = value;
        presets_.storeInCurrentProgram(indices[i], now[i]);
        hostIsStale |= now[i] != hostView[i];
    }
    if (hostIsStale) updateDisplay();
}

float DelayEffect::getParameter(VstInt32 index) {
    // The engine holds every parameter it applies; the two unused indices live in the program.
    return engineHolds(index) ? static_cast<float>(engine_.parameterValue(index))
                              : presets_.getParameter(index);
}

// ---- Programs, state and MIDI ----

void DelayEffect::setProgramName(char* name) {
    presets_.setProgramName(name);
}

void DelayEffect::getProgramName(char* name) {
    presets_.getProgramName(name);
}

bool DelayEffect::getProgramNameIndexed(VstInt32, VstInt32 index, char* text) {
    return presets_.getProgramNameIndexed(index, text);
}

// The host keeps the pointer until its next call; the preset system keeps the block until then.
VstInt32 DelayEffect::getChunk(void** data, bool) {
    if (data == nullptr) return 0;
    const auto state = presets_.saveState();
    if (state.empty()) return 0;
    *data = const_cast<std::byte*>(state.data());
    return static_cast<VstInt32>(state.size());
}

VstInt32 DelayEffect::setChunk(void* data, VstInt32 byteSize, bool) {
    if (data == nullptr || byteSize < 0) return -1;
    const std::span bytes(static_cast<const std::byte*>(data), static_cast<std::size_t>(byteSize));
    return presets_.restoreState(bytes) ? 0 : -1;
}

VstInt32 DelayEffect::processEvents(VstEvents* events) {
    return routeControlChanges(events, presets_);
}

// MIDI is received when the host says it can send it.
VstInt32 DelayEffect::canDo(char* text) {
    if (text == nullptr || std::strcmp(text, "receiveVstMidiEvent") != 0) return 0;
    char hostCapability[] = "sendVstMidiEvent";
    return canHostDo(hostCapability) ? 1 : 0;
}

void DelayEffect::getParameterLabel(VstInt32 index, char* label) {
    writeParameterLabel(index, label);
}

void DelayEffect::getParameterDisplay(VstInt32 index, char* text) {
    writeParameterDisplay(engine_, index, text);
}

void DelayEffect::getParameterName(VstInt32 index, char* text) {
    writeParameterName(index, text);
}

bool DelayEffect::getParameterProperties(VstInt32 index, VstParameterProperties* properties) {
    return properties && fillParameterProperties(index, *properties);
}

bool DelayEffect::setSpeakerArrangement(VstSpeakerArrangement* input,
                                        VstSpeakerArrangement* output) {
    if (!input || !output) return false;
    auto lock = lockEngineTimed(engineLock_, lockTimeout_);
    return lock.owns_lock() &&
           engine_.setSpeakerArrangement(input->numChannels, output->numChannels);
}

bool DelayEffect::getEffectName(char* name) {
    copyText(name, kEffectName, kVstMaxEffectNameLen);
    return true;
}

bool DelayEffect::getVendorString(char* text) {
    copyText(text, kVendor, kVstMaxVendorStrLen + 1);
    return true;
}

bool DelayEffect::getProductString(char* text) {
    std::array<char, 128> product{};
    std::snprintf(product.data(), product.size(), "%s - %s", kEffectName, kTagline);
    copyText(text, product.data(), kVstMaxProductStrLen + 1);
    return true;
}

void DelayEffect::getDisplayRecord(VstInt32 index, DisplayRecord& record) {
    velmora::getDisplayRecord(engine_, index, getParameter(index), record);
}

bool DelayEffect::isNoteValueTooLong(VstInt32 selector) const {
    return velmora::isNoteValueTooLong(engine_, selector);
}

void DelayEffect::takePeakLevels(float& left, float& right) {
    engine_.takePeakLevels(left, right);
}

double DelayEffect::getNormalisedTempo() const {
    return engine_.normalisedTempo();
}

void DelayEffect::setNormalisedTempo(double normalised) {
    engine_.setNormalisedTempo(normalised);
}

bool DelayEffect::hostTempoAvailable() const {
    return engine_.hostTempoAvailable();
}

bool DelayEffect::sidesMatch() const {
    return engine_.sidesMatch();
}

// Makes one side's timing equal to the other's, as host-automated edits so the host records
// the change the link made.
void DelayEffect::copySideTiming(bool fromRight) {
    constexpr std::array<std::pair<int, int>, 5> pairs{{{param::DlyModeL, param::DlyModeR},
                                                        {param::DlyNumL, param::DlyNumR},
                                                        {param::DlyDenL, param::DlyDenR},
                                                        {param::RangeL, param::RangeR},
                                                        {param::DlyTimeL, param::DlyTimeR}}};
    for (const auto& [left, right] : pairs) {
        const int source = fromRight ? right : left;
        const int destination = fromRight ? left : right;
        const float value = static_cast<float>(engine_.parameterValue(source));
        if (value == static_cast<float>(engine_.parameterValue(destination))) continue;
        beginEdit(destination);
        // Recorded first: in note mode the engine ignores the time write itself, and the
        // program then stores the value recorded here.
        engine_.storeValue(destination, value);
        setParameterAutomated(destination, value);
        endEdit(destination);
    }
}

void DelayEffect::attachEditor(std::unique_ptr<EffectEditor> editor) {
    if (!editor) return;
    effectEditor_ = editor.get();
    setEditor(std::move(editor));
}

// ---- What the preset system asks of the effect ----

void DelayEffect::applyParameter(int index, float value) {
    setParameter(index, value);
}

void DelayEffect::requestDisplayUpdate() {
    updateDisplay();
}

void DelayEffect::beginHostEdit(int index) {
    beginEdit(index);
}

void DelayEffect::endHostEdit(int index) {
    endEdit(index);
}

void DelayEffect::requestMidi() {
    wantEvents(1);
}

void DelayEffect::programApplicationStarts(int) {
    if (effectEditor_) effectEditor_->linkOff();
}

// A program's values arrive in index order and nothing is written back while they do: each
// side's time comes after its mode and range, so in "time" mode the engine ends on exactly the
// stored range and time, and the side effects of the mode and range writes on the way are
// overwritten. In "note" mode the engine ignores the time write; the stored time is recorded
// here so that getParameter and the program agree (it does not reach the sound until a switch
// to "time", which takes the note's delay, not this value). Note-valued times then follow the
// tempo.
void DelayEffect::programApplied(int program) {
    const Program& applied = presets_.programs()[program];
    for (const int time : {param::DlyTimeL, param::DlyTimeR}) {
        engine_.storeValue(time, applied.values[static_cast<std::size_t>(time)]);
        showInEditor(time);
    }
    engine_.updateTempoDependents(engine::kTempoAll);
    // A program whose channels match is shown linked; any other leaves the link off.
    if (effectEditor_ && sidesMatch()) effectEditor_->linkOn();
}

void DelayEffect::programNameChanged(int program) {
    if (effectEditor_) effectEditor_->programNameChanged(program);
}

void DelayEffect::currentProgramShown(int program) {
    if (effectEditor_) effectEditor_->currentProgramShown(program);
}

void DelayEffect::learnButtonReleased() {
    if (effectEditor_) effectEditor_->learnButtonReleased();
}

void DelayEffect::forgetButtonReleased() {
    if (effectEditor_) effectEditor_->forgetButtonReleased();
}

void DelayEffect::applyStartupDefaults() {
    if (effectEditor_) effectEditor_->applyStartupDefaults();
}

} // namespace velmora
