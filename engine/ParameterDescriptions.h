// One description per parameter: everything fixed about index 0..59 (host name, unit label,
// steps, construction value, how its texts are formed, which engine routine applies it) in one
// table, read by the engine, the parameter model, the displays and the editor's readout.
#pragma once

#include "engine/ParameterIndex.h"
#include "engine/ValueTables.h"

#include <array>
#include <span>
#include <string_view>

namespace velmora {

// The engine routine that turns the value into what the loop reads; None stores nothing.
enum class EngineGroup { None, Level, Modulation, Filter, Timing, Reverb, Switch };

// How the host's display text is formed (v is the normalised value).
enum class DisplayKind {
    NotApplicable, // "n/a"
    StepName,      // the current step's entry of stepNames
    StepNumber,    // the current step's entry of stepNumbers
    VolumeDb,      // dB text of the gain 4v^2
    GainDb,        // dB text of v
    GateDb,        // dB text of v^2
    DriveDb,       // dB text of 2^(4v)
    DryWet,        // "D:%d<>%d:W"
    Pan,           // "L:%d<>%d:R"
    SourceBlend,   // "L:%d<>%d:E", LFO against envelope
    LfoRate,       // the LFO rate in Hz as the engine last set it
    Offset,        // the left/right LFO offset in degrees
    Depth,         // signed percent of 2v - 1
    Sensitivity,   // signed percent of v
    Cutoff,        // whole Hz
    Resonance,     // float text of 10v
    ClockRatio,    // float text of 2^(2v - 1)
    EnvelopeMs,    // whole ms of 900v + 100
    DelayTime,     // "%f" of the channel's current delay in ms
    Percent,       // float text of 100v
    DuckingDb,     // float text of 24v - 24
    Mute,          // "muted" above one half, else "off"
};

// What the editor's seven-segment readout shows for the parameter.
enum class ReadoutKind {
    None,         // nothing: the record keeps its number fields at zero
    Level,        // decibels of the display's gain, -100 below -98 dB
    Drive,        // decibels of 2^(4v), without the floor
    Balance,      // both shares of a balance
    LfoRate,      // Hz
    Offset,       // degrees, signed
    Depth,        // percent of 2v - 1, signed
    Cutoff,       // kHz
    HostScale,    // 24x - 24 of the host's value x, signed
    ClockRatio,   // 2^(2v - 1)
    EnvelopeMs,   // 900v + 100
    DelayTime,    // the channel's current delay in ms
    HostPercent,  // 100x of the host's value x
    Sensitivity,  // 10v, its sign left as the caller passed it
    DelayNote,    // the channel's delay note value
    LfoNote,      // the LFO note value
    PreDelayNote, // the channel's pre-delay note value
};

// What getParameterProperties announces.
enum class HostSteps { None, Switch, Integer, Float };

// The channel of a left/right pair.
enum class Channel { Both = -1, Left = 0, Right = 1 };

struct FloatSteps {
    float step = 0.0f;
    float largeStep = 0.0f;
};

// The texts default to the empty string rather than an empty view, so a text copied for an
// index without a description still comes from a real (empty) string.
struct ParameterDescription {
    std::string_view name = "";  // the host's name, at most 8 characters
    std::string_view label = ""; // the unit label, at most 8 characters
    int steps = 0;               // 0 for a continuous parameter
    double initial = 0.0;        // the engine's construction value
    EngineGroup group = EngineGroup::None;
    DisplayKind display = DisplayKind::NotApplicable;
    ReadoutKind readout = ReadoutKind::None;
    HostSteps hostSteps = HostSteps::None;
    Channel channel = Channel::Both;
    std::span<const std::string_view> stepNames{}; // one per step, for DisplayKind::StepName
    std::span<const int> stepNumbers{};            // one per step, for DisplayKind::StepNumber
    FloatSteps floatSteps{};                       // for HostSteps::Float

