#include "tools/preset/Commands.h"

#include "engine/ParameterDescriptions.h"
#include "presets/ControllerAssignments.h"
#include "tools/preset/Contents.h"
#include "tools/preset/ContentsJson.h"

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <ostream>
#include <sstream>
#include <vector>

namespace velmora::presettool {
namespace {

constexpr int kDone = 0;
constexpr int kRefused = 1;
constexpr int kUsage = 2;

constexpr const char* kUsageText =
    "usage: velmora-preset <command> ...\n"
    "  info FILE                      what a preset, bank, MIDI-settings file or state chunk "
    "holds\n"
    "  export FILE [OUT.json]         its contents as JSON (to standard output without OUT)\n"
    "  import JSON OUT [--reversed]   writes the file or state chunk the JSON describes\n"
    "  reverse FILE OUT               the same contents in the other byte order\n"
    "  extract STATE PART OUT [--program N]\n"
    "                                 PART bank, midi-settings or preset (program N, else the\n"
    "                                 current one) of a state chunk, as a file\n"
    "  replace STATE FILE OUT [--program N]\n"
    "                                 a state chunk with its bank, MIDI settings or program N\n"
    "                                 (else the current one) taken from FILE\n";

// A failure on the way: the message for the user.
struct Failure {
    std::string message;
};

std::vector<std::byte> readBytes(const std::string& path, std::size_t maxBytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw Failure{path + ": cannot be opened"};
    std::vector<std::byte> bytes;
    char block[4096];
    while (file.read(block, sizeof block) || file.gcount() > 0) {
        const auto* begin = reinterpret_cast<const std::byte*>(block);
        bytes.insert(bytes.end(), begin, begin + file.gcount());
        if (bytes.size() > maxBytes)
            throw Failure{path + ": larger than any file or state chunk of this plug-in (" +
                          std::to_string(maxBytes) + " bytes at most)"};
    }
    if (file.bad()) throw Failure{path + ": cannot be read"};
    return bytes;
}

// Written beside the target and renamed over it, so a failed write leaves the old file.
void writeBytes(const std::string& path, std::span<const std::byte> bytes) {
    const std::string temporary = path + ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        if (!file.flush()) throw Failure{path + ": cannot be written"};
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        throw Failure{path + ": cannot be written"};
    }
}

void writeText(const std::string& path, const std::string& text) {
    writeBytes(path, std::as_bytes(std::span(text.data(), text.size())));
}

Contents load(const std::string& path) {
    const auto bytes = readBytes(path, maxInputBytes());
    auto decoded = decode(bytes);
    if (!decoded.contents) throw Failure{path + ": " + decoded.error};
    return *decoded.contents;
}

Contents loadKind(const std::string& path, ContentKind kind) {
    Contents contents = load(path);
    if (contents.kind != kind)
        throw Failure{path + ": a " + std::string(nameOf(contents.kind)) + ", not a " +
                      std::string(nameOf(kind))};
    return contents;
}

// The program a --program option names, else the current one.
int programArgument(std::span<const std::string> options, const Contents& state) {
    if (options.empty()) return state.currentProgram;
    int index = -1;
    const std::string& text = options.size() == 2 ? options[1] : std::string{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
    if (options[0] != "--program" || error != std::errc{} || end != text.data() + text.size() ||
        !isProgramIndex(index))
        throw Failure{"--program takes a program number 0..60"};
    return index;
}

std::string controllerText(float assignment) {
    const int controller = decodeAssignment(assignment);
    return controller == kNoAssignment ? std::string() : "controller " + std::to_string(controller);
}

void printInfo(const Contents& contents, std::size_t size, std::ostream& out) {
    out << "kind: " << nameOf(contents.kind) << "\n";
    out << "layout: " << (contents.layout.older ? "older" : "current") << "\n";
    out << "byte order: " << (contents.layout.reversed ? "byte-reversed" : "native") << "\n";
    out << "size: " << size << " bytes\n";
    if (contents.kind == ContentKind::Bank || contents.kind == ContentKind::State)
        out << "current program: " << contents.currentProgram << "\n";
    for (std::size_t i = 0; i < contents.programs.size(); ++i)
        out << "program " << i << ": " << contents.programs[i].nameView() << "\n";
    if (contents.kind == ContentKind::MidiSettings || contents.kind == ContentKind::State)
        for (int p = 0; p < kNumParameters; ++p)
            if (const auto text = controllerText(contents.assignments[p]); !text.empty())
                out << "assignment: " << describe(p).name << " (" << p << ") <- " << text << "\n";
}

int info(std::span<const std::string> args, std::ostream& out) {
    if (args.size() != 1) return kUsage;
    const auto size = readBytes(args[0], maxInputBytes()).size();
    printInfo(load(args[0]), size, out);
    return kDone;
}

int exportJson(std::span<const std::string> args, std::ostream& out) {
    if (args.empty() || args.size() > 2) return kUsage;
    const std::string text = toJsonText(load(args[0]));
    if (args.size() == 2)
        writeText(args[1], text);
    else
        out << text;
    return kDone;
}

int importJson(std::span<const std::string> args) {
    if (args.size() < 2 || args.size() > 3 || (args.size() == 3 && args[2] != "--reversed"))
        return kUsage;
    std::ifstream file(args[0]);
    if (!file) throw Failure{args[0] + ": cannot be opened"};
    const std::string text{std::istreambuf_iterator<char>(file), {}};
    const auto parsed = contentsFromJsonText(text);
    if (!parsed.contents) throw Failure{args[0] + ": " + parsed.error};
    writeBytes(args[1], encode(*parsed.contents, args.size() == 3));
    return kDone;
}

int reverse(std::span<const std::string> args) {
    if (args.size() != 2) return kUsage;
    const Contents contents = load(args[0]);
    writeBytes(args[1], encode(contents, !contents.layout.reversed));
    return kDone;
}

int extract(std::span<const std::string> args) {
    if (args.size() != 3 && args.size() != 5) return kUsage;
    const Contents state = loadKind(args[0], ContentKind::State);
    const auto part = kindNamed(args[1]);
    if (!part || *part == ContentKind::State)
        throw Failure{"PART must be bank, midi-settings or preset"};
    Contents file = state;
    file.kind = *part;
    if (*part == ContentKind::Preset)
        file.programs = {
            state.programs[static_cast<std::size_t>(programArgument(args.subspan(3), state))]};
    writeBytes(args[2], encode(file, false));
    return kDone;
}

int replace(std::span<const std::string> args) {
    if (args.size() != 3 && args.size() != 5) return kUsage;
    Contents state = loadKind(args[0], ContentKind::State);
    const Contents part = load(args[1]);
    switch (part.kind) {
    case ContentKind::Bank:
        state.programs = part.programs;
        state.currentProgram = part.currentProgram;
        break;
    case ContentKind::MidiSettings:
        state.assignments = part.assignments;
        break;
    case ContentKind::Preset:
        state.programs[static_cast<std::size_t>(programArgument(args.subspan(3), state))] =
            part.programs[0];
        break;
    case ContentKind::State:
        throw Failure{args[1] + ": a state chunk, not a file"};
    }
    writeBytes(args[2], encode(state, state.layout.reversed));
    return kDone;
}

int dispatch(const std::string& command, std::span<const std::string> args, std::ostream& out) {
    if (command == "info") return info(args, out);
    if (command == "export") return exportJson(args, out);
    if (command == "import") return importJson(args);
    if (command == "reverse") return reverse(args);
    if (command == "extract") return extract(args);
    if (command == "replace") return replace(args);
    return kUsage;
}

} // namespace

int runCommand(std::span<const std::string> arguments, std::ostream& out, std::ostream& err) {
    if (arguments.empty()) {
        err << kUsageText;
        return kUsage;
    }
    try {
        const int status = dispatch(arguments[0], arguments.subspan(1), out);
        if (status == kUsage) err << kUsageText;
        return status;
    } catch (const Failure& failure) {
        err << "velmora-preset: " << failure.message << "\n";
        return kRefused;
    }
}

} // namespace velmora::presettool
