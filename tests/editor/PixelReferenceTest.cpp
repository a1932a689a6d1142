// The whole editor panel at fixed values, compared with a committed picture of it, so that any
// change to the artwork, the layout, a control's drawing or the renderer shows up as pixels.
// On a mismatch the render and a diff image go next to the test binary and the message names
// them and the controls whose rectangles the differences touch. VELMORA_PIXEL_RECORD=1 writes
// the current render as the new reference (tests/README.md).
#include "editor/ControlLayout.h"
#include "editor/EditorBitmaps.h"
#include "tools/snapshot/PanelSnapshot.h"

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace velmora::editor {
namespace {

using toolkit::Framebuffer;

// Per channel, a difference this small is rounding, not a change.
constexpr int kChannelTolerance = 2;
// Pixels allowed beyond that tolerance; one knob frame off changes far more.
constexpr int kAllowedDifferingPixels = 8;

// 8-bit RGB, rows top to bottom.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    const std::uint8_t* at(int x, int y) const { return &rgb[(std::size_t(y) * width + x) * 3]; }
    std::uint8_t* at(int x, int y) { return &rgb[(std::size_t(y) * width + x) * 3]; }
};

// The panel as the tests fix it: every control with artwork at a value of its own, spread so
// that neighbouring controls show different frames. Kept to this one function so the panel can
// come from elsewhere without touching the comparison.
Framebuffer renderPanel() {
    snapshot::PanelSnapshot panel;
    int index = 0;
    for (const layout::ControlPlacement& placement : layout::kControls) {
        if (placement.bitmap == layout::kNoBitmap) continue;
        panel.setValue(placement.tag, float(index * 37 % 100) / 99.0f);
        ++index;
    }
    return panel.render();
}

RgbImage toRgb(const Framebuffer& frame) {
    RgbImage image{frame.width(), frame.height(), {}};
    image.rgb.reserve(std::size_t(frame.width()) * frame.height() * 3);
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            const toolkit::Pixel p = frame.pixel(x, y);
            image.rgb.insert(image.rgb.end(),
                             {std::uint8_t(toolkit::redOf(p)), std::uint8_t(toolkit::greenOf(p)),
                              std::uint8_t(toolkit::blueOf(p))});
        }
    return image;
}

std::optional<RgbImage> readPng(const std::filesystem::path& path) {
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&png, path.c_str())) return std::nullopt;
    png.format = PNG_FORMAT_RGB;
    RgbImage image{int(png.width), int(png.height), std::vector<std::uint8_t>(PNG_IMAGE_SIZE(png))};
    if (!png_image_finish_read(&png, nullptr, image.rgb.data(), 0, nullptr)) {
        png_image_free(&png);
        return std::nullopt;
    }
    return image;
}

bool writePng(const std::filesystem::path& path, const RgbImage& image) {
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    png.width = png_uint_32(image.width);
    png.height = png_uint_32(image.height);
    png.format = PNG_FORMAT_RGB;
    return png_image_write_to_file(&png, path.c_str(), 0, image.rgb.data(), 0, nullptr) != 0;
}

struct Comparison {
    int differing = 0;
    int largestChannelDifference = 0;
    // Differing pixels red over a faded grey copy of the reference, their bounds framed in
    // yellow so that a few stray pixels are still found at a glance.
    RgbImage diff;
    std::set<std::int32_t> touchedTags;
    toolkit::PixelRect bounds{};
};

// A one-pixel yellow outline just outside `area`, clipped to the image.
void outline(RgbImage& image, const toolkit::PixelRect& area) {
    const toolkit::PixelRect ring{area.left - 2, area.top - 2, area.right + 2, area.bottom + 2};
    for (int y = std::max(ring.top, 0); y < std::min(ring.bottom, image.height); ++y)
        for (int x = std::max(ring.left, 0); x < std::min(ring.right, image.width); ++x) {
            const bool edge =
                x == ring.left || x == ring.right - 1 || y == ring.top || y == ring.bottom - 1;
            if (!edge) continue;
            std::uint8_t* pixel = image.at(x, y);
            pixel[0] = pixel[1] = 255;
            pixel[2] = 0;
        }
}

