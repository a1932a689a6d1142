// Display names of the MIDI controllers by number, as the editor's controller display shows
// them; 128 stands for no assignment and 129 for "not over a parameter control".
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace velmora {

inline constexpr int kNotAssignedNameIndex = 128;
inline constexpr int kNoParameterNameIndex = 129;

inline constexpr std::array<std::string_view, 130> kControllerNames{
    "bank sel MSB", "modulation",   "breath",       "control 3",    "foot",
    "portamento",   "data ent MSB", "main volume",  "balance",      "control 9",
    "pan",          "expression",   "control 12",   "control 13",   "control 14",
    "control 15",   "gen purp 1",   "gen purp 2",   "gen purp 3",   "gen purp 4",
    "control 20",   "control 21",   "control 22",   "control 23",   "control 24",
    "control 25",   "control 26",   "control 27",   "control 28",   "control 29",
    "control 30",   "control 31",   "bank sel LSB", "modul. LSB",   "breath LSB",
    "control 35",   "foot LSB",     "porta LSB",    "data ent LSB", "main vol LSB",
    "balance LSB",  "control 41",   "pan LSB",      "express. LSB", "control 44",
    "control 45",   "control 46",   "control 47",   "control 48",   "control 49",
    "control 50",   "control 51",   "control 52",   "control 53",   "control 54",
    "control 55",   "control 56",   "control 57",   "control 58",   "control 59",
    "control 60",   "control 61",   "control 62",   "control 63",   "sustain",
    "porta on/off", "sostenuto",    "soft pedal",   "legato FS",    "hold 2",
    "sound var",    "harmonic",     "release time", "attack time",  "brightness",
    "control 75",   "control 76",   "control 77",   "control 78",   "control 79",
    "gen purp 5",   "gen purp 6",   "gen purp 7",   "gen purp 8",   "porta ctrl",
    "control 85",   "control 86",   "control 87",   "control 88",   "control 89",
    "control 90",   "ext FX",       "tremolo",      "chorus",       "detune",
    "phaser",       "data incr",    "data decr",    "NRPN LSB",     "NRPN MSB",
    "RPN LSB",      "RPN MSB",      "control 102",  "control 103",  "control 104",
    "control 105",  "control 106",  "control 107",  "control 108",  "control 109",
    "control 110",  "control 111",  "control 112",  "control 113",  "control 114",
    "control 115",  "control 116",  "control 117",  "control 118",  "control 119",
    "all snd off",  "reset ctrl",   "local ctrl",   "all note off", "omni off",
    "omni on",      "mono mode on", "poly mode on", "not assigned", "",
};

// The name for an index of the table; indices outside it read as the empty entry.
inline constexpr std::string_view controllerName(int index) {
    return index >= 0 && index < static_cast<int>(kControllerNames.size())
               ? kControllerNames[static_cast<std::size_t>(index)]
               : kControllerNames[kNoParameterNameIndex];
}

} // namespace velmora
