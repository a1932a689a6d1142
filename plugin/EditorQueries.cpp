#include "plugin/EditorQueries.h"

#include "engine/Engine.h"
#include "engine/ParameterDescriptions.h"
#include "plugin/ParameterDisplay.h"
#include "vst2/NumberText.h"

#include <cmath>
#include <numbers>

namespace velmora {

namespace {

using engine::Side;

// Levels below this gain (-98 dB) read as -100 dB.
double gainFloor() {
    return std::pow(10.0, -4.9);
}

constexpr double kLongestDelayMs = 5000.0;
constexpr double kFastestLfoHz = 15.0;

// The value-table entry of a stepped parameter's current step.
int stepNumber(const engine::Engine& engine, int index) {
    return describe(index).stepNumbers[static_cast<std::size_t>(currentStep(engine, index))];
}

Side sideOf(int index) {
    return describe(index).channel == Channel::Right ? Side::Right : Side::Left;
}

void plainNumber(DisplayRecord& record, bool isSigned) {
    record.isSigned = isSigned;
    record.separator = 0;
}

float levelQuantity(double gain, DisplayRecord& record) {
    plainNumber(record, true);
    return gain < gainFloor() ? -100.0f : decibelsOf(gain);
}

// A balance shows both shares: separator 1 all right, 3 all left, 2 in between, with the
// left share in the hundreds and the right share below.
float balanceQuantity(double value, DisplayRecord& record) {
    const int share = balanceShare(value);
    record.isSigned = false;
    record.separator = share == 100 ? 1 : (share > 0 ? 2 : 3);
    return share > 0 ? static_cast<float>(share + (100 - share) * 100) : 1000.0f;
}

float noteQuantity(int numerator, int denominator, DisplayRecord& record) {
    record.numerator = numerator;
    record.denominator = denominator;
    return 0.0f;
}

// The note value of a numerator and denominator parameter pair.
float noteQuantity(const engine::Engine& engine, int numeratorIndex, int denominatorIndex,
                   DisplayRecord& record) {
    return noteQuantity(stepNumber(engine, numeratorIndex), stepNumber(engine, denominatorIndex),
                        record);
}

// The quantity the readout shows for index; sets the sign, separator and note fields the
// index defines.
float rowQuantity(const engine::Engine& engine, int index, float value, DisplayRecord& record) {
    if (index == kTempoTag) {
        plainNumber(record, false);
        return static_cast<float>(engine.tempoBpm());
    }
    const double v = engine.parameterValue(index);
    const Side side = sideOf(index);
    const bool left = side == Side::Left;
    switch (describe(index).readout) {
    case ReadoutKind::Level:
        return levelQuantity(levelGain(index, v), record);
    case ReadoutKind::Drive:
        plainNumber(record, true);
        return decibelsOf(std::exp2(4.0 * v));
    case ReadoutKind::Balance:
        return balanceQuantity(v, record);
    case ReadoutKind::LfoRate:
        plainNumber(record, false);
        return static_cast<float>(engine.lfoRateHz());
    case ReadoutKind::Offset:
        plainNumber(record, true);
        return static_cast<float>((v - 0.5) * std::numbers::pi * 180.0 / kSingleHalfPi);
    case ReadoutKind::Depth:
        plainNumber(record, true);
        return static_cast<float>((2.0 * v - 1.0) * 100.0);
    case ReadoutKind::Cutoff:
        plainNumber(record, false);
        return static_cast<float>(cutoffHz(v, engine.sampleRate()) / 1000.0);
    case ReadoutKind::HostScale:
        plainNumber(record, true);
        return value * 24.0f - 24.0f;
    case ReadoutKind::ClockRatio:
        plainNumber(record, false);
        return static_cast<float>(std::exp2(2.0 * v - 1.0));
    case ReadoutKind::EnvelopeMs:
        plainNumber(record, false);
        return static_cast<float>(900.0 * v + 100.0);
    case ReadoutKind::DelayTime:
        plainNumber(record, false);
        return static_cast<float>(engine.delayMs(side));
    case ReadoutKind::HostPercent:
        plainNumber(record, false);
        return value * 100.0f;
    case ReadoutKind::Sensitivity:
        record.separator = 0;
        return static_cast<float>(v * 10.0);
    case ReadoutKind::DelayNote:
        return noteQuantity(engine, left ? param::DlyNumL : param::DlyNumR,
                            left ? param::DlyDenL : param::DlyDenR, record);
    case ReadoutKind::LfoNote:
        return noteQuantity(engine, param::LfoNum, param::LfoDen, record);
    case ReadoutKind::PreDelayNote:
        return noteQuantity(engine, left ? param::PreNumL : param::PreNumR,
                            left ? param::PreDenL : param::PreDenR, record);
    case ReadoutKind::None:
        break;
    }
    return 0.0f;
}

// Four digits at most: the point moves left as the magnitude grows.
void encodeDigits(float quantity, DisplayRecord& record) {
    if (record.separator != 0) {
        record.digits = saturatingTrunc(quantity + 0.5);
        record.point = 0;
        return;
    }
    const float magnitude = std::fabs(quantity);
    if (magnitude < 10.0f) {
        record.digits = saturatingTrunc(magnitude * 1000.0f + 0.5);
        record.point = 1;
    } else if (magnitude < 100.0f) {
        record.digits = saturatingTrunc(magnitude * 100.0f + 0.5);
        record.point = 2;
    } else if (magnitude < 1000.0f) {
        record.digits = saturatingTrunc(magnitude * 10.0f + 0.5);
        record.point = 3;
    } else {
        record.digits = saturatingTrunc(magnitude + 0.5);
        record.point = 0;
    }
    if (quantity < 0.0f) record.digits = -record.digits;
}

// Compared by cross-multiplying so that a note landing exactly on a limit stays in range.
bool delayNoteTooLong(const engine::Engine& engine, Side side) {
    const bool left = side == Side::Left;
    const int numerator = stepNumber(engine, left ? param::DlyNumL : param::DlyNumR);
    const int denominator = stepNumber(engine, left ? param::DlyDenL : param::DlyDenR);
    // numerator * 240000 / (denominator * tempo) ms, a whole note times the fraction
    return numerator * 240000.0 > kLongestDelayMs * denominator * engine.tempoBpm();
}

bool lfoNoteOutOfRange(const engine::Engine& engine) {
    const int numerator = stepNumber(engine, param::LfoNum);
    const int denominator = stepNumber(engine, param::LfoDen);
    // rate = denominator * tempo / (numerator * 240) Hz, compared with both sides multiplied by
    // numerator * 240; 0.01 Hz is compared as 100 * rate against 1 to stay exact.
    const double scaledRate = denominator * engine.tempoBpm();
    const double scale = numerator * 240.0;
    return scaledRate > kFastestLfoHz * scale || scaledRate * 100.0 < scale;
}

bool preDelayNoteTooLong(const engine::Engine& engine, Side side) {
    const bool left = side == Side::Left;
    const int numerator = stepNumber(engine, left ? param::PreNumL : param::PreNumR);
    const int denominator = stepNumber(engine, left ? param::PreDenL : param::PreDenR);
    return numerator > denominator;
}

} // namespace

void getDisplayRecord(const engine::Engine& engine, int index, float value, DisplayRecord& record) {
    record.numerator = -1;
    encodeDigits(rowQuantity(engine, index, value, record), record);
}

bool isNoteValueTooLong(const engine::Engine& engine, int selector) {
    switch (selector) {
    case kLeftDelayNote:
        return delayNoteTooLong(engine, Side::Left);
    case kRightDelayNote:
        return delayNoteTooLong(engine, Side::Right);
    case kLfoNote:
        return lfoNoteOutOfRange(engine);
    case kLeftPreDelayNote:
        return preDelayNoteTooLong(engine, Side::Left);
    case kRightPreDelayNote:
        return preDelayNoteTooLong(engine, Side::Right);
    default:
        return false;
    }
}

} // namespace velmora
