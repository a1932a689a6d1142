// Keys a host hands the editor through the interface (for hosts that keep the keyboard to
// themselves), in the toolkit's terms.
#pragma once

#include "toolkit/KeyEvent.h"
#include "vst2/vst2.h"

namespace velmora::editor {

toolkit::KeyEvent keyEventOf(const VstKeyCode& key);

} // namespace velmora::editor
