// UTF-8 <-> UTF-16 for the wide Windows calls. Ill-formed input converts to nothing rather than
// to replacement characters, so a damaged name never reaches the file system or the registry.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora::platform::windows {

std::optional<std::wstring> toWide(std::string_view utf8);
std::optional<std::string> toUtf8(std::wstring_view utf16);

} // namespace velmora::platform::windows
