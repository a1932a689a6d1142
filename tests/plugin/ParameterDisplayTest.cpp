#include "plugin/ParameterDisplay.h"
#include "engine/Engine.h"
#include "engine/ParameterDescriptions.h"
#include "engine/ParameterIndex.h"
#include "engine/ValueTables.h"
#include "plugin/ParameterTable.h"
#include "vst2/NumberText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <string>

namespace velmora {
namespace {

std::string displayOf(const engine::Engine& engine, int index) {
    char text[64];
    std::strcpy(text, "untouched");
    writeParameterDisplay(engine, index, text);
    return text;
}

struct DisplayCase {
    int index;
    float value;
    const char* text;
};

// Each case is applied to a fresh engine so that no case depends on another.
TEST(ParameterDisplay, TextOfEveryKindOfParameter) {
    const DisplayCase cases[] = {
        {param::Input, 0.0f, "-oo"},
        {param::Input, 0.5f, "0.000000"},
        {param::Input, 1.0f, "12.04120"},
        {param::Output, 0.25f, "-12.0412"},
        {param::Mix, 0.3f, "D:70<>30:W"},
        {param::Mix, 0.0f, "D:100<>0:W"},
        {param::Mix, 1.0f, "D:0<>100:W"},
        {param::FbGainL, 0.5f, "-6.02060"},
        {param::FbGainR, 0.0f, "-oo"},
        {param::FbPanL, 0.0f, "L:100<>0:R"},
        {param::FbPanR, 0.5f, "L:50<>50:R"},
        {param::DlyPanL, 1.0f, "L:0<>100:R"},
        {param::DlyPanR, 0.985f, "L:1<>99:R"},
        {param::FbInvL, 0.25f, "off"},
        {param::FbInvR, 0.75f, "on"},
        {param::DlyInvL, 1.0f, "on"},
        {param::Bypass, 0.49f, "off"},
        {param::VcoOn, 0.5f, "on"},
        {param::RvbOn, 0.0f, "off"},
        {param::FltOn, 0.75f, "on"},
        {param::LFOWave, 0.0f, "sin"},
        {param::LFOWave, 0.5f, "tri"},
        {param::LFOWave, 1.0f, "rnd"},
        {param::LFORate, 0.0f, "0.009999"}, // 16^0 - 1 held at the 0.01 Hz floor
        {param::LFORate, 0.5f, "3.000000"},
        {param::LFORate, 1.0f, "15.00000"},
        {param::LROffset, 0.75f, "L:-90<>90+:R"},
        {param::LROffset, 0.25f, "L:+90<>90-:R"},
        {param::LROffset, 0.5f, "L:0<>0:R"},
        {param::LROffset, 0.0f, "L:+180<>180-:R"},
        {param::LROffset, 1.0f, "L:-180<>180+:R"},
        {param::ModSrc, 0.5f, "L:50<>50:E"},
        {param::CutfMod, 0.25f, "-50"},
        {param::CutfMod, 0.498f, "0"}, // -0.4 % rounds to 0, shown without a sign
        {param::CutfMod, 1.0f, "100"},
        {param::VcoMod, 0.0f, "-100"},
        {param::ResoMod, 0.25f, "-50"},
        {param::ResoMod, 0.5f, "0"},
        {param::FltType, 0.5f, "BPF"},
        {param::FltType, 1.0f, "HPF"},
        {param::Cutoff, 0.0f, "50"},
        {param::Cutoff, 0.5f, "1010"},
        {param::Cutoff, 1.0f, "16000"},
        {param::Reso, 0.5f, "5.000000"},
        {param::Reso, 1.0f, "10.00000"},
        {param::VcoMan, 0.0f, "0.500000"},
        {param::VcoMan, 1.0f, "2.000000"},
        {param::Drive, 0.0f, "0.000000"},
        {param::Drive, 1.0f, "24.08240"},
        {param::EnvSpeed, 0.0f, "100"},
        {param::EnvSpeed, 0.5f, "550"},
        {param::EnvSpeed, 1.0f, "1000"},
        {param::FltMode, 0.0f, "in"},
        {param::FltMode, 1.0f, "fx"},
        {param::DlyModeL, 0.25f, "time"},
        {param::DlyModeR, 0.75f, "note"},
        {param::DlyNumL, 0.5f, "5"},
        {param::DlyNumR, 1.0f, "9"},
        {param::DlyDenL, 0.0f, "1"},
        {param::DlyDenR, 1.0f, "96"},
        {param::RangeL, 0.0f, "100"},
        {param::RangeR, stepValue(2, 3), "5000"},
        {param::LfoMode, 0.0f, "freq"},
        {param::LfoMode, 0.5f, "note"},
        {param::LfoMode, 1.0f, "note"},
        {param::LfoNum, 1.0f, "8"},
        {param::LfoDen, stepValue(4, 13), "6"},
        {param::RvbMode, 0.75f, "out"},
        {param::RvbType, 0.25f, "spring"},
        {param::RvbType, 0.75f, "plate"},
        {param::RvbDamp, 0.5f, "50.00000"},
        {param::RvbAmt, 0.01f, "1.000000"},
        {param::RvbAmt, 1.0f, "100.0000"},
        {param::Unused43, 0.7f, "n/a"},
        {param::Unused44, 0.1f, "n/a"},
        {param::ModSens, 0.5f, "50"},
        {param::ModSens, 0.0f, "0"},
        {param::DlyGateL, 0.0f, "-oo"},
        {param::DlyGateR, 0.5f, "-12.0412"},
        {param::Ducking, 0.0f, "-24.0000"},
        {param::Ducking, 0.5f, "-12.0000"},
        {param::Ducking, 1.0f, "0.000000"},
        {param::PreNumL, 0.0f, "0"},
        {param::PreNumR, 1.0f, "9"},
        {param::PreDenL, 1.0f, "96"},
        {param::PreDenR, stepValue(1, 13), "2"},
        {param::MuteInL, 0.5f, "off"},
        {param::MuteInR, 0.51f, "muted"},
    };
    for (const auto& c : cases) {
        auto engine = std::make_unique<engine::Engine>();
        engine->setParameter(c.index, c.value);
        EXPECT_EQ(displayOf(*engine, c.index), c.text)
            << describe(c.index).name << " at " << c.value;
    }
}

TEST(ParameterDisplay, CutoffIsHeldBelowHalfTheSampleRate) {
    auto engine = std::make_unique<engine::Engine>();
    engine::ResumeRequest request;
    request.sampleRate = 22050.0;
    engine->resume(request);
    engine->setParameter(param::Cutoff, 1.0f);
    EXPECT_EQ(displayOf(*engine, param::Cutoff), "11025");
}

TEST(ParameterDisplay, DelayTimesFollowTheFreeTimeAndTheTempo) {
    auto engine = std::make_unique<engine::Engine>();
    engine->setParameter(param::DlyModeL, 0.25f);
    engine->setParameter(param::RangeL, stepValue(1, 3));
    engine->setParameter(param::DlyTimeL, 0.5f);
    EXPECT_EQ(displayOf(*engine, param::DlyTimeL), "500.000000");

    // Three eighths at 120 BPM; nine wholes are held at 5000 ms.
    engine->setParameter(param::DlyModeR, 0.75f);
    engine->setParameter(param::DlyNumR, stepValue(1, 5));
    engine->setParameter(param::DlyDenR, stepValue(5, 13));
    EXPECT_EQ(displayOf(*engine, param::DlyTimeR), "750.000000");
    engine->setParameter(param::DlyNumR, 1.0f);
    engine->setParameter(param::DlyDenR, 0.0f);
    EXPECT_EQ(displayOf(*engine, param::DlyTimeR), "5000.000000");
}

TEST(ParameterDisplay, OutsideIndicesWriteNothing) {
    auto engine = std::make_unique<engine::Engine>();
    EXPECT_EQ(displayOf(*engine, -1), "untouched");
    EXPECT_EQ(displayOf(*engine, 60), "untouched");
    EXPECT_EQ(displayOf(*engine, 75), "untouched");
}

// Whatever value reaches the engine, no text written for any index reaches past 64 bytes.
TEST(ParameterDisplay, EveryTextFitsSixtyFourBytes) {
    const float inf = std::numeric_limits<float>::infinity();
    const float values[] = {0.0f,   0.5f,  1.0f, -1.0f, 2.0f,          1e30f,    -1e30f,
                            1e-40f, -0.0f, inf,  -inf,  std::nanf(""), 0.999999f};
    constexpr int kGuardBytes = 256;
    for (float value : values) {
        auto engine = std::make_unique<engine::Engine>();
        for (int index = 0; index < kNumParameters; ++index)
            engine->setParameter(index, value);
        for (int index = 0; index <= 130; ++index) {
            for (int kind = 0; kind < 3; ++kind) {
                char text[kGuardBytes];
                std::memset(text, 'x', sizeof text);
                text[0] = '\0';
                if (kind == 0)
                    writeParameterName(index, text);
                else if (kind == 1)
                    writeParameterLabel(index, text);
                else
                    writeParameterDisplay(*engine, index, text);
                const void* terminator = std::memchr(text, '\0', sizeof text);
                ASSERT_NE(terminator, nullptr);
                EXPECT_LT(static_cast<const char*>(terminator) - text, 64)
                    << "kind " << kind << " index " << index << " value " << value;
                for (int byte = 64; byte < kGuardBytes; ++byte)
                    ASSERT_EQ(text[byte], 'x') << "index " << index << " value " << value;
            }
        }
    }
}

} // namespace
} // namespace velmora
