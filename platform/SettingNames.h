// The per-user values the preset system keeps. Every plug-in instance of the user shares them;
// the last writer wins.
#pragma once

#include <string_view>

namespace velmora::platform::setting {

// Chunks (binary): the start-up defaults and the two quick memories.
inline constexpr std::string_view defaultBank = "DefaultBank";
inline constexpr std::string_view defaultPreset = "DefaultPreset";
inline constexpr std::string_view defaultMidi = "DefaultMidi";
inline constexpr std::string_view memoA = "MemoA";
inline constexpr std::string_view memoB = "MemoB";

// Texts: the remembered file locations, and the manual the installation names.
inline constexpr std::string_view currentFolder = "CurrDir";
inline constexpr std::string_view currentBank = "CurrBank";
inline constexpr std::string_view currentPreset = "CurrPreset";
inline constexpr std::string_view currentMidi = "CurrMidi";
inline constexpr std::string_view manualPath = "ManualPath";

// Number: 1 when the editor takes the keyboard focus, else 0.
inline constexpr std::string_view keyboardFocus = "KeyboardFocus";

} // namespace velmora::platform::setting
