#include "tools/preset/ContentsJson.h"

#include <nlohmann/json.hpp>

#include <cmath>

namespace velmora::presettool {
namespace {

using nlohmann::json;

// Each name byte as the character of the same number.
std::string utf8FromName(const Program& program) {
    std::string text;
    for (const char c : program.nameView()) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            text.push_back(static_cast<char>(byte));
        } else {
            text.push_back(static_cast<char>(0xC0 | (byte >> 6)));
            text.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
    return text;
}

// The reverse of utf8FromName; nothing for characters above U+00FF.
std::optional<std::string> nameFromUtf8(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            bytes.push_back(static_cast<char>(lead));
        } else if ((lead == 0xC2 || lead == 0xC3) && i + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[++i]);
            bytes.push_back(static_cast<char>(((lead & 0x03) << 6) | (next & 0x3F)));
        } else {
            return std::nullopt;
        }
    }
    return bytes;
}

json valuesToJson(std::span<const SharedFloat, kNumParameters> values) {
    json list = json::array();
    for (const auto& value : values)
        list.push_back(static_cast<double>(value.get()));
    return list;
}

json floatsToJson(std::span<const float, kNumParameters> values) {
    json list = json::array();
    for (const float value : values)
        list.push_back(static_cast<double>(value));
    return list;
}

// Reading with the path of the field in every error.
class Reader {
  public:
    std::string error;

    bool ok() const { return error.empty(); }

    const json* field(const json& object, const char* name, const std::string& path) {
        if (!object.is_object() || !object.contains(name)) {
            fail(path + name + " is missing");
            return nullptr;
        }
        return &object.at(name);
    }

    void normalisedValues(const json* list, const std::string& path,
                          std::span<float, kNumParameters> out) {
        if (list == nullptr) return;
        if (!list->is_array() || list->size() != kNumParameters)
            return fail(path + " must be a list of 60 numbers");
        for (std::size_t i = 0; i < kNumParameters && ok(); ++i) {
            const json& item = (*list)[i];
            const std::string where = path + "[" + std::to_string(i) + "]";
            if (!item.is_number()) return fail(where + " is not a number");
            const auto value = static_cast<float>(item.get<double>());
            if (!isNormalised(value)) return fail(where + " lies outside 0..1");
            out[i] = value;
        }
    }

    std::optional<Program> program(const json& object, const std::string& path) {
        Program program;
        const json* name = field(object, "name", path + ".");
        if (name == nullptr) return std::nullopt;
        const auto bytes = name->is_string() ? nameFromUtf8(name->get<std::string>())
                                             : std::optional<std::string>{};
        if (!bytes || bytes->size() > kProgramNameBytes || bytes->find('\0') != std::string::npos) {
            fail(path + ".name must be text of at most 24 characters U+0001..U+00FF");
            return std::nullopt;
        }
        program.setName(std::string_view(*bytes));
        std::array<float, kNumParameters> values{};
        normalisedValues(field(object, "values", path + "."), path + ".values", values);
        if (!ok()) return std::nullopt;
        std::copy(values.begin(), values.end(), program.values.begin());
        return program;
    }

    void fail(std::string message) {
        if (error.empty()) error = std::move(message);
    }
};

std::size_t programsOf(ContentKind kind) {
    switch (kind) {
    case ContentKind::Preset:
        return 1;
    case ContentKind::Bank:
    case ContentKind::State:
        return kNumPrograms;
    case ContentKind::MidiSettings:
        return 0;
    }
    return 0;
}

bool hasAssignments(ContentKind kind) {
    return kind == ContentKind::MidiSettings || kind == ContentKind::State;
}

bool hasCurrentProgram(ContentKind kind) {
    return kind == ContentKind::Bank || kind == ContentKind::State;
}

} // namespace

std::string toJsonText(const Contents& contents) {
    json out;
    out["kind"] = nameOf(contents.kind);
    if (hasCurrentProgram(contents.kind)) out["currentProgram"] = contents.currentProgram;
    if (programsOf(contents.kind) > 0) {
        json programs = json::array();
        for (const Program& program : contents.programs)
            programs.push_back(
                {{"name", utf8FromName(program)}, {"values", valuesToJson(program.values)}});
        out["programs"] = std::move(programs);
    }
    if (hasAssignments(contents.kind)) out["assignments"] = floatsToJson(contents.assignments);
    return out.dump(2) + "\n";
}

FromJson contentsFromJsonText(std::string_view text) {
    const json in = json::parse(text, nullptr, false);
    if (in.is_discarded()) return {std::nullopt, "the input is not valid JSON"};
    Reader read;
    Contents contents;
    const json* kind = read.field(in, "kind", "");
    if (kind == nullptr) return {std::nullopt, read.error};
    const auto parsedKind =
        kind->is_string() ? kindNamed(kind->get<std::string>()) : std::optional<ContentKind>{};
    if (!parsedKind) return {std::nullopt, "kind must be preset, bank, midi-settings or state"};
    contents.kind = *parsedKind;

    if (hasCurrentProgram(contents.kind)) {
        const json* current = read.field(in, "currentProgram", "");
        if (current != nullptr &&
            (!current->is_number_integer() || !isProgramIndex(current->get<long long>())))
            read.fail("currentProgram must be a whole number 0..60");
        if (read.ok()) contents.currentProgram = current->get<int>();
    }
    if (const std::size_t count = programsOf(contents.kind); count > 0 && read.ok()) {
        const json* programs = read.field(in, "programs", "");
        if (programs != nullptr && (!programs->is_array() || programs->size() != count))
            read.fail("programs must be a list of " + std::to_string(count));
        for (std::size_t i = 0; read.ok() && i < count; ++i) {
            auto program = read.program((*programs)[i], "programs[" + std::to_string(i) + "]");
            if (program) contents.programs.push_back(*program);
        }
    }
    if (hasAssignments(contents.kind) && read.ok())
        read.normalisedValues(read.field(in, "assignments", ""), "assignments",
                              contents.assignments);
    if (!read.ok()) return {std::nullopt, read.error};
    return {contents, {}};
}

} // namespace velmora::presettool
