#include "editor/ControlActions.h"

#include "editor/QelKickButton.h"
#include "editor/QelOnOffButton.h"
#include "editor/Tags.h"
#include "engine/ParameterDescriptions.h"
#include "engine/ParameterIndex.h"
#include "engine/ValueTables.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace velmora::editor {

using layout::Binding;

namespace {

constexpr Binding kDelayMode{param::DlyModeL, param::DlyModeR};
constexpr Binding kRange{param::RangeL, param::RangeR};
constexpr Binding kDelayTime{param::DlyTimeL, param::DlyTimeR};
constexpr Binding kDelayNum{param::DlyNumL, param::DlyNumR};
constexpr Binding kDelayDen{param::DlyDenL, param::DlyDenR};
constexpr Binding kPreNum{param::PreNumL, param::PreNumR};
constexpr Binding kPreDen{param::PreDenL, param::PreDenR};

// The one channel-pair parameter a page-bound control writes.
Binding pairOf(std::int32_t tag) {
    const layout::ControlPlacement* placement = layout::findControl(tag);
    return placement ? placement->parameter : Binding{};
}

// Pans mirror across the channels (a sound panned left on one side is panned right on the
// other); everything else is copied as it is.
bool mirrorsAcrossChannels(std::int32_t tag) {
    return tag == tags::kFbPan || tag == tags::kDelayPan;
}

// The knobs and buttons that write one channel pair: the shown side, and the partner when
// linked. Their gestures bracket both.
bool writesOnePair(std::int32_t tag) {
    switch (tag) {
    case tags::kFbPan:
    case tags::kFbGain:
    case tags::kDelayPan:
    case tags::kDelayGate:
    case tags::kFbInvert:
    case tags::kDelayInvert:
    case tags::kInputMute:
        return true;
    default:
        return false;
    }
}

// The delay settings copy their partner through the effect's own timing copy, which brackets
// its writes, so their gestures bracket the shown side only.
bool bracketsShownOnly(std::int32_t tag) {
    return tag == tags::kDelayMode || tag == tags::kRange || tag == tags::kDelayTime;
}

// What a link copy writes, in order: each pair, and whether the value is mirrored.
struct CopiedPair {
    Binding pair;
    bool mirrored;
};
constexpr std::array<CopiedPair, 14> kLinkCopy{{
    {{param::FbGainL, param::FbGainR}, false},
    {{param::FbPanL, param::FbPanR}, true},
    {{param::DlyPanL, param::DlyPanR}, true},
    {{param::DlyGateL, param::DlyGateR}, false},
    {{param::FbInvL, param::FbInvR}, false},
    {{param::MuteInL, param::MuteInR}, false},
    {{param::DlyInvL, param::DlyInvR}, false},
    {kDelayMode, false},
    {kRange, false},
    {kDelayNum, false},
    {kDelayDen, false},
    {kDelayTime, false},
    {kPreNum, false},
    {kPreDen, false},
}};

constexpr int stepsOf(int index) {
    return describe(index).steps;
}

// The LFO rate parameter is log2(1 + f) / 4 for a frequency f in Hz: 16 to its power, less 1.
float lfoFrequency(float rate) {
    return std::pow(16.0f, rate) - 1.0f;
}
float lfoRateOf(float frequency) {
    return std::log(1.0f + frequency) / std::log(16.0f);
}
// The slowest free LFO rate the slider reaches, 0.01 Hz.
const float kLowestLfoRate = std::log(1.01f) / std::log(16.0f);

constexpr float kNudgeFloorHz = 0.01f;
constexpr float kNudgeLowestUpHz = 0.011f;
constexpr float kNudgeCeilingHz = 15.0f;
constexpr float kNudgeStepHz = 0.001f;
// The delay time parameter moves in steps of 1/1000 of its range from the slider and nudges.
constexpr float kTimeStep = 1.0f / 1000.0f;

} // namespace

