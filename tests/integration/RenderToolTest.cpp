// velmora-render run as a user runs it: on the built-in phrase, on files, and on mistakes.
#include "tests/support/HostFixture.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace velmora::testing {
namespace {

#ifdef VELMORA_RENDER_PATH

namespace fs = std::filesystem;

struct RunResult {
    int exitCode = -1;
    std::string output; // stdout and stderr together
};

std::string quoted(const std::string& text) {
    return "'" + text + "'";
}

RunResult runRenderer(const std::string& arguments) {
    const std::string command = quoted(VELMORA_RENDER_PATH) + " --plugin " +
                                quoted(builtPluginPath()) + " " + arguments + " 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    RunResult result;
    if (!pipe) {
        return result;
    }
    char buffer[4096];
    while (std::fgets(buffer, sizeof buffer, pipe.get()) != nullptr) {
        result.output += buffer;
    }
    const int status = pclose(pipe.release());
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// The float samples of a 32-bit float WAV file as the renderer writes it.
std::vector<float> floatWavSamples(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> bytes{std::istreambuf_iterator<char>(file),
                                  std::istreambuf_iterator<char>()};
    const std::string text(bytes.begin(), bytes.end());
    const auto data = text.find("data");
    if (data == std::string::npos || data + 8 > bytes.size()) {
        return {};
    }
    std::uint32_t size = 0;
    std::memcpy(&size, &bytes[data + 4], 4);
    size = std::min<std::uint32_t>(size, static_cast<std::uint32_t>(bytes.size() - data - 8));
    std::vector<float> samples(size / 4);
    std::memcpy(samples.data(), &bytes[data + 8], samples.size() * 4);
    return samples;
}

// Writes a mono 32-bit float WAV file.
void writeMonoFloatWav(const fs::path& path, const std::vector<float>& samples, int rate) {
    const auto put32 = [](std::ofstream& out, std::uint32_t value) {
        out.write(reinterpret_cast<const char*>(&value), 4);
    };
    const auto put16 = [](std::ofstream& out, std::uint16_t value) {
        out.write(reinterpret_cast<const char*>(&value), 2);
    };
    const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 4);
    std::ofstream out(path, std::ios::binary);
    out.write("RIFF", 4);
    put32(out, 36 + dataBytes);
    out.write("WAVEfmt ", 8);
    put32(out, 16);
    put16(out, 3); // IEEE float
    put16(out, 1);
    put32(out, static_cast<std::uint32_t>(rate));
    put32(out, static_cast<std::uint32_t>(rate) * 4);
    put16(out, 4);
    put16(out, 32);
    out.write("data", 4);
    put32(out, dataBytes);
    out.write(reinterpret_cast<const char*>(samples.data()), dataBytes);
}

class RenderToolTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("velmora-render-test-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path folder;
};

TEST_F(RenderToolTest, RendersTheBuiltInPhraseWithItsTail) {
    const fs::path output = folder / "demo.wav";
    const auto run =
        runRenderer("--rate 22050 --tail 1 --param FbGainL=0.8 --param FbGainR=0.8 -o " +
                    quoted(output.string()));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find(output.string()), std::string::npos) << run.output;

    const auto samples = floatWavSamples(output);
    // Four seconds of phrase and one of tail, two channels.
    ASSERT_EQ(samples.size(), 2u * 5u * 22050u);
    float loudest = 0.0f;
    float loudestInTail = 0.0f;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        ASSERT_TRUE(std::isfinite(samples[i]));
        loudest = std::max(loudest, std::abs(samples[i]));
        if (i >= 2u * 4u * 22050u) {
            loudestInTail = std::max(loudestInTail, std::abs(samples[i]));
        }
    }
    EXPECT_GT(loudest, 0.05f);
    EXPECT_GT(loudestInTail, 1e-3f) << "with feedback the echoes ring on after the phrase";
}

TEST_F(RenderToolTest, ListsParametersAndPresets) {
    const auto parameters = runRenderer("--list-params");
    ASSERT_EQ(parameters.exitCode, 0) << parameters.output;
    EXPECT_NE(parameters.output.find("FbGainL"), std::string::npos);
    EXPECT_NE(parameters.output.find("MuteInR"), std::string::npos);
    EXPECT_EQ(std::count(parameters.output.begin(), parameters.output.end(), '\n'), 61);

    const auto presets = runRenderer("--list-presets");
    ASSERT_EQ(presets.exitCode, 0) << presets.output;
    EXPECT_EQ(std::count(presets.output.begin(), presets.output.end(), '\n'), 61);
}

