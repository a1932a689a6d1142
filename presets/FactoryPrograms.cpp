#include "presets/FactoryPrograms.h"

#include "engine/ParameterDescriptions.h"

#include <initializer_list>
#include <span>

namespace velmora {
namespace {

using namespace param;

// ---- Values by meaning, so that each design reads as settings rather than numbers ----

// The centre of step `index` of a stepped parameter, the value it is written with.
constexpr double step(int parameter, int index) {
    return (index + 0.5) / describe(parameter).steps;
}

// The step of a parameter shown as a number of its value table.
constexpr double numberStep(int parameter, int number) {
    const std::span<const int> numbers = describe(parameter).stepNumbers;
    for (std::size_t i = 0; i < numbers.size(); ++i)
        if (numbers[i] == number) return step(parameter, static_cast<int>(i));
    throw "value not in table"; // stops compilation of a design with an impossible value
}

constexpr double kOff = step(Bypass, 0); // every switch has the two steps "off" and "on"
constexpr double kOn = step(Bypass, 1);

// Free time in milliseconds; Default's lines run in note values at the host tempo.
constexpr double kTimeMode = step(DlyModeL, 0);

constexpr double kSine = step(LFOWave, 0);
constexpr double kSquare = step(LFOWave, 1);
constexpr double kTriangle = step(LFOWave, 2);
constexpr double kSaw = step(LFOWave, 3);
constexpr double kRandom = step(LFOWave, 4);

constexpr double kLfoFree = step(LfoMode, 0);
constexpr double kLfoSynced = step(LfoMode, 1);

constexpr double kLowPass = step(FltType, 0);
constexpr double kBandPass = step(FltType, 1);
constexpr double kHighPass = step(FltType, 2);

constexpr double kFilterIn = step(FltMode, 0);
constexpr double kFilterInLoop = step(FltMode, 1);   // filtered echoes are fed back
constexpr double kFilterOnEchoes = step(FltMode, 2); // echoes filtered, feedback left unfiltered

constexpr double kSpring = step(RvbType, 0);
constexpr double kPlate = step(RvbType, 1);
// The dry signal passes the reverb too; Default's reverb takes the echoes only.
constexpr double kReverbOnAll = step(RvbMode, 1);

constexpr double delayNumerator(int n) {
    return numberStep(DlyNumL, n);
}
constexpr double denominator(int d) {
    return numberStep(DlyDenL, d);
}
constexpr double lfoNumerator(int n) {
    return numberStep(LfoNum, n);
}
constexpr double preNumerator(int n) {
    return numberStep(PreNumL, n);
}
constexpr double rangeOf(int maximumMs) {
    return numberStep(RangeL, maximumMs);
}

// Continuous values are written directly; their meaning in a comment where it helps:
// Cutoff v gives 64 * 2^(8v) - 14 Hz (0.3: 324, 0.4: 574, 0.5: 1010, 0.55: 1337, 0.6: 1769,
// 0.65: 2339, 0.7: 3090, 0.8: 5390); LFORate v gives 16^v - 1 Hz (0.05: 0.15, 0.1: 0.32,
// 0.2: 0.74, 0.5: 3, 0.7: 6, 0.9: 11); clock depth VcoMod and the modulation depths are
// centred on 0.5; FbGain is the linear gain of each repeat.

struct Setting {
    int parameter;
    double value;
};

constexpr FactoryRow kDefault{
    0.5,      0.5,      0.5, 0,        0,        0,   1,        0.25,     0.25,     0.1,
    0.5,      0.5,      0.5, 0.5,      0.166667, 1,   0,        0.5,      0.5,      0.25,
    0.25,     0,        0.5, 0.166667, 1,        1,   0.1,      0.1,      0.269231, 0.269231,
    0.833334, 0.833334, 0.5, 0.1,      0,        0.4, 0.4,      0,        0,        0,
    0.5,      0,        0,   0,        0,        1,   0,        0.5,      0,        1,
    0,        0,        1,   0.5,      0,        0,   0.115385, 0.115385, 0,        0};

constexpr FactoryRow kPingPong{
    0.5,      0.58,     0.36, 0.09,     0.09,     0,        1,        0.25,     0.25,     0.1,
    0.5,      0.5,      1,    0.5,      0.166667, 1,        0,        0.5,      0.5,      0.25,
    0.25,     0,        0.34, 0.166667, 1,        1,        0.1,      0.1,      0.269231, 0.269231,
    0.833334, 0.833334, 0.5,  0.1,      0,        0.4,      0.4,      0,        0,        0,
    0.5,      0.25,     0,    0,        0,        0.25,     0,        0.5,      0,        1,
    0,        0,        0.39, 0.5,      0.25,     0.083333, 0.115385, 0.115385, 0,        0};

constexpr FactoryRow kBassDrone{
    0.4985,   0.62,  0.62,   0.165, 0.3365,   0.968,  0,        0.25,     0.25,     0.1,
    0.057525, 0.525, 0.2085, 0.654, 1,        0.3875, 0.492443, 0.5,      0.495,    0.25,
    0.25,     0.025, 0.805,  0.5,   0.75,     0.75,   0.1,      0.1,      0.346154, 0.269231,
    0.5,      0.5,   0.5,    0.3,   0,        0.542,  0.361,    0,        1,        0.3,
    0.435,    0.25,  0.5,    0,     0.5,      0.25,   0.25,     0.93,     0,        1,
    0.235,    0.235, 0.25,   0.485, 0.083333, 0,      0.115385, 0.115385, 0,        0};

// A design: the Default program with the given settings changed.
constexpr FactoryRow design(std::initializer_list<Setting> settings) {
    FactoryRow row = kDefault;
    for (const Setting& setting : settings)
        row[static_cast<std::size_t>(setting.parameter)] = setting.value;
    return row;
}

} // namespace

// clang-format off
constexpr std::array<std::string_view, kNumPrograms> kFactoryProgramNames{
    "Default", "Cirrostratus", "Nagual", "Studio One", "Bitch Slap", "El Dorado", "Solaris",
    "Oracle", "Up In Smoke", "Lullaby For A Robot", "Atomizer", "Fasttrack", "Exosphere",
    "Octachoron", "Close Encounter", "Cotton Wool", "Vertigo", "Raptures Of The Deep", "Stalker",
    "Bumper", "Airpeggiator", "Hanging Rock", "Wormhole", "Illumination", "Ping Pong",
    "Hadron Collider", "Parasite", "Pressure", "Delirium Tremens", "Desolation", "Mirage",
    "Descent", "Let It Flow", "Aurora Borealis", "Meta Flanger", "Patagonia", "Asa Nisi Masa",
    "Sauropod", "Silicon Soul", "Twin Brothers", "Backdraft", "Daydreaming", "Dirty Harry",
    "Cisterna Magna", "Silver Gate", "Primal Soup", "Orbitoclast", "Crystalline",
    "Master And Servant", "Out To Lunch", "Xibalba", "Albedo", "Gamma Ray", "Rub A Dub",
    "Short Circuit", "Great Attractor", "Acid Reflux", "Big Eye", "Fight Or Flight",
    "Beyond The Stars", "Bass Drone",
};
// clang-format on

// clang-format off
constexpr std::array<FactoryRow, kNumPrograms> kFactoryRows{
    kDefault,

    // 1 Cirrostratus: airy polyrhythmic echoes (3/8 against 5/16), high-passed, slow chorus,
    // bright plate.
    design({{Output, 0.52}, {Mix, 0.35}, {FbGainL, 0.45}, {FbGainR, 0.45}, {FbPanL, 0.3},
            {FbPanR, 0.7}, {DlyNumL, delayNumerator(3)}, {DlyDenL, denominator(8)},
            {DlyNumR, delayNumerator(5)}, {DlyDenR, denominator(16)}, {FltOn, kOn},
            {FltType, kHighPass}, {FltMode, kFilterOnEchoes}, {Cutoff, 0.41}, {Reso, 0.1},
            {LfoMode, kLfoFree}, {LFOWave, kSine}, {LFORate, 0.05}, {LROffset, 0.75}, {ModSrc, 0},
            {VcoMod, 0.515}, {RvbOn, kOn}, {RvbType, kPlate}, {RvbAmt, 0.45}, {RvbDamp, 0.35}}),

    // 2 Nagual: dark dotted echoes washing between the sides, the right one inverted, its clock
    // wavering to a new random value every dotted quarter.
    design({{Mix, 0.38}, {FbGainL, 0.6}, {FbGainR, 0.6}, {FbPanL, 0.5}, {FbPanR, 0.5},
            {DlyNumL, delayNumerator(3)}, {DlyDenL, denominator(8)}, {DlyInvR, kOn}, {FltOn, kOn},
            {FltType, kLowPass}, {FltMode, kFilterInLoop}, {Cutoff, 0.6}, {Reso, 0.1},
            {LFOWave, kRandom}, {LfoMode, kLfoSynced}, {LfoNum, lfoNumerator(3)},
            {LfoDen, denominator(8)}, {ModSrc, 0}, {VcoMod, 0.53}, {RvbOn, kOn},
            {RvbType, kSpring}, {RvbAmt, 0.35}, {RvbDamp, 0.4}}),

    // 3 Studio One: a clean quarter-note delay for everyday use.
    design({{Mix, 0.3}, {FbGainL, 0.35}, {FbGainR, 0.35}, {VcoOn, kOff}}),

    // 4 Bitch Slap: slapback, one short echo per side with a little grit and a vintage top.
    design({{Mix, 0.4}, {FbGainL, 0.08}, {FbGainR, 0.08}, {DlyModeL, kTimeMode},
            {DlyModeR, kTimeMode}, {RangeL, rangeOf(1000)}, {RangeR, rangeOf(1000)},
            {DlyTimeL, 0.095}, {DlyTimeR, 0.12}, {Drive, 0.12}, {VcoOn, kOff}, {FltOn, kOn},
            {FltType, kLowPass}, {FltMode, kFilterOnEchoes}, {Cutoff, 0.8}}),

    // 5 El Dorado: warm, golden tape echoes: the clock runs slow (0.93x), so the quarter and
    // dotted-eighth lines come back a little late and soft; a gentle wow, drive on the echoes.
    design({{Mix, 0.33}, {FbGainL, 0.3}, {FbGainR, 0.3}, {DlyNumR, delayNumerator(3)},
            {DlyDenR, denominator(16)}, {FltOn, kOn}, {FltType, kLowPass},
            {FltMode, kFilterOnEchoes}, {Cutoff, 0.62}, {Reso, 0.15}, {Drive, 0.2},
            {LfoMode, kLfoFree}, {LFORate, 0.15}, {ModSrc, 0}, {VcoMan, 0.45}, {VcoMod, 0.505},
            {RvbOn, kOn}, {RvbType, kSpring}, {RvbAmt, 0.3}, {RvbDamp, 0.2}}),

    // 6 Solaris: long drifting echoes with a slow, deep pitch sway, the sides a quarter cycle
    // apart, and a big plate.
    design({{Output, 0.55}, {Mix, 0.6}, {FbGainL, 0.62}, {FbGainR, 0.62}, {FbPanL, 0.35},
            {FbPanR, 0.65}, {DlyModeL, kTimeMode}, {DlyModeR, kTimeMode}, {RangeL, rangeOf(5000)},
            {RangeR, rangeOf(5000)}, {DlyTimeL, 0.22}, {DlyTimeR, 0.27}, {LfoMode, kLfoFree},
            {LFOWave, kSine}, {LFORate, 0.035}, {LROffset, 1.0}, {ModSrc, 0}, {VcoMod, 0.54},
            {RvbOn, kOn}, {RvbType, kPlate}, {RvbAmt, 0.55}, {RvbDamp, 0.2}}),

    // 7 Oracle: triplet echoes through a band-pass that opens and sharpens with the playing:
    // the envelope moves cutoff and resonance.
    design({{Output, 0.55}, {Mix, 0.55}, {FbGainL, 0.3}, {FbGainR, 0.3},
            {DlyNumL, delayNumerator(1)}, {DlyDenL, denominator(6)}, {DlyNumR, delayNumerator(1)},
            {DlyDenR, denominator(3)}, {FltOn, kOn}, {FltType, kBandPass},
            {FltMode, kFilterOnEchoes}, {Cutoff, 0.52}, {Reso, 0.4}, {ModSrc, 1.0}, {CutfMod, 0.75},
            {ResoMod, 0.7}, {ModSens, 0.5}, {EnvSpeed, 0.3}, {RvbOn, kOn}, {RvbType, kSpring},
            {RvbAmt, 0.4}, {RvbDamp, 0.3}}),

    // 8 Up In Smoke: echoes that darken, saturate and dissolve into a plate over everything.
    design({{Output, 0.6}, {Mix, 0.45}, {FbGainL, 0.7}, {FbGainR, 0.7}, {FbPanL, 0.4},
            {FbPanR, 0.6}, {DlyNumR, delayNumerator(3)}, {DlyDenR, denominator(8)}, {FltOn, kOn},
            {FltType, kLowPass}, {FltMode, kFilterInLoop}, {Cutoff, 0.5}, {Reso, 0.1},
            {Drive, 0.15}, {RvbOn, kOn}, {RvbType, kPlate}, {RvbMode, kReverbOnAll},
            {RvbAmt, 0.5}, {RvbDamp, 0.5}}),

    // 9 Lullaby For A Robot: eighth-note echoes through a band-pass that jumps to a new random
    // pitch every eighth.
    design({{Mix, 0.55}, {FbGainL, 0.25}, {FbGainR, 0.25}, {DlyNumL, delayNumerator(1)},
            {DlyDenL, denominator(8)}, {DlyNumR, delayNumerator(1)}, {DlyDenR, denominator(8)},
            {PreNumL, preNumerator(1)}, {PreDenL, denominator(2)}, {FltOn, kOn},
            {FltType, kBandPass}, {FltMode, kFilterInLoop}, {Cutoff, 0.55}, {Reso, 0.35},
            {CutfMod, 0.85}, {LFOWave, kRandom}, {LfoMode, kLfoSynced}, {LfoNum, lfoNumerator(1)},
            {LfoDen, denominator(8)}, {ModSrc, 0}}),

    // 10 Atomizer: a spray of tiny cross-fed echoes with jittering pitch; the clock runs fast
    // (1.5x), which makes the sprays tighter still.
    design({{Mix, 0.3}, {FbGainL, 0.68}, {FbGainR, 0.68}, {FbPanL, 1.0}, {FbPanR, 0},
            {DlyNumL, delayNumerator(1)}, {DlyDenL, denominator(32)},
            {DlyNumR, delayNumerator(1)}, {DlyDenR, denominator(24)}, {LFOWave, kRandom},
            {LfoMode, kLfoFree}, {LFORate, 0.82}, {ModSrc, 0}, {VcoMan, 0.8}, {VcoMod, 0.6},
            {FltOn, kOn}, {FltType, kHighPass}, {FltMode, kFilterOnEchoes}, {Cutoff, 0.48},
            {RvbOn, kOn}, {RvbType, kPlate}, {RvbAmt, 0.3}, {RvbDamp, 0.3}}),

    // 11 Fasttrack: bright sixteenth-note ping-pong; the input is high-passed before it enters,
    // so the dry signal thins as well.
    design({{Mix, 0.3}, {FbGainL, 0.3}, {FbGainR, 0.3}, {FbPanL, 1.0}, {FbPanR, 0},
            {DlyNumL, delayNumerator(1)}, {DlyDenL, denominator(16)},
            {DlyNumR, delayNumerator(1)}, {DlyDenR, denominator(16)}, {PreNumL, preNumerator(1)},
            {PreDenL, denominator(2)}, {FltOn, kOn}, {FltType, kHighPass}, {FltMode, kFilterIn},
            {Cutoff, 0.3}}),

    // 12 Exosphere: very long, thinning echoes that return on the opposite side (the delay
    // outputs swapped), high-pass in the loop, a bright plate; no wobble.
    design({{Mix, 0.4}, {FbGainL, 0.38}, {FbGainR, 0.38}, {DlyModeL, kTimeMode},
            {DlyModeR, kTimeMode}, {RangeL, rangeOf(5000)}, {RangeR, rangeOf(5000)},
            {DlyTimeL, 0.32}, {DlyTimeR, 0.42}, {DlyPanL, 1.0}, {DlyPanR, 0}, {FltOn, kOn},
            {FltType, kHighPass}, {FltMode, kFilterInLoop}, {Cutoff, 0.45}, {Reso, 0.1},
            {RvbOn, kOn}, {RvbType, kPlate}, {RvbAmt, 0.6}, {RvbDamp, 0.15}}),

    // 13 Octachoron: eighth-note ping-pong whose clock a square wave one beat long switches
    // between normal and double speed: echoes written at one speed and read at the other come
    // back an octave up or down.
    design({{Mix, 0.35}, {FbGainL, 0.35}, {FbGainR, 0.35}, {FbPanL, 1.0}, {FbPanR, 0},
            {DlyNumL, delayNumerator(1)}, {DlyDenL, denominator(8)}, {DlyNumR, delayNumerator(1)},
            {DlyDenR, denominator(8)}, {PreNumR, preNumerator(1)}, {PreDenR, denominator(2)},
            {LFOWave, kSquare}, {LfoMode, kLfoSynced}, {LfoNum, lfoNumerator(1)},
            {LfoDen, denominator(4)}, {ModSrc, 0}, {VcoMan, 1.0}, {VcoMod, 0.75}, {FltOn, kOn},
            {FltType, kHighPass}, {FltMode, kFilterOnEchoes}, {Cutoff, 0.25}, {RvbOn, kOn},
            {RvbType, kPlate}, {RvbAmt, 0.3}, {RvbDamp, 0.3}}),

    // 14 Close Encounter: triplet echoes through a band-pass whose cutoff and resonance sweep
    // together every three beats, against the bar.
    design({{Mix, 0.4}, {FbGainL, 0.6}, {FbGainR, 0.6}, {FbPanL, 0.8}, {FbPanR, 0.2},
            {DlyNumL, delayNumerator(1)}, {DlyDenL, denominator(12)},
            {DlyNumR, delayNumerator(1)}, {DlyDenR, denominator(6)}, {FltOn, kOn},
            {FltType, kBandPass}, {FltMode, kFilterOnEchoes}, {Cutoff, 0.5}, {Reso, 0.45},
            {CutfMod, 0.8}, {ResoMod, 0.75}, {LFOWave, kSine}, {LfoMode, kLfoSynced},
            {LfoNum, lfoNumerator(3)}, {LfoDen, denominator(4)}, {ModSrc, 0}, {RvbOn, kOn},
            {RvbType, kSpring}, {RvbAmt, 0.35}, {RvbDamp, 0.3}}),

    // 15 Cotton Wool: soft, muffled echoes in a dark spring; the low-pass sits at the input, so
    // the dry signal is wrapped in wool too.
    design({{Output, 0.6}, {Mix, 0.6}, {FbGainL, 0.4}, {FbGainR, 0.4}, {DlyNumL, delayNumerator(3)},
            {DlyDenL, denominator(16)}, {FltOn, kOn}, {FltType, kLowPass}, {FltMode, kFilterIn},
            {Cutoff, 0.45}, {Reso, 0.05}, {LfoMode, kLfoFree}, {LFORate, 0.1}, {ModSrc, 0},
            {VcoMod, 0.51}, {RvbOn, kOn}, {RvbType, kSpring}, {RvbAmt, 0.5}, {RvbDamp, 0.8}}),

    // 16 Vertigo: cross-fed echoes swaying in pitch, the sides a quarter cycle apart (the
    // largest offset, 90 degrees).
    design({{Mix, 0.4}, {FbGainL, 0.72}, {FbGainR, 0.72}, {FbPanL, 0.7}, {FbPanR, 0.3},
            {DlyNumR, delayNumerator(3)}, {DlyDenR, denominator(16)}, {LFOWave, kTriangle},
            {LfoMode, kLfoFree}, {LFORate, 0.19}, {LROffset, 1.0}, {ModSrc, 0}, {VcoMod, 0.6},
            {FltOn, kOn}, {FltType, kHighPass}, {FltMode, kFilterOnEchoes}, {Cutoff, 0.2},
            {RvbOn, kOn}, {RvbType, kPlate}, {RvbAmt, 0.25}, {RvbDamp, 0.3}}),

    // 17 Raptures Of The Deep: murky, slowly breathing low-pass echoes, underwater wobble.
    design({{Output, 0.55}, {Mix, 0.6}, {FbGainL, 0.65}, {FbGainR, 0.65},
            {DlyModeL, kTimeMode}, {DlyModeR, kTimeMode}, {RangeL, rangeOf(1000)},
            {RangeR, rangeOf(1000)}, {DlyTimeL, 0.42}, {DlyTimeR, 0.51}, {FltOn, kOn},
            {FltType, kLowPass}, {FltMode, kFilterInLoop}, {Cutoff, 0.37}, {Reso, 0.2},
            {CutfMod, 0.65}, {LFOWave, kSine}, {LfoMode, kLfoFree}, {LFORate, 0.04}, {ModSrc, 0},
            {VcoMod, 0.52}, {RvbOn, kOn}, {RvbType, kPlate}, {RvbAmt, 0.55}, {RvbDamp, 0.7}}),

    // 18 Stalker: half-note and dotted-quarter echoes that hide deep under the playing and creep
    // back slowly in its gaps (ducked by the main signal, slow release), through a band-pass.
    design({{Output, 0.54}, {Mix, 0.65}, {FbGainL, 0.38}, {FbGainR, 0.38},
            {DlyNumL, delayNumerator(1)}, {DlyDenL, denominator(2)}, {DlyNumR, delayNumerator(3)},
            {DlyDenR, denominator(8)}, {Ducking, 0.05}, {EnvSpeed, 0.9}, {FltOn, kOn},
            {FltType, kBandPass}, {FltMode, kFilterInLoop}, {Cutoff, 0.5}, {Reso, 0.1}}),

    // 19 Bumper: bouncing sixteenth ping-pong with inverted, gritty repeats, gated so that only
    // the strong bounces get through.
    design({{Output, 0.52}, {Mix, 0.4}, {FbGainL, 0.55}, {FbGainR, 0.55}, {FbPanL, 1.0},
            {FbPanR, 0}, {FbInvL, kOn}, {FbInvR, kOn}, {DlyNumL, delayNumerator(1)},
            {DlyDenL, denominator(16)}, {DlyNumR, delayNumerator(1)}, {DlyDenR, denominator(16)},
            {PreNumL, preNumerator(1)}, {PreDenL, denominator(2)}, {Drive, 0.2},
            {DlyGateL, 0.15}, {DlyGateR, 0.15}, {EnvSpeed, 0.2}}),

    // 20 Airpeggiator: bright eighth against dotted-eighth repeats that spell out arpeggios,
    // each line panned to its own side.
    design({{Mix, 0.5}, {FbGainL, 0.6}, {FbGainR, 0.6}, {FbPanL, 0.6}, {FbPanR, 0.4},
            {DlyNumL, delayNumerator(1)}, {DlyDenL, denominator(8)}, {DlyNumR, delayNumerator(3)},
            {DlyDenR, denominator(16)}, {DlyPanL, 0.15}, {DlyPanR, 0.85}, {FltOn, kOn},
            {FltType, kHighPass}, {FltMode, kFilterInLoop}, {Cutoff, 0.42}, {Reso, 0.15},
            {RvbOn, kOn}, {RvbType, kPlate}, {RvbAmt, 0.4}, {RvbDamp, 0.2}}),

    // 21 Hanging Rock: slow, stony echoes in a large spring.
    design({{Mix, 0.35}, {FbGainL, 0.35}, {FbGainR, 0.35}, {DlyNumL, delayNumerator(3)},
            {DlyDenL, denominator(8)}, {DlyNumR, delayNumerator(1)}, {DlyDenR, denominator(2)},
            {FltOn, kOn}, {FltType, kLowPass}, {FltMode, kFilterInLoop}, {Cutoff, 0.65},
            {Drive, 0.05}, {RvbOn, kOn}, {RvbType, kSpring}, {RvbAmt, 0.6}, {RvbDamp, 0.3}}),

    // 22 Wormhole: repeats whose pitch climbs along a ramp once a whole note (every four beats).
    design({{Mix, 0.5}, {FbGainL, 0.62}, {FbGainR, 0.62}, {FbPanL, 0.5}, {FbPanR, 0.5},
            {PreNumR, preNumerator(1)}, {PreDenR, denominator(4)}, {LFOWave, kSaw},
            {LfoMode, kLfoSynced}, {LfoNum, lfoNumerator(1)}, {LfoDen, denominator(1)},
            {ModSrc, 0}, {VcoMod, 0.7}, {FltOn, kOn}, {FltType, kHighPass},
            {FltMode, kFilterOnEchoes}, {Cutoff, 0.15}, {RvbOn, kOn}, {RvbType, kPlate},
            {RvbAmt, 0.45}, {RvbDamp, 0.3}}),

    // 23 Illumination: shining, thinning repeats with shimmer in a bright plate.
    design({{Mix, 0.5}, {FbGainL, 0.3}, {FbGainR, 0.3}, {DlyNumR, delayNumerator(3)},
            {DlyDenR, denominator(8)}, {FltOn, kOn}, {FltType, kHighPass},
            {FltMode, kFilterInLoop}, {Cutoff, 0.5}, {Reso, 0.2}, {LfoMode, kLfoFree},
            {LFORate, 0.15}, {ModSrc, 0}, {VcoMod, 0.51}, {RvbOn, kOn}, {RvbType, kPlate},
            {RvbAmt, 0.5}, {RvbDamp, 0}}),

    kPingPong,

    // 25 Hadron Collider: metallic comb resonances, cross-fed and jittering.
    design({{Mix, 0.35}, {FbGainL, 0.7}, {FbGainR, 0.7}, {FbPanL, 1.0}, {FbPanR, 0},
            {FbInvL, kOn}, {DlyModeL, kTimeMode}, {DlyModeR, kTimeMode}, {RangeL, rangeOf(100)},
            {RangeR, rangeOf(100)}, {DlyTimeL, 0.12}, {DlyTimeR, 0.17}, {Drive, 0.35},
            {LFOWave, kRandom}, {LfoMode, kLfoFree}, {LFORate, 0.7}, {ModSrc, 0}, {VcoMod, 0.58},
            {FltOn, kOn}, {FltType, kHighPass}, {FltMode, kFilterOnEchoes}, {Cutoff, 0.3}}),

    // 26 Parasite: echoes that feed on the playing: an envelope-driven filter, ducked
    // under the input.
    design({{Mix, 0.6}, {FbGainL, 0.45}, {FbGainR, 0.45}, {DlyNumL, delayNumerator(1)},
            {DlyDenL, denominator(8)}, {DlyNumR, delayNumerator(3)}, {DlyDenR, denominator(16)},
            {FltOn, kOn}, {FltType, kLowPass}, {FltMode, kFilterOnEchoes}, {Cutoff, 0.5},
            {Reso, 0.5}, {ModSrc, 1.0}, {CutfMod, 0.85}, {ModSens, 0.6}, {EnvSpeed, 0.2},
            {Ducking, 0.45}}),

    // 27 Pressure: driven eighths that pump: made for a kick on the sidechain input, which
    // pushes the echoes down on every beat and lets them swell back fast (without a sidechain
    // the playing itself keys them).
    design({{Output, 0.55}, {Mix, 0.55}, {FbGainL, 0.62}, {FbGainR, 0.62},
            {DlyNumL, delayNumerator(1)}, {DlyDenL, denominator(8)}, {DlyNumR, delayNumerator(1)},
            {DlyDenR, denominator(8)}, {PreNumR, preNumerator(1)}, {PreDenR, denominator(2)},
            {Drive, 0.55}, {FltOn, kOn}, {FltType, kLowPass}, {FltMode, kFilterInLoop},
            {Cutoff, 0.7}, {Reso, 0.1}, {Ducking, 0.3}, {EnvSpeed, 0.05}}),

    // 28 Delirium Tremens: fast triplet repeats shaking in pitch.
    design({{Mix, 0.3}, {FbGainL, 0.5}, {FbGainR, 0.5}, {FbPanL, 0.7}, {FbPanR, 0.3},
            {DlyNumL, delayNumerator(1)}, {DlyDenL, denominator(12)},
            {DlyNumR, delayNumerator(1)}, {DlyDenR, denominator(16)}, {LFOWave, kRandom},
            {LfoMode, kLfoFree}, {LFORate, 0.9}, {ModSrc, 0.2}, {VcoMod, 0.62}, {RvbOn, kOn},
            {RvbType, kSpring}, {RvbAmt, 0.3}, {RvbDamp, 0.4}}),

    // 29 Desolation: one lonely, distant echo 2.4 s later, in the middle, through a narrow
    // band-pass and a far spring; few repeats.
    design({{Output, 0.56}, {Mix, 0.55}, {FbGainL, 0.3}, {FbGainR, 0.3}, {DlyModeL, kTimeMode},
            {DlyModeR, kTimeMode}, {RangeL, rangeOf(5000)}, {RangeR, rangeOf(5000)},
            {DlyTimeL, 0.48}, {DlyTimeR, 0.48}, {DlyPanL, 0.5}, {DlyPanR, 0.5}, {FltOn, kOn},
            {FltType, kBandPass}, {FltMode, kFilterOnEchoes}, {Cutoff, 0.45}, {Reso, 0.2},
            {RvbOn, kOn}, {RvbType, kSpring}, {RvbAmt, 0.6}, {RvbDamp, 0.5}}),

    // 30 Mirage: echoes that appear where they are not: each line sounds mostly on the other
    // side, the right one inverted, gently chorused through a band-pass.
    design({{Mix, 0.4}, {FbGainL, 0.35}, {FbGainR, 0.35}, {DlyNumL, delayNumerator(3)},
            {DlyDenL, denominator(16)}, {DlyPanL, 0.85}, {DlyPanR, 0.15}, {DlyInvR, kOn},
            {LFOWave, kTriangle}, {LfoMode, kLfoFree}, {LFORate, 0.2}, {LROffset, 0.75},
            {ModSrc, 0}, {VcoMod, 0.53}, {FltOn, kOn}, {FltType, kBandPass},
            {FltMode, kFilterOnEchoes}, {Cutoff, 0.6}, {RvbOn, kOn}, {RvbType, kPlate},
            {RvbAmt, 0.4}, {RvbDamp, 0.1}}),

    // 31 Descent: repeats sliding downward in pitch along a ramp every half note (two beats),
    // the clock running slow, so they come late and dark.
    design({{Mix, 0.4}, {FbGainL, 0.4}, {FbGainR, 0.4}, {FbPanL, 0.5}, {FbPanR, 0.5},
            {PreNumR, preNumerator(1)}, {PreDenR, denominator(2)}, {LFOWave, kSaw},
            {LfoMode, kLfoSynced}, {LfoNum, lfoNumerator(1)}, {LfoDen, denominator(2)},
            {ModSrc, 0}, {VcoMan, 0.3}, {VcoMod, 0.3}, {FltOn, kOn}, {FltType, kLowPass},
            {FltMode, kFilterInLoop}, {Cutoff, 0.65}, {RvbOn, kOn}, {RvbType, kPlate},
            {RvbAmt, 0.35}, {RvbDamp, 0.3}}),

    // 32 Let It Flow: the right line takes no input; the playing enters on the left and its
    // echoes flow across to the right and back, mellowing on the way.
    design({{Mix, 0.4}, {FbGainL, 0.62}, {FbGainR, 0.62}, {FbPanL, 1.0}, {FbPanR, 0},
            {DlyNumR, delayNumerator(3)}, {DlyDenR, denominator(8)}, {MuteInR, 1.0},
            {FltOn, kOn}, {FltType, kLowPass}, {FltMode, kFilterOnEchoes}, {Cutoff, 0.7},
            {VcoOn, kOff}}),

    // 33 Aurora Borealis: long echoes through a band-pass drifting once every eight bars, wide
    // and glowing.
    design({{Output, 0.55}, {Mix, 0.55}, {FbGainL, 0.45}, {FbGainR, 0.45}, {FbPanL, 0.4},
            {FbPanR, 0.6}, {DlyModeL, kTimeMode}, {DlyModeR, kTimeMode}, {RangeL, rangeOf(5000)},
            {RangeR, rangeOf(5000)}, {DlyTimeL, 0.18}, {DlyTimeR, 0.24}, {FltOn, kOn},
            {FltType, kBandPass}, {FltMode, kFilterOnEchoes}, {Cutoff, 0.6}, {Reso, 0.45},
            {CutfMod, 0.8}, {LFOWave, kSine}, {LfoMode, kLfoSynced}, {LfoNum, lfoNumerator(8)},
            {LfoDen, denominator(1)}, {LROffset, 1.0}, {ModSrc, 0}, {RvbOn, kOn},
            {RvbType, kPlate}, {RvbAmt, 0.55}, {RvbDamp, 0.1}}),

    // 34 Meta Flanger: a through-the-clock flanger, a few milliseconds swept slowly.
    design({{Mix, 0.5}, {FbGainL, 0.6}, {FbGainR, 0.6}, {DlyModeL, kTimeMode},
            {DlyModeR, kTimeMode}, {RangeL, rangeOf(100)}, {RangeR, rangeOf(100)},
            {DlyTimeL, 0.03}, {DlyTimeR, 0.03}, {LFOWave, kTriangle}, {LfoMode, kLfoFree},
            {LFORate, 0.066}, {LROffset, 0.75}, {ModSrc, 0}, {VcoMod, 0.9}}),

    // 35 Patagonia: vast echoes in a gale: a random LFO gusts through the cutoff of a whistling
    // band-pass in the loop and wanders the pitch.
    design({{Mix, 0.45}, {FbGainL, 0.55}, {FbGainR, 0.55}, {FbPanL, 0.3}, {FbPanR, 0.7},
            {DlyModeL, kTimeMode}, {DlyModeR, kTimeMode}, {RangeL, rangeOf(5000)},
            {RangeR, rangeOf(5000)}, {DlyTimeL, 0.26}, {DlyTimeR, 0.34}, {FltOn, kOn},
            {FltType, kBandPass}, {FltMode, kFilterInLoop}, {Cutoff, 0.6}, {Reso, 0.2},
            {CutfMod, 0.72}, {LFOWave, kRandom}, {LfoMode, kLfoFree}, {LFORate, 0.2}, {ModSrc, 0},
            {VcoMod, 0.53}, {RvbOn, kOn}, {RvbType, kSpring}, {RvbAmt, 0.5}, {RvbDamp, 0.4}}),

    // 36 Asa Nisi Masa: dreamy triplet echoes, gently chorused, filter breathing each beat.
    design({{Mix, 0.5}, {FbGainL, 0.4}, {FbGainR, 0.4}, {FbPanL, 0.6}, {FbPanR, 0.4},
            {DlyNumL, delayNumerator(1)}, {DlyDenL, denominator(3)}, {DlyNumR, delayNumerator(1)},
            {DlyDenR, denominator(6)}, {FltOn, kOn}, {FltType, kLowPass},
            {FltMode, kFilterInLoop}, {Cutoff, 0.7}, {Reso, 0.2}, {CutfMod, 0.65},
            {LFOWave, kSine}, {LfoMode, kLfoSynced}, {LfoNum, lfoNumerator(1)},
            {LfoDen, denominator(4)}, {ModSrc, 0}, {VcoMod, 0.515}, {RvbOn, kOn},
            {RvbType, kSpring}, {RvbAmt, 0.3}, {RvbDamp, 0.3}}),

    // 37 Sauropod: huge, slow, dark and saturated echoes; the clock runs at 0.71x, stretching
    // the 2.2/2.6 s lines to about 3.1/3.7 s and roughening them.
    design({{Output, 0.55}, {Mix, 0.55}, {FbGainL, 0.18}, {FbGainR, 0.18}, {DlyModeL, kTimeMode},
            {DlyModeR, kTimeMode}, {RangeL, rangeOf(5000)}, {RangeR, rangeOf(5000)},
            {DlyTimeL, 0.44}, {DlyTimeR, 0.52}, {FltOn, kOn}, {FltType, kLowPass},
            {FltMode, kFilterInLoop}, {Cutoff, 0.42}, {Reso, 0.15}, {Drive, 0.3}, {VcoMan, 0.25},
            {RvbOn, kOn}, {RvbType, kSpring}, {RvbAmt, 0.35}, {RvbDamp, 0.6}}),

    // 38 Silicon Soul: clean digital repeats, thinned; the right feedback and the left delay
    // output are polarity-flipped, so the image is wide and hollow.
    design({{Mix, 0.35}, {FbGainL, 0.55}, {FbGainR, 0.55}, {FbInvR, kOn}, {DlyInvL, kOn},
            {DlyNumL, delayNumerator(3)}, {DlyDenL, denominator(32)},
            {DlyNumR, delayNumerator(1)}, {DlyDenR, denominator(8)}, {FltOn, kOn},
            {FltType, kHighPass}, {FltMode, kFilterInLoop}, {Cutoff, 0.55}, {Reso, 0.2},
            {VcoOn, kOff}}),

    // 39 Twin Brothers: a stereo doubler, two short voices gently detuned against each other,
    // each placed off-centre on its own side.
    design({{Mix, 0.35}, {DlyModeL, kTimeMode}, {DlyModeR, kTimeMode}, {RangeL, rangeOf(100)},
            {RangeR, rangeOf(100)}, {DlyTimeL, 0.17}, {DlyTimeR, 0.26}, {DlyPanL, 0.2},
            {DlyPanR, 0.8}, {LFOWave, kSine}, {LfoMode, kLfoFree}, {LFORate, 0.17},
            {LROffset, 1.0}, {ModSrc, 0}, {VcoMod, 0.51}}),

    // 40 Backdraft: heavily driven echoes that flare open with the playing.
    design({{Output, 0.57}, {Mix, 0.45}, {FbGainL, 0.65}, {FbGainR, 0.65},
            {DlyNumL, delayNumerator(1)}, {DlyDenL, denominator(8)}, {Drive, 0.75}, {FltOn, kOn},
            {FltType, kLowPass}, {FltMode, kFilterOnEchoes}, {Cutoff, 0.55}, {Reso, 0.3},
            {ModSrc, 1.0}, {CutfMod, 0.8}, {EnvSpeed, 0.15}, {Ducking, 0.35}}),

    // 41 Daydreaming: slow, soft, chorused repeats in a gentle plate.
    design({{Mix, 0.4}, {FbGainL, 0.45}, {FbGainR, 0.45}, {FbPanL, 0.35}, {FbPanR, 0.65},
            {DlyNumL, delayNumerator(1)}, {DlyDenL, denominator(2)}, {DlyNumR, delayNumerator(3)},
            {DlyDenR, denominator(8)}, {FltOn, kOn}, {FltType, kLowPass},
            {FltMode, kFilterInLoop}, {Cutoff, 0.7}, {LfoMode, kLfoFree}, {LFORate, 0.1},
            {ModSrc, 0}, {VcoMod, 0.52}, {RvbOn, kOn}, {RvbType, kPlate}, {RvbAmt, 0.45},
            {RvbDamp, 0.4}}),

    // 42 Dirty Harry: gritty, nasal band-passed repeats through a spring; the clock runs at
    // half speed, so the 3/16 lines are heard at 3/8 in lo-fi, aliased grain.
    design({{Output, 0.58}, {Mix, 0.5}, {FbGainL, 0.4}, {FbGainR, 0.4},
            {DlyNumL, delayNumerator(3)}, {DlyDenL, denominator(16)},
            {DlyNumR, delayNumerator(3)}, {DlyDenR, denominator(16)}, {PreNumR, preNumerator(1)},
            {PreDenR, denominator(4)}, {Drive, 0.6}, {VcoMan, 0}, {FltOn, kOn},
            {FltType, kBandPass}, {FltMode, kFilterInLoop}, {Cutoff, 0.55}, {Reso, 0.15},
            {RvbOn, kOn}, {RvbType, kSpring}, {RvbAmt, 0.4}, {RvbDamp, 0.2}}),

    // 43 Cisterna Magna: dense short reflections of a stone chamber, bare of low end, all
    // through a plate.
    design({{Output, 0.6}, {Mix, 0.55}, {FbGainL, 0.6}, {FbGainR, 0.6}, {FbPanL, 0.5},
            {FbPanR, 0.5}, {DlyModeL, kTimeMode}, {DlyModeR, kTimeMode}, {RangeL, rangeOf(1000)},
            {RangeR, rangeOf(1000)}, {DlyTimeL, 0.07}, {DlyTimeR, 0.095}, {FltOn, kOn},
            {FltType, kHighPass}, {FltMode, kFilterOnEchoes}, {Cutoff, 0.3}, {LfoMode, kLfoFree},
            {LFORate, 0.1}, {ModSrc, 0}, {VcoMod, 0.51}, {RvbOn, kOn}, {RvbType, kPlate},
            {RvbMode, kReverbOnAll}, {RvbAmt, 0.5}, {RvbDamp, 0.3}}),

    // 44 Silver Gate: bright eighth repeats chopped short by the echo gate.
    design({{Mix, 0.35}, {FbGainL, 0.75}, {FbGainR, 0.75}, {DlyNumL, delayNumerator(1)},
            {DlyDenL, denominator(8)}, {DlyNumR, delayNumerator(1)}, {DlyDenR, denominator(8)},
            {PreNumL, preNumerator(1)}, {PreDenL, denominator(2)}, {DlyGateL, 0.2},
            {DlyGateR, 0.2}, {EnvSpeed, 0.1}, {FltOn, kOn}, {FltType, kHighPass},
            {FltMode, kFilterOnEchoes}, {Cutoff, 0.42}, {RvbOn, kOn}, {RvbType, kPlate},
            {RvbAmt, 0.3}, {RvbDamp, 0.2}}),

    // 45 Primal Soup: bubbling resonant band-pass repeats, stirred by chance and dynamics.
    design({{Output, 0.54}, {Mix, 0.5}, {FbGainL, 0.62}, {FbGainR, 0.62},
            {DlyNumL, delayNumerator(1)}, {DlyDenL, denominator(6)}, {FltOn, kOn},
            {FltType, kBandPass}, {FltMode, kFilterInLoop}, {Cutoff, 0.4}, {Reso, 0.25},
            {CutfMod, 0.8}, {ResoMod, 0.6}, {LFOWave, kRandom}, {LfoMode, kLfoSynced},
            {LfoNum, lfoNumerator(1)}, {LfoDen, denominator(8)}, {ModSrc, 0.4}, {RvbOn, kOn},
            {RvbType, kSpring}, {RvbAmt, 0.45}, {RvbDamp, 0.6}}),

    // 46 Orbitoclast: savage, driven, thin sixteenth ping-pong; the input is boosted (+3.2 dB)
    // into the drive and the output trimmed back.
    design({{Input, 0.6}, {Output, 0.52}, {Mix, 0.6}, {FbGainL, 0.4}, {FbGainR, 0.4},
            {FbPanL, 1.0}, {FbPanR, 0}, {DlyNumL, delayNumerator(1)}, {DlyDenL, denominator(16)},
            {DlyNumR, delayNumerator(3)}, {DlyDenR, denominator(32)}, {Drive, 0.9}, {FltOn, kOn},
            {FltType, kHighPass}, {FltMode, kFilterInLoop}, {Cutoff, 0.44}, {Reso, 0.15}}),

    // 47 Crystalline: glittering high triplets bouncing across a bright plate.
    design({{Mix, 0.3}, {FbGainL, 0.65}, {FbGainR, 0.65}, {FbPanL, 0.8}, {FbPanR, 0.2},
            {DlyNumL, delayNumerator(1)}, {DlyDenL, denominator(12)},
            {DlyNumR, delayNumerator(1)}, {DlyDenR, denominator(24)}, {FltOn, kOn},
            {FltType, kHighPass}, {FltMode, kFilterOnEchoes}, {Cutoff, 0.72}, {Reso, 0},
            {RvbOn, kOn}, {RvbType, kPlate}, {RvbAmt, 0.5}, {RvbDamp, 0}}),

    // 48 Master And Servant: eighth-note ping-pong that strictly gives way to the playing (ducked
    // by the main signal) and is back the moment it stops.
    design({{Mix, 0.6}, {FbGainL, 0.55}, {FbGainR, 0.55}, {FbPanL, 1.0}, {FbPanR, 0},
            {DlyNumL, delayNumerator(1)}, {DlyDenL, denominator(8)}, {DlyNumR, delayNumerator(1)},
            {DlyDenR, denominator(8)}, {PreNumL, preNumerator(1)}, {PreDenL, denominator(2)},
            {Ducking, 0.15}, {EnvSpeed, 0.1}, {VcoOn, kOff}}),

    // 49 Out To Lunch: lopsided 5/16 and 7/16 echoes with a wonky clock.
    design({{Mix, 0.5}, {FbGainL, 0.35}, {FbGainR, 0.35}, {FbPanL, 0.6}, {FbPanR, 0.4},
            {DlyNumL, delayNumerator(5)}, {DlyDenL, denominator(16)},
            {DlyNumR, delayNumerator(7)}, {DlyDenR, denominator(16)}, {LFOWave, kRandom},
            {LfoMode, kLfoFree}, {LFORate, 0.19}, {ModSrc, 0}, {VcoMod, 0.56}, {FltOn, kOn},
            {FltType, kLowPass}, {FltMode, kFilterInLoop}, {Cutoff, 0.7}, {RvbOn, kOn},
            {RvbType, kSpring}, {RvbAmt, 0.35}, {RvbDamp, 0.3}}),

    // 50 Xibalba: dark, inverted echoes from the underworld in a deep spring.
    design({{Output, 0.58}, {Mix, 0.45}, {FbGainL, 0.5}, {FbGainR, 0.5}, {FbInvL, kOn},
            {FbInvR, kOn}, {DlyModeL, kTimeMode}, {DlyModeR, kTimeMode}, {RangeL, rangeOf(5000)},
            {RangeR, rangeOf(5000)}, {DlyTimeL, 0.24}, {DlyTimeR, 0.3}, {FltOn, kOn},
            {FltType, kLowPass}, {FltMode, kFilterInLoop}, {Cutoff, 0.35}, {Reso, 0.15},
            {LfoMode, kLfoFree}, {LFORate, 0.035}, {ModSrc, 0}, {VcoMod, 0.52}, {RvbOn, kOn},
            {RvbType, kSpring}, {RvbAmt, 0.6}, {RvbDamp, 0.7}}),

    // 51 Albedo: bright, clean reflections scattered across a light plate.
    design({{Output, 0.53}, {Mix, 0.55}, {FbGainL, 0.25}, {FbGainR, 0.25}, {FbPanL, 0.5},
            {FbPanR, 0.5}, {DlyNumL, delayNumerator(1)}, {DlyDenL, denominator(16)},
            {DlyNumR, delayNumerator(1)}, {DlyDenR, denominator(8)}, {FltOn, kOn},
            {FltType, kHighPass}, {FltMode, kFilterOnEchoes}, {Cutoff, 0.35}, {RvbOn, kOn},
            {RvbType, kPlate}, {RvbAmt, 0.5}, {RvbDamp, 0.05}}),

    // 52 Gamma Ray: piercing resonant band-pass ramps, one every eighth (2/16), on driven
    // sixteenths.
    design({{Output, 0.52}, {Mix, 0.4}, {FbGainL, 0.3}, {FbGainR, 0.3},
            {DlyNumL, delayNumerator(1)}, {DlyDenL, denominator(16)},
            {DlyNumR, delayNumerator(1)}, {DlyDenR, denominator(16)}, {PreNumR, preNumerator(1)},
            {PreDenR, denominator(2)}, {FltOn, kOn}, {FltType, kBandPass},
            {FltMode, kFilterOnEchoes}, {Cutoff, 0.65}, {Reso, 0.7}, {CutfMod, 0.75},
            {LFOWave, kSaw}, {LfoMode, kLfoSynced}, {LfoNum, lfoNumerator(2)},
            {LfoDen, denominator(16)}, {ModSrc, 0}, {Drive, 0.35}}),

    // 53 Rub A Dub: the dub delay: dotted eighths fed back hard (0.82 a repeat) and washing between
    // the sides, kept under control by a dark low-pass and soft drive in the loop, so each repeat
    // loses its top and the tail still dies; the input is trimmed (-1.4 dB) for headroom.
    design({{Input, 0.46}, {Mix, 0.35}, {FbGainL, 0.82}, {FbGainR, 0.82}, {FbPanL, 0.3},
            {FbPanR, 0.7}, {DlyNumL, delayNumerator(3)}, {DlyDenL, denominator(16)},
            {DlyNumR, delayNumerator(3)}, {DlyDenR, denominator(16)}, {PreNumR, preNumerator(1)},
            {PreDenR, denominator(16)}, {FltOn, kOn}, {FltType, kLowPass},
            {FltMode, kFilterInLoop}, {Cutoff, 0.48}, {Reso, 0}, {Drive, 0.25}, {RvbOn, kOn},
            {RvbType, kSpring}, {RvbAmt, 0.45}, {RvbDamp, 0.3}}),

    // 54 Short Circuit: stuttering tiny repeats glitching in pitch sixteen times a bar, gated.
    design({{Mix, 0.45}, {FbGainL, 0.4}, {FbGainR, 0.4}, {FbPanL, 1.0}, {FbPanR, 0},
            {DlyNumL, delayNumerator(1)}, {DlyDenL, denominator(32)},
            {DlyNumR, delayNumerator(1)}, {DlyDenR, denominator(24)}, {LFOWave, kSquare},
            {LfoMode, kLfoSynced}, {LfoNum, lfoNumerator(1)}, {LfoDen, denominator(16)},
            {ModSrc, 0}, {VcoMod, 0.7}, {Drive, 0.3}, {DlyGateL, 0.12}, {DlyGateR, 0.12},
            {FltOn, kOn}, {FltType, kHighPass}, {FltMode, kFilterOnEchoes}, {Cutoff, 0.38}}),

    // 55 Great Attractor: long echoes pulled slowly downward into a vast plate; the clock runs
    // slow (about 0.85x) and sinks further along the ramp.
    design({{Mix, 0.4}, {FbGainL, 0.55}, {FbGainR, 0.55}, {FbPanL, 0.5}, {FbPanR, 0.5},
            {DlyModeL, kTimeMode}, {DlyModeR, kTimeMode}, {RangeL, rangeOf(5000)},
            {RangeR, rangeOf(5000)}, {DlyTimeL, 0.28}, {DlyTimeR, 0.28},
            {PreNumR, preNumerator(1)}, {PreDenR, denominator(2)}, {LFOWave, kSaw},
            {LfoMode, kLfoFree}, {LFORate, 0.05}, {ModSrc, 0}, {VcoMan, 0.35}, {VcoMod, 0.4},
            {FltOn, kOn}, {FltType, kLowPass}, {FltMode, kFilterInLoop}, {Cutoff, 0.65},
            {RvbOn, kOn}, {RvbType, kPlate}, {RvbAmt, 0.6}, {RvbDamp, 0.25}}),

    // 56 Acid Reflux: squelching resonant low-pass repeats that bite with the playing: the
    // envelope opens the cutoff and sharpens the resonance.
    design({{Output, 0.55}, {Mix, 0.45}, {FbGainL, 0.35}, {FbGainR, 0.35},
            {DlyNumL, delayNumerator(1)}, {DlyDenL, denominator(8)}, {DlyNumR, delayNumerator(3)},
            {DlyDenR, denominator(16)}, {FltOn, kOn}, {FltType, kLowPass},
            {FltMode, kFilterOnEchoes}, {Cutoff, 0.45}, {Reso, 0.5}, {ModSrc, 1.0},
            {CutfMod, 0.85}, {ResoMod, 0.8}, {EnvSpeed, 0.1}, {Drive, 0.4}}),

    // 57 Big Eye: a very wide, slow ping-pong with offset sides in an open plate, each line
    // panned hard to its own side.
    design({{Mix, 0.35}, {FbGainL, 0.7}, {FbGainR, 0.7}, {FbPanL, 1.0}, {FbPanR, 0},
            {DlyModeL, kTimeMode}, {DlyModeR, kTimeMode}, {RangeL, rangeOf(5000)},
            {RangeR, rangeOf(5000)}, {DlyTimeL, 0.15}, {DlyTimeR, 0.2},
            {PreNumL, preNumerator(1)}, {PreDenL, denominator(2)}, {DlyPanL, 0.05},
            {DlyPanR, 0.95}, {FltOn, kOn}, {FltType, kHighPass}, {FltMode, kFilterOnEchoes},
            {Cutoff, 0.25}, {RvbOn, kOn}, {RvbType, kPlate}, {RvbAmt, 0.5}, {RvbDamp, 0.2}}),

    // 58 Fight Or Flight: nervous, driven triplets through a band-pass flickering every dotted
    // eighth (3/16), gated to short bursts.
    design({{Mix, 0.55}, {FbGainL, 0.3}, {FbGainR, 0.3}, {FbPanL, 0.7}, {FbPanR, 0.3},
            {DlyNumL, delayNumerator(1)}, {DlyDenL, denominator(24)},
            {DlyNumR, delayNumerator(1)}, {DlyDenR, denominator(12)}, {FltOn, kOn},
            {FltType, kBandPass}, {FltMode, kFilterOnEchoes}, {Cutoff, 0.55}, {Reso, 0.5},
            {CutfMod, 0.75}, {LFOWave, kSquare}, {LfoMode, kLfoSynced}, {LfoNum, lfoNumerator(3)},
            {LfoDen, denominator(16)}, {ModSrc, 0}, {Drive, 0.3}, {DlyGateL, 0.25},
            {DlyGateR, 0.25}, {EnvSpeed, 0.15}}),

    // 59 Beyond The Stars: endless-seeming long echoes in the largest, brightest plate; the
    // clock runs at 0.76x, stretching the 1.7/2.3 s lines to about 2.2/3.0 s.
    design({{Mix, 0.35}, {FbGainL, 0.5}, {FbGainR, 0.5}, {FbPanL, 0.4}, {FbPanR, 0.6},
            {DlyModeL, kTimeMode}, {DlyModeR, kTimeMode}, {RangeL, rangeOf(5000)},
            {RangeR, rangeOf(5000)}, {DlyTimeL, 0.34}, {DlyTimeR, 0.46}, {VcoMan, 0.3},
            {FltOn, kOn}, {FltType, kHighPass}, {FltMode, kFilterInLoop}, {Cutoff, 0.38},
            {RvbOn, kOn}, {RvbType, kPlate}, {RvbAmt, 0.7}, {RvbDamp, 0.1}}),

    kBassDrone,
};
// clang-format on

Program factoryProgram(int index) {
    Program program;
    if (!isProgramIndex(index)) return program;
    const auto i = static_cast<std::size_t>(index);
    program.setName(kFactoryProgramNames[i]);
    for (std::size_t j = 0; j < program.values.size(); ++j)
        program.values[j] = static_cast<float>(kFactoryRows[i][j]);
    return program;
}

} // namespace velmora
