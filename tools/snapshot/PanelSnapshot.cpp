#include "tools/snapshot/PanelSnapshot.h"

#include "editor/ControlFactory.h"
#include "editor/ControlLayout.h"
#include "toolkit/offscreen/PngWriter.h"

namespace velmora::snapshot {

using namespace toolkit;
namespace layout = editor::layout;

namespace {
constexpr std::int32_t kRightPageSelector = 92;
}

PanelSnapshot::PanelSnapshot(BitmapCache& bitmaps)
    : bitmaps_(bitmaps),
      frame_(CRect::fromSize(0, 0, layout::kPanelWidth, layout::kPanelHeight), &editor_) {
    frame_.setBackground(bitmaps_.load(layout::kBackgroundBitmap));
    addControls();
    presetBar_.open(frame_, nullptr);
    driver_ = std::make_unique<OffscreenDriver>(frame_);
}

void PanelSnapshot::addControls() {
    for (const layout::ControlPlacement& placement : layout::kControls) {
        if (auto area = editor::makeAboutArea(placement, bitmaps_)) {
            aboutAreas_.push_back(frame_.addView(std::move(area)));
            continue;
        }
        auto control = editor::makeControl(placement, bitmaps_, nullptr);
        if (!control) continue;
        control->setValue(placement.defaultValue.value_or(0.0f));
        controls_.emplace(placement.tag, frame_.addView(std::move(control)));
    }
    // The left page is on show, as when an editor first opens: its selector holds 0 (first
    // frame), the other one 1.
    setValue(kRightPageSelector, 1);
}

CControl* PanelSnapshot::control(std::int32_t tag) const {
    const auto it = controls_.find(tag);
    return it == controls_.end() ? presetBar_.control(tag) : it->second;
}

bool PanelSnapshot::setValue(std::int32_t tag, float value) {
    CControl* target = control(tag);
    if (!target) return false;
    target->setValue(value);
    return true;
}

// As a user opens it: a left click in the middle of the left about area.
void PanelSnapshot::showAbout() {
    if (aboutAreas_.empty() || frame_.getModalView()) return;
    driver_->click(aboutAreas_.front()->getViewSize().getCenter());
}

const Framebuffer& PanelSnapshot::render() {
    driver_->idle();
    return driver_->shown();
}

bool PanelSnapshot::writePng(const std::filesystem::path& path) {
    return writePngFile(path, render());
}

} // namespace velmora::snapshot
