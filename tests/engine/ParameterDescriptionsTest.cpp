#include "engine/Engine.h"
#include "engine/ParameterDescriptions.h"
#include "presets/FactoryPrograms.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <memory>
#include <string>

namespace velmora {
namespace {

std::string nameOf(int index) {
    return std::string(describe(index).name);
}

// Whatever a row says about its steps must agree: the texts and numbers shown per step, what a
// host is told, and the engine's step conversion all read the same count.
TEST(ParameterDescriptions, StepsAgreeWithTheirTextsAndTheHostAnnouncement) {
    for (int index = 0; index < kNumParameters; ++index) {
        const ParameterDescription& d = describe(index);
        SCOPED_TRACE(nameOf(index));
        const auto steps = static_cast<std::size_t>(d.steps);
        switch (d.display) {
        case DisplayKind::StepName:
            EXPECT_EQ(d.stepNames.size(), steps);
            EXPECT_GE(d.steps, 2);
            break;
        case DisplayKind::StepNumber:
            EXPECT_EQ(d.stepNumbers.size(), steps);
            EXPECT_GE(d.steps, 2);
            break;
        default:
            EXPECT_EQ(d.steps, 0) << "a stepped parameter needs a text per step";
            break;
        }
        switch (d.hostSteps) {
        case HostSteps::Integer:
            EXPECT_GT(d.steps, 2);
            break;
        case HostSteps::Switch:
            EXPECT_TRUE(d.steps == 2 || d.steps == 0);
            break;
        case HostSteps::Float:
            EXPECT_EQ(d.steps, 0);
            EXPECT_GT(d.floatSteps.step, 0.0f);
            EXPECT_GT(d.floatSteps.largeStep, d.floatSteps.step);
            break;
        case HostSteps::None:
            EXPECT_EQ(d.steps, 0) << "a stepped parameter must be announced to the host";
            break;
        }
        if (d.steps == 2) {
            EXPECT_EQ(d.hostSteps, HostSteps::Switch);
        }
    }
}

// The left and right parameter of a pair differ only in name and channel: a row copied for one
// side and forgotten on the other would give the two channels different behaviour.
TEST(ParameterDescriptions, LeftAndRightPairsAreDescribedAlike) {
    int pairs = 0;
    for (int index = 0; index < kNumParameters; ++index) {
        const ParameterDescription& left = describe(index);
        if (left.channel != Channel::Left) continue;
        const ParameterDescription& right = describe(index + 1);
        SCOPED_TRACE(nameOf(index));
        ++pairs;
        EXPECT_EQ(right.channel, Channel::Right);
        const std::string leftName = nameOf(index);
        const std::string rightName = nameOf(index + 1);
        EXPECT_EQ(leftName.back(), 'L');
        EXPECT_EQ(rightName, leftName.substr(0, leftName.size() - 1) + "R");
        EXPECT_EQ(right.label, left.label);
        EXPECT_EQ(right.steps, left.steps);
        EXPECT_EQ(right.group, left.group);
        EXPECT_EQ(right.display, left.display);
        EXPECT_EQ(right.readout, left.readout);
        EXPECT_EQ(right.hostSteps, left.hostSteps);
        EXPECT_EQ(right.stepNames.data(), left.stepNames.data());
        EXPECT_EQ(right.stepNumbers.data(), left.stepNumbers.data());
        // Pans start hard left and hard right; everything else starts alike.
        const double expectedRight =
            left.display == DisplayKind::Pan ? 1.0 - left.initial : left.initial;
        EXPECT_EQ(right.initial, expectedRight);
    }
    EXPECT_EQ(pairs, 14);
    for (int index = 0; index < kNumParameters; ++index) {
        const std::string name = nameOf(index);
        const bool pairedName = name.size() > 1 && (name.back() == 'L' || name.back() == 'R');
        EXPECT_EQ(describe(index).channel != Channel::Both, pairedName) << name;
    }
}

// The construction values are normalised values the engine keeps as it was given them: the
// rows applied in index order must not overwrite one another (mode, range and time are coupled).
TEST(ParameterDescriptions, ConstructionLeavesTheEngineOnTheInitialValues) {
    const auto engine = std::make_unique<engine::Engine>();
    for (int index = 0; index < kNumParameters; ++index) {
        const ParameterDescription& d = describe(index);
        SCOPED_TRACE(nameOf(index));
        EXPECT_GE(d.initial, 0.0);
        EXPECT_LE(d.initial, 1.0);
        const bool unused = index == param::Unused43 || index == param::Unused44;
        EXPECT_EQ(d.group == EngineGroup::None, unused);
        if (unused) continue;
        EXPECT_EQ(engine->parameterValue(index), d.initial);
    }
    EXPECT_EQ(engine->delayMs(engine::Side::Left), 2000.0);
    EXPECT_EQ(engine->delayMs(engine::Side::Right), 2000.0);
}

// The "Default" program keeps the construction setting of these parameters (it chooses its own
// feedback, envelope, note delays, ducking and the rest), so both must select the same value
// or step: an initial value edited alone would make the engine alone behave unlike a new
// instance.
TEST(ParameterDescriptions, DefaultProgramKeepsTheConstructionSettings) {
    const FactoryRow& defaults = kFactoryRows[0];
    for (int index :
         {param::Input, param::Output, param::Mix, param::FbPanL, param::FbPanR, param::LFORate,
          param::LROffset, param::CutfMod, param::Cutoff, param::VcoMan, param::VcoMod,
          param::DlyTimeL, param::DlyTimeR, param::DlyPanL, param::DlyPanR, param::ResoMod}) {
        EXPECT_EQ(defaults[static_cast<std::size_t>(index)], describe(index).initial)
            << nameOf(index);
    }
    for (int index : {param::FbInvL, param::FbInvR, param::LFOWave, param::FltType, param::FltMode,
                      param::RangeL, param::RangeR, param::VcoOn, param::PreNumL, param::PreDenL,
                      param::RvbType}) {
        EXPECT_EQ(stepOf(index, defaults[static_cast<std::size_t>(index)]),
                  stepOf(index, describe(index).initial))
            << nameOf(index);
    }
}

} // namespace
} // namespace velmora
