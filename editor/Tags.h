// The editor's own control tags, for the controls whose actions are more than a write of the
// parameter with the same index. Tags below 60 are parameter indices.
#pragma once

#include <cstdint>

namespace velmora::editor::tags {

inline constexpr std::int32_t kTempo = 61;
inline constexpr std::int32_t kLink = 62;
inline constexpr std::int32_t kFirstReadout = 64; // digits 1..4, points, colons: 64..73
inline constexpr std::int32_t kPreNumStepper = 74;
inline constexpr std::int32_t kPreDenStepper = 75;
inline constexpr std::int32_t kDelayNumStepper = 76; // or nudges the delay time down
inline constexpr std::int32_t kDelayDenStepper = 77; // or nudges it up
inline constexpr std::int32_t kLfoNumStepper = 78;   // or nudges the LFO rate down
inline constexpr std::int32_t kLfoDenStepper = 79;   // or nudges it up
inline constexpr std::int32_t kLeftMeter = 80;
inline constexpr std::int32_t kRightMeter = 81;
inline constexpr std::int32_t kAbout = 82;
inline constexpr std::int32_t kFbPan = 83;
inline constexpr std::int32_t kFbGain = 84;
inline constexpr std::int32_t kDelayPan = 85;
inline constexpr std::int32_t kDelayGate = 86;
inline constexpr std::int32_t kDelayMode = 88;
inline constexpr std::int32_t kRange = 89;
inline constexpr std::int32_t kDelayTime = 90;
inline constexpr std::int32_t kLeftPage = 91;
inline constexpr std::int32_t kRightPage = 92;
inline constexpr std::int32_t kFbInvert = 93;
inline constexpr std::int32_t kDelayInvert = 94;
inline constexpr std::int32_t kInputMute = 96;
// The preset bar's controls, which this editor's actions leave alone.
inline constexpr std::int32_t kFirstPresetBar = 98;

} // namespace velmora::editor::tags
