// The tool's JSON form of a file's or state chunk's contents. Values are written as the
// shortest decimal that reads back as the same number, so a float survives export and import
// bit for bit; names are 8-bit text, carried as the characters U+0000..U+00FF.
#pragma once

#include "tools/preset/Contents.h"

#include <optional>
#include <string>
#include <string_view>

namespace velmora::presettool {

std::string toJsonText(const Contents& contents);

struct FromJson {
    std::optional<Contents> contents;
    std::string error; // names the field at fault
};

FromJson contentsFromJsonText(std::string_view text);

} // namespace velmora::presettool
