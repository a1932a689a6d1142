// Bit-exactness guard for the engine: fixed deterministic signals rendered through a handful of
// settings must give exactly the output bits recorded from the reference implementation. Any
// change to the engine that alters one bit of any output sample (an optimisation that reorders
// arithmetic, a stage skipped when it should run, a value read at the wrong time) fails here.
//
// The engine and these input signals compute their sines, exponentials and powers with the
// engine's portable maths, so the recorded hashes hold on every platform the module is built
// for; re-record them only for a deliberate change of results, saying why.
//
// A mismatch names the setting, rate and buffer type, the first differing block (hashes per
// block are recorded in tests/data/golden/<setting>.txt), and, when a passing run has left a
// reference render in <build>/golden-renders/, the first differing frame with both values. The
// failing render is written there as a WAV for inspection.
//
// VELMORA_GOLDEN_RECORD=1 records an intended change: it prints each render's new whole hash as
// a line for the tables below, rewrites the block files and stores the new reference renders.
// The test still fails until the printed hashes replace the old ones.
#include "engine/Engine.h"
#include "engine/ParameterIndex.h"
#include "engine/PortableMaths.h"
#include "engine/ValueTables.h"
#include "tests/engine/GoldenDiagnosis.h"
#include "tests/engine/GoldenRender.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <numbers>
#include <span>
#include <string>
#include <vector>

