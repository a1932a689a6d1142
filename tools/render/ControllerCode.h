// How the plug-in's assignment parameters carry a MIDI controller number. Each parameter p has
// one at index (parameter count + p); its value names the controller that drives p.
#pragma once

#include <algorithm>
#include <optional>

namespace velmora::render {

inline constexpr int kControllerSlots = 129; // controllers 0..127 and one slot for "none"
inline constexpr int kNoController = 128;

// Controller c sits in the middle of its slot, so the value survives float rounding.
constexpr float assignmentValue(int controller) {
    return (static_cast<float>(controller) + 0.5f) / static_cast<float>(kControllerSlots);
}

// The controller an assignment value names; none for the "none" slot and for values outside
// 0..1 (a plug-in without assignment tables answers -1).
constexpr std::optional<int> assignedController(float value) {
    if (!(value >= 0.0f && value <= 1.0f)) {
        return std::nullopt;
    }
    const int controller =
        std::min(static_cast<int>(value * static_cast<float>(kControllerSlots)), kNoController);
    if (controller == kNoController) {
        return std::nullopt;
    }
    return controller;
}

} // namespace velmora::render
