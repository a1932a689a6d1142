#include "editor/Editor.h"

#include "editor/ControlFactory.h"
#include "editor/EditorBitmaps.h"
#include "editor/HostKeys.h"
#include "editor/QelOnOffButton.h"
#include "editor/Tags.h"
#include "engine/ParameterIndex.h"
#include "platform/Ticks.h"

#include <algorithm>
#include <cmath>

namespace velmora::editor {

using layout::ControlKind;
using layout::ControlPlacement;

bool Editor::openPlatformWindow(toolkit::CFrame& frame, void* parent) {
    return frame.open(parent, toolkit::createPlatformWindow());
}

Editor::Editor(DelayEffect& effect, FrameOpener opener)
    : EffectEditor(&effect), effect_(effect),
      opener_(std::move(opener)), rect_{0, 0, layout::kPanelHeight, layout::kPanelWidth},
      actions_(effect, controls_, state_), readout_(platform::tickCountMs()),
      meters_(platform::tickCountMs()) {}

Editor::~Editor() {
    close();
}

bool Editor::getRect(ERect** rect) {
    *rect = &rect_;
    return true;
}

// ---- Opening and closing ----

bool Editor::open(void* parentWindow) {
    close();
    EffectEditor::open(parentWindow);
    toolkit::EditorInterface* editorInterface = this;
    frame_ = std::make_unique<toolkit::CFrame>(
        toolkit::CRect{0, 0, layout::kPanelWidth, layout::kPanelHeight}, editorInterface);
    frame_->setBackground(editorBitmaps().load(layout::kBackgroundBitmap));
    // The controls read the effect afresh; what was posted before is already in those values.
    pending_.discard();
    readout_.resetBlink();
    buildControls();
    knobMode_ = toolkit::kLinearMode;
    if (!opener_ || !opener_(*frame_, parentWindow)) {
        close();
        return false;
    }
    return true;
}

void Editor::close() {
    controls_.clear();
    frame_.reset();
    editedTag_ = -1;
    EffectEditor::close();
}

void Editor::buildControls() {
    for (const ControlPlacement& placement : layout::kControls) {
        auto control = makeControl(placement, editorBitmaps(), this);
        if (!control) continue;
        control->setValue(initialValue(placement));
        controls_.add(placement.tag, frame_->addView(std::move(control)));
    }
}

float Editor::initialValue(const ControlPlacement& placement) const {
    if (placement.parameter.isBound()) {
        const int index = placement.parameter.shown(state_.showRight);
        return PanelControls::controlValue(placement, effect_.getParameter(index));
    }
    const auto lit = [](bool on) {
        return on ? QelOnOffButton::kOnValue : QelOnOffButton::kOffValue;
    };
    switch (placement.tag) {
    case tags::kLink:
        return lit(state_.linked);
    // The selector of the page on show is dark; the other one offers to switch.
    case tags::kLeftPage:
        return lit(state_.showRight);
    case tags::kRightPage:
        return lit(!state_.showRight);
    case tags::kTempo:
        return static_cast<float>(std::sqrt(std::clamp(effect_.getNormalisedTempo(), 0.0, 1.0)));
    default:
        return 0.0f;
    }
}

// ---- Idle ----

void Editor::idle() {
    if (!frame_) return;
    showPostedParameters();
    showLinkState();
    showTempo();
    showReadout();
    showMeters();
    frame_->idle();
}

void Editor::showPostedParameters() {
    pending_.drain([this](int index, float value) {
        controls_.showParameter(index, value, state_.showRight);
    });
}

void Editor::showLinkState() {
    toolkit::CControl* link = controls_.find(tags::kLink);
    if (link && QelOnOffButton::isOn(link->getValue()) != state_.linked)
        controls_.setValue(tags::kLink,
                           state_.linked ? QelOnOffButton::kOnValue : QelOnOffButton::kOffValue);
}

// The tempo moves with the host's transport or the slider; the slider follows it, except
// while the user drags it.
void Editor::showTempo() {
    if (editedTag_ == tags::kTempo) return;
    const double normalised = std::clamp(effect_.getNormalisedTempo(), 0.0, 1.0);
    controls_.setValue(tags::kTempo, static_cast<float>(std::sqrt(normalised)));
}

void Editor::showReadout() {
    const ReadoutInput input{editedTag_, frame_->getCurrentMouseLocation(), knobUnderMouse(),
                             state_.showRight};
    const ReadoutValues values = readout_.update(effect_, input, platform::tickCountMs());
    for (std::size_t i = 0; i < values.size(); ++i)
        controls_.setValue(tags::kFirstReadout + static_cast<std::int32_t>(i), values[i]);
}

std::int32_t Editor::knobUnderMouse() const {
    const auto* control = dynamic_cast<const toolkit::CControl*>(
        frame_->getViewAt(frame_->getCurrentMouseLocation()));
    if (!control) return kNoTag;
    const ControlPlacement* placement = layout::findControl(control->getTag());
    return placement && placement->kind == ControlKind::knob ? control->getTag() : kNoTag;
}

// The meters jump up to a new peak at once and fall back over half a second.
void Editor::showMeters() {
    meters_.update(effect_, platform::tickCountMs());
    controls_.setValue(tags::kLeftMeter, meters_.left());
    controls_.setValue(tags::kRightMeter, meters_.right());
}

// ---- What the effect sends ----

void Editor::setParameter(VstInt32 index, float value) {
    pending_.post(index, value);
}

void Editor::linkOff() {
    state_.linked = false;
}

void Editor::linkOn() {
    state_.linked = true;
}

// ---- Keys and knob mode ----

bool Editor::onKeyDown(VstKeyCode& key) {
    return frame_ && frame_->onKeyDown(keyEventOf(key));
}

bool Editor::onKeyUp(VstKeyCode&) {
    return false;
}

bool Editor::setKnobMode(VstInt32 mode) {
    knobMode_ = mode == toolkit::kLinearMode ? toolkit::kLinearMode : toolkit::kCircularMode;
    return true;
}

// ---- Controls ----

// The host knows parameters 0..59 only: the editor's own tags stop here.
void Editor::beginEdit(std::int32_t tag) {
    if (tag >= 0 && tag < kNumParameters) effect_.beginEdit(tag);
}

void Editor::endEdit(std::int32_t tag) {
    if (tag >= 0 && tag < kNumParameters) effect_.endEdit(tag);
}

void Editor::valueChanged(toolkit::CControl* control) {
    if (control) actions_.valueChanged(*control);
}

void Editor::controlBeginEdit(toolkit::CControl* control) {
    editedTag_ = control->getTag();
    actions_.beginGesture(editedTag_);
}

void Editor::controlEndEdit(toolkit::CControl* control) {
    actions_.endGesture(control->getTag());
    if (editedTag_ == control->getTag()) editedTag_ = -1;
}

} // namespace velmora::editor
