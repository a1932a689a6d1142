// A millisecond tick counter for timing what the user sees (double clicks, held buttons, meter
// fall-off). Only the difference of two readings means anything; it wraps after about 49 days,
// and unsigned subtraction gives the right difference across the wrap.
#pragma once

#include <cstdint>

namespace velmora::platform {

std::uint32_t tickCountMs();

} // namespace velmora::platform
