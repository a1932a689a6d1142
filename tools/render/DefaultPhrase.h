// The built-in material rendered when no input file is given: a few bars of plucked notes and
// a short drum hit with rests between, so the echoes can be heard on their own.
#pragma once

#include "tools/render/AudioFile.h"

namespace velmora::render {

inline constexpr double kPhrasePeak = 0.5; // about -6 dBFS

AudioData defaultPhrase(int sampleRate);

} // namespace velmora::render
