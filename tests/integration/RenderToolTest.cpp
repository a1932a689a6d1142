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
#include <map>
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

std::vector<char> fileBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

template <typename Number> Number littleEndian(const std::vector<char>& bytes, std::size_t at) {
    Number value{};
    if (at + sizeof value <= bytes.size()) {
        std::memcpy(&value, &bytes[at], sizeof value);
    }
    return value;
}

// The chunks of a RIFF WAV file by id, each as its bytes.
std::map<std::string, std::vector<char>> wavChunks(const fs::path& path) {
    const auto bytes = fileBytes(path);
    std::map<std::string, std::vector<char>> chunks;
    for (std::size_t at = 12; at + 8 <= bytes.size();) {
        const std::string id(&bytes[at], 4);
        const auto size = static_cast<std::size_t>(littleEndian<std::uint32_t>(bytes, at + 4));
        const std::size_t end = std::min(bytes.size(), at + 8 + size);
        chunks[id].assign(bytes.begin() + static_cast<std::ptrdiff_t>(at + 8),
                          bytes.begin() + static_cast<std::ptrdiff_t>(end));
        at += 8 + size + (size & 1);
    }
    return chunks;
}

// The float samples of a 32-bit float WAV file as the renderer writes it.
std::vector<float> floatWavSamples(const fs::path& path) {
    const auto chunks = wavChunks(path);
    const auto data = chunks.find("data");
    if (data == chunks.end()) {
        return {};
    }
    std::vector<float> samples(data->second.size() / 4);
    std::memcpy(samples.data(), data->second.data(), samples.size() * 4);
    return samples;
}

// The bits per sample a WAV file's format chunk states.
int wavBitsPerSample(const fs::path& path) {
    return littleEndian<std::uint16_t>(wavChunks(path)["fmt "], 14);
}

// The bits per sample in an AIFF file's COMM chunk (big-endian, after channels and frames).
int aiffBitsPerSample(const fs::path& path) {
    const auto bytes = fileBytes(path);
    const std::string text(bytes.begin(), bytes.end());
    const auto comm = text.find("COMM");
    if (comm == std::string::npos || comm + 16 > bytes.size()) {
        return 0;
    }
    const auto high = static_cast<unsigned char>(bytes[comm + 14]);
    const auto low = static_cast<unsigned char>(bytes[comm + 15]);
    return high * 256 + low;
}

// The number in the renderer's message that follows `words`, or -1.
long numberAfter(const std::string& output, const std::string& words) {
    const auto at = output.find(words);
    return at == std::string::npos ? -1 : std::stol(output.substr(at + words.size()));
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

// A mono tone, loud enough that --param Output=1 (+12 dB) drives it past full scale.
fs::path writeTone(const fs::path& path, float peak, int rate, std::size_t frames) {
    std::vector<float> tone(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        tone[i] = peak * std::sin(0.05f * static_cast<float>(i));
    }
    writeMonoFloatWav(path, tone, rate);
    return path;
}

double rms(const std::vector<float>& samples, std::size_t from, std::size_t to) {
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i) {
        sum += double{samples[i]} * samples[i];
    }
    return std::sqrt(sum / static_cast<double>(to - from));
}

TEST_F(RenderToolTest, FloatFilesKeepOversWhileIntegerFilesClipAndSayHowMany) {
    const fs::path source = writeTone(folder / "tone.wav", 0.9f, 8000, 4000);
    const std::string loud = "--tail 0 --param Output=1 " + quoted(source.string()) + " ";

    const fs::path floatFile = folder / "float.wav";
    const auto floatRun = runRenderer(loud + quoted(floatFile.string()));
    ASSERT_EQ(floatRun.exitCode, 0) << floatRun.output;
    EXPECT_EQ(floatRun.output.find("clipped"), std::string::npos) << floatRun.output;
    const auto overs = floatWavSamples(floatFile);
    const auto overCount = std::ranges::count_if(overs, [](float x) { return std::abs(x) > 1.0f; });
    ASSERT_GT(overCount, 100);
    EXPECT_GT(std::ranges::max(overs), 1.5f);

    const fs::path intFile = folder / "int16.wav";
    const auto intRun = runRenderer("--format 16 " + loud + quoted(intFile.string()));
    ASSERT_EQ(intRun.exitCode, 0) << intRun.output;
    EXPECT_EQ(numberAfter(intRun.output, "clipped "), overCount) << intRun.output;
    ASSERT_EQ(wavBitsPerSample(intFile), 16);
    // A copy: a reference into the temporary chunk map would dangle once this line ends.
    const std::vector<char> data = wavChunks(intFile)["data"];
    ASSERT_EQ(data.size(), overs.size() * 2);
    for (std::size_t i = 0; i < overs.size(); ++i) {
        const auto sample = littleEndian<std::int16_t>(data, 2 * i);
        if (std::abs(overs[i]) > 1.0f) {
            // Held at full scale on the same side, not wrapped around.
            ASSERT_EQ(sample, overs[i] > 0.0f ? 32767 : -32767) << "sample " << i;
        } else {
            ASSERT_NEAR(sample / 32767.0, overs[i], 1.0 / 32767.0) << "sample " << i;
        }
    }
}

