// The effect's editor seam: an attached EffectEditor is registered with the host record and
// hears every notification the effect and its preset system send, in order.
#include "engine/ParameterIndex.h"
#include "plugin/DelayEffect.h"
#include "plugin/EffectEditor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace velmora {
namespace {

VstIntPtr VST_CALL quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

class RecordingEditor final : public EffectEditor {
  public:
    RecordingEditor(AudioEffect* effect, std::vector<std::string>& log)
        : EffectEditor(effect), log_(log) {}

    void setParameter(VstInt32 index, float) override {
        log_.push_back("parameter " + std::to_string(index));
    }
    void linkOff() override { log_.push_back("link off"); }
    void linkOn() override { log_.push_back("link on"); }
    void programNameChanged(int program) override {
        log_.push_back("name " + std::to_string(program));
    }
    void currentProgramShown(int program) override {
        log_.push_back("shown " + std::to_string(program));
    }
    void learnButtonReleased() override { log_.push_back("learn released"); }
    void forgetButtonReleased() override { log_.push_back("forget released"); }
    void applyStartupDefaults() override { log_.push_back("startup defaults"); }

  private:
    std::vector<std::string>& log_;
};

class EffectEditorSeam : public ::testing::Test {
  protected:
    void SetUp() override {
        effect = std::make_unique<DelayEffect>(&quietHost);
        effect->attachEditor(std::make_unique<RecordingEditor>(effect.get(), log));
    }

    bool logged(const std::string& entry) const {
        return std::find(log.begin(), log.end(), entry) != log.end();
    }

    std::vector<std::string> log;
    std::unique_ptr<DelayEffect> effect;
};

TEST(EffectEditorAttachment, NoEditorLeavesTheRecordWithoutOne) {
    DelayEffect effect(&quietHost);
    effect.attachEditor(nullptr);
    EXPECT_EQ(effect.getEditor(), nullptr);
    EXPECT_FALSE(effect.getAeffect()->flags & effFlagsHasEditor);

    std::vector<std::string> log;
    auto editor = std::make_unique<RecordingEditor>(&effect, log);
    const AEffEditor* attached = editor.get();
    effect.attachEditor(std::move(editor));
    EXPECT_EQ(effect.getEditor(), attached);
    EXPECT_TRUE(effect.getAeffect()->flags & effFlagsHasEditor);
}

TEST_F(EffectEditorSeam, ProgramChangeSendsEveryValueBetweenLinkOffAndOn) {
    effect->presets().setCurrentProgram(24);
    ASSERT_GE(log.size(), 62u);
    EXPECT_EQ(log.front(), "link off");
    for (int index = 0; index < kNumParameters; ++index)
        EXPECT_EQ(log[static_cast<std::size_t>(index) + 1], "parameter " + std::to_string(index));
    EXPECT_EQ(log.back(), "link on");
}

TEST_F(EffectEditorSeam, OnlyAProgramWithMatchingChannelsTurnsTheLinkBackOn) {
    int unmatched = 0;
    for (int program = 0; program < 61; ++program) {
        log.clear();
        effect->presets().setCurrentProgram(program);
        EXPECT_EQ(log.front(), "link off");
        EXPECT_EQ(logged("link on"), effect->sidesMatch()) << "program " << program;
        if (!effect->sidesMatch()) ++unmatched;
    }
    EXPECT_GT(unmatched, 0) << "some factory programs treat the channels differently";
}

TEST_F(EffectEditorSeam, PresetNotificationsReachTheEditor) {
    effect->presets().setCurrentProgram(3);
    char name[] = "Renamed";
    effect->setProgramName(name);
    EXPECT_TRUE(logged("name 3"));

    // Restoring a state shows its current program.
    void* data = nullptr;
    const VstInt32 size = effect->getChunk(&data, false);
    std::vector<std::byte> state(static_cast<std::byte*>(data),
                                 static_cast<std::byte*>(data) + size);
    log.clear();
    ASSERT_EQ(effect->setChunk(state.data(), size, false), 0);
    EXPECT_TRUE(logged("shown 3"));

    effect->presets().startLearning();
    effect->presets().stopLearning();
    EXPECT_TRUE(logged("learn released"));
    effect->presets().startForgetting();
    effect->setParameter(param::Mix, 0.5f);
    EXPECT_TRUE(logged("forget released"));
    EXPECT_TRUE(logged("parameter " + std::to_string(param::Mix)));

    effect->presets().captureTemplate();
    EXPECT_TRUE(logged("startup defaults"));
}

} // namespace
} // namespace velmora
