// An effect with its editor opened on the offscreen backend, and a host callback that records
// what the editor makes the effect tell the host: automation and edit brackets.
#pragma once

#include "editor/Editor.h"
#include "plugin/DelayEffect.h"
#include "toolkit/offscreen/OffscreenDriver.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace velmora::editor::testing {

// What the host heard, in order. Guarded, since automation may arrive from any thread.
struct HostLog {
    struct Call {
        VstInt32 opcode;
        VstInt32 index;
        float value;
    };
    mutable std::mutex mutex;
    std::vector<Call> calls;
    double tempoBpm = 0; // answered to the time request when not 0

    void record(VstInt32 opcode, VstInt32 index, float value) {
        std::lock_guard lock(mutex);
        calls.push_back({opcode, index, value});
    }
    std::vector<Call> take() {
        std::lock_guard lock(mutex);
        return std::exchange(calls, {});
    }
};

inline VstIntPtr VST_CALL recordingHost(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr,
                                        void*, float opt) {
    if (opcode == audioMasterVersion) return 2400;
    auto* log = effect ? static_cast<HostLog*>(effect->user) : nullptr;
    if (!log) return 0;
    if (opcode == audioMasterAutomate || opcode == audioMasterBeginEdit ||
        opcode == audioMasterEndEdit)
        log->record(opcode, index, opt);
    return opcode == audioMasterBeginEdit || opcode == audioMasterEndEdit ? 1 : 0;
}

class EditorRig {
  public:
    EditorRig() : effect_(std::make_unique<DelayEffect>(&recordingHost)) {
        effect_->getAeffect()->user = &log;
        auto editor = std::make_unique<Editor>(*effect_, [this](toolkit::CFrame& frame, void*) {
            driver_ = std::make_unique<toolkit::OffscreenDriver>(frame);
            return driver_->isOpen();
        });
        editor_ = editor.get();
        effect_->attachEditor(std::move(editor));
    }
    ~EditorRig() {
        // The driver's window belongs to the frame; the driver goes with the effect.
        effect_.reset();
        driver_.reset();
    }

    bool open() {
        const bool opened = editor_->open(nullptr);
        if (opened) editor_->idle();
        return opened;
    }

    DelayEffect& effect() { return *effect_; }
    Editor& editor() { return *editor_; }
    toolkit::OffscreenDriver& driver() { return *driver_; }
    toolkit::CControl& control(std::int32_t tag) {
        toolkit::CControl* found = editor_->control(tag);
        if (!found) throw std::runtime_error("no control with tag " + std::to_string(tag));
        return *found;
    }
    float parameter(int index) { return effect_->getParameter(index); }

    HostLog log;

  private:
    std::unique_ptr<DelayEffect> effect_;
    Editor* editor_ = nullptr;
    std::unique_ptr<toolkit::OffscreenDriver> driver_;
};

} // namespace velmora::editor::testing
