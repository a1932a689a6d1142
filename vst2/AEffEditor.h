// The editor interface the effect talks to; the bitmap editor implements it.
#pragma once

#include "vst2/vst2.h"

namespace velmora {

class AudioEffect;

class AEffEditor {
  public:
    explicit AEffEditor(AudioEffect* effect) : effect_(effect) {}
    virtual ~AEffEditor() = default;
    AEffEditor(const AEffEditor&) = delete;
    AEffEditor& operator=(const AEffEditor&) = delete;

    virtual bool getRect(ERect** rect) {
        *rect = nullptr;
        return false;
    }
    virtual bool open(void* parentWindow) {
        systemWindow_ = parentWindow;
        return false;
    }
    virtual void close() { systemWindow_ = nullptr; }
    virtual void idle() {}
    virtual bool onKeyDown(VstKeyCode&) { return false; }
    virtual bool onKeyUp(VstKeyCode&) { return false; }
    virtual bool setKnobMode(VstInt32) { return false; }
    // A parameter changed: the control bound to it follows.
    virtual void setParameter(VstInt32, float) {}

    AudioEffect* effect() const { return effect_; }

  protected:
    AudioEffect* effect_;
    void* systemWindow_ = nullptr;
};

} // namespace velmora