void ControlActions::valueChanged(toolkit::CControl& control) {
    const std::int32_t tag = control.getTag();
    const float value = control.getValue();
    // A stepper clicked plainly steps up; with Shift or Control (a larger multiplier) down.
    const bool up = multiplierOf(control) == 1.0f;
    if (writesOnePair(tag)) {
        writePair(pairOf(tag), value, mirrorsAcrossChannels(tag));
        return;
    }
    switch (tag) {
    case tags::kDelayMode:
        changeDelayMode(value);
        return;
    case tags::kRange:
        changeRange(value);
        return;
    case tags::kDelayTime:
        dragDelayTime(value);
        return;
    case param::LFORate:
        dragLfoRate(value);
        return;
    case tags::kTempo:
        dragTempo(value);
        return;
    case tags::kPreNumStepper:
        stepPreDelay(kPreNum, kPreDen, up);
        return;
    case tags::kPreDenStepper:
        stepPreDelay(kPreDen, kPreNum, up);
        return;
    case tags::kDelayNumStepper:
    case tags::kDelayDenStepper: {
        const bool numerator = tag == tags::kDelayNumStepper;
        if (delayInNoteMode())
            step(shown(numerator ? kDelayNum : kDelayDen), up);
        else
            nudgeDelayTime(shown(kDelayTime), (numerator ? -1.0f : 1.0f) * multiplierOf(control));
        copyTimingWhenLinked();
        return;
    }
    case tags::kLfoNumStepper:
    case tags::kLfoDenStepper: {
        const bool numerator = tag == tags::kLfoNumStepper;
        if (lfoInNoteMode())
            step(numerator ? param::LfoNum : param::LfoDen, up);
        else
            nudgeLfoRate(!numerator);
        return;
    }
    case tags::kLeftPage:
    case tags::kRightPage:
        showPage(tag == tags::kRightPage);
        return;
    case tags::kLink:
        changeLink(control);
        return;
    default:
        // Only parameters reach the host: editor tags without an action of their own, and the
        // preset bar's, write nothing.
        if (tag >= 0 && tag < kNumParameters) write(tag, value);
        return;
    }
}

float ControlActions::multiplierOf(const toolkit::CControl& control) {
    const auto* kick = dynamic_cast<const QelKickButton*>(&control);
    return kick ? kick->getMultiplier() : 1.0f;
}

// ---- Gestures ----

void ControlActions::beginGesture(std::int32_t tag) {
    if (!writesOnePair(tag) && !bracketsShownOnly(tag)) return;
    const Binding pair = pairOf(tag);
    bracketedShown_ = shown(pair);
    bracketedPartner_ = writesOnePair(tag) && state_.linked ? partner(pair) : -1;
    effect_.beginEdit(bracketedShown_);
    if (bracketedPartner_ >= 0) effect_.beginEdit(bracketedPartner_);
}

void ControlActions::endGesture(std::int32_t tag) {
    if (!writesOnePair(tag) && !bracketsShownOnly(tag)) return;
    if (bracketedPartner_ >= 0) effect_.endEdit(bracketedPartner_);
    if (bracketedShown_ >= 0) effect_.endEdit(bracketedShown_);
    bracketedShown_ = bracketedPartner_ = -1;
}

// ---- Writes ----

void ControlActions::writeBracketed(int index, float value) {
    effect_.beginEdit(index);
    write(index, value);
    effect_.endEdit(index);
}

void ControlActions::writePair(const Binding& pair, float value, bool mirrored) {
    write(shown(pair), value);
    if (state_.linked) write(partner(pair), mirrored ? 1.0f - value : value);
}

void ControlActions::copyTimingWhenLinked() {
    if (state_.linked) effect_.copySideTiming(state_.showRight);
}

bool ControlActions::delayInNoteMode() const {
    const int mode = shown(kDelayMode);
    return stepIndex(parameter(mode), stepsOf(mode)) == 1;
}

bool ControlActions::lfoInNoteMode() const {
    return stepIndex(parameter(param::LfoMode), stepsOf(param::LfoMode)) != 0;
}

// ---- The delay settings of the shown channel ----

void ControlActions::showDelayTiming() {
    controls_.setValue(tags::kRange, parameter(shown(kRange)));
    controls_.setValue(tags::kDelayTime, std::sqrt(parameter(shown(kDelayTime))));
}

