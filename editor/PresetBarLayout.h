// The preset bar along the bottom edge of the panel (rows 155 to 171), as data: where each of
// its controls sits and which strip draws it. The preset system builds the controls; the
// editor's snapshot and layout checks read the same table.
#pragma once

#include "editor/PresetBarTags.h"
#include "toolkit/Geometry.h"

#include <array>
#include <cstdint>

namespace velmora::editor::layout {

inline constexpr int kPresetBarTop = 155;

enum class PresetBarKind {
    nameField,      // text field, on the panel background
    programMenu,    // pop-up list, on the panel background
    controllerText, // read-only text, on the panel background
    rocker,         // program down/up
    saveLoadButton, // file load or save; the right button loads byte-reversed
    kickButton,     // defaults, memories, manual
    onOffButton,    // learn, forget, keyboard focus
};

struct PresetBarPlacement {
    std::int32_t tag; // -1 for the controller text, which takes no input
    PresetBarKind kind;
    toolkit::CRect rect;
    int bitmap; // resource id, or -1 where the background shows through
    int frames;
};

// clang-format off
inline constexpr std::array kPresetBar{
    PresetBarPlacement{tags::kProgramName,      PresetBarKind::nameField,       {210, 157, 322, 169}, -1,  0},
    PresetBarPlacement{tags::kProgramMenu,      PresetBarKind::programMenu,     {322, 157, 335, 169}, -1,  0},
    PresetBarPlacement{tags::kProgramRocker,    PresetBarKind::rocker,          {342, 156, 372, 169}, 995, 5},
    PresetBarPlacement{tags::kLoadBank,         PresetBarKind::saveLoadButton,  {87, 156, 104, 171},  990, 3},
    PresetBarPlacement{tags::kSaveBank,         PresetBarKind::saveLoadButton,  {36, 156, 53, 171},   991, 3},
    PresetBarPlacement{tags::kDefaultBank,      PresetBarKind::kickButton,      {53, 156, 85, 169},   992, 3},
    PresetBarPlacement{tags::kLoadPreset,       PresetBarKind::saveLoadButton,  {179, 156, 196, 171}, 990, 3},
    PresetBarPlacement{tags::kSavePreset,       PresetBarKind::saveLoadButton,  {116, 156, 133, 171}, 991, 3},
    PresetBarPlacement{tags::kDefaultPreset,    PresetBarKind::kickButton,      {134, 156, 178, 169}, 993, 3},
    PresetBarPlacement{tags::kStoreA,           PresetBarKind::kickButton,      {390, 156, 407, 171}, 991, 3},
    PresetBarPlacement{tags::kRecallA,          PresetBarKind::kickButton,      {423, 156, 440, 171}, 990, 3},
    PresetBarPlacement{tags::kStoreB,           PresetBarKind::kickButton,      {454, 156, 471, 171}, 991, 3},
    PresetBarPlacement{tags::kRecallB,          PresetBarKind::kickButton,      {488, 156, 505, 171}, 990, 3},
    PresetBarPlacement{tags::kSaveMidi,         PresetBarKind::saveLoadButton,  {653, 156, 670, 171}, 991, 3},
    PresetBarPlacement{tags::kDefaultMidi,      PresetBarKind::kickButton,      {671, 156, 699, 169}, 994, 3},
    PresetBarPlacement{tags::kLoadMidi,         PresetBarKind::saveLoadButton,  {701, 156, 718, 171}, 990, 3},
    PresetBarPlacement{tags::kControllerDisplay, PresetBarKind::controllerText,  {733, 157, 823, 169}, -1,  0},
    PresetBarPlacement{tags::kLearn,            PresetBarKind::onOffButton,     {831, 155, 855, 171}, 998, 3},
    PresetBarPlacement{tags::kForget,           PresetBarKind::onOffButton,     {856, 155, 880, 171}, 999, 3},
    PresetBarPlacement{tags::kKeyboardFocus,    PresetBarKind::onOffButton,     {899, 159, 910, 166}, 988, 3},
    PresetBarPlacement{tags::kManual,           PresetBarKind::kickButton,      {920, 158, 931, 167}, 989, 3},
};
// clang-format on

} // namespace velmora::editor::layout