TEST_F(RenderToolTest, OutputKeepsTheInputsSampleFormatAndLandsBesideIt) {
    const fs::path aiff = folder / "in32.aiff";
    const auto make = runRenderer("--rate 8000 --tail 0 --format 32 -o " + quoted(aiff.string()));
    ASSERT_EQ(make.exitCode, 0) << make.output;
    ASSERT_EQ(aiffBitsPerSample(aiff), 32);
    const fs::path aiffOut = folder / "out.aiff";
    const auto kept =
        runRenderer("--tail 0 " + quoted(aiff.string()) + " " + quoted(aiffOut.string()));
    ASSERT_EQ(kept.exitCode, 0) << kept.output;
    EXPECT_EQ(aiffBitsPerSample(aiffOut), 32);

    // No output named: INPUT-velmora.wav beside the input, not in the current folder.
    const fs::path wav16 = folder / "in16.wav";
    ASSERT_EQ(runRenderer("--rate 8000 --tail 0 --format 16 -o " + quoted(wav16.string())).exitCode,
              0);
    const auto beside = runRenderer("--tail 0 " + quoted(wav16.string()));
    ASSERT_EQ(beside.exitCode, 0) << beside.output;
    const fs::path expected = folder / "in16-velmora.wav";
    EXPECT_TRUE(fs::exists(expected)) << beside.output;
    EXPECT_FALSE(fs::exists(fs::current_path() / expected.filename()));
    EXPECT_EQ(wavBitsPerSample(expected), 16);

    // Float WAV files carry what readers expect of non-integer samples: a format chunk with its
    // extension size, and a fact chunk with the frame count. libsndfile reads them back.
    const fs::path floatWav = folder / "float.wav";
    ASSERT_EQ(runRenderer("--rate 8000 --tail 0 -o " + quoted(floatWav.string())).exitCode, 0);
    auto chunks = wavChunks(floatWav);
    const auto& format = chunks["fmt "];
    ASSERT_GE(format.size(), 18u);
    EXPECT_EQ(littleEndian<std::uint16_t>(format, 0), 3); // IEEE float
    EXPECT_EQ(littleEndian<std::uint16_t>(format, 16), format.size() - 18);
    ASSERT_EQ(chunks["fact"].size(), 4u);
    const std::size_t frames = chunks["data"].size() / 8;
    EXPECT_EQ(littleEndian<std::uint32_t>(chunks["fact"], 0), frames);
    const fs::path again = folder / "again.wav";
    const auto reread =
        runRenderer("--tail 0 " + quoted(floatWav.string()) + " " + quoted(again.string()));
    ASSERT_EQ(reread.exitCode, 0) << reread.output;
    EXPECT_EQ(floatWavSamples(again).size(), 2 * frames);
}

TEST_F(RenderToolTest, RefusesAnOutputThatIsTheInput) {
    const fs::path input = writeTone(folder / "in.wav", 0.5f, 8000, 800);
    const auto before = fileBytes(input);
    fs::create_symlink(input, folder / "link.wav");
    for (const fs::path& output : {input, folder / "." / "in.wav", folder / "link.wav"}) {
        const auto run =
            runRenderer("--tail 0 " + quoted(input.string()) + " -o " + quoted(output.string()));
        EXPECT_EQ(run.exitCode, 2) << output;
        EXPECT_NE(run.output.find("is the input"), std::string::npos) << run.output;
    }
    EXPECT_EQ(fileBytes(input), before);
}

TEST_F(RenderToolTest, AssignedControllerDrivesItsParameter) {
    constexpr std::size_t kBlock = 512;
    constexpr std::size_t kChangeFrame = 2000; // the control change at 0.25 s
    const fs::path source = writeTone(folder / "tone.wav", 0.2f, 8000, 4000);
    const std::string common = "--tail 0 --block 512 " + quoted(source.string()) + " ";
    const auto render = [&](const std::string& name, const std::string& options) {
        const fs::path output = folder / name;
        const auto run = runRenderer(common + options + " -o " + quoted(output.string()));
        EXPECT_EQ(run.exitCode, 0) << run.output;
        return std::make_pair(run.output, floatWavSamples(output));
    };
    const auto [plainText, plain] = render("plain.wav", "");
    const auto [unassignedText, unassigned] = render("unassigned.wav", "--midi-cc 0.25:7:127");
    const auto [assignedText, assigned] =
        render("assigned.wav", "--assign-cc 7:Output --midi-cc 0.25:7:127");
    ASSERT_EQ(plain.size(), 2 * 4000u);

    // Unassigned, the controller changes nothing, and the renderer says so.
    EXPECT_EQ(unassigned, plain);
    EXPECT_NE(unassignedText.find("controller 7 drives no parameter"), std::string::npos)
        << unassignedText;
    EXPECT_EQ(assignedText.find("drives no parameter"), std::string::npos) << assignedText;

    // Assigned to Output, value 127 turns the output up by 12 dB from the block it arrives in.
    const std::size_t changeBlock = kChangeFrame / kBlock * kBlock;
    EXPECT_TRUE(std::equal(plain.begin(), plain.begin() + 2 * changeBlock, assigned.begin()));
    EXPECT_GT(rms(assigned, 2 * 3000, 2 * 4000), 3.0 * rms(plain, 2 * 3000, 2 * 4000));

    // The listing shows each parameter's assignment index and the controller it holds.
    const auto cutoffRow = [&](const std::string& options) {
        const auto listing = runRenderer(options + " --list-params").output;
        const auto start = listing.find("Cutoff");
        const auto lineStart = listing.rfind('\n', start) + 1;
        return listing.substr(lineStart, listing.find('\n', start) - lineStart);
    };
    EXPECT_TRUE(cutoffRow("").ends_with("  75        none")) << cutoffRow("");
    EXPECT_TRUE(cutoffRow("--assign-cc 74:cutoff").ends_with("  75        74"))
        << cutoffRow("--assign-cc 74:cutoff");

    for (const char* wrong : {"--assign-cc 7:NoSuchName", "--assign-cc 128:Mix", "--assign-cc 7:60",
                              "--assign-cc Mix"}) {
        const auto run = runRenderer(common + wrong + " -o " + quoted((folder / "x.wav").string()));
        EXPECT_EQ(run.exitCode, 2) << wrong << ": " << run.output;
    }
}

