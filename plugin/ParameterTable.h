// The names and unit labels the host reads, from the parameter descriptions; indices 60..119
// (controller assignments) are named after the parameter they drive.
#pragma once

#include <optional>
#include <string_view>

namespace velmora {

// The first index whose name is exactly name ("Cutoff" gives 15, "n/a" gives 43).
std::optional<int> parameterIndexByName(std::string_view name);

// 0..59: the name; 60..119 (controller assignments): "CC# " and the name of index - 60;
// any other index leaves text as it was.
void writeParameterName(int index, char* text);

// The unit label, or the empty string for any index without one (60 and above included).
void writeParameterLabel(int index, char* text);

} // namespace velmora
