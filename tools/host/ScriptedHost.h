// The host callback, answered from a script, with a record of what the plug-in told the host.
//
// How the callback finds its host: the plug-in passes its record to every callback. Once the
// entry has returned, the instance stores its ScriptedHost in the record's `user` field (a
// field reserved for hosts; the plug-in leaves it null). While the entry runs, the record is
// not known yet (the first calls pass null), so the loading thread carries a scoped pointer
// to the host that is loading and the callback answers from it.
#pragma once

#include "vst2/vst2.h"

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace velmora::host {

struct AutomateCall {
    VstInt32 index;
    float value;
};

// One call the plug-in made back to the host, in the order made.
struct CallbackRecord {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    float opt;
};

// What the host callback answers, and what it has been told. Settings are meant to be made
// before the plug-in runs or between process calls; the records may be read at any time.
class ScriptedHost {
  public:
    ScriptedHost();

    // audioMasterVersion: 2400 by default; 0 makes the plug-in refuse to start.
    void setVersion(VstIntPtr version) { version_ = version; }

    // audioMasterGetTime: the record carries what is set here, with its valid flags. With
    // neither a tempo nor a song position the host answers null.
    void setTempo(std::optional<double> bpm);
    void setSongPosition(std::optional<double> quarterNotes);
    void setSampleRate(double sampleRate);
    // Moves the song position on as a playing transport would after `frames` samples.
    void advanceTransport(VstInt32 frames);

    void setOutputLatency(VstIntPtr samples) { outputLatency_ = samples; }

    // audioMasterPinConnected: the host answers 0 for a connected pin; unset pins are connected.
    void setInputConnected(VstInt32 pin, bool connected);
    void setOutputConnected(VstInt32 pin, bool connected);

    // audioMasterCanDo: answers by exact text; unset texts are answered 0.
    void setCanDo(const std::string& text, VstIntPtr answer);

    // What the plug-in told the host.
    std::vector<AutomateCall> automations() const;
    std::vector<VstInt32> beginEdits() const;
    std::vector<VstInt32> endEdits() const;
    int updateDisplayCount() const;
    int wantMidiCount() const;
    int timeQueryCount() const;
    // Every callback but the time queries (which come once a block and are only counted).
    std::vector<CallbackRecord> calls() const;
    std::vector<std::string> canDoQuestions() const;
    void clearRecords();

    // The callback's answer; public so the trampoline (and tests) can reach it.
    VstIntPtr answer(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                     float opt);

    // The function handed to the plug-in's entry.
    static audioMasterCallback callback();

  private:
    VstIntPtr answerTime(VstIntPtr wantedFlags);
    void refreshTimeInfo();

    VstIntPtr version_ = 2400;
    VstIntPtr outputLatency_ = 0;
    std::optional<double> tempo_;
    std::optional<double> songPosition_;
    VstTimeInfo timeInfo_{};
    std::map<VstInt32, bool> inputConnected_;
    std::map<VstInt32, bool> outputConnected_;
    std::map<std::string, VstIntPtr> canDo_;

    mutable std::mutex recordMutex_;
    std::vector<CallbackRecord> calls_;
    std::vector<AutomateCall> automations_;
    std::vector<VstInt32> beginEdits_;
    std::vector<VstInt32> endEdits_;
    std::vector<std::string> canDoQuestions_;
    int updateDisplays_ = 0;
    int wantMidis_ = 0;
    int timeQueries_ = 0;
};

// While it lives, callbacks arriving on this thread without a record the host knows are
// answered by `host`: the entry calls back before it has returned its record.
class LoadingScope {
  public:
    explicit LoadingScope(ScriptedHost& host);
    ~LoadingScope();
    LoadingScope(const LoadingScope&) = delete;
    LoadingScope& operator=(const LoadingScope&) = delete;

  private:
    ScriptedHost* previous_;
};

} // namespace velmora::host
