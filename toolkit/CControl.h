// A view with a value: tag, value between a minimum and a maximum (0..1 unless set), default
// value, wheel increment and a listener. User gestures are bracketed by beginEdit/endEdit,
// which reach the listener and, through the frame, the editor. A control is dirty when its
// value differs from the one last drawn.
#pragma once

#include "toolkit/CControlListener.h"
#include "toolkit/CView.h"

#include <cstdint>

namespace velmora::toolkit {

class CControl : public CView {
  public:
    CControl(const CRect& size, CControlListener* listener = nullptr, std::int32_t tag = -1,
             CBitmap background = {});

    // Sets the value without telling the listener; values outside the range are kept as given
    // (drawing clamps) until bounceValue.
    virtual void setValue(float value) { value_ = value; }
    float getValue() const { return value_; }
    float getValueNormalized() const;
    void setMin(float minimum) { min_ = minimum; }
    void setMax(float maximum) { max_ = maximum; }
    float getMin() const { return min_; }
    float getMax() const { return max_; }
    float getRange() const { return max_ - min_; }
    void setDefaultValue(float value) { default_ = value; }
    float getDefaultValue() const { return default_; }
    void setWheelInc(float increment) { wheelInc_ = increment; }
    float getWheelInc() const { return wheelInc_; }
    void setTag(std::int32_t tag);
    std::int32_t getTag() const { return tag_; }
    void setListener(CControlListener* listener) { listener_ = listener; }
    CControlListener* getListener() const { return listener_; }

    // Keeps the value within minimum..maximum.
    void bounceValue();
    // Tells the listener that the user changed the value.
    virtual void valueChanged();
    virtual void beginEdit();
    virtual void endEdit();
    bool isEditing() const { return editDepth_ > 0; }

    // The reset gesture: exactly the left button with Control sets the default value, telling
    // the listener only when the value changed. True when the gesture was the reset one.
    bool checkDefaultValue(const CButtonState& buttons);

    bool isDirty() const override;
    void setDirty(bool dirty = true) override;

  private:
    CControlListener* listener_;
    std::int32_t tag_;
    float value_ = 0;
    float min_ = 0;
    float max_ = 1;
    float default_ = 0.5f;
    float wheelInc_ = 0.1f;
    float drawnValue_ = 0;
    int editDepth_ = 0;
};

} // namespace velmora::toolkit