void ControlActions::changeDelayMode(float value) {
    write(shown(kDelayMode), value);
    showDelayTiming();
    copyTimingWhenLinked();
}

// A note-synced delay takes its length from the note; its range stays as it is.
void ControlActions::changeRange(float value) {
    if (delayInNoteMode()) {
        controls_.setValue(tags::kRange, parameter(shown(kRange)));
    } else {
        write(shown(kRange), value);
        showDelayTiming();
    }
    copyTimingWhenLinked();
}

// The slider holds the square root of the time, so short times get more of its travel.
void ControlActions::dragDelayTime(float root) {
    const int time = shown(kDelayTime);
    if (delayInNoteMode())
        controls_.setValue(tags::kDelayTime, std::sqrt(parameter(time)));
    else
        write(time, std::floor(root * root / kTimeStep) * kTimeStep);
    copyTimingWhenLinked();
}

void ControlActions::dragLfoRate(float root) {
    if (lfoInNoteMode())
        controls_.setValue(param::LFORate, std::sqrt(parameter(param::LFORate)));
    else
        write(param::LFORate, std::max(root * root, kLowestLfoRate));
}

// The host's tempo, when it gives one, rules; the slider sets the tempo only without it.
void ControlActions::dragTempo(float root) {
    if (!effect_.hostTempoAvailable()) effect_.setNormalisedTempo(double(root) * root);
}

// ---- Steppers and nudges ----

void ControlActions::step(int index, bool up) {
    const int steps = stepsOf(index);
    const int current = stepIndex(parameter(index), steps);
    const int next = up ? (current + 1) % steps : (current + steps - 1) % steps;
    writeBracketed(index, stepValue(next, steps));
}

// A linked pre-delay copies the whole note value, so both channels end on the same one.
void ControlActions::stepPreDelay(const Binding& stepped, const Binding& other, bool up) {
    step(shown(stepped), up);
    if (!state_.linked) return;
    writeBracketed(partner(stepped), parameter(shown(stepped)));
    writeBracketed(partner(other), parameter(shown(other)));
}

void ControlActions::nudgeDelayTime(int index, float milliseconds) {
    const float time = parameter(index) + milliseconds * kTimeStep;
    writeBracketed(index, std::clamp(time, 0.0f, 1.0f));
}

void ControlActions::nudgeLfoRate(bool up) {
    float frequency = lfoFrequency(parameter(param::LFORate));
    if (up)
        frequency = std::clamp(frequency + kNudgeStepHz, kNudgeLowestUpHz, kNudgeCeilingHz);
    else
        frequency = std::max(kNudgeFloorHz, frequency - kNudgeStepHz);
    writeBracketed(param::LFORate, lfoRateOf(frequency));
}

// ---- Pages and link ----

void ControlActions::showPage(bool right) {
    const std::int32_t selector = right ? tags::kRightPage : tags::kLeftPage;
    const std::int32_t other = right ? tags::kLeftPage : tags::kRightPage;
    // The selector of the page on show stays dark.
    controls_.setValue(selector, QelOnOffButton::kOffValue);
    if (state_.showRight == right) return;
    state_.showRight = right;
    controls_.reloadPage(right, [this](int index) { return parameter(index); });
    controls_.setValue(other, QelOnOffButton::kOnValue);
}

// A plain click toggles the link; a Control or right click links and copies the shown channel
// onto the other one, whatever the light showed before.
void ControlActions::changeLink(toolkit::CControl& control) {
    const auto* button = dynamic_cast<const QelOnOffButton*>(&control);
    const bool modifierClick = button && button->isModifierClick();
    if (!QelOnOffButton::isOn(control.getValue()) && !modifierClick) {
        state_.linked = false;
        return;
    }
    state_.linked = true;
    controls_.setValue(tags::kLink, QelOnOffButton::kOnValue);
    if (modifierClick) copyShownChannel();
}

void ControlActions::copyShownChannel() {
    for (const CopiedPair& copied : kLinkCopy) {
        const float value = parameter(shown(copied.pair));
        writeBracketed(partner(copied.pair), copied.mirrored ? 1.0f - value : value);
    }
}

} // namespace velmora::editor
