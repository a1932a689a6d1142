// Tap distances land on whole samples where the timing puts them exactly.
#include "engine/DelayTiming.h"
#include "engine/Engine.h"
#include "engine/ParameterIndex.h"
#include "engine/ValueTables.h"

#include <gtest/gtest.h>

namespace velmora::engine {
namespace {

TEST(CoreTiming, WholeSamplePreDelaysAreNotCutShort) {
    Engine engine;
    ResumeRequest request;
    request.hostTempoBpm = 60.0;
    engine.resume(request);
    engine.setParameter(param::DlyNumL, stepValue(3, 5));  // 7
    engine.setParameter(param::DlyDenL, stepValue(5, 13)); // 8: 7/8 at 60 BPM is 3500 ms
    engine.setParameter(param::DlyModeL, stepValue(1, 2));
    engine.setParameter(param::PreNumL, stepValue(1, 6));  // 1
    engine.setParameter(param::PreDenL, stepValue(2, 13)); // 3
    ASSERT_DOUBLE_EQ(engine.delayMs(Side::Left), 3500.0);

    const TapDistances taps = tapDistances(engine.state(), 0);
    EXPECT_EQ(taps.preSamples, 51450u); // a third of 154350
    EXPECT_EQ(taps.delaySamples, 154350u);
}

} // namespace
} // namespace velmora::engine
