// The state chunk through the binary: what a host saves in its project and restores later, and
// the host-side reader the renderer uses to pick a stored program.
#include "tests/support/HostFixture.h"
#include "tools/host/StoredPrograms.h"

#include "engine/ParameterIndex.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace velmora::testing {
namespace {

using StateChunkTest = HostFixture;

constexpr std::size_t kFullStateSize = 129337;

std::vector<std::uint8_t> byteReversedWords(std::vector<std::uint8_t> chunk) {
    // Only the 32-bit fields are reversed; the bank type byte at offset 12 sits between them.
    const auto reverseAt = [&](std::size_t offset) {
        std::reverse(chunk.begin() + static_cast<std::ptrdiff_t>(offset),
                     chunk.begin() + static_cast<std::ptrdiff_t>(offset + 4));
    };
    for (std::size_t offset : {0u, 4u, 8u}) {
        reverseAt(offset);
    }
    std::size_t offset = 13;
    for (; offset + 4 <= 49; offset += 4) {
        reverseAt(offset);
    }
    // Records: three head words, then either a name (bytes) or five value words.
    while (offset + 12 <= chunk.size()) {
        std::uint32_t type = 0;
        std::uint32_t size = 0;
        std::memcpy(&type, &chunk[offset], 4);
        std::memcpy(&size, &chunk[offset + 4], 4);
        for (std::size_t word = 0; word < 3; ++word) {
            reverseAt(offset + 4 * word);
        }
        if (type != 0) {
            for (std::size_t word = 0; word < size / 4; ++word) {
                reverseAt(offset + 12 + 4 * word);
            }
        }
        offset += 12 + size;
    }
    return chunk;
}

TEST_F(StateChunkTest, SavedStateRestoresInAnotherInstance) {
    auto& first = createInstance();
    first.setParameter(param::Mix, 0.3f);
    first.setParameter(param::Cutoff, 0.8f);
    const auto chunk = first.getChunk();
    EXPECT_EQ(chunk.size(), kFullStateSize);
    EXPECT_EQ(first.getChunk(true), chunk) << "the preset flag makes no difference";

    host::ScriptedHost otherHost;
    host::PluginInstance second(library, otherHost);
    EXPECT_NE(second.getParameter(param::Mix), 0.3f);
    EXPECT_EQ(second.setChunk(chunk), 0);
    EXPECT_FLOAT_EQ(second.getParameter(param::Mix), 0.3f);
    EXPECT_FLOAT_EQ(second.getParameter(param::Cutoff), 0.8f);
    EXPECT_GE(otherHost.updateDisplayCount(), 2) << "restoring applies the program";
}

TEST_F(StateChunkTest, ForeignOrDamagedStateIsRejectedAndChangesNothing) {
    auto& plugin = createInstance();
    plugin.setParameter(param::Mix, 0.25f);
    const auto good = plugin.getChunk();

    auto foreign = good;
    foreign[4] ^= 0xFF; // unique ID
    auto futureVersion = good;
    futureVersion[3] = 0x03;

    plugin.setParameter(param::Mix, 0.75f);
    EXPECT_EQ(plugin.setChunk(foreign), -1);
    EXPECT_EQ(plugin.setChunk(futureVersion), -1);
    EXPECT_NE(plugin.setChunk(std::vector<std::uint8_t>(good.begin(), good.begin() + 6)), 0);
    EXPECT_FLOAT_EQ(plugin.getParameter(param::Mix), 0.75f);
}

TEST_F(StateChunkTest, StoredProgramsReadFromTheStateMatchTheNamesTheHostSees) {
    auto& plugin = createInstance();
    const auto chunk = plugin.getChunk();
    const auto programs = host::readStoredPrograms(chunk);
    ASSERT_TRUE(programs.has_value());
    ASSERT_EQ(programs->size(), 61u);
    for (VstInt32 index = 0; index < 61; ++index) {
        const auto& program = (*programs)[static_cast<std::size_t>(index)];
        EXPECT_EQ(program.name, plugin.programNameIndexed(index).value_or("?")) << index;
        EXPECT_TRUE(program.present.all()) << "program " << index << " lacks values";
    }
    EXPECT_EQ(host::findProgram(*programs, (*programs)[7].name), 7);
    EXPECT_EQ(host::findProgram(*programs, "60"), 60);
    EXPECT_FALSE(host::findProgram(*programs, "61").has_value());
    EXPECT_FALSE(host::findProgram(*programs, "no such program").has_value());

    // The same state written on a machine of the other byte order reads the same.
    const auto reversed = host::readStoredPrograms(byteReversedWords(chunk));
    ASSERT_TRUE(reversed.has_value());
    for (std::size_t index = 0; index < 61; ++index) {
        EXPECT_EQ((*reversed)[index].name, (*programs)[index].name);
        EXPECT_EQ((*reversed)[index].values, (*programs)[index].values);
    }
}

TEST_F(StateChunkTest, ReaderRefusesTruncatedOrForeignChunks) {
    auto& plugin = createInstance();
    const auto chunk = plugin.getChunk();
    for (const std::size_t length : {0u, 7u, 48u, 49u + 100u, 129000u}) {
        const std::vector<std::uint8_t> cut(chunk.begin(),
                                            chunk.begin() + static_cast<std::ptrdiff_t>(length));
        EXPECT_FALSE(host::readStoredPrograms(cut).has_value()) << "length " << length;
    }
    auto foreign = chunk;
    foreign[5] ^= 0x01;
    EXPECT_FALSE(host::readStoredPrograms(foreign).has_value());

    // A record claiming a payload far past the end must not be followed.
    auto lying = chunk;
    const std::uint32_t huge = 0x7FFFFFF0;
    std::memcpy(&lying[49 + 4], &huge, 4);
    EXPECT_FALSE(host::readStoredPrograms(lying).has_value());
}

} // namespace
} // namespace velmora::testing