namespace velmora::engine {
namespace {

constexpr float kOn = 0.75f;
constexpr float kOff = 0.25f;
constexpr double kSeconds = 3.0;
constexpr double kTempo = 120.0;

struct ParameterChange {
    double atSeconds;
    int index;
    float value;
};

struct Setting {
    std::vector<ParameterChange> initial; // applied after resume, before the first block
    std::vector<ParameterChange> changes; // applied at the first block boundary at or after
};

// Main input: impulses, noise from a fixed-seed generator and a sine, different per side.
// Sidechain: a tone switched on and off twice a second, so the ducker attacks and releases.
// The sines are the portable ones and fmod is exact, so the inputs are the same bits anywhere.
std::array<std::vector<double>, 4> makeInputs(double fs) {
    const auto frames = static_cast<std::size_t>(kSeconds * fs);
    std::array<std::vector<double>, 4> in;
    for (auto& channel : in)
        channel.resize(frames);
    std::uint32_t seed = 12345u;
    auto noise = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<double>(seed >> 8) / 8388608.0 - 1.0;
    };
    const auto impulseSpacing = static_cast<std::size_t>(0.37 * fs);
    for (std::size_t n = 0; n < frames; ++n) {
        const double t = static_cast<double>(n) / fs;
        const double tone = maths::sin(2.0 * std::numbers::pi * 330.0 * t);
        double left = 0.3 * tone + 0.15 * noise();
        double right = -0.25 * maths::sin(2.0 * std::numbers::pi * 445.0 * t) + 0.15 * noise();
        if (n % impulseSpacing == 0) left += 0.9;
        if (n % impulseSpacing == impulseSpacing / 3) right -= 0.8;
        in[0][n] = left;
        in[1][n] = right;
        const bool sideOn = std::fmod(t, 0.5) < 0.25;
        const double side = sideOn ? 0.7 * maths::sin(2.0 * std::numbers::pi * 90.0 * t) : 0.0;
        in[2][n] = side;
        in[3][n] = 0.5 * side;
    }
    return in;
}

struct RenderedSetting {
    test::GoldenRender render;
    std::vector<test::AppliedChange> applied;
};

// Renders the inputs in blocks of varying size (so block-start and block-end work is covered)
// with a tempo and an advancing song position, keeping the output bits and meter peaks.
template <typename Sample> RenderedSetting renderSetting(const Setting& setting, double fs) {
    auto engine = std::make_unique<Engine>();
    engine->setSpeakerArrangement(4, 2);
    ResumeRequest resume;
    resume.hostTempoBpm = kTempo;
    resume.sampleRate = fs;
    engine->resume(resume);
    for (const auto& change : setting.initial)
        engine->setParameter(change.index, change.value);

    const auto inputs = makeInputs(fs);
    const std::size_t frames = inputs[0].size();
    constexpr std::array<std::size_t, 5> kBlockSizes{512, 100, 1, 333, 64};
    std::array<std::vector<Sample>, 4> in;
    std::array<std::vector<Sample>, 2> out;
    for (auto& channel : in)
        channel.resize(512);
    for (auto& channel : out)
        channel.resize(512);
    const std::array<const Sample*, 4> inPointers{in[0].data(), in[1].data(), in[2].data(),
                                                  in[3].data()};
    const std::array<Sample*, 2> outPointers{out[0].data(), out[1].data()};

    RenderedSetting result;
    result.render.sampleRate = fs;
    result.render.sampleSize = sizeof(Sample);
    result.render.frames.reserve(frames * result.render.frameSize());
    std::size_t nextChange = 0;
    std::size_t block = 0;
    for (std::size_t start = 0; start < frames; ++block) {
        const double now = static_cast<double>(start) / fs;
        while (nextChange < setting.changes.size() &&
               setting.changes[nextChange].atSeconds <= now) {
            const ParameterChange& change = setting.changes[nextChange];
            engine->setParameter(change.index, change.value);
            result.applied.push_back({start, change.index, change.value});
            ++nextChange;
        }
        const std::size_t count = std::min(kBlockSizes[block % kBlockSizes.size()], frames - start);
        for (std::size_t c = 0; c < 4; ++c)
            for (std::size_t i = 0; i < count; ++i)
                in[c][i] = static_cast<Sample>(inputs[c][start + i]);
        const HostTiming timing{kTempo, now * kTempo / 60.0};
        engine->process(inPointers.data(), outPointers.data(), static_cast<int>(count), timing);
        for (std::size_t i = 0; i < count; ++i)
            result.render.append(out[0][i], out[1][i]);
        start += count;
    }
    engine->takePeakLevels(result.render.peaks[0], result.render.peaks[1]);
    return result;
}

struct Golden {
    double fs;
    bool doubleBuffers;
    std::uint64_t hash;
};

// The folder of the test binary, which is the build folder.
std::filesystem::path renderFolder() {
    std::error_code error;
    const auto binary = std::filesystem::read_symlink("/proc/self/exe", error);
    return (error ? std::filesystem::current_path() : binary.parent_path()) / "golden-renders";
}

bool recordRequested() {
    const char* value = std::getenv("VELMORA_GOLDEN_RECORD");
    return value != nullptr && std::string(value) == "1";
}

void expectGolden(const Setting& setting, std::span<const Golden> goldens) {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const auto tablePath =
        std::filesystem::path(VELMORA_SOURCE_DIR) / "tests/data/golden" / (name + ".txt");
    const test::BlockTable table = test::readBlockTable(tablePath);
    test::BlockTable recorded;
    const bool record = recordRequested();

    for (const Golden& golden : goldens) {
        const RenderedSetting rendered = golden.doubleBuffers
                                             ? renderSetting<double>(setting, golden.fs)
                                             : renderSetting<float>(setting, golden.fs);
        const test::GoldenRender& render = rendered.render;
        const std::uint64_t actual = test::wholeHash(render);
        const std::string key = test::renderKey(golden.fs, golden.doubleBuffers);
        const auto stem = renderFolder() / (name + "-" + key);
        // Appended piece by piece: GCC 12 warns (-Wrestrict) on "-" + string at -O3 here.
        auto referencePath = stem;
        referencePath += "-";
        referencePath += test::hex(golden.hash);
        referencePath += ".wav";
        auto failedPath = stem;
        failedPath += "-failed.wav";

        if (record) {
            recorded[key] = test::recordOf(render);
            auto newReference = stem;
            newReference += "-";
            newReference += test::hex(actual);
            newReference += ".wav";
            test::writeWav(newReference, render);
            std::cout << name << ": {" << std::fixed << std::setprecision(1) << golden.fs << ", "
                      << std::boolalpha << golden.doubleBuffers << ", " << test::hex(actual)
                      << "ull}," << (actual == golden.hash ? "" : " (changed)") << "\n";
        }
        const auto entry = table.find(key);
        const test::BlockRecord* blocks = entry == table.end() ? nullptr : &entry->second;
        const bool blocksMatch = blocks && blocks->peaks == test::peakHash(render) &&
                                 blocks->blocks == test::blockHashes(render);
        std::string diagnosis;
        if (actual == golden.hash && (blocksMatch || record)) {
            if (!std::filesystem::exists(referencePath)) test::writeWav(referencePath, render);
            std::filesystem::remove(failedPath);
        } else {
            test::writeWav(failedPath, render);
            const auto reference = test::readWav(referencePath);
            diagnosis = test::describeMismatch(render, blocks, reference ? &*reference : nullptr,
                                               rendered.applied) +
                        "failing render: " + failedPath.string() +
                        "\nreference render: " + referencePath.string() +
                        (reference ? "\n" : " (none yet)\n");
        }
        const std::string where = name + " at fs " + std::to_string(std::lround(golden.fs)) +
                                  (golden.doubleBuffers ? " double" : " float") + "\n";
        EXPECT_EQ(test::hex(actual), test::hex(golden.hash)) << where << diagnosis;
        EXPECT_TRUE(actual != golden.hash || blocksMatch || record)
            << where << "the whole render matches but " << tablePath.string()
            << " does not; record it with VELMORA_GOLDEN_RECORD=1\n"
            << diagnosis;
    }
    if (record) {
        test::writeBlockTable(tablePath, recorded);
        std::cout << name << ": wrote " << tablePath.string() << "\n";
    }
}

TEST(EngineGolden, ConstructionDefaults) {
    const Setting setting{};
    const Golden goldens[] = {
        {44100.0, false, 0x2184f68c690faeadull},
        {44100.0, true, 0xa9bf15c669e01346ull},
        {96000.0, false, 0x3dd9670da1ee9c9eull},
        {96000.0, true, 0xd05dd918484ab369ull},
    };
    expectGolden(setting, goldens);
}

// Filter in the feedback loop, clocked delay off centre and driven by the LFO, plate reverb with
// the dry signal through it, drive, gates, ducking and note-synced delays with a pre-delay.
TEST(EngineGolden, AllStages) {
    const Setting setting{{
                              {0, param::FltOn, kOn},
                              {0, param::FltMode, stepValue(1, 3)},
                              {0, param::FltType, stepValue(1, 3)},
                              {0, param::Cutoff, 0.6f},
                              {0, param::Reso, 0.7f},
                              {0, param::CutfMod, 0.8f},
                              {0, param::ResoMod, 0.7f},
                              {0, param::VcoOn, kOn},
                              {0, param::VcoMan, 0.6f},
                              {0, param::VcoMod, 0.8f},
                              {0, param::LFOWave, stepValue(0, 5)},
                              {0, param::LFORate, 0.3f},
                              {0, param::LROffset, 0.7f},
                              {0, param::ModSrc, 0.3f},
                              {0, param::LfoMode, stepValue(2, 3)},
                              {0, param::RvbOn, kOn},
                              {0, param::RvbType, stepValue(1, 2)},
                              {0, param::RvbMode, stepValue(1, 2)},
                              {0, param::RvbAmt, 0.4f},
                              {0, param::RvbDamp, 0.4f},
                              {0, param::Drive, 0.5f},
                              {0, param::DlyGateL, 0.1f},
                              {0, param::DlyGateR, 0.1f},
                              {0, param::Ducking, 0.5f},
                              {0, param::DlyModeL, stepValue(1, 2)},
                              {0, param::DlyModeR, stepValue(1, 2)},
                              {0, param::DlyNumL, stepValue(1, 5)},
                              {0, param::DlyDenL, stepValue(5, 13)},
                              {0, param::DlyNumR, stepValue(2, 5)},
                              {0, param::DlyDenR, stepValue(5, 13)},
                              {0, param::PreNumL, stepValue(1, 6)},
                              {0, param::FbGainL, 0.6f},
                              {0, param::FbGainR, 0.6f},
                              {0, param::FbPanL, 0.3f},
                              {0, param::FbPanR, 0.7f},
                              {0, param::Mix, 0.5f},
                          },
                          {}};
    const Golden goldens[] = {
        {44100.0, false, 0x1d7f2c29f12594b2ull},
        {44100.0, true, 0x6bd42f2f22ed8d4cull},
        {96000.0, false, 0x5865b80c1530134dull},
        {96000.0, true, 0xe7b48852d6601e53ull},
    };
    expectGolden(setting, goldens);
}

// Spring reverb after a high-pass filter at the input, plain (unclocked) lines in ping-pong with
// inverted feedback, a triangle LFO on the filter, and a delay time change mid-way.
TEST(EngineGolden, SpringWithInputFilter) {
    const Setting setting{
        {
            {0, param::VcoOn, kOff},
            {0, param::FltOn, kOn},
            {0, param::FltMode, stepValue(0, 3)},
            {0, param::FltType, stepValue(2, 3)},
            {0, param::Cutoff, 0.35f},
            {0, param::Reso, 0.5f},
            {0, param::CutfMod, 0.9f},
            {0, param::LFOWave, stepValue(2, 5)},
            {0, param::LFORate, 0.6f},
            {0, param::RvbOn, kOn},
            {0, param::RvbType, stepValue(0, 2)},
            {0, param::RvbAmt, 0.6f},
            {0, param::RvbDamp, 0.2f},
            {0, param::RangeL, stepValue(1, 3)},
            {0, param::RangeR, stepValue(1, 3)},
            {0, param::DlyTimeL, 0.3f},
            {0, param::DlyTimeR, 0.45f},
            {0, param::FbGainL, 0.7f},
            {0, param::FbGainR, 0.65f},
            {0, param::FbPanL, 1.0f},
            {0, param::FbPanR, 0.0f},
            {0, param::FbInvL, kOn},
            {0, param::DlyInvR, kOn},
            {0, param::DlyPanL, 0.2f},
            {0, param::DlyPanR, 0.8f},
            {0, param::Mix, 0.7f},
        },
        {
            {1.2, param::DlyTimeL, 0.5f},
            {1.9, param::FltType, stepValue(0, 3)},
            {2.2, param::RvbDamp, 0.8f},
        },
    };
    const Golden goldens[] = {
        {44100.0, false, 0x17c8576230341587ull},
        {44100.0, true, 0x2482a869388f3916ull},
        {96000.0, false, 0xdc1ec85efd303514ull},
        {96000.0, true, 0x700bfb3e52ab263dull},
    };
    expectGolden(setting, goldens);
}

// The clocked delay through sudden speed jumps (the manual offset is not smoothed), a depth
// sweep, changing LFO waves, a retime, and the mode switched off and on again.
TEST(EngineGolden, ClockedDelayWithChanges) {
    const Setting setting{
        {
            {0, param::VcoOn, kOn},
            {0, param::VcoMan, 0.5f},
            {0, param::VcoMod, 0.5f},
            {0, param::RangeL, stepValue(1, 3)},
            {0, param::RangeR, stepValue(1, 3)},
            {0, param::DlyTimeL, 0.25f},
            {0, param::DlyTimeR, 0.4f},
            {0, param::FbGainL, 0.5f},
            {0, param::FbGainR, 0.5f},
            {0, param::LFOWave, stepValue(3, 5)},
            {0, param::LFORate, 0.5f},
        },
        {
            {0.3, param::VcoMan, 1.0f},
            {0.6, param::VcoMan, 0.0f},
            {0.9, param::VcoMod, 0.9f},
            {1.1, param::LFOWave, stepValue(4, 5)},
            {1.3, param::VcoMod, 0.1f},
            {1.5, param::VcoOn, kOff},
            {1.7, param::VcoOn, kOn},
            {1.8, param::DlyTimeR, 0.2f},
            {2.0, param::LFOWave, stepValue(1, 5)},
            {2.1, param::ModSrc, 0.6f},
            {2.2, param::Drive, 0.8f},
            {2.4, param::MuteInL, kOn},
            {2.5, param::VcoMan, 0.5f},
            {2.6, param::VcoMod, 0.5f},
        },
    };
    const Golden goldens[] = {
        {44100.0, false, 0x0527ce943adbd31cull},
        {44100.0, true, 0xdfca853cf6c22a52ull},
        {96000.0, false, 0xa95b5323831d5750ull},
        {96000.0, true, 0x9cb889a78f40481dull},
    };
    expectGolden(setting, goldens);
}

} // namespace
} // namespace velmora::engine
