// The module's output bits through its entry, as a host gets them, against hashes recorded
// from the Linux build: every build of the module (Linux, Windows 64-bit, Windows 32-bit) must
// render the same bits for the same input.
//
// VELMORA_GOLDEN_RECORD=1 prints the hashes of this build instead of comparing them.
#include "tests/support/HostFixture.h"

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

namespace velmora::testing {
namespace {

constexpr VstInt32 kBlock = 512;
constexpr int kBlocks = 3 * 44100 / kBlock; // three seconds

// FNV-1a over each sample's bits, lowest byte first.
struct BitHash {
    std::uint64_t value = 0xcbf29ce484222325ull;
    template <typename Sample> void add(Sample sample) {
        using Bits = std::conditional_t<sizeof(Sample) == 8, std::uint64_t, std::uint32_t>;
        auto bits = std::bit_cast<Bits>(sample);
        for (std::size_t byte = 0; byte < sizeof(Bits); ++byte, bits >>= 8) {
            value = (value ^ (bits & 0xffu)) * 0x100000001b3ull;
        }
    }
};

// A fixed pseudo-random input: the same numbers on every platform, whatever its library.
struct NoiseSource {
    std::uint32_t state = 0x12345678u;
    double next() {
        state = state * 1664525u + 1013904223u;
        return (static_cast<double>(state >> 8) / 8388608.0 - 1.0) * 0.25;
    }
};

// Noise into both main inputs, with parameter changes while it plays, as automation would.
template <typename Sample> std::uint64_t renderHash(host::PluginInstance& plugin) {
    host::PlanarBuffer<Sample> inputs(4, kBlock);
    host::PlanarBuffer<Sample> outputs(2, kBlock);
    NoiseSource noise;
    BitHash hash;
    for (int block = 0; block < kBlocks; ++block) {
        if (block == kBlocks / 3) plugin.setParameter(0, 0.8f);
        if (block == kBlocks / 2) plugin.setParameter(3, 0.3f);
        if (block == 2 * kBlocks / 3) plugin.setParameter(10, 0.9f);
        inputs.clear();
        for (VstInt32 frame = 0; frame < kBlock; ++frame) {
            inputs.channel(0)[frame] = static_cast<Sample>(noise.next());
            inputs.channel(1)[frame] = static_cast<Sample>(noise.next());
        }
        if constexpr (std::is_same_v<Sample, double>) {
            plugin.processDouble(inputs, outputs, kBlock);
        } else {
            plugin.processFloat(inputs, outputs, kBlock);
        }
        for (int channel = 0; channel < 2; ++channel) {
            for (const Sample sample : outputs.channel(channel))
                hash.add(sample);
        }
    }
    return hash.value;
}

std::map<std::string, std::uint64_t> recordedHashes() {
    std::ifstream file(std::string(VELMORA_SOURCE_DIR) + "/tests/data/golden/ModuleRender.txt");
    std::map<std::string, std::uint64_t> hashes;
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line.front() == '#') continue;
        std::istringstream fields(line);
        std::string name;
        std::string hex;
        if (fields >> name >> hex) hashes[name] = std::stoull(hex, nullptr, 16);
    }
    return hashes;
}

using ModuleRenderBitsTest = HostFixture;

TEST_F(ModuleRenderBitsTest, FloatAndDoubleRendersMatchTheRecordedBits) {
    const char* record = std::getenv("VELMORA_GOLDEN_RECORD");
    const bool recording = record != nullptr && std::string(record) == "1";
    const auto recorded = recordedHashes();
    const auto check = [&](const std::string& name, std::uint64_t hash) {
        if (recording) {
            std::cout << name << " 0x" << std::hex << hash << std::dec << "\n";
            return;
        }
        ASSERT_TRUE(recorded.contains(name)) << "no recorded hash for " << name;
        EXPECT_EQ(hash, recorded.at(name)) << name << " renders other bits than recorded";
    };
    check("float", renderHash<float>(createRunningInstance()));
    instance.reset();
    check("double", renderHash<double>(createRunningInstance()));
}

} // namespace
} // namespace velmora::testing
