// The frames of the preset bar's three-frame button strips.
#pragma once

namespace velmora::editor {

inline constexpr int kRestingFrame = 0;
inline constexpr int kHoverFrame = 1;
inline constexpr int kPressedFrame = 2; // also "on" for the latching buttons
inline constexpr int kButtonFrames = 3;

} // namespace velmora::editor
