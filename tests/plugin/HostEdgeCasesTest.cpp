// The shell's answers where a host does something unusual: no input array, a version of 0 or
// no callback at all, key events with an odd float argument, and an engine lock another thread
// holds past the time-out (the block is silence, suspend and resume leave the engine alone).
#include "plugin/DelayEffect.h"

#include "engine/ParameterIndex.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <future>
#include <limits>
#include <memory>
#include <thread>
#include <vector>

namespace velmora {
namespace {

using namespace std::chrono_literals;

struct HostAnswers {
    VstIntPtr version = 2400;
    int wantMidi = 0;

    static HostAnswers*& current() {
        thread_local HostAnswers* answers = nullptr;
        return answers;
    }

    static VstIntPtr VST_CALL callback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*,
                                       float) {
        HostAnswers* self = current();
        if (!self) return 0;
        if (opcode == audioMasterVersion) return self->version;
        if (opcode == audioMasterWantMidi) ++self->wantMidi;
        return 0;
    }
};

class HostEdgeCases : public ::testing::Test {
  protected:
    void SetUp() override {
        HostAnswers::current() = &host;
        effect = std::make_unique<DelayEffect>(&HostAnswers::callback);
    }
    void TearDown() override { HostAnswers::current() = nullptr; }

    // Runs one block with an impulse on both main inputs; answers the first output samples.
    std::pair<float, float> firstSamples() {
        std::vector<float> input(64, 0.0f), left(64, 9.0f), right(64, 9.0f);
        input[0] = 1.0f;
        float* inputs[4] = {input.data(), input.data(), input.data(), input.data()};
        float* outputs[2] = {left.data(), right.data()};
        effect->processReplacing(inputs, outputs, 64);
        return {left[0], right[0]};
    }

    HostAnswers host;
    std::unique_ptr<DelayEffect> effect;
};

TEST_F(HostEdgeCases, NoInputArrayGivesSilenceInBothPrecisions) {
    effect->resume();
    std::vector<float> left(32, 0.7f), right(32, 0.7f);
    float* outputs[2] = {left.data(), right.data()};
    effect->processReplacing(nullptr, outputs, 32);
    EXPECT_EQ(left, std::vector<float>(32, 0.0f));
    EXPECT_EQ(right, std::vector<float>(32, 0.0f));

    std::vector<double> leftD(32, 0.7), rightD(32, 0.7);
    double* outputsD[2] = {leftD.data(), rightD.data()};
    effect->processDoubleReplacing(nullptr, outputsD, 32);
    EXPECT_EQ(leftD, std::vector<double>(32, 0.0));
    EXPECT_EQ(rightD, std::vector<double>(32, 0.0));
}

TEST_F(HostEdgeCases, MasterVersionIsTheHostsAnswerEvenWhenZero) {
    EXPECT_EQ(effect->getMasterVersion(), 2400);
    host.version = 0;
    EXPECT_EQ(effect->getMasterVersion(), 0);
    DelayEffect withoutHost(nullptr);
    EXPECT_EQ(withoutHost.getMasterVersion(), 0);
}

// The key modifier is the low byte of opt's integer part, which no float may make undefined.
TEST_F(HostEdgeCases, KeyModifierSaturatesTheFloatArgument) {
    struct KeyEditor : EffectEditor {
        using EffectEditor::EffectEditor;
        bool onKeyDown(VstKeyCode& key) override {
            modifiers.push_back(key.modifier);
            return true;
        }
        std::vector<int> modifiers;
    };
    auto editor = std::make_unique<KeyEditor>(effect.get());
    KeyEditor& keys = *editor;
    effect->attachEditor(std::move(editor));
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const float opt : {3.7f, nan, 1e30f, -1e30f, 258.0f})
        EXPECT_EQ(effect->dispatcher(effEditKeyDown, 'a', 0, nullptr, opt), 1);
    EXPECT_EQ(keys.modifiers, (std::vector<int>{3, 0, 0xFF, 0, 2}));
}

// Holds the effect's lock on another thread for as long as it lives.
class LockHolder {
  public:
    explicit LockHolder(EngineLock& lock) {
        std::promise<void> taken;
        auto isTaken = taken.get_future();
        thread_ = std::thread([&lock, &taken, released = release_.get_future()]() mutable {
            std::unique_lock hold(lock);
            taken.set_value();
            released.wait();
        });
        isTaken.wait();
    }
    ~LockHolder() {
        release_.set_value();
        thread_.join();
    }

  private:
    std::promise<void> release_;
    std::thread thread_;
};

TEST_F(HostEdgeCases, BlockIsSilenceWhileAnotherThreadHoldsTheLock) {
    effect->setEngineLockTimeoutForTests(20ms);
    effect->resume();
    {
        LockHolder holder(effect->engineLockForTests());
        EXPECT_EQ(firstSamples(), std::make_pair(0.0f, 0.0f));
    }
    EXPECT_EQ(firstSamples(), std::make_pair(0.5f, 0.5f)) << "the dry half of Default's mix";
}

// Suspend makes a changed mix take effect at once; skipped, the mix still glides.
TEST_F(HostEdgeCases, SuspendDoesNothingWhileAnotherThreadHoldsTheLock) {
    effect->setEngineLockTimeoutForTests(20ms);
    effect->resume();
    effect->setParameter(param::Mix, 0.0f); // all dry, from half
    {
        LockHolder holder(effect->engineLockForTests());
        effect->suspend();
    }
    EXPECT_LT(firstSamples().first, 0.9f) << "the mix glides: suspend did not run";
    effect->suspend();
    EXPECT_EQ(firstSamples().first, 1.0f) << "with the lock free, suspend applies the mix";
}

TEST_F(HostEdgeCases, ResumeDoesNothingWhileAnotherThreadHoldsTheLock) {
    effect->setEngineLockTimeoutForTests(20ms);
    effect->setSampleRate(48000.0f);
    {
        LockHolder holder(effect->engineLockForTests());
        effect->resume();
    }
    EXPECT_EQ(effect->engine().sampleRate(), 44100.0);
    EXPECT_EQ(host.wantMidi, 0);
    effect->resume();
    EXPECT_EQ(effect->engine().sampleRate(), 48000.0);
    EXPECT_EQ(host.wantMidi, 1);
}

} // namespace
} // namespace velmora
