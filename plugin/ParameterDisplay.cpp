#include "plugin/ParameterDisplay.h"

#include "engine/Engine.h"
#include "engine/ParameterIndex.h"
#include "engine/ValueTables.h"
#include "plugin/ParameterTable.h"
#include "vst2/NumberText.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string_view>

namespace velmora {

namespace {

using engine::Side;

constexpr std::array<std::string_view, 2> kOnOff{"off", "on"};
constexpr std::array<std::string_view, 5> kWaveNames{"sin", "sqr", "tri", "saw", "rnd"};
constexpr std::array<std::string_view, 3> kFilterTypes{"LPF", "BPF", "HPF"};
constexpr std::array<std::string_view, 3> kFilterPlacements{"in", "fb", "fx"};
constexpr std::array<std::string_view, 2> kDelayModes{"time", "note"};
constexpr std::array<std::string_view, 3> kLfoModes{"freq", "note", "note"};
constexpr std::array<std::string_view, 2> kReverbModes{"fx", "out"};
constexpr std::array<std::string_view, 2> kReverbTypes{"spring", "plate"};

// The number routines write at most 12 characters.
std::string numberText(const std::string& text) {
    return text.substr(0, static_cast<std::size_t>(kNumberTextLength));
}

std::string floatDisplay(double value) {
    return numberText(floatText(static_cast<float>(value)));
}
std::string dbDisplay(double gain) {
    return numberText(dbText(static_cast<float>(gain)));
}
std::string intDisplay(double value) {
    return numberText(intText(saturatingTrunc(value)));
}

template <typename T, std::size_t N>
T entryFor(const engine::Engine& engine, int index, const std::array<T, N>& table) {
    return table[static_cast<std::size_t>(currentStep(engine, index))];
}

std::string balanceText(double value, std::string_view left, std::string_view right) {
    const int share = balanceShare(value);
    return std::string(left) + ":" + std::to_string(100 - share) + "<>" + std::to_string(share) +
           ":" + std::string(right);
}

// A whole percent of m, with a minus sign only when it does not round to zero.
std::string signedPercentText(double m) {
    const float magnitude = std::fabs(static_cast<float>(m));
    const int percent = saturatingTrunc(std::floor(magnitude * 100.0f + 0.5));
    std::string text = m < 0.0 && percent != 0 ? "-" : "";
    text += std::to_string(percent);
    return text;
}

// The left/right LFO offset in degrees, the sign showing which side leads.
std::string offsetText(double radians) {
    const float magnitude = std::fabs(static_cast<float>(radians));
    const std::string degrees =
        std::to_string(saturatingTrunc(std::floor(magnitude / kSingleHalfPi * 180.0 + 0.5)));
    if (degrees == "0") return "L:0<>0:R";
    if (radians > 0.0) return "L:-" + degrees + "<>" + degrees + "+:R";
    return "L:+" + degrees + "<>" + degrees + "-:R";
}

std::string sixDecimalsText(double milliseconds) {
    std::array<char, kDisplayTextLength + 1> text{};
    std::snprintf(text.data(), text.size(), "%f", milliseconds);
    return text.data();
}

std::string delayTimeText(const engine::Engine& engine, Side side) {
    return sixDecimalsText(engine.delayMs(side));
}

std::string displayText(const engine::Engine& engine, int index) {
    const double v = engine.parameterValue(index);
    switch (index) {
    case param::Input:
    case param::Output:
        return dbDisplay(4.0 * v * v);
    case param::Mix:
        return balanceText(v, "D", "W");
    case param::FbGainL:
    case param::FbGainR:
        return dbDisplay(v);
    case param::FbPanL:
    case param::FbPanR:
    case param::DlyPanL:
    case param::DlyPanR:
        return balanceText(v, "L", "R");
    case param::FbInvL:
    case param::FbInvR:
    case param::DlyInvL:
    case param::DlyInvR:
    case param::Bypass:
    case param::FltOn:
    case param::VcoOn:
    case param::RvbOn:
        return std::string(entryFor(engine, index, kOnOff));
    case param::LFOWave:
        return std::string(entryFor(engine, index, kWaveNames));
    case param::LFORate:
        return floatDisplay(engine.lfoRateHz());
    case param::LROffset:
        return offsetText((v - 0.5) * std::numbers::pi);
    case param::ModSrc:
        return balanceText(v, "L", "E");
    case param::CutfMod:
    case param::VcoMod:
    case param::ResoMod:
        return signedPercentText(2.0 * v - 1.0);
    case param::FltType:
        return std::string(entryFor(engine, index, kFilterTypes));
    case param::Cutoff:
        return intDisplay(cutoffHz(v, engine.sampleRate()));
    case param::Reso:
        return floatDisplay(10.0 * v);
    case param::VcoMan:
        return floatDisplay(std::exp2(2.0 * v - 1.0));
    case param::Drive:
        return dbDisplay(std::exp2(4.0 * v));
    case param::EnvSpeed:
        return intDisplay(900.0 * v + 100.0 + 0.5);
    case param::FltMode:
        return std::string(entryFor(engine, index, kFilterPlacements));
    case param::DlyModeL:
    case param::DlyModeR:
        return std::string(entryFor(engine, index, kDelayModes));
    case param::DlyNumL:
    case param::DlyNumR:
        return std::to_string(entryFor(engine, index, kDelayNumerators));
    case param::DlyDenL:
    case param::DlyDenR:
    case param::LfoDen:
    case param::PreDenL:
    case param::PreDenR:
        return std::to_string(entryFor(engine, index, kDenominatorTable));
    case param::RangeL:
    case param::RangeR:
        return std::to_string(entryFor(engine, index, kRangeMaximaMs));
    case param::LfoMode:
        return std::string(entryFor(engine, index, kLfoModes));
    case param::LfoNum:
        return std::to_string(entryFor(engine, index, kLfoNumerators));
    case param::DlyTimeL:
        return delayTimeText(engine, Side::Left);
    case param::DlyTimeR:
        return delayTimeText(engine, Side::Right);
    case param::RvbMode:
        return std::string(entryFor(engine, index, kReverbModes));
    case param::RvbType:
        return std::string(entryFor(engine, index, kReverbTypes));
    case param::RvbDamp:
    case param::RvbAmt:
        return floatDisplay(100.0 * v);
    case param::ModSens:
        return signedPercentText(v);
    case param::DlyGateL:
    case param::DlyGateR:
        return dbDisplay(v * v);
    case param::Ducking:
        return floatDisplay(24.0 * v - 24.0);
    case param::PreNumL:
    case param::PreNumR:
        return std::to_string(entryFor(engine, index, kPreDelayNumerators));
    case param::MuteInL:
    case param::MuteInR:
        return v > 0.5 ? "muted" : "off";
    default:
        return "n/a"; // the two indices without a function
    }
}

} // namespace

int currentStep(const engine::Engine& engine, int index) {
    const int steps = parameterInfo(index).steps;
    return steps > 0 ? stepIndex(static_cast<float>(engine.parameterValue(index)), steps) : 0;
}

int balanceShare(double value) {
    // Computed in single precision: 0.3 shows 30, since 0.3f * 101 is 30.3.
    const float share = std::floor(static_cast<float>(value) * 101.0f);
    if (!(share > 0.0f)) return 0;
    return share >= 100.0f ? 100 : static_cast<int>(share);
}

double cutoffHz(double value, double sampleRate) {
    const double frequency = 64.0 * std::exp2(8.0 * value) - 14.0;
    return std::min({frequency, 16000.0, sampleRate * 0.5});
}

float decibelsOf(double gain) {
    const auto logarithm = static_cast<float>(std::log10(gain));
    return 20.0f * logarithm;
}

std::optional<std::string> parameterDisplayText(const engine::Engine& engine, int index) {
    if (index < 0 || index >= kNumParameters) return std::nullopt;
    return displayText(engine, index);
}

void writeParameterDisplay(const engine::Engine& engine, int index, char* text) {
    if (const auto display = parameterDisplayText(engine, index))
        writeBoundedText(*display, text, kDisplayTextLength);
}

} // namespace velmora
