#include "plugin/ParameterTable.h"

#include "engine/ParameterDescriptions.h"
#include "vst2/NumberText.h"

#include <string>

namespace velmora {

namespace {

// Names and labels are the host's 8-character texts; anything longer would overrun the
// buffers the interface promises.
constexpr bool textsFitHostLimit() {
    for (const auto& description : kParameterDescriptions) {
        if (description.name.size() > 8 || description.label.size() > 8) return false;
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

std::optional<int> parameterIndexByName(std::string_view name) {
    for (int index = 0; index < kNumParameters; ++index) {
        if (name == describe(index).name) return index;
    }
    return std::nullopt;
}

void writeParameterName(int index, char* text) {
    if (isParameterIndex(index)) {
        writeBoundedText(describe(index).name, text, kNameTextLength);
    } else if (index >= kFirstControllerIndex && index < kEndControllerIndex) {
        const std::string name =
            std::string("CC# ") + std::string(describe(index - kFirstControllerIndex).name);
        writeBoundedText(name, text, kNameTextLength);
    }
}

void writeParameterLabel(int index, char* text) {
    writeBoundedText(describe(index).label, text, kNameTextLength);
}

} // namespace velmora
