// What a change of sample rate at resume must carry over from values set at the old rate.
#include "engine/Engine.h"
#include "engine/ParameterIndex.h"

#include <gtest/gtest.h>

namespace velmora::engine {
namespace {

void resumeAt(Engine& engine, double rate) {
    ResumeRequest request;
    request.sampleRate = rate;
    engine.resume(request);
}

TEST(CoreRateChange, CutoffIsLimitedAfreshForTheNewRate) {
    Engine engine;
    resumeAt(engine, 22050.0);
    engine.setParameter(param::Cutoff, 1.0f);
    EXPECT_DOUBLE_EQ(engine.cutoffTargetHz(), 11025.0);

    resumeAt(engine, 44100.0);
    EXPECT_DOUBLE_EQ(engine.cutoffTargetHz(), 16000.0);

    resumeAt(engine, 8000.0);
    EXPECT_DOUBLE_EQ(engine.cutoffTargetHz(), 4000.0);
}

} // namespace
} // namespace velmora::engine
