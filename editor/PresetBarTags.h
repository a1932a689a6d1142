// The tags of the preset bar's controls, which the editor hands to the bar.
#pragma once

#include <cstdint>

namespace velmora::editor::tags {

inline constexpr std::int32_t kProgramName = 98;
inline constexpr std::int32_t kProgramRocker = 99;
inline constexpr std::int32_t kLoadBank = 100;
inline constexpr std::int32_t kSaveBank = 101;
inline constexpr std::int32_t kLoadPreset = 102;
inline constexpr std::int32_t kSavePreset = 103;
inline constexpr std::int32_t kLearn = 105;
inline constexpr std::int32_t kLoadMidi = 106;
inline constexpr std::int32_t kSaveMidi = 107;
inline constexpr std::int32_t kDefaultMidi = 108;
inline constexpr std::int32_t kForget = 109;
inline constexpr std::int32_t kProgramMenu = 110;
inline constexpr std::int32_t kDefaultBank = 111;
inline constexpr std::int32_t kDefaultPreset = 112;
inline constexpr std::int32_t kStoreA = 113;
inline constexpr std::int32_t kStoreB = 114;
inline constexpr std::int32_t kRecallA = 115;
inline constexpr std::int32_t kRecallB = 116;
inline constexpr std::int32_t kKeyboardFocus = 117;
inline constexpr std::int32_t kManual = 118;
// The controller display takes no input.
inline constexpr std::int32_t kControllerDisplay = -1;

} // namespace velmora::editor::tags