    constexpr ParameterDescription on(Channel side) const {
        ParameterDescription copy = *this;
        copy.channel = side;
        return copy;
    }
    constexpr ParameterDescription startingAt(double value) const {
        ParameterDescription copy = *this;
        copy.initial = value;
        return copy;
    }
    constexpr ParameterDescription withFloatSteps(float step, float largeStep) const {
        ParameterDescription copy = *this;
        copy.hostSteps = HostSteps::Float;
        copy.floatSteps = {step, largeStep};
        return copy;
    }
    constexpr ParameterDescription announcedAsSwitch() const {
        ParameterDescription copy = *this;
        copy.hostSteps = HostSteps::Switch;
        return copy;
    }
};

namespace descriptions {

inline constexpr std::array<std::string_view, 2> kOnOff{"off", "on"};
inline constexpr std::array<std::string_view, 5> kWaveNames{"sin", "sqr", "tri", "saw", "rnd"};
inline constexpr std::array<std::string_view, 3> kFilterTypes{"LPF", "BPF", "HPF"};
inline constexpr std::array<std::string_view, 3> kFilterPlacements{"in", "fb", "fx"};
inline constexpr std::array<std::string_view, 2> kDelayModes{"time", "note"};
// The two synced modes read alike; the second also locks the phase to the song position.
inline constexpr std::array<std::string_view, 3> kLfoModes{"freq", "note", "note"};
inline constexpr std::array<std::string_view, 2> kReverbModes{"fx", "out"};
inline constexpr std::array<std::string_view, 2> kReverbTypes{"spring", "plate"};

// The centre of step i of n in double precision, as the construction values are written.
constexpr double centreOf(int i, int n) {
    return (i + 0.5) / n;
}

constexpr ParameterDescription continuous(std::string_view name, std::string_view label,
                                          EngineGroup group, DisplayKind display,
                                          ReadoutKind readout) {
    return {.name = name, .label = label, .group = group, .display = display, .readout = readout};
}

// Two steps or more, each shown by name. Two steps are announced as a switch, more as an
// integer range.
constexpr ParameterDescription named(std::string_view name, EngineGroup group,
                                     std::span<const std::string_view> names) {
    const int steps = static_cast<int>(names.size());
    return {.name = name,
            .steps = steps,
            .group = group,
            .display = DisplayKind::StepName,
            .hostSteps = steps == 2 ? HostSteps::Switch : HostSteps::Integer,
            .stepNames = names};
}

// Steps shown by the number of a value table.
constexpr ParameterDescription numbered(std::string_view name, std::string_view label,
                                        EngineGroup group, ReadoutKind readout,
                                        std::span<const int> numbers) {
    return {.name = name,
            .label = label,
            .steps = static_cast<int>(numbers.size()),
            .group = group,
            .display = DisplayKind::StepNumber,
            .readout = readout,
            .hostSteps = HostSteps::Integer,
            .stepNumbers = numbers};
}

constexpr ParameterDescription unused() {
    return ParameterDescription{.name = "n/a"}.announcedAsSwitch();
}

constexpr auto L = Channel::Left;
constexpr auto R = Channel::Right;
using E = EngineGroup;
using D = DisplayKind;
using Q = ReadoutKind;

} // namespace descriptions

// Engine state named for what it is rather than for the parameter that sets it:
//   FbInvL/R   -> path.feedbackSign (-1 when on)     DlyInvL/R -> path.delayOutputSign
//   RvbMode    -> path.dryIntoReverb (true in "out") MuteInL/R -> the mute smoothers (1 = open)
//   LFOWave    -> lfo's wave      FltType -> filterSettings.type   FltMode -> .placement
// Every other switch field carries the parameter's own name (vcoOn, fltOn, rvbOn, bypass).
// clang-format off
inline constexpr std::array<ParameterDescription, kNumParameters> kParameterDescriptions = [] {
    using namespace descriptions;
    return std::array<ParameterDescription, kNumParameters>{
        continuous("Input", "dB", E::Level, D::VolumeDb, Q::Level).startingAt(0.5),
        continuous("Output", "dB", E::Level, D::VolumeDb, Q::Level).startingAt(0.5),
        continuous("Mix", "%", E::Level, D::DryWet, Q::Balance).startingAt(0.5),
        continuous("FbGainL", "dB", E::Level, D::GainDb, Q::Level).on(L),
        continuous("FbGainR", "dB", E::Level, D::GainDb, Q::Level).on(R),
        continuous("FbPanL", "%", E::Level, D::Pan, Q::Balance).on(L),
        continuous("FbPanR", "%", E::Level, D::Pan, Q::Balance).on(R).startingAt(1.0),
        named("FbInvL", E::Level, kOnOff).on(L),
        named("FbInvR", E::Level, kOnOff).on(R),
        named("LFOWave", E::Modulation, kWaveNames),
        continuous("LFORate", "Hz", E::Modulation, D::LfoRate, Q::LfoRate).startingAt(0.5),
        continuous("LROffset", "deg", E::Modulation, D::Offset, Q::Offset).startingAt(0.5),
        continuous("ModSrc", "%", E::Modulation, D::SourceBlend, Q::Balance),
        continuous("CutfMod", "%", E::Modulation, D::Depth, Q::Depth).startingAt(0.5),
        named("FltType", E::Filter, kFilterTypes),
        continuous("Cutoff", "Hz", E::Filter, D::Cutoff, Q::Cutoff).startingAt(1.0),
        continuous("Reso", "", E::Filter, D::Resonance, Q::HostScale),
        continuous("VcoMan", "x", E::Modulation, D::ClockRatio, Q::ClockRatio).startingAt(0.5),
        continuous("VcoMod", "%", E::Modulation, D::Depth, Q::Depth).startingAt(0.5),
        named("DlyInvL", E::Level, kOnOff).on(L),
        named("DlyInvR", E::Level, kOnOff).on(R),
        continuous("Drive", "dB", E::Modulation, D::DriveDb, Q::Drive),
        continuous("EnvSpeed", "ms", E::Modulation, D::EnvelopeMs, Q::EnvelopeMs)
            .withFloatSteps(1.0f / 900.0f, 1.0f / 90.0f), // one step per millisecond
        named("FltMode", E::Filter, kFilterPlacements),
        named("DlyModeL", E::Timing, kDelayModes).on(L),
        named("DlyModeR", E::Timing, kDelayModes).on(R),
        numbered("DlyNumL", "", E::Timing, Q::DelayNote, kDelayNumerators).on(L),
        numbered("DlyNumR", "", E::Timing, Q::DelayNote, kDelayNumerators).on(R),
        numbered("DlyDenL", "", E::Timing, Q::DelayNote, kDenominatorTable).on(L),
        numbered("DlyDenR", "", E::Timing, Q::DelayNote, kDenominatorTable).on(R),
        numbered("RangeL", "ms", E::Timing, Q::None, kRangeMaximaMs)
            .on(L).startingAt(centreOf(2, 3)),
        numbered("RangeR", "ms", E::Timing, Q::None, kRangeMaximaMs)
            .on(R).startingAt(centreOf(2, 3)),
        // Three modes, announced as integer steps: as a switch the middle one is out of reach.
        named("LfoMode", E::Modulation, kLfoModes),
        numbered("LfoNum", "", E::Modulation, Q::LfoNote, kLfoNumerators),
        numbered("LfoDen", "", E::Modulation, Q::LfoNote, kDenominatorTable),
        continuous("DlyTimeL", "ms", E::Timing, D::DelayTime, Q::DelayTime)
            .on(L).startingAt(0.4).withFloatSteps(0.0001f, 0.1f),
        continuous("DlyTimeR", "ms", E::Timing, D::DelayTime, Q::DelayTime)
            .on(R).startingAt(0.4).withFloatSteps(0.0001f, 0.1f),
        named("RvbMode", E::Reverb, kReverbModes),
        named("RvbType", E::Reverb, kReverbTypes),
        continuous("RvbDamp", "%", E::Reverb, D::Percent, Q::HostScale),
        continuous("RvbAmt", "%", E::Reverb, D::Percent, Q::HostPercent),
        named("Bypass", E::Switch, kOnOff),
        named("FltOn", E::Switch, kOnOff),
        unused(),
        unused(),
        named("VcoOn", E::Switch, kOnOff).startingAt(centreOf(1, 2)),
        named("RvbOn", E::Switch, kOnOff),
        continuous("ModSens", "%", E::Modulation, D::Sensitivity, Q::Sensitivity),
        continuous("DlyPanL", "%", E::Level, D::Pan, Q::Balance).on(L),
        continuous("DlyPanR", "%", E::Level, D::Pan, Q::Balance).on(R).startingAt(1.0),
        continuous("DlyGateL", "dB", E::Level, D::GateDb, Q::Level).on(L),
        continuous("DlyGateR", "dB", E::Level, D::GateDb, Q::Level).on(R),
        continuous("Ducking", "%", E::Level, D::DuckingDb, Q::HostScale),
        continuous("ResoMod", "", E::Modulation, D::Depth, Q::Depth).startingAt(0.5),
        numbered("PreNumL", "", E::Timing, Q::PreDelayNote, kPreDelayNumerators).on(L),
        numbered("PreNumR", "", E::Timing, Q::PreDelayNote, kPreDelayNumerators).on(R),
        numbered("PreDenL", "", E::Timing, Q::PreDelayNote, kDenominatorTable)
            .on(L).startingAt(centreOf(1, 13)),
        numbered("PreDenR", "", E::Timing, Q::PreDelayNote, kDenominatorTable)
            .on(R).startingAt(centreOf(1, 13)),
        // Continuous in the engine (open up to one half), but a two-state control to a host.
        continuous("MuteInL", "", E::Level, D::Mute, Q::None).on(L).announcedAsSwitch(),
        continuous("MuteInR", "", E::Level, D::Mute, Q::None).on(R).announcedAsSwitch(),
    };
}();
// clang-format on

inline constexpr ParameterDescription kNoParameter{};

// The description of index 0..59; any other index gets an empty one (no name, no group).
constexpr const ParameterDescription& describe(int index) {
    return index >= 0 && index < kNumParameters
               ? kParameterDescriptions[static_cast<std::size_t>(index)]
               : kNoParameter;
}

// The step a value selects for a stepped parameter (0 for a continuous one).
inline int stepOf(int index, double value) {
    const int steps = describe(index).steps;
    return steps > 0 ? stepIndex(static_cast<float>(value), steps) : 0;
}

} // namespace velmora
