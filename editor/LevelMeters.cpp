#include "editor/LevelMeters.h"

#include "plugin/DelayEffect.h"

#include <algorithm>
#include <cmath>

namespace velmora::editor {

float meterTarget(float peak) {
    const double floorGain = std::pow(10.0, LevelMeters::kLevelFloorDb / 20.0);
    // Written so that a NaN peak reads as silence.
    const double db =
        peak > floorGain ? std::min(20.0 * std::log10(peak), 0.0) : LevelMeters::kLevelFloorDb;
    return static_cast<float>(db / -LevelMeters::kLevelFloorDb + 1.0);
}

float LevelMeters::nextValue(float current, float peak, double elapsedMs) const {
    const double fallen = std::max(current - elapsedMs / kFallMs, 0.0);
    return std::max(meterTarget(peak), static_cast<float>(fallen));
}

// The tick difference is unsigned, so the fall keeps its pace across a wrap of the counter.
void LevelMeters::update(float peakLeft, float peakRight, std::uint32_t nowMs) {
    const double elapsedMs = static_cast<double>(nowMs - meterTick_);
    values_[0] = nextValue(values_[0], peakLeft, elapsedMs);
    values_[1] = nextValue(values_[1], peakRight, elapsedMs);
    meterTick_ = nowMs;
}

void LevelMeters::update(DelayEffect& effect, std::uint32_t nowMs) {
    float peakLeft = 0.0f;
    float peakRight = 0.0f;
    effect.takePeakLevels(peakLeft, peakRight);
    update(peakLeft, peakRight, nowMs);
}

} // namespace velmora::editor
