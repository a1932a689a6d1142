#include "toolkit/CControl.h"

#include "toolkit/CFrame.h"

#include <algorithm>

namespace velmora::toolkit {

CControl::CControl(const CRect& size, CControlListener* listener, std::int32_t tag,
                   CBitmap background)
    : CView(size), listener_(listener), tag_(tag) {
    setBackground(std::move(background));
}

float CControl::getValueNormalized() const {
    const float range = getRange();
    if (range == 0) return 0;
    return std::clamp((value_ - min_) / range, 0.0f, 1.0f);
}

void CControl::setTag(std::int32_t tag) {
    if (listener_) listener_->controlTagWillChange(this);
    tag_ = tag;
    if (listener_) listener_->controlTagDidChange(this);
}

void CControl::bounceValue() {
    value_ = std::clamp(value_, std::min(min_, max_), std::max(min_, max_));
}

void CControl::valueChanged() {
    if (listener_) listener_->valueChanged(this);
}

// The listener hears of the edit first and of its end last, so the editor's own bracket
// encloses the one the frame passes on.
void CControl::beginEdit() {
    ++editDepth_;
    if (listener_) listener_->controlBeginEdit(this);
    if (CFrame* frame = getFrame()) frame->beginEdit(tag_);
}

void CControl::endEdit() {
    if (CFrame* frame = getFrame()) frame->endEdit(tag_);
    if (listener_) listener_->controlEndEdit(this);
    editDepth_ = std::max(editDepth_ - 1, 0);
}

bool CControl::checkDefaultValue(const CButtonState& buttons) {
    if (!buttons.isExactly(kLButton | kControl)) return false;
    if (value_ != default_) {
        beginEdit();
        value_ = default_;
        valueChanged();
        endEdit();
        invalid();
    }
    return true;
}

bool CControl::isDirty() const {
    return CView::isDirty() || value_ != drawnValue_;
}

void CControl::setDirty(bool dirty) {
    CView::setDirty(dirty);
    if (!dirty) drawnValue_ = value_;
}

} // namespace velmora::toolkit
