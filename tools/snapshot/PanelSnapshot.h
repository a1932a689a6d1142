// The editor panel as the snapshot tool draws it: the background, every control of the layout
// table at a chosen value (its default, or 0 where it has none), the preset bar as it opens over
// the factory programs, and optionally the about picture over everything (opened by a click on
// an about area), on the offscreen backend.
#pragma once

#include "editor/CAbout.h"
#include "editor/PresetBar.h"
#include "presets/PresetSystem.h"
#include "presets/PresetSystemOwner.h"
#include "toolkit/BitmapCache.h"
#include "toolkit/CControl.h"
#include "toolkit/CFrame.h"
#include "toolkit/offscreen/OffscreenDriver.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

namespace velmora::snapshot {

class PanelSnapshot {
  public:
    explicit PanelSnapshot(toolkit::BitmapCache& bitmaps);
    PanelSnapshot(const PanelSnapshot&) = delete;
    PanelSnapshot& operator=(const PanelSnapshot&) = delete;

    // The control built for a tag of the layout table or the preset bar, or null.
    toolkit::CControl* control(std::int32_t tag) const;
    // False when no control carries the tag.
    bool setValue(std::int32_t tag, float value);
    // Clicks the left about area, unless the picture is already on show.
    void showAbout();
    // The about areas, left one first.
    const std::vector<editor::CAbout*>& aboutAreas() const { return aboutAreas_; }

    // Redraws what changed and returns the pixels a window would show.
    const toolkit::Framebuffer& render();
    toolkit::CFrame& frame() { return frame_; }
    toolkit::OffscreenDriver& driver() { return *driver_; }
    bool writePng(const std::filesystem::path& path);

  private:
    struct NoEditor : toolkit::EditorInterface {
        void beginEdit(std::int32_t) override {}
        void endEdit(std::int32_t) override {}
        toolkit::KnobMode getKnobMode() const override { return toolkit::kLinearMode; }
    };

    // The programs the bar shows; nothing they apply goes anywhere.
    struct ProgramsOnly : PresetSystemOwner {
        void applyParameter(int, float) override {}
        void requestDisplayUpdate() override {}
        void beginHostEdit(int) override {}
        void endHostEdit(int) override {}
        void requestMidi() override {}
    };

    void addControls();

    toolkit::BitmapCache& bitmaps_;
    NoEditor editor_;
    toolkit::CFrame frame_;
    std::map<std::int32_t, toolkit::CControl*> controls_;
    ProgramsOnly programsOnly_;
    PresetSystem presets_{programsOnly_};
    editor::PresetBar presetBar_{presets_};
    std::vector<editor::CAbout*> aboutAreas_;
    std::unique_ptr<toolkit::OffscreenDriver> driver_;
};

} // namespace velmora::snapshot