TEST_F(RenderToolTest, MessagesNameLimitsAsPeopleWriteThem) {
    const auto preset = runRenderer("--preset 61");
    EXPECT_EQ(preset.exitCode, 1);
    EXPECT_NE(preset.output.find("0 to 60"), std::string::npos) << preset.output;

    const auto tempo = runRenderer("--tempo 0");
    EXPECT_EQ(tempo.exitCode, 2);
    EXPECT_NE(tempo.output.find("from 1 to 1000,"), std::string::npos) << tempo.output;

    const auto value = runRenderer("--param Mix=2");
    EXPECT_EQ(value.exitCode, 2);
    EXPECT_NE(value.output.find("from 0 to 1,"), std::string::npos) << value.output;
}

// Over interleaved stereo frames [from, to) of `samples`.
double stereoRms(const std::vector<float>& samples, int rate, double from, double to) {
    return rms(samples, 2 * static_cast<std::size_t>(from * rate),
               2 * static_cast<std::size_t>(to * rate));
}

float largestStep(const std::vector<float>& samples, int rate, double from, double to) {
    float largest = 0.0f;
    for (auto i = 2 * static_cast<std::size_t>(from * rate);
         i < 2 * static_cast<std::size_t>(to * rate); ++i) {
        largest = std::max(largest, std::abs(samples[i + 2] - samples[i]));
    }
    return largest;
}

TEST_F(RenderToolTest, BuiltInPhraseRingsThroughItsProgramUnlessAnotherIsChosen) {
    constexpr int kRate = 22050;
    const auto render = [&](const std::string& name, const std::string& options) {
        const fs::path output = folder / name;
        const auto run = runRenderer("--rate 22050 " + options + " -o " + quoted(output.string()));
        EXPECT_EQ(run.exitCode, 0) << run.output;
        return floatWavSamples(output);
    };
    // The four-second phrase, then two seconds of tail: the echoes go on repeating and fading.
    const auto demo = render("demo.wav", "");
    ASSERT_EQ(demo.size(), 2u * 6u * kRate);
    const double early = stereoRms(demo, kRate, 4.0, 4.5);
    const double late = stereoRms(demo, kRate, 5.5, 6.0);
    EXPECT_GT(early, 2.0 * late) << "the echoes fade";
    EXPECT_GT(late, early / 30.0) << "the echoes still repeat 1.5 s on";

    // Asked for, the default program keeps its single echo per note and its silent tail.
    const auto plain = render("default.wav", "--preset Default");
    ASSERT_EQ(plain.size(), demo.size());
    EXPECT_LT(stereoRms(plain, kRate, 4.5, 6.0), 1e-5);

    // A file of the user's is rendered through the plug-in's own starting program.
    const fs::path source = writeTone(folder / "tone.wav", 0.5f, kRate, kRate / 2);
    const std::string file = "--tail 1 " + quoted(source.string());
    EXPECT_EQ(render("file.wav", file), render("file-default.wav", file + " --preset Default"));
}

TEST_F(RenderToolTest, BuiltInPhraseEndsItsNotesWithoutAClick) {
    constexpr int kRate = 22050;
    const fs::path output = folder / "dry.wav";
    const auto run = runRenderer("--rate 22050 --tail 0 --preset Default --param Mix=0 -o " +
                                 quoted(output.string()));
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const auto dry = floatWavSamples(output);
    // Where each half of the phrase falls silent, no step is larger than the notes' own.
    for (const double end : {1.65, 3.40}) {
        EXPECT_LT(largestStep(dry, kRate, end - 0.002, end + 0.002),
                  largestStep(dry, kRate, end - 0.05, end - 0.01))
            << "at " << end << " s";
    }
}

#endif

} // namespace
} // namespace velmora::testing
