// Hosts that leave buffers out: the block still replaces every output buffer it was given.
#include "tests/engine/EngineHarness.h"

#include <gtest/gtest.h>

namespace velmora::engine::test {
namespace {

constexpr int kFrames = 64;

TEST(CoreHostBuffers, MissingSidechainBuffersReadAsSilence) {
    auto withSilence = makeEngine(4, 2);
    auto withoutBuffers = makeEngine(4, 2);
    std::vector<double> main(kFrames, 0.25), silence(kFrames, 0.0);
    std::vector<double> expectedL(kFrames), expectedR(kFrames), left(kFrames, 123.0),
        right(kFrames, 123.0);

    const double* full[4] = {main.data(), main.data(), silence.data(), silence.data()};
    double* expected[2] = {expectedL.data(), expectedR.data()};
    withSilence->process(full, expected, kFrames, {});

    const double* partial[4] = {main.data(), main.data(), nullptr, nullptr};
    double* outputs[2] = {left.data(), right.data()};
    withoutBuffers->process(partial, outputs, kFrames, {});

    EXPECT_EQ(left, expectedL);
    EXPECT_EQ(right, expectedR);
}

TEST(CoreHostBuffers, AMissingOutputBufferSilencesTheOther) {
    auto engine = makeEngine(2, 2);
    std::vector<double> main(kFrames, 0.5), left(kFrames, 123.0);
    const double* inputs[2] = {main.data(), main.data()};
    double* outputs[2] = {left.data(), nullptr};
    engine->process(inputs, outputs, kFrames, {});
    EXPECT_EQ(left, std::vector<double>(kFrames, 0.0));
}

} // namespace
} // namespace velmora::engine::test
