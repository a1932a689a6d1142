// The bitmaps read back from the module's bitmap resources are byte for byte the committed BMP
// files, so the decoder sees on Windows exactly what it sees on Linux.
#include "resources/Bitmaps.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace velmora {
namespace {

std::vector<std::byte> fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> chars{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const auto bytes = std::as_bytes(std::span(chars));
    return {bytes.begin(), bytes.end()};
}

TEST(ResourceBitmaps, EveryBitmapResourceIsItsCommittedFile) {
    const std::filesystem::path folder =
        std::filesystem::path(VELMORA_SOURCE_DIR) / "resources" / "bitmaps";
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const int id = std::stoi(entry.path().stem().string());
        const auto expected = fileBytes(entry.path());
        const auto resource = resources::bitmapBytes(id);
        ASSERT_EQ(resource.size(), expected.size()) << id;
        EXPECT_TRUE(std::equal(resource.begin(), resource.end(), expected.begin())) << id;
        // A second read hands out the same bytes, not a new copy.
        EXPECT_EQ(resources::bitmapBytes(id).data(), resource.data()) << id;
        ++checked;
    }
    EXPECT_EQ(checked, 36);
}

TEST(ResourceBitmaps, AnIdWithoutABitmapGivesNothing) {
    EXPECT_TRUE(resources::bitmapBytes(127).empty());
    EXPECT_TRUE(resources::bitmapBytes(996).empty());
}

} // namespace
} // namespace velmora
