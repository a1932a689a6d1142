#include "plugin/EditorQueries.h"
#include "engine/Engine.h"
#include "engine/ParameterIndex.h"
#include "engine/ValueTables.h"

#include <gtest/gtest.h>

#include <memory>

namespace velmora {
namespace {

// A record whose fields show whether a query touched them.
DisplayRecord untouchedRecord() {
    return {7777, 9, true, 0, 55, 66};
}

class EditorQueries : public ::testing::Test {
  protected:
    DisplayRecord recordFor(int index, float value = 0.0f) {
        DisplayRecord record = untouchedRecord();
        getDisplayRecord(*engine, index, value, record);
        return record;
    }
    void set(int index, float value) { engine->setParameter(index, value); }
    void setTempo(double bpm) {
        engine::ResumeRequest request;
        request.hostTempoBpm = bpm;
        engine->resume(request);
    }

    std::unique_ptr<engine::Engine> engine = std::make_unique<engine::Engine>();
};

TEST_F(EditorQueries, LevelsInDecibelsWithTheFloorAtMinusOneHundred) {
    set(param::Input, 0.5f);
    auto record = recordFor(param::Input);
    EXPECT_EQ(record.digits, 0);
    EXPECT_EQ(record.point, 1);
    EXPECT_TRUE(record.isSigned);
    EXPECT_EQ(record.separator, 0);
    EXPECT_EQ(record.numerator, -1);
    EXPECT_EQ(record.denominator, 66);

    set(param::Input, 0.0f);
    record = recordFor(param::Input);
    EXPECT_EQ(record.digits, -1000);
    EXPECT_EQ(record.point, 3);

    set(param::FbGainL, 0.5f); // -6.02 dB
    EXPECT_EQ(recordFor(param::FbGainL).digits, -6021);
    set(param::DlyGateR, 0.5f); // -12.04 dB
    record = recordFor(param::DlyGateR);
    EXPECT_EQ(record.digits, -1204);
    EXPECT_EQ(record.point, 2);
    set(param::Drive, 1.0f); // 24.08 dB
    EXPECT_EQ(recordFor(param::Drive).digits, 2408);
}

TEST_F(EditorQueries, BalancesShowBothShares) {
    set(param::Mix, 0.5f);
    auto record = recordFor(param::Mix);
    EXPECT_EQ(record.separator, 2);
    EXPECT_EQ(record.digits, 5050);
    EXPECT_EQ(record.point, 0);
    EXPECT_FALSE(record.isSigned);

    set(param::Mix, 1.0f);
    record = recordFor(param::Mix);
    EXPECT_EQ(record.separator, 1);
    EXPECT_EQ(record.digits, 100);

    set(param::DlyPanL, 0.0f);
    record = recordFor(param::DlyPanL);
    EXPECT_EQ(record.separator, 3);
    EXPECT_EQ(record.digits, 1000);

    set(param::ModSrc, 0.3f);
    EXPECT_EQ(recordFor(param::ModSrc).digits, 30 + 70 * 100);
}

TEST_F(EditorQueries, PlainNumbersMoveThePointWithTheMagnitude) {
    set(param::Cutoff, 1.0f); // 16000 Hz shown in kHz
    auto record = recordFor(param::Cutoff);
    EXPECT_EQ(record.digits, 1600);
    EXPECT_EQ(record.point, 2);
    EXPECT_FALSE(record.isSigned);

    set(param::LFORate, 0.5f); // 3 Hz
    record = recordFor(param::LFORate);
    EXPECT_EQ(record.digits, 3000);
    EXPECT_EQ(record.point, 1);

    set(param::LROffset, 0.25f); // -90 degrees
    record = recordFor(param::LROffset);
    EXPECT_EQ(record.digits, -9000);
    EXPECT_EQ(record.point, 2);
    EXPECT_TRUE(record.isSigned);
    set(param::LROffset, 1.0f); // 180 degrees
    record = recordFor(param::LROffset);
    EXPECT_EQ(record.digits, 1800);
    EXPECT_EQ(record.point, 3);

    set(param::CutfMod, 0.25f);
    EXPECT_EQ(recordFor(param::CutfMod).digits, -5000);
    set(param::EnvSpeed, 1.0f);
    record = recordFor(param::EnvSpeed);
    EXPECT_EQ(record.digits, 1000);
    EXPECT_EQ(record.point, 0);
    set(param::VcoMan, 1.0f);
    EXPECT_EQ(recordFor(param::VcoMan).digits, 2000);

    record = recordFor(param::DlyTimeL); // 2000 ms after construction
    EXPECT_EQ(record.digits, 2000);
    EXPECT_EQ(record.point, 0);

    record = recordFor(kTempoTag);
    EXPECT_EQ(record.digits, 1200);
    EXPECT_EQ(record.point, 3);
    EXPECT_FALSE(record.isSigned);
}

TEST_F(EditorQueries, RowsReadingTheHostValueAndRowsLeavingFieldsAlone) {
    auto record = recordFor(param::RvbDamp, 0.5f); // 0.5 * 24 - 24
    EXPECT_EQ(record.digits, -1200);
    EXPECT_EQ(record.point, 2);
    EXPECT_TRUE(record.isSigned);
    record = recordFor(param::RvbAmt, 0.5f);
    EXPECT_EQ(record.digits, 5000);
    EXPECT_FALSE(record.isSigned);

    set(param::ModSens, 0.5f); // sign left as passed
    record = recordFor(param::ModSens);
    EXPECT_EQ(record.digits, 5000);
    EXPECT_EQ(record.point, 1);
    EXPECT_TRUE(record.isSigned);

    // An index without a row shows 0, with the caller's separator deciding the encoding.
    record = recordFor(param::Bypass);
    EXPECT_EQ(record.digits, 0);
    EXPECT_EQ(record.point, 1);
    EXPECT_EQ(record.numerator, -1);
    EXPECT_TRUE(record.isSigned);
    DisplayRecord balanced{1, 1, false, 2, 0, 0};
    getDisplayRecord(*engine, 99, 0.0f, balanced);
    EXPECT_EQ(balanced.separator, 2);
    EXPECT_EQ(balanced.point, 0);
}

TEST_F(EditorQueries, NoteValuesGiveNumeratorAndDenominator) {
    set(param::DlyNumL, stepValue(1, 5));
    set(param::DlyDenL, stepValue(2, 13));
    for (int index : {param::DlyNumL, param::DlyDenL}) {
        const auto record = recordFor(index);
        EXPECT_EQ(record.numerator, 3);
        EXPECT_EQ(record.denominator, 3);
        EXPECT_EQ(record.separator, 0);
        EXPECT_TRUE(record.isSigned); // left as passed
    }
    set(param::DlyNumR, 1.0f);
    set(param::DlyDenR, 1.0f);
    EXPECT_EQ(recordFor(param::DlyDenR).numerator, 9);
    EXPECT_EQ(recordFor(param::DlyNumR).denominator, 96);

    set(param::LfoNum, 1.0f);
    set(param::LfoDen, stepValue(3, 13));
    EXPECT_EQ(recordFor(param::LfoDen).numerator, 8);
    EXPECT_EQ(recordFor(param::LfoNum).denominator, 4);

    set(param::PreNumL, 0.0f);
    set(param::PreNumR, stepValue(3, 6));
    set(param::PreDenR, stepValue(5, 13));
    EXPECT_EQ(recordFor(param::PreDenL).numerator, 0);
    EXPECT_EQ(recordFor(param::PreDenL).denominator, 2);
    EXPECT_EQ(recordFor(param::PreNumR).numerator, 5);
    EXPECT_EQ(recordFor(param::PreNumR).denominator, 8);
}

void setNote(engine::Engine& engine, int numeratorIndex, int numeratorStep, int denominatorIndex,
             int denominatorStep, int numeratorSteps) {
    engine.setParameter(numeratorIndex, stepValue(numeratorStep, numeratorSteps));
    engine.setParameter(denominatorIndex, stepValue(denominatorStep, 13));
}

TEST_F(EditorQueries, DelayNotesLongerThanFiveSecondsAreTooLong) {
    setNote(*engine, param::DlyNumL, 4, param::DlyDenL, 0, 5); // 9/1 at 120 BPM: 18000 ms
    EXPECT_TRUE(isNoteValueTooLong(*engine, kLeftDelayNote));
    EXPECT_FALSE(isNoteValueTooLong(*engine, kRightDelayNote));
    setNote(*engine, param::DlyNumL, 0, param::DlyDenL, 3, 5); // 1/4: 500 ms
    EXPECT_FALSE(isNoteValueTooLong(*engine, kLeftDelayNote));
    setNote(*engine, param::DlyNumR, 2, param::DlyDenR, 1, 5); // 5/2: exactly 5000 ms
    EXPECT_FALSE(isNoteValueTooLong(*engine, kRightDelayNote));
    setNote(*engine, param::DlyNumR, 3, param::DlyDenR, 1, 5); // 7/2: 7000 ms
    EXPECT_TRUE(isNoteValueTooLong(*engine, kRightDelayNote));
    setTempo(168.0); // 7/2 at 168 BPM is exactly 5000 ms
    EXPECT_FALSE(isNoteValueTooLong(*engine, kRightDelayNote));
}

TEST_F(EditorQueries, LfoNotesOutsideTheRateRange) {
    setTempo(225.0);
    setNote(*engine, param::LfoNum, 0, param::LfoDen, 7, 5); // 1/16 at 225 BPM: exactly 15 Hz
    EXPECT_FALSE(isNoteValueTooLong(*engine, kLfoNote));
    setNote(*engine, param::LfoNum, 0, param::LfoDen, 8, 5); // 1/24: 22.5 Hz
    EXPECT_TRUE(isNoteValueTooLong(*engine, kLfoNote));
    setTempo(30.0);
    setNote(*engine, param::LfoNum, 4, param::LfoDen, 0, 5); // 8/1 at 30 BPM: 0.015625 Hz
    EXPECT_FALSE(isNoteValueTooLong(*engine, kLfoNote));
}

TEST_F(EditorQueries, PreDelaysLongerThanTheDelayAndUnknownSelectors) {
    setNote(*engine, param::PreNumR, 5, param::PreDenR, 0, 6); // right 9/1
    setNote(*engine, param::PreNumL, 0, param::PreDenL, 0, 6); // left 0/1
    EXPECT_FALSE(isNoteValueTooLong(*engine, kLeftPreDelayNote));
    EXPECT_TRUE(isNoteValueTooLong(*engine, kRightPreDelayNote));
    setNote(*engine, param::PreNumR, 2, param::PreDenR, 2, 6); // 3/3: a ratio of exactly 1
    EXPECT_FALSE(isNoteValueTooLong(*engine, kRightPreDelayNote));

    setNote(*engine, param::DlyNumL, 4, param::DlyDenL, 0, 5);
    for (int selector : {0, 3, 5, 32, -1})
        EXPECT_FALSE(isNoteValueTooLong(*engine, selector)) << selector;
}

} // namespace
} // namespace velmora
