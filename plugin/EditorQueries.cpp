#include "plugin/EditorQueries.h"

#include "engine/Engine.h"
#include "engine/ParameterIndex.h"
#include "engine/ValueTables.h"
#include "plugin/ParameterDisplay.h"
#include "vst2/NumberText.h"

#include <array>
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

template <std::size_t N>
int entryFor(const engine::Engine& engine, int index, const std::array<int, N>& table) {
    return table[static_cast<std::size_t>(currentStep(engine, index))];
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

float delayNote(const engine::Engine& engine, Side side, DisplayRecord& record) {
    const bool left = side == Side::Left;
    return noteQuantity(entryFor(engine, left ? param::DlyNumL : param::DlyNumR, kDelayNumerators),
                        entryFor(engine, left ? param::DlyDenL : param::DlyDenR, kDenominatorTable),
                        record);
}

float preDelayNote(const engine::Engine& engine, Side side, DisplayRecord& record) {
    const bool left = side == Side::Left;
    return noteQuantity(
        entryFor(engine, left ? param::PreNumL : param::PreNumR, kPreDelayNumerators),
        entryFor(engine, left ? param::PreDenL : param::PreDenR, kDenominatorTable), record);
}

// The quantity the readout shows for index; sets the sign, separator and note fields the
// index defines.
float rowQuantity(const engine::Engine& engine, int index, float value, DisplayRecord& record) {
    const double v = engine.parameterValue(index);
    switch (index) {
    case param::Input:
    case param::Output:
        return levelQuantity(4.0 * v * v, record);
    case param::FbGainL:
    case param::FbGainR:
        return levelQuantity(v, record);
    case param::DlyGateL:
    case param::DlyGateR:
        return levelQuantity(v * v, record);
    case param::Drive:
        plainNumber(record, true);
        return decibelsOf(std::exp2(4.0 * v));
    case param::Mix:
    case param::FbPanL:
    case param::FbPanR:
    case param::ModSrc:
    case param::DlyPanL:
    case param::DlyPanR:
        return balanceQuantity(v, record);
    case param::LFORate:
        plainNumber(record, false);
        return static_cast<float>(engine.lfoRateHz());
    case param::LROffset:
        plainNumber(record, true);
        return static_cast<float>((v - 0.5) * std::numbers::pi * 180.0 / kSingleHalfPi);
    case param::CutfMod:
    case param::VcoMod:
    case param::ResoMod:
        plainNumber(record, true);
        return static_cast<float>((2.0 * v - 1.0) * 100.0);
    case param::Cutoff:
        plainNumber(record, false);
        return static_cast<float>(cutoffHz(v, engine.sampleRate()) / 1000.0);
    case param::Reso:
    case param::RvbDamp:
    case param::Ducking:
        plainNumber(record, true);
        return value * 24.0f - 24.0f;
    case param::VcoMan:
        plainNumber(record, false);
        return static_cast<float>(std::exp2(2.0 * v - 1.0));
    case param::EnvSpeed:
        plainNumber(record, false);
        return static_cast<float>(900.0 * v + 100.0);
    case param::DlyTimeL:
    case param::DlyTimeR:
        plainNumber(record, false);
        return static_cast<float>(
            engine.delayMs(index == param::DlyTimeL ? Side::Left : Side::Right));
    case param::RvbAmt:
        plainNumber(record, false);
        return value * 100.0f;
    case param::ModSens:
        record.separator = 0;
        return static_cast<float>(v * 10.0);
    case kTempoTag:
        plainNumber(record, false);
        return static_cast<float>(engine.tempoBpm());
    case param::DlyNumL:
    case param::DlyDenL:
        return delayNote(engine, Side::Left, record);
    case param::DlyNumR:
    case param::DlyDenR:
        return delayNote(engine, Side::Right, record);
    case param::LfoNum:
    case param::LfoDen:
        return noteQuantity(entryFor(engine, param::LfoNum, kLfoNumerators),
                            entryFor(engine, param::LfoDen, kDenominatorTable), record);
    case param::PreNumL:
    case param::PreDenL:
        return preDelayNote(engine, Side::Left, record);
    case param::PreNumR:
    case param::PreDenR:
        return preDelayNote(engine, Side::Right, record);
    default:
        return 0.0f;
    }
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
    const int numerator =
        entryFor(engine, left ? param::DlyNumL : param::DlyNumR, kDelayNumerators);
    const int denominator =
        entryFor(engine, left ? param::DlyDenL : param::DlyDenR, kDenominatorTable);
    // numerator * 240000 / (denominator * tempo) ms, a whole note times the fraction
    return numerator * 240000.0 > kLongestDelayMs * denominator * engine.tempoBpm();
}

bool lfoNoteOutOfRange(const engine::Engine& engine) {
    const int numerator = entryFor(engine, param::LfoNum, kLfoNumerators);
    const int denominator = entryFor(engine, param::LfoDen, kDenominatorTable);
    // rate = denominator * tempo / (numerator * 240) Hz, compared with both sides multiplied by
    // numerator * 240; 0.01 Hz is compared as 100 * rate against 1 to stay exact.
    const double scaledRate = denominator * engine.tempoBpm();
    const double scale = numerator * 240.0;
    return scaledRate > kFastestLfoHz * scale || scaledRate * 100.0 < scale;
}

bool preDelayNoteTooLong(const engine::Engine& engine, Side side) {
    const bool left = side == Side::Left;
    const int numerator =
        entryFor(engine, left ? param::PreNumL : param::PreNumR, kPreDelayNumerators);
    const int denominator =
        entryFor(engine, left ? param::PreDenL : param::PreDenR, kDenominatorTable);
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
