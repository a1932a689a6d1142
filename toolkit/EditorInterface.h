// What the frame needs from the editor that owns it: edit brackets by tag, passed on to the
// effect, and the knob mode every knob of the frame follows.
#pragma once

#include <cstdint>

namespace velmora::toolkit {

enum KnobMode : std::int32_t {
    kCircularMode = 0, // the value follows the pointer's angle around the knob
    kLinearMode = 2,   // the value follows vertical and horizontal pointer movement
};

class EditorInterface {
  public:
    virtual void beginEdit(std::int32_t tag) = 0;
    virtual void endEdit(std::int32_t tag) = 0;
    virtual KnobMode getKnobMode() const { return kCircularMode; }

  protected:
    ~EditorInterface() = default;
};

} // namespace velmora::toolkit
