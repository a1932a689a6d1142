// Decoding of the state chunk the host hands back: version 2 (a bank chunk followed by the
// controller records) and the older version 1 (fixed program blocks and a controller table), in
// either byte order. The result is complete before anything is applied, so a rejected chunk
// leaves every program and assignment as it was.
#pragma once

#include "presets/ChunkLoader.h"
#include "presets/ProgramStore.h"

#include <bitset>
#include <cstddef>
#include <span>
#include <vector>

namespace velmora::chunk {

struct StateLoad {
    bool accepted = false;
    // Applied first, in order, as assignment writes (parameter index 60 + parameter).
    std::vector<ControllerSetting> controllers;
    ProgramStore programs;
    std::bitset<kNumPrograms> renamed;
    int currentProgram = 0;
};

// Programs that the chunk does not touch keep their contents from `before`; every program the
// chunk does load starts from `templateProgram`.
StateLoad decodeStateChunk(std::span<const std::byte> data, const ProgramStore& before,
                           const Program& templateProgram, const ParameterMask& loaded);

} // namespace velmora::chunk
