#include "editor/ValueReadout.h"

#include "editor/ControlLayout.h"
#include "engine/ParameterDescriptions.h"
#include "engine/ParameterIndex.h"
#include "plugin/DelayEffect.h"

#include <algorithm>
#include <array>

namespace velmora::editor {

namespace {

// A panel region whose readout is not a single control's; its edges belong to it.
struct PanelArea {
    double left, top, right, bottom;

    constexpr bool contains(toolkit::CPoint p) const {
        return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
    }
};

constexpr PanelArea kLfoArea{283, 75, 375, 140};
constexpr PanelArea kDelayArea{86, 50, 149, 134};
constexpr PanelArea kPreDelayArea{86, 20, 149, 47};

// Controls whose edit shows the shown side's delay: its numerator and denominator steppers
// and the delay-time slider.
constexpr std::array kDelayTags{tags::kDelayNumStepper, tags::kDelayDenStepper, tags::kDelayTime};

constexpr int kSyncedDelayStep = 1;
constexpr int kFreeLfoStep = 0;

int currentStep(DelayEffect& effect, int index) {
    return stepOf(index, effect.getParameter(index));
}

// The parameter a knob shows on the current page, or -1 when `tag` is no knob.
int knobParameter(std::int32_t tag, bool showRight) {
    const layout::ControlPlacement* placement = layout::findControl(tag);
    if (!placement || placement->kind != layout::ControlKind::knob) return -1;
    return placement->parameter.shown(showRight);
}

} // namespace

ReadoutValues ValueReadout::update(DelayEffect& effect, const ReadoutInput& input,
                                   std::uint32_t nowMs) {
    const int index = chooseIndex(effect, input, nowMs);
    // A fresh record each call: a field the index's row leaves alone reads as a plain
    // unsigned number rather than as whatever the previous parameter set.
    DisplayRecord record{.digits = 0,
                         .point = 0,
                         .isSigned = false,
                         .separator = 0,
                         .numerator = -1,
                         .denominator = 0};
    effect.getDisplayRecord(index, record);
    return elementValues(readoutFrames(record, blinkVisible_));
}

int ValueReadout::chooseIndex(DelayEffect& effect, const ReadoutInput& input, std::uint32_t nowMs) {
    return input.editedTag == kNoTag ? indexUnderMouse(effect, input, nowMs)
                                     : indexUnderEdit(effect, input, nowMs);
}

int ValueReadout::indexUnderMouse(DelayEffect& effect, const ReadoutInput& input,
                                  std::uint32_t nowMs) {
    if (kLfoArea.contains(input.mouse)) return lfoIndex(effect);
    if (kDelayArea.contains(input.mouse)) return delayIndex(effect, input.showRight, nowMs);
    if (kPreDelayArea.contains(input.mouse)) return preDelayIndex(effect, input.showRight, nowMs);
    blinkVisible_ = true;
    const int knob = knobParameter(input.knobUnderMouse, input.showRight);
    return knob >= 0 ? knob : kTempoTag;
}

// Every knob shows its own parameter while edited; other controls without a readout of their
// own leave the tempo on show.
int ValueReadout::indexUnderEdit(DelayEffect& effect, const ReadoutInput& input,
                                 std::uint32_t nowMs) {
    const std::int32_t tag = input.editedTag;
    if (tag == param::LFORate) return lfoIndex(effect);
    if (std::ranges::find(kDelayTags, tag) != kDelayTags.end())
        return delayIndex(effect, input.showRight, nowMs);
    blinkVisible_ = true;
    const int knob = knobParameter(tag, input.showRight);
    return knob >= 0 ? knob : kTempoTag;
}

// The LFO shows its note value when synchronised, its rate otherwise; it never blinks.
int ValueReadout::lfoIndex(DelayEffect& effect) {
    blinkVisible_ = true;
    return currentStep(effect, param::LfoMode) != kFreeLfoStep ? param::LfoNum : param::LFORate;
}

int ValueReadout::delayIndex(DelayEffect& effect, bool right, std::uint32_t nowMs) {
    if (currentStep(effect, right ? param::DlyModeR : param::DlyModeL) == kSyncedDelayStep) {
        blinkWhileTooLong(effect, right ? kRightDelayNote : kLeftDelayNote, nowMs);
        return right ? param::DlyNumR : param::DlyNumL;
    }
    blinkVisible_ = true;
    return right ? param::DlyTimeR : param::DlyTimeL;
}

int ValueReadout::preDelayIndex(DelayEffect& effect, bool right, std::uint32_t nowMs) {
    blinkWhileTooLong(effect, right ? kRightPreDelayNote : kLeftPreDelayNote, nowMs);
    return right ? param::PreNumR : param::PreNumL;
}

// Unsigned difference, so the blink keeps its pace across a wrap of the tick counter.
void ValueReadout::blinkWhileTooLong(const DelayEffect& effect, int selector, std::uint32_t nowMs) {
    if (!effect.isNoteValueTooLong(selector)) {
        blinkVisible_ = true;
        return;
    }
    if (nowMs - blinkTick_ > kBlinkMs) {
        blinkVisible_ = !blinkVisible_;
        blinkTick_ = nowMs;
    }
}

} // namespace velmora::editor
