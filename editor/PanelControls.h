// The controls of an open editor by tag, and the two ways parameter values reach them without
// telling anyone: one value from the host, and a whole page when the shown channel changes.
// Which control shows which parameter, and through which law, is the layout table's to say.
#pragma once

#include "editor/ControlLayout.h"
#include "toolkit/CControl.h"

#include <array>
#include <cstdint>

namespace velmora::editor {

class PanelControls {
  public:
    // Every tag of the editor and the preset bar.
    static constexpr std::int32_t kTagLimit = 128;

    void add(std::int32_t tag, toolkit::CControl* control);
    void clear() { byTag_.fill(nullptr); }
    toolkit::CControl* find(std::int32_t tag) const;

    // Sets a control's value when it exists; marks it for redrawing.
    void setValue(std::int32_t tag, float value) const;

    // A parameter's value reached the editor: the controls showing that parameter on the shown
    // page follow it.
    void showParameter(int index, float value, bool rightPage) const;

    // The page changed: every page-bound control takes the value of its parameter on the new
    // page, read through `valueOf(index)`.
    template <typename ValueOf> void reloadPage(bool rightPage, ValueOf&& valueOf) const {
        for (const layout::ControlPlacement& placement : layout::kControls)
            if (placement.parameter.isPair()) {
                const int shown = placement.parameter.shown(rightPage);
                setValue(placement.tag, controlValue(placement, valueOf(shown)));
            }
    }

    // The control value that shows a parameter value under the control's law.
    static float controlValue(const layout::ControlPlacement& placement, float parameterValue);

  private:
    std::array<toolkit::CControl*, kTagLimit> byTag_{};
};

} // namespace velmora::editor
