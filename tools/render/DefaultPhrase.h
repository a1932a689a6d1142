// The built-in material rendered when no input file is given: a few bars of plucked notes and
// a short drum hit with rests between, so the echoes can be heard on their own.
#pragma once

#include "tools/render/AudioFile.h"

#include <string_view>

namespace velmora::render {

inline constexpr double kPhrasePeak = 0.5; // about -6 dBFS

// The factory program the phrase is heard through unless the user picks a program or a state:
// stereo echoes that repeat and fade through a low-pass in the loop, near the level of the
// default program, so the first render shows what the plug-in does.
inline constexpr std::string_view kPhraseProgram = "Daydreaming";

AudioData defaultPhrase(int sampleRate);

} // namespace velmora::render