TEST_F(RenderToolTest, StateSavedAfterOneRenderLoadsIntoTheNext) {
    const fs::path state = folder / "state.bin";
    const fs::path first = folder / "first.wav";
    const fs::path second = folder / "second.wav";
    const auto save = runRenderer("--rate 8000 --tail 0 --preset 3 --param Mix=0.9 --param 3=0.2 "
                                  "--save-state " +
                                  quoted(state.string()) + " -o " + quoted(first.string()));
    ASSERT_EQ(save.exitCode, 0) << save.output;
    EXPECT_EQ(fs::file_size(state), 129337u);

    const auto load = runRenderer("--rate 8000 --tail 0 --load-state " + quoted(state.string()) +
                                  " -o " + quoted(second.string()));
    ASSERT_EQ(load.exitCode, 0) << load.output;
    EXPECT_EQ(floatWavSamples(first), floatWavSamples(second));
}

TEST_F(RenderToolTest, MonoFileFeedsBothChannelsAndKeepsItsRate) {
    constexpr int kRate = 32000;
    constexpr std::size_t kLate = 12000; // after the mix has glided to its new setting
    std::vector<float> input(kRate / 2, 0.0f);
    input[100] = 0.5f;
    input[kLate] = -0.25f;
    const fs::path source = folder / "mono.wav";
    const fs::path output = folder / "out.wav";
    writeMonoFloatWav(source, input, kRate);

    // Fully dry: both sides carry the input, and once settled carry it unchanged.
    const auto run = runRenderer("--tail 0 --param Mix=0 " + quoted(source.string()) + " " +
                                 quoted(output.string()));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const auto samples = floatWavSamples(output);
    ASSERT_EQ(samples.size(), 2 * input.size());
    for (std::size_t frame = 0; frame < input.size(); ++frame) {
        ASSERT_NEAR(samples[2 * frame], samples[2 * frame + 1], 1e-6) << "frame " << frame;
    }
    EXPECT_GT(std::abs(samples[2 * 100]), 0.1f);
    for (std::size_t frame = kLate - 2; frame <= kLate + 2; ++frame) {
        EXPECT_NEAR(samples[2 * frame], input[frame], 1e-4) << "frame " << frame;
    }
}

TEST_F(RenderToolTest, MistakesGiveAMessageAndAFailingExitCode) {
    const auto missing = runRenderer(quoted((folder / "no-such-input.wav").string()));
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.output.find("not found"), std::string::npos) << missing.output;

    const fs::path notAudio = folder / "not-audio.wav";
    std::ofstream(notAudio) << "this is not a sound file";
    const auto unreadable = runRenderer(quoted(notAudio.string()));
    EXPECT_EQ(unreadable.exitCode, 1);
    EXPECT_NE(unreadable.output.find("cannot read"), std::string::npos) << unreadable.output;

    for (const char* arguments :
         {"--bogus", "--param Mix=1.5", "--param NoSuchName=0.5", "--block 0", "--tempo"}) {
        const auto bad = runRenderer(arguments);
        EXPECT_EQ(bad.exitCode, 2) << arguments << ": " << bad.output;
        EXPECT_NE(bad.output.find("velmora-render:"), std::string::npos) << bad.output;
    }

    const auto badOutput = runRenderer("-o " + quoted((folder / "out.mp3").string()));
    EXPECT_EQ(badOutput.exitCode, 1);
    EXPECT_NE(badOutput.output.find("output format"), std::string::npos) << badOutput.output;

    const auto noPreset = runRenderer("--preset 'No Such Preset'");
    EXPECT_EQ(noPreset.exitCode, 1);
    EXPECT_NE(noPreset.output.find("No Such Preset"), std::string::npos) << noPreset.output;

    const std::string wrongPlugin = quoted(VELMORA_RENDER_PATH) + " --plugin " +
                                    quoted((folder / "missing.so").string()) + " 2>&1";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(wrongPlugin.c_str(), "r"), pclose);
    ASSERT_TRUE(pipe);
    char line[512] = {};
    std::fgets(line, sizeof line, pipe.get());
    EXPECT_NE(std::string(line).find("plug-in not found"), std::string::npos) << line;
    EXPECT_EQ(WEXITSTATUS(pclose(pipe.release())), 1);
}

#endif

} // namespace
} // namespace velmora::testing
