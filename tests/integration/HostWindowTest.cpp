// The host window the editor tests and tools open editors in: it must be on screen, of the
// size asked for, and read back exactly what the server shows, or every pixel check built on
// it checks the wrong thing.
#include "tools/hostwindow/HostWindow.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace velmora::host {
namespace {

TEST(HostWindowTest, OpensOnScreenAtItsSizeAndReadsBackItsBackground) {
    const auto window = HostWindow::connect();
    if (!window) GTEST_SKIP() << "no desktop to show windows on";
    EXPECT_EQ(window->id(), 0u);
    EXPECT_TRUE(window->capture().empty()) << "nothing to read before a window exists";

    ASSERT_TRUE(window->open(130, 40, "host window", 0x123456));
    EXPECT_NE(window->id(), 0u);
    const WindowImage image = window->capture();
    ASSERT_EQ(image.width, 130);
    ASSERT_EQ(image.height, 40);
    ASSERT_EQ(image.pixels.size(), 130u * 40u);
    EXPECT_TRUE(std::ranges::all_of(image.pixels, [](auto p) { return p == 0x123456; }));
    EXPECT_EQ(window->childCount(), 0);

    // Opening again replaces the window rather than leaking it.
    const std::uintptr_t first = window->id();
    ASSERT_TRUE(window->open(20, 10, "again", 0xABCDEF));
    EXPECT_NE(window->id(), first);
    EXPECT_EQ(window->capture().at(19, 9), 0xABCDEFu);

    window->destroy();
    EXPECT_EQ(window->id(), 0u);
    EXPECT_TRUE(window->capture().empty());
    EXPECT_FALSE(window->open(0, 10, "no size", 0));
}

} // namespace
} // namespace velmora::host
