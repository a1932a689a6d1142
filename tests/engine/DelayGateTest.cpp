#include "engine/DelayGate.h"

#include <gtest/gtest.h>

namespace velmora::engine {
namespace {

// The two channels' gates share nothing but the release: each envelope follows its own signal
// and each gain answers its own threshold.
TEST(DelayGate, EachChannelFollowsItsOwnSignalAndThreshold) {
    DelayGate gates;
    TwoLanes gains{};
    for (int n = 0; n < 20000; ++n)
        gains = gates.process(TwoLanes{0.2, -0.8}, TwoLanes{0.5, 0.9}, 0.01, 0.001);
    EXPECT_NEAR(gates.envelope(0), 0.2, 1e-9);
    EXPECT_NEAR(gates.envelope(1), 0.8, 1e-9);
    EXPECT_NEAR(gains[0], 0.16, 1e-9);        // (0.2 / 0.5)^2
    EXPECT_NEAR(gains[1], 0.64 / 0.81, 1e-9); // (0.8 / 0.9)^2

    // Above its threshold a gate is open.
    gains = gates.process(TwoLanes{0.2, -0.8}, TwoLanes{0.5, 0.7}, 0.01, 0.001);
    EXPECT_LT(gains[0], 1.0);
    EXPECT_EQ(gains[1], 1.0);

    // Below the threshold floor a gate stays open whatever the envelope.
    gains = gates.process(TwoLanes{0.2, 0.0}, TwoLanes{0.5, DelayGate::kThresholdFloor / 2}, 0.01,
                          0.001);
    EXPECT_LT(gains[0], 1.0);
    EXPECT_EQ(gains[1], 1.0);

    gates.reset();
    EXPECT_EQ(gates.envelope(0), 0.0);
    EXPECT_EQ(gates.envelope(1), 0.0);
}

} // namespace
} // namespace velmora::engine
