// The tool's commands over files on disk. Each returns the process exit code: 0 done, 1 the
// input was refused or a file could not be read or written (a message says which and why), 2
// the command line was wrong.
#pragma once

#include <iosfwd>
#include <span>
#include <string>

namespace velmora::presettool {

int runCommand(std::span<const std::string> arguments, std::ostream& out, std::ostream& err);

} // namespace velmora::presettool
