#include "plugin/Qel.h"

#include "engine/ParameterIndex.h"
#include "plugin/ParameterDisplay.h"
#include "plugin/ParameterProperties.h"
#include "plugin/ParameterTable.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <mutex>
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
template <typename Sample>
void writeSilence(Sample** outputs, const engine::ChannelIndices& channels, int frames) {
    for (const int channel : {channels.outLeft, channels.outRight})
        if (outputs[channel]) std::fill_n(outputs[channel], frames, Sample{0});
}

} // namespace

Qel::Qel(audioMasterCallback audioMaster) : CPresetSystemEffect(audioMaster) {
    std::lock_guard construction(engineLock_);
    setNumInputs(4);
    setNumOutputs(2);
    setUniqueID(kUniqueId);
    canProcessReplacing();
    canDoubleReplacing();
    setParameter(param::RvbType, 0.0f);
    captureTemplate();
    setCurrentProgram(0);
    suspend();
}

Qel::~Qel() {
    // Waits for a block in flight: the engine's buffers go with this object.
    std::lock_guard destruction(engineLock_);
}

// When the lock cannot be had within the time-out, another thread is reconfiguring the
// engine (a resume or a reverb re-layout that stalled): this block is written as silence
// rather than running the engine beside it.
template <typename Sample> void Qel::processBlock(Sample** inputs, Sample** outputs, int frames) {
    if (!inputs || !outputs) return;
    frames = std::max(frames, 0);
    auto lock = lockEngineTimed(engineLock_);
    if (!lock.owns_lock()) {
        writeSilence(outputs, engine_.state().channels.get(), frames);
        return;
    }
    engine_.process(inputs, outputs, frames, readHostTiming());
}

void Qel::processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) {
    processBlock(inputs, outputs, sampleFrames);
}

void Qel::processDoubleReplacing(double** inputs, double** outputs, VstInt32 sampleFrames) {
    processBlock(inputs, outputs, sampleFrames);
}

engine::HostTiming Qel::readHostTiming() {
    engine::HostTiming timing;
    if (const VstTimeInfo* info = getTimeInfo(kVstTempoValid)) timing.tempoBpm = info->tempo;
    if (const VstTimeInfo* info = getTimeInfo(kVstPpqPosValid);
        info && (info->flags & kVstPpqPosValid))
        timing.ppqPosition = info->ppqPos;
    return timing;
}

// Suspend and resume skip their work if the lock cannot be had in time: the engine is then
// left as it was rather than changed beside a running block.
void Qel::suspend() {
    auto lock = lockEngineTimed(engineLock_);
    if (lock.owns_lock()) engine_.suspend();
}

void Qel::resume() {
    auto lock = lockEngineTimed(engineLock_);
    if (!lock.owns_lock()) return;
    CPresetSystemEffect::resume();
    engine_.resume(gatherResumeRequest());
}

engine::ResumeRequest Qel::gatherResumeRequest() {
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
void Qel::applyToEngine(VstInt32 index, float value) {
    if (index < 0 || index >= kNumParameters) return;
    if (index == param::RvbType) {
        auto lock = lockEngineTimed(engineLock_);
        if (lock.owns_lock()) engine_.setParameter(index, value);
        return;
    }
    engine_.setParameter(index, value);
}

void Qel::setParameter(VstInt32 index, float value) {
    applyToEngine(index, value);
    if (AEffEditor* editor = getEditor()) editor->setParameter(index, value);
    if (!isApplyingProgram()) CPresetSystemEffect::setParameter(index, value);
}

float Qel::getParameter(VstInt32 index) {
    const bool engineHoldsIt = index >= 0 && index < kNumParameters && index != param::Unused43 &&
                               index != param::Unused44;
    return engineHoldsIt ? static_cast<float>(engine_.parameterValue(index))
                         : CPresetSystemEffect::getParameter(index);
}

void Qel::getParameterLabel(VstInt32 index, char* label) {
    writeParameterLabel(index, label);
}

void Qel::getParameterDisplay(VstInt32 index, char* text) {
    writeParameterDisplay(engine_, index, text);
}

void Qel::getParameterName(VstInt32 index, char* text) {
    writeParameterName(index, text);
}

bool Qel::getParameterProperties(VstInt32 index, VstParameterProperties* properties) {
    return properties && fillParameterProperties(index, *properties);
}

bool Qel::setSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output) {
    if (!input || !output) return false;
    auto lock = lockEngineTimed(engineLock_);
    return lock.owns_lock() &&
           engine_.setSpeakerArrangement(input->numChannels, output->numChannels);
}

bool Qel::getEffectName(char* name) {
    copyText(name, kEffectName, kVstMaxEffectNameLen + 1);
    return true;
}

bool Qel::getVendorString(char* text) {
    copyText(text, kVendor, kVstMaxVendorStrLen + 1);
    return true;
}

bool Qel::getProductString(char* text) {
    std::array<char, 128> product{};
    std::snprintf(product.data(), product.size(), "%s - %s", kEffectName, kTagline);
    copyText(text, product.data(), kVstMaxProductStrLen + 1);
    return true;
}

void Qel::setCurrentProgram(int index) {
    CPresetSystemEffect::setCurrentProgram(index);
    engine_.updateTempoDependents(engine::kTempoAll);
}

void Qel::getDisplayRecord(VstInt32 index, DisplayRecord& record) {
    velmora::getDisplayRecord(engine_, index, getParameter(index), record);
}

bool Qel::isNoteValueTooLong(VstInt32 selector) const {
    return velmora::isNoteValueTooLong(engine_, selector);
}

void Qel::takePeakLevels(float& left, float& right) {
    engine_.takePeakLevels(left, right);
}

double Qel::getNormalisedTempo() const {
    return engine_.normalisedTempo();
}

void Qel::setNormalisedTempo(double normalised) {
    engine_.setNormalisedTempo(normalised);
}

bool Qel::hostTempoAvailable() const {
    return engine_.hostTempoAvailable();
}

bool Qel::sidesMatch() const {
    return engine_.sidesMatch();
}

// Makes one side's timing equal to the other's, as host-automated edits so the host records
// the change the link made.
void Qel::copySideTiming(bool fromRight) {
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
        setParameterAutomated(destination, value);
        engine_.storeValue(destination, value);
        endEdit(destination);
    }
}

} // namespace velmora
