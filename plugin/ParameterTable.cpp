#include "plugin/ParameterTable.h"

#include "engine/ParameterIndex.h"
#include "vst2/NumberText.h"

#include <array>
#include <string>

namespace velmora {

namespace {

constexpr std::array<ParameterInfo, kNumParameters> kParameters{{
    {"Input", "dB", 0},     // 0
    {"Output", "dB", 0},    // 1
    {"Mix", "%", 0},        // 2
    {"FbGainL", "dB", 0},   // 3
    {"FbGainR", "dB", 0},   // 4
    {"FbPanL", "%", 0},     // 5
    {"FbPanR", "%", 0},     // 6
    {"FbInvL", "", 2},      // 7
    {"FbInvR", "", 2},      // 8
    {"LFOWave", "", 5},     // 9
    {"LFORate", "Hz", 0},   // 10
    {"LROffset", "deg", 0}, // 11
    {"ModSrc", "%", 0},     // 12
    {"CutfMod", "%", 0},    // 13
    {"FltType", "", 3},     // 14
    {"Cutoff", "Hz", 0},    // 15
    {"Reso", "", 0},        // 16
    {"VcoMan", "x", 0},     // 17
    {"VcoMod", "%", 0},     // 18
    {"DlyInvL", "", 2},     // 19
    {"DlyInvR", "", 2},     // 20
    {"Drive", "dB", 0},     // 21
    {"EnvSpeed", "ms", 0},  // 22
    {"FltMode", "", 3},     // 23
    {"DlyModeL", "", 2},    // 24
    {"DlyModeR", "", 2},    // 25
    {"DlyNumL", "", 5},     // 26
    {"DlyNumR", "", 5},     // 27
    {"DlyDenL", "", 13},    // 28
    {"DlyDenR", "", 13},    // 29
    {"RangeL", "ms", 3},    // 30
    {"RangeR", "ms", 3},    // 31
    {"LfoMode", "", 3},     // 32
    {"LfoNum", "", 5},      // 33
    {"LfoDen", "", 13},     // 34
    {"DlyTimeL", "ms", 0},  // 35
    {"DlyTimeR", "ms", 0},  // 36
    {"RvbMode", "", 2},     // 37
    {"RvbType", "", 2},     // 38
    {"RvbDamp", "%", 0},    // 39
    {"RvbAmt", "%", 0},     // 40
    {"Bypass", "", 2},      // 41
    {"FltOn", "", 2},       // 42
    {"n/a", "", 0},         // 43
    {"n/a", "", 0},         // 44
    {"VcoOn", "", 2},       // 45
    {"RvbOn", "", 2},       // 46
    {"ModSens", "%", 0},    // 47
    {"DlyPanL", "%", 0},    // 48
    {"DlyPanR", "%", 0},    // 49
    {"DlyGateL", "dB", 0},  // 50
    {"DlyGateR", "dB", 0},  // 51
    {"Ducking", "%", 0},    // 52
    {"ResoMod", "", 0},     // 53
    {"PreNumL", "", 6},     // 54
    {"PreNumR", "", 6},     // 55
    {"PreDenL", "", 13},    // 56
    {"PreDenR", "", 13},    // 57
    {"MuteInL", "", 0},     // 58
    {"MuteInR", "", 0},     // 59
}};

constexpr ParameterInfo kNoParameter{"", "", 0};

// Names and labels are the host's 8-character texts; anything longer would overrun the
// buffers the interface promises.
constexpr bool textsFitHostLimit() {
    for (const auto& info : kParameters) {
        if (std::string_view(info.name).size() > 8 || std::string_view(info.label).size() > 8)
            return false;
    }
    return true;
}
static_assert(textsFitHostLimit());

constexpr int kFirstControllerIndex = kNumParameters;
constexpr int kEndControllerIndex = 2 * kNumParameters;

// Longest text these routines write: "CC# " and an 8-character name.
constexpr int kNameTextLength = 12;

bool isParameterIndex(int index) {
    return index >= 0 && index < kNumParameters;
}

} // namespace

const ParameterInfo& parameterInfo(int index) {
    return isParameterIndex(index) ? kParameters[static_cast<std::size_t>(index)] : kNoParameter;
}

std::optional<int> parameterIndexByName(std::string_view name) {
    for (int index = 0; index < kNumParameters; ++index) {
        if (name == parameterInfo(index).name) return index;
    }
    return std::nullopt;
}

void writeParameterName(int index, char* text) {
    if (isParameterIndex(index)) {
        writeBoundedText(parameterInfo(index).name, text, kNameTextLength);
    } else if (index >= kFirstControllerIndex && index < kEndControllerIndex) {
        const std::string name =
            std::string("CC# ") + parameterInfo(index - kFirstControllerIndex).name;
        writeBoundedText(name, text, kNameTextLength);
    }
}

void writeParameterLabel(int index, char* text) {
    writeBoundedText(parameterInfo(index).label, text, kNameTextLength);
}

} // namespace velmora
