// The two bar meters' idle work: each jumps up to the channel's peak level at once and falls
// back by its full scale in half a second. Kept apart from the editor so that it runs without
// a window.
#pragma once

#include <array>
#include <cstdint>

namespace velmora {
class DelayEffect;
}

namespace velmora::editor {

class LevelMeters {
  public:
    // Peaks at or below this (-24 dB) leave a meter empty.
    static constexpr double kLevelFloorDb = -24.0;
    // Time for a full meter to fall empty.
    static constexpr double kFallMs = 500.0;

    explicit LevelMeters(std::uint32_t nowMs) : meterTick_(nowMs) {}

    // One idle call with the absolute peaks since the previous one.
    void update(float peakLeft, float peakRight, std::uint32_t nowMs);
    // The same, taking (and so clearing) the effect's peaks.
    void update(DelayEffect& effect, std::uint32_t nowMs);

    // Meter values in 0..1, for the left (tag 80) and right (tag 81) meters.
    float left() const { return values_[0]; }
    float right() const { return values_[1]; }

  private:
    float nextValue(float current, float peak, double elapsedMs) const;

    std::array<float, 2> values_{};
    std::uint32_t meterTick_;
};

// Where a peak puts a meter: 0 at -24 dB and below, 1 at 0 dB and above, linear in dB.
float meterTarget(float peak);

} // namespace velmora::editor
