#include "editor/PanelControls.h"

#include <algorithm>
#include <cmath>

namespace velmora::editor {

void PanelControls::add(std::int32_t tag, toolkit::CControl* control) {
    // The two about areas share a tag; the first one stands for both.
    if (tag < 0 || tag >= kTagLimit || byTag_[static_cast<std::size_t>(tag)]) return;
    byTag_[static_cast<std::size_t>(tag)] = control;
}

toolkit::CControl* PanelControls::find(std::int32_t tag) const {
    return tag >= 0 && tag < kTagLimit ? byTag_[static_cast<std::size_t>(tag)] : nullptr;
}

void PanelControls::setValue(std::int32_t tag, float value) const {
    toolkit::CControl* control = find(tag);
    if (!control || control->getValue() == value) return;
    control->setValue(value);
    control->invalid();
}

float PanelControls::controlValue(const layout::ControlPlacement& placement, float parameterValue) {
    if (placement.law == layout::ValueLaw::squareRoot)
        return std::sqrt(std::clamp(parameterValue, 0.0f, 1.0f));
    return parameterValue;
}

void PanelControls::showParameter(int index, float value, bool rightPage) const {
    for (const layout::ControlPlacement& placement : layout::kControls)
        if (placement.parameter.isBound() && placement.parameter.shown(rightPage) == index)
            setValue(placement.tag, controlValue(placement, value));
}

} // namespace velmora::editor
