// The editor panel as the snapshot tool draws it: a real effect with its real editor, opened on
// the offscreen backend, so the picture is what a host's window shows: the controls at the
// effect's values (the first factory program unless set otherwise), the readout and the preset
// bar as they open, and optionally the about picture over everything.
#pragma once

#include "editor/Editor.h"
#include "plugin/DelayEffect.h"
#include "toolkit/CControl.h"
#include "toolkit/CFrame.h"
#include "toolkit/offscreen/OffscreenDriver.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>

namespace velmora::snapshot {

class PanelSnapshot {
  public:
    PanelSnapshot();
    ~PanelSnapshot();
    PanelSnapshot(const PanelSnapshot&) = delete;
    PanelSnapshot& operator=(const PanelSnapshot&) = delete;

    // The control with a tag of the layout table or the preset bar, or null.
    toolkit::CControl* control(std::int32_t tag) const;
    // A parameter's tag (below 60) sets the parameter, which its control then shows; any other
    // tag pins that control's value (a readout digit, a meter, a page selector). False when no
    // control carries the tag.
    bool setValue(std::int32_t tag, float value);
    // Clicks the left about area, unless the picture is already on show.
    void showAbout();

    // Runs the editor's idle and returns the pixels its window shows.
    const toolkit::Framebuffer& render();
    toolkit::CFrame& frame() { return *editor_->frame(); }
    toolkit::OffscreenDriver& driver() { return *driver_; }
    editor::Editor& editor() { return *editor_; }
    DelayEffect& effect() { return *effect_; }
    bool writePng(const std::filesystem::path& path);

  private:
    std::unique_ptr<DelayEffect> effect_;
    editor::Editor* editor_ = nullptr;
    std::unique_ptr<toolkit::OffscreenDriver> driver_;
    std::map<std::int32_t, float> pinned_;
};

} // namespace velmora::snapshot