bool touches(const layout::ControlPlacement& placement, int x, int y) {
    return placement.rect.pointInside({x + 0.5, y + 0.5});
}

Comparison compare(const RgbImage& actual, const RgbImage& reference) {
    Comparison result{0, 0, reference, {}};
    for (int y = 0; y < reference.height; ++y)
        for (int x = 0; x < reference.width; ++x) {
            const std::uint8_t* want = reference.at(x, y);
            const std::uint8_t* got = actual.at(x, y);
            int worst = 0;
            for (int c = 0; c < 3; ++c)
                worst = std::max(worst, std::abs(int(want[c]) - int(got[c])));
            result.largestChannelDifference = std::max(result.largestChannelDifference, worst);
            std::uint8_t* shown = result.diff.at(x, y);
            if (worst <= kChannelTolerance) {
                const auto grey = std::uint8_t(64 + (want[0] + want[1] + want[2]) / 12);
                shown[0] = shown[1] = shown[2] = grey;
                continue;
            }
            ++result.differing;
            shown[0] = 255;
            shown[1] = shown[2] = 0;
            result.bounds = result.bounds.unite({x, y, x + 1, y + 1});
            for (const layout::ControlPlacement& placement : layout::kControls)
                if (touches(placement, x, y)) result.touchedTags.insert(placement.tag);
        }
    if (result.differing > 0) outline(result.diff, result.bounds);
    return result;
}

std::filesystem::path referencePath() {
    return std::filesystem::path(VELMORA_SOURCE_DIR) / "tests/data/editor/panel-reference.png";
}

// Next to the test binary, which is the build folder.
std::filesystem::path outputFolder() {
    std::error_code error;
    const auto binary = std::filesystem::read_symlink("/proc/self/exe", error);
    return (error ? std::filesystem::current_path() : binary.parent_path()) / "pixel-reference";
}

bool recordRequested() {
    const char* value = std::getenv("VELMORA_PIXEL_RECORD");
    return value != nullptr && std::string(value) == "1";
}

std::string describe(const Comparison& result, const std::filesystem::path& actualPath,
                     const std::filesystem::path& diffPath) {
    std::ostringstream text;
    text << result.differing << " pixels differ from " << referencePath() << " by more than "
         << kChannelTolerance << " in a channel (at most " << kAllowedDifferingPixels
         << " may; largest difference " << result.largestChannelDifference << "), within x "
         << result.bounds.left << ".." << result.bounds.right - 1 << ", y " << result.bounds.top
         << ".." << result.bounds.bottom - 1 << ".\n";
    if (!result.touchedTags.empty()) {
        text << "Controls touched (tags):";
        for (const std::int32_t tag : result.touchedTags)
            text << ' ' << tag;
        text << '\n';
    }
    text << "This render: " << actualPath << "\nDifferences in red: " << diffPath
         << "\nIf the change is intended, record it with VELMORA_PIXEL_RECORD=1.";
    return text.str();
}

TEST(PixelReference, ThePanelLooksAsRecorded) {
    const RgbImage actual = toRgb(renderPanel());
    if (recordRequested()) {
        ASSERT_TRUE(writePng(referencePath(), actual)) << "cannot write " << referencePath();
        std::cout << "recorded " << referencePath() << '\n';
        return;
    }
    const std::optional<RgbImage> reference = readPng(referencePath());
    ASSERT_TRUE(reference) << "cannot read " << referencePath()
                           << "; record it with VELMORA_PIXEL_RECORD=1";
    ASSERT_EQ(reference->width, actual.width);
    ASSERT_EQ(reference->height, actual.height);

    const Comparison result = compare(actual, *reference);
    if (result.differing <= kAllowedDifferingPixels) return;
    const std::filesystem::path actualPath = outputFolder() / "panel-actual.png";
    const std::filesystem::path diffPath = outputFolder() / "panel-diff.png";
    EXPECT_TRUE(writePng(actualPath, actual) && writePng(diffPath, result.diff))
        << "cannot write into " << outputFolder();
    ADD_FAILURE() << describe(result, actualPath, diffPath);
}

} // namespace
} // namespace velmora::editor
