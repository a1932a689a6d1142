// The factory programs every new instance starts with: program 0 "Default" (also the template
// every load starts from) and 60 sound designs.
#pragma once

#include "engine/ParameterIndex.h"
#include "presets/Program.h"
#include "presets/ProgramStore.h"

#include <array>
#include <string_view>

namespace velmora {

using FactoryRow = std::array<double, kNumParameters>;

extern const std::array<std::string_view, kNumPrograms> kFactoryProgramNames;
extern const std::array<FactoryRow, kNumPrograms> kFactoryRows;

// Program i of the factory table: its name by the 24-byte rule and its cells as floats.
Program factoryProgram(int index);

} // namespace velmora
