// The error the host-side code raises when a plug-in cannot be loaded or started.
#pragma once

#include <stdexcept>

namespace velmora::host {

// Raised when a plug-in cannot be loaded or instantiated; what() says why in plain words.
class HostError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

} // namespace velmora::host
