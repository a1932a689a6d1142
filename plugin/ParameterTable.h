// The fixed facts of the 60 parameters: the name and unit label the host shows, and the number
// of steps a stepped parameter is divided into.
#pragma once

#include <optional>
#include <string_view>

namespace velmora {

struct ParameterInfo {
    const char* name;
    const char* label;
    int steps; // 0 for a continuous parameter
};

// The entry of index 0..59; any other index gets an entry with empty texts and no steps.
const ParameterInfo& parameterInfo(int index);

// The first index whose name is exactly name ("Cutoff" gives 15, "n/a" gives 43).
std::optional<int> parameterIndexByName(std::string_view name);

// 0..59: the name; 60..119 (controller assignments): "CC# " and the name of index - 60;
// any other index leaves text as it was.
void writeParameterName(int index, char* text);

// The unit label, or the empty string for any index without one (60 and above included).
void writeParameterLabel(int index, char* text);

} // namespace velmora
