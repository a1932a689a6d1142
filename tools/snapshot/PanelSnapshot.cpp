#include "tools/snapshot/PanelSnapshot.h"

#include "editor/ControlLayout.h"
#include "editor/Tags.h"
#include "engine/ParameterIndex.h"
#include "toolkit/offscreen/PngWriter.h"

namespace velmora::snapshot {

namespace {

// A host that answers only the version question: nothing the editor does goes anywhere.
VstIntPtr VST_CALL silentHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

} // namespace

PanelSnapshot::PanelSnapshot() : effect_(std::make_unique<DelayEffect>(&silentHost)) {
    auto editor = std::make_unique<editor::Editor>(*effect_, [this](toolkit::CFrame& frame, void*) {
        driver_ = std::make_unique<toolkit::OffscreenDriver>(frame);
        return driver_->isOpen();
    });
    editor_ = editor.get();
    effect_->attachEditor(std::move(editor));
    editor_->open(nullptr);
}

// The editor (and with it the frame the driver drives) goes with the effect.
PanelSnapshot::~PanelSnapshot() {
    effect_.reset();
}

toolkit::CControl* PanelSnapshot::control(std::int32_t tag) const {
    return editor_->control(tag);
}

bool PanelSnapshot::setValue(std::int32_t tag, float value) {
    if (!control(tag)) return false;
    if (tag >= 0 && tag < kNumParameters)
        effect_->setParameter(tag, value);
    else
        pinned_[tag] = value;
    return true;
}

// As a user opens it: a left click in the middle of the left about area.
void PanelSnapshot::showAbout() {
    const editor::layout::ControlPlacement* area =
        editor::layout::findControl(editor::tags::kAbout);
    if (!area || frame().getModalView()) return;
    driver_->click(area->rect.getCenter());
}

const toolkit::Framebuffer& PanelSnapshot::render() {
    editor_->idle();
    for (const auto& [tag, value] : pinned_)
        if (toolkit::CControl* pinned = control(tag)) pinned->setValue(value);
    driver_->idle();
    return driver_->shown();
}

bool PanelSnapshot::writePng(const std::filesystem::path& path) {
    return toolkit::writePngFile(path, render());
}

} // namespace velmora::snapshot
