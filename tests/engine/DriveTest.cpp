#include "engine/Drive.h"

#include <gtest/gtest.h>

#include <random>

namespace velmora::engine {
namespace {

TEST(Drive, InactiveDriveLeavesTheSignalExactWhileTheDetectorRuns) {
    Drive drive;
    drive.setWindow(4);
    drive.beginBlock();
    std::minstd_rand random(3);
    std::uniform_real_distribution<double> signal(-5.0, 5.0);
    for (int n = 0; n < 1000; ++n) {
        const double inL = signal(random), inR = signal(random);
        double left = inL, right = inR;
        drive.process(left, right, 16.0, false);
        ASSERT_EQ(left, inL);
        ASSERT_EQ(right, inR);
    }
    // The detector kept running: switching on now clips at once from a full window.
    double left = 1.0, right = 1.0;
    drive.process(left, right, 16.0, true);
    EXPECT_LT(left, 0.5);
}

TEST(Drive, SteadyInputSettlesAtTheInverseOfTheDriveGainForEveryWindow) {
    for (const int window : {2, 4, 8, 16}) {
        Drive drive;
        drive.setWindow(window);
        drive.beginBlock();
        double left = 0.0, right = 0.0;
        for (int n = 0; n < 64; ++n) {
            if (n % 16 == 0) drive.beginBlock();
            left = 1.0;
            right = -1.0;
            drive.process(left, right, 16.0, true);
        }
        EXPECT_DOUBLE_EQ(left, 1.0 / 16.0) << window;
        EXPECT_DOUBLE_EQ(right, -1.0 / 16.0) << window;
    }
}

TEST(Drive, QuietInputIsInTheGentleRegionAndResetEmptiesTheWindow) {
    Drive drive;
    drive.setWindow(4);
    double left = 0.0, right = 0.0;
    for (int n = 0; n < 8; ++n) {
        left = 0.1;
        right = 0.4;
        drive.process(left, right, 1.0, true);
    }
    EXPECT_DOUBLE_EQ(left, 0.1 * (1.0 - 0.1 / 4.0));  // mean 0.1: gain 1 − A/4
    EXPECT_DOUBLE_EQ(right, 0.4 * (1.0 - 0.4 / 4.0)); // mean 0.4

    drive.reset();
    drive.beginBlock();
    left = 0.0;
    right = 0.0;
    drive.process(left, right, 16.0, true);
    left = 0.5;
    right = 0.5;
    drive.process(left, right, 1.0, true); // window holds only this sample: mean 0.125
    EXPECT_DOUBLE_EQ(left, 0.5 * (1.0 - 0.125 / 4.0));
}

TEST(Drive, EachSideTakesTheGainOfItsOwnRegion) {
    Drive drive;
    drive.setWindow(4);
    double left = 0.0, right = 0.0;
    for (int n = 0; n < 8; ++n) {
        left = 0.1;   // mean 0.1: gentle
        right = -1.0; // mean 16 at gain 16: past the knee, 1 / A
        drive.process(left, right, 16.0, true);
    }
    EXPECT_DOUBLE_EQ(left, 0.1 * (1.0 - 1.6 / 4.0));
    EXPECT_DOUBLE_EQ(right, -1.0 / 16.0);
}

} // namespace
} // namespace velmora::engine
