#include "tools/host/ScriptedHost.h"

#include <cstring>

namespace velmora::host {

namespace {

// The host that is creating an instance on this thread, if any. Thread-local so that
// instances created on different threads never answer for each other.
thread_local ScriptedHost* loadingHost = nullptr;

ScriptedHost* hostFor(AEffect* effect) {
    if (effect != nullptr && effect->user != nullptr) {
        return static_cast<ScriptedHost*>(effect->user);
    }
    return loadingHost;
}

VstIntPtr VST_CALL hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                void* ptr, float opt) {
    ScriptedHost* host = hostFor(effect);
    return host != nullptr ? host->answer(effect, opcode, index, value, ptr, opt) : 0;
}

constexpr double kDefaultSampleRate = 44100.0;

} // namespace

LoadingScope::LoadingScope(ScriptedHost& host) : previous_(loadingHost) {
    loadingHost = &host;
}

LoadingScope::~LoadingScope() {
    loadingHost = previous_;
}

ScriptedHost::ScriptedHost() {
    timeInfo_.sampleRate = kDefaultSampleRate;
    timeInfo_.timeSigNumerator = 4;
    timeInfo_.timeSigDenominator = 4;
    refreshTimeInfo();
}

audioMasterCallback ScriptedHost::callback() {
    return &hostCallback;
}

void ScriptedHost::setTempo(std::optional<double> bpm) {
    tempo_ = bpm;
    refreshTimeInfo();
}

void ScriptedHost::setSongPosition(std::optional<double> quarterNotes) {
    songPosition_ = quarterNotes;
    refreshTimeInfo();
}

void ScriptedHost::setSampleRate(double sampleRate) {
    timeInfo_.sampleRate = sampleRate;
    refreshTimeInfo();
}

void ScriptedHost::advanceTransport(VstInt32 frames) {
    timeInfo_.samplePos += frames;
    if (songPosition_ && tempo_ && timeInfo_.sampleRate > 0.0) {
        *songPosition_ += frames / timeInfo_.sampleRate * (*tempo_ / 60.0);
    }
    refreshTimeInfo();
}

void ScriptedHost::refreshTimeInfo() {
    VstInt32 flags = kVstTransportPlaying;
    timeInfo_.tempo = tempo_.value_or(0.0);
    timeInfo_.ppqPos = songPosition_.value_or(0.0);
    if (tempo_) {
        flags |= kVstTempoValid;
    }
    if (songPosition_) {
        flags |= kVstPpqPosValid;
    }
    timeInfo_.flags = flags;
}

VstIntPtr ScriptedHost::answerTime(VstIntPtr /*wantedFlags*/) {
    if (!tempo_ && !songPosition_) {
        return 0;
    }
    return reinterpret_cast<VstIntPtr>(&timeInfo_);
}

void ScriptedHost::setInputConnected(VstInt32 pin, bool connected) {
    inputConnected_[pin] = connected;
}

void ScriptedHost::setOutputConnected(VstInt32 pin, bool connected) {
    outputConnected_[pin] = connected;
}

void ScriptedHost::setCanDo(const std::string& text, VstIntPtr answer) {
    canDo_[text] = answer;
}

VstIntPtr ScriptedHost::answer(AEffect* /*effect*/, VstInt32 opcode, VstInt32 index,
                               VstIntPtr value, void* ptr, float opt) {
    if (opcode == audioMasterGetTime) {
        std::lock_guard lock(recordMutex_);
        ++timeQueries_;
        return answerTime(value);
    }
    std::lock_guard lock(recordMutex_);
    calls_.push_back({opcode, index, value, opt});
    switch (opcode) {
    case audioMasterVersion:
        return version_;
    case audioMasterAutomate:
        automations_.push_back({index, opt});
        return 0;
    case audioMasterPinConnected: {
        // The interface's convention: 0 means connected.
        const auto& pins = value != 0 ? outputConnected_ : inputConnected_;
        const auto found = pins.find(index);
        const bool connected = found == pins.end() || found->second;
        return connected ? 0 : 1;
    }
    case audioMasterWantMidi:
        ++wantMidis_;
        return 1;
    case audioMasterGetOutputLatency:
        return outputLatency_;
    case audioMasterCanDo: {
        if (ptr == nullptr) {
            return 0;
        }
        const std::string text(static_cast<const char*>(ptr));
        canDoQuestions_.push_back(text);
        const auto found = canDo_.find(text);
        return found != canDo_.end() ? found->second : 0;
    }
    case audioMasterUpdateDisplay:
        ++updateDisplays_;
        return 1;
    case audioMasterBeginEdit:
        beginEdits_.push_back(index);
        return 1;
    case audioMasterEndEdit:
        endEdits_.push_back(index);
        return 1;
    default:
        return 0;
    }
}

std::vector<AutomateCall> ScriptedHost::automations() const {
    std::lock_guard lock(recordMutex_);
    return automations_;
}

std::vector<VstInt32> ScriptedHost::beginEdits() const {
    std::lock_guard lock(recordMutex_);
    return beginEdits_;
}

std::vector<VstInt32> ScriptedHost::endEdits() const {
    std::lock_guard lock(recordMutex_);
    return endEdits_;
}

int ScriptedHost::updateDisplayCount() const {
    std::lock_guard lock(recordMutex_);
    return updateDisplays_;
}

int ScriptedHost::wantMidiCount() const {
    std::lock_guard lock(recordMutex_);
    return wantMidis_;
}

int ScriptedHost::timeQueryCount() const {
    std::lock_guard lock(recordMutex_);
    return timeQueries_;
}

std::vector<CallbackRecord> ScriptedHost::calls() const {
    std::lock_guard lock(recordMutex_);
    return calls_;
}

std::vector<std::string> ScriptedHost::canDoQuestions() const {
    std::lock_guard lock(recordMutex_);
    return canDoQuestions_;
}

void ScriptedHost::clearRecords() {
    std::lock_guard lock(recordMutex_);
    calls_.clear();
    automations_.clear();
    beginEdits_.clear();
    endEdits_.clear();
    canDoQuestions_.clear();
    updateDisplays_ = 0;
    wantMidis_ = 0;
    timeQueries_ = 0;
}

} // namespace velmora::host
