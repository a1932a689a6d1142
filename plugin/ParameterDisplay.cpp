#include "plugin/ParameterDisplay.h"

#include "engine/Engine.h"
#include "engine/ParameterDescriptions.h"
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

std::string stepName(const engine::Engine& engine, int index) {
    return std::string(
        describe(index).stepNames[static_cast<std::size_t>(currentStep(engine, index))]);
}

std::string stepNumber(const engine::Engine& engine, int index) {
    return std::to_string(
        describe(index).stepNumbers[static_cast<std::size_t>(currentStep(engine, index))]);
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

std::string delayTimeText(const engine::Engine& engine, int index) {
    const Side side = describe(index).channel == Channel::Right ? Side::Right : Side::Left;
    return sixDecimalsText(engine.delayMs(side));
}

std::string displayText(const engine::Engine& engine, int index) {
    const double v = engine.parameterValue(index);
    switch (describe(index).display) {
    case DisplayKind::StepName:
        return stepName(engine, index);
    case DisplayKind::StepNumber:
        return stepNumber(engine, index);
    case DisplayKind::VolumeDb:
    case DisplayKind::GainDb:
    case DisplayKind::GateDb:
        return dbDisplay(levelGain(index, v));
    case DisplayKind::DriveDb:
        return dbDisplay(std::exp2(4.0 * v));
    case DisplayKind::DryWet:
        return balanceText(v, "D", "W");
    case DisplayKind::Pan:
        return balanceText(v, "L", "R");
    case DisplayKind::SourceBlend:
        return balanceText(v, "L", "E");
    case DisplayKind::LfoRate:
        return floatDisplay(engine.lfoRateHz());
    case DisplayKind::Offset:
        return offsetText((v - 0.5) * std::numbers::pi);
    case DisplayKind::Depth:
        return signedPercentText(2.0 * v - 1.0);
    case DisplayKind::Sensitivity:
        return signedPercentText(v);
    case DisplayKind::Cutoff:
        return intDisplay(cutoffHz(v, engine.sampleRate()));
    case DisplayKind::Resonance:
        return floatDisplay(10.0 * v);
    case DisplayKind::ClockRatio:
        return floatDisplay(std::exp2(2.0 * v - 1.0));
    case DisplayKind::EnvelopeMs:
        return intDisplay(900.0 * v + 100.0 + 0.5);
    case DisplayKind::DelayTime:
        return delayTimeText(engine, index);
    case DisplayKind::Percent:
        return floatDisplay(100.0 * v);
    case DisplayKind::DuckingDb:
        return floatDisplay(24.0 * v - 24.0);
    case DisplayKind::Mute:
        return v > 0.5 ? "muted" : "off";
    case DisplayKind::NotApplicable:
        break;
    }
    return "n/a"; // the two indices without a function
}

} // namespace

int currentStep(const engine::Engine& engine, int index) {
    return stepOf(index, engine.parameterValue(index));
}

double levelGain(int index, double value) {
    switch (describe(index).display) {
    case DisplayKind::VolumeDb:
        return 4.0 * value * value;
    case DisplayKind::GateDb:
        return value * value;
    default:
        return value;
    }
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
