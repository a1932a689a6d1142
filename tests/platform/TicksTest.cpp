// The tick counter counts real milliseconds: a wait of a known length shows as at least that
// many ticks, and not as the jump a wrong unit (microseconds, seconds) would give.
#include "platform/Ticks.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <thread>

namespace velmora {
namespace {

TEST(Ticks, CountMillisecondsOfRealTime) {
    using namespace std::chrono_literals;
    const auto start = std::chrono::steady_clock::now();
    const std::uint32_t before = platform::tickCountMs();
    std::this_thread::sleep_for(50ms);
    const std::uint32_t after = platform::tickCountMs();
    const auto waited = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();

#ifdef _WIN32
    // GetTickCount advances in steps of the system timer, up to about 16 ms each.
    constexpr std::uint32_t spareForSteps = 15;
#else
    constexpr std::uint32_t spareForSteps = 0;
#endif
    const std::uint32_t elapsed = after - before;
    EXPECT_GE(elapsed, 50u - spareForSteps);
    // A loaded machine may sleep longer than asked, so the bound is what was really waited
    // (both counts are cut to whole milliseconds, hence the two spare).
    EXPECT_LE(elapsed, static_cast<std::uint32_t>(waited) + 2u + spareForSteps);
}

} // namespace
} // namespace velmora
