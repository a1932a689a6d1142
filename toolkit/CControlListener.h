// The owner of a control hears about user changes here.
#pragma once

#include "toolkit/ButtonState.h"

#include <cstdint>

namespace velmora::toolkit {

class CControl;

class CControlListener {
  public:
    virtual void valueChanged(CControl* control) = 0;
    virtual std::int32_t controlModifierClicked(CControl*, CButtonState) { return 0; }
    virtual void controlBeginEdit(CControl*) {}
    virtual void controlEndEdit(CControl*) {}
    virtual void controlTagWillChange(CControl*) {}
    virtual void controlTagDidChange(CControl*) {}

  protected:
    ~CControlListener() = default;
};

} // namespace velmora::toolkit
