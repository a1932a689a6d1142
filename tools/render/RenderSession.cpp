#include "tools/render/RenderSession.h"

#include "tools/host/StoredPrograms.h"
#include "tools/render/ControllerCode.h"
#include "tools/render/ProgressBar.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iomanip>
#include <iterator>
#include <ostream>
#include <set>

namespace velmora::render {

namespace {

constexpr std::uint8_t kControlChangeStatus = 0xB0; // channel 1

std::vector<std::uint8_t> readBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        throw host::HostError("cannot open state file " + path);
    }
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        throw host::HostError("cannot write state file " + path);
    }
}

bool equalIgnoringCase(const std::string& a, const std::string& b) {
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

std::string missingPresetMessage(const std::string& preset, std::size_t programs) {
    return "no preset \"" + preset + "\": give a number from 0 to " + std::to_string(programs - 1) +
           " or a name that --list-presets shows";
}

// The sample fed to plug-in input `pin`: the main pair takes the file's first two channels
// (a mono file feeds both); the sidechain gets silence.
double inputSample(const AudioData& input, int pin, std::size_t frame) {
    if (pin > 1 || frame >= input.frames() || input.channels.empty()) {
        return 0.0;
    }
    const std::size_t channel =
        std::min<std::size_t>(static_cast<std::size_t>(pin), input.channels.size() - 1);
    return input.channels[channel][frame];
}

} // namespace

RenderSession::RenderSession(const RenderOptions& options)
    : options_(options), library_(options.pluginPath) {
    if (options.tempo) {
        host_.setTempo(options.tempo);
        host_.setSongPosition(0.0);
    }
    host_.setCanDo("sendVstMidiEvent", 1);
    instance_ = std::make_unique<host::PluginInstance>(library_, host_);
    instance_->open();
}

// Beside each parameter: the index of its controller assignment and the controller it holds.
void RenderSession::listParameters(std::ostream& out) {
    const int count = instance_->numParameters();
    out << "index  name      value     display       label  cc-index  cc\n";
    for (int index = 0; index < count; ++index) {
        const auto controller = controllerOf(index);
        out << std::setw(5) << index << "  " << std::left << std::setw(8)
            << instance_->parameterName(index) << "  " << std::fixed << std::setprecision(6)
            << instance_->getParameter(index) << "  " << std::setw(12)
            << instance_->parameterDisplay(index) << "  " << std::setw(5)
            << instance_->parameterLabel(index) << "  " << std::setw(8) << count + index << "  "
            << (controller ? std::to_string(*controller) : "none") << std::right << '\n';
    }
}

void RenderSession::listPresets(std::ostream& out) {
    for (int index = 0;; ++index) {
        const auto name = instance_->programNameIndexed(index);
        if (!name) {
            break;
        }
        out << std::setw(3) << index << "  " << *name << '\n';
    }
}

void RenderSession::configure(int sampleRate) {
    instance_->setSampleRate(static_cast<float>(sampleRate));
    instance_->setBlockSize(options_.blockSize);
    applyState();
    applyPreset();
    applyParameters();
    applyAssignments();
}

std::vector<int> RenderSession::unassignedControllers() {
    std::set<int> unassigned;
    for (const ControlChange& change : options_.controlChanges) {
        unassigned.insert(change.controller);
    }
    for (int index = 0; index < instance_->numParameters(); ++index) {
        if (const auto controller = controllerOf(index)) {
            unassigned.erase(*controller);
        }
    }
    return {unassigned.begin(), unassigned.end()};
}

AudioData RenderSession::render(const AudioData& input) {
    instance_->resume();
    AudioData output = options_.useDouble ? process<double>(input) : process<float>(input);
    instance_->suspend();
    if (options_.saveState) {
        writeBytes(*options_.saveState, instance_->getChunk());
    }
    return output;
}

void RenderSession::applyState() {
    if (!options_.loadState) {
        return;
    }
    const auto chunk = readBytes(*options_.loadState);
    if (instance_->setChunk(chunk) != 0) {
        throw host::HostError("the plug-in rejected the state in " + *options_.loadState);
    }
}

void RenderSession::applyPreset() {
    if (!options_.preset) {
        return;
    }
    const auto programs = host::readStoredPrograms(instance_->getChunk());
    if (!programs) {
        throw host::HostError("cannot read the plug-in's stored programs from its state");
    }
    const auto found = host::findProgram(*programs, *options_.preset);
    if (!found) {
        throw host::HostError(missingPresetMessage(*options_.preset, programs->size()));
    }
    const host::StoredProgram& program = (*programs)[static_cast<std::size_t>(*found)];
    for (int index = 0; index < host::kStoredParameters; ++index) {
        if (program.present.test(static_cast<std::size_t>(index))) {
            instance_->setParameter(index, program.values[static_cast<std::size_t>(index)]);
        }
    }
}

void RenderSession::applyParameters() {
    // Indices past the parameters address their controller assignments.
    const int slots = 2 * instance_->numParameters();
    for (const ParameterSetting& setting : options_.parameters) {
        instance_->setParameter(parameterIndex(setting.parameter, "--param", slots), setting.value);
    }
}

void RenderSession::applyAssignments() {
    const int count = instance_->numParameters();
    for (const ControllerAssignment& assignment : options_.assignments) {
        const int parameter = parameterIndex(assignment.parameter, "--assign-cc", count);
        instance_->setParameter(count + parameter, assignmentValue(assignment.controller));
    }
}

int RenderSession::parameterIndex(const ParameterRef& parameter, const std::string& option,
                                  int slots) {
    const int count = instance_->numParameters();
    if (parameter.index) {
        if (*parameter.index < 0 || *parameter.index >= slots) {
            throw UsageError(option + " index " + std::to_string(*parameter.index) +
                             " is out of range 0 to " + std::to_string(slots - 1) +
                             " (see --list-params)");
        }
        return *parameter.index;
    }
    for (int index = 0; index < count; ++index) {
        if (instance_->parameterName(index) == parameter.name) {
            return index;
        }
    }
    for (int index = 0; index < count; ++index) {
        if (equalIgnoringCase(instance_->parameterName(index), parameter.name)) {
            return index;
        }
    }
    throw UsageError("no parameter named " + parameter.name + " (see --list-params)");
}

std::optional<int> RenderSession::controllerOf(int parameter) {
    return assignedController(instance_->getParameter(instance_->numParameters() + parameter));
}

template <typename Sample> AudioData RenderSession::process(const AudioData& input) {
    const auto& effect = instance_->effect();
    const int block = options_.blockSize;
    const std::size_t total =
        input.frames() + static_cast<std::size_t>(options_.tailSeconds * input.sampleRate);
    host::PlanarBuffer<Sample> inputs(effect.numInputs, block);
    host::PlanarBuffer<Sample> outputs(effect.numOutputs, block);

    AudioData output;
    output.sampleRate = input.sampleRate;
    output.channels.assign(static_cast<std::size_t>(effect.numOutputs),
                           std::vector<double>(total, 0.0));

    auto changes = options_.controlChanges;
    std::ranges::stable_sort(changes, {}, &ControlChange::seconds);
    auto nextChange = changes.begin();
    std::vector<host::MidiMessage> messages;

    ProgressBar progress(total);
    for (std::size_t start = 0; start < total; start += static_cast<std::size_t>(block)) {
        const auto frames = static_cast<int>(std::min<std::size_t>(block, total - start));
        for (int pin = 0; pin < inputs.channels(); ++pin) {
            auto channel = inputs.channel(pin);
            for (int i = 0; i < frames; ++i) {
                channel[static_cast<std::size_t>(i)] = static_cast<Sample>(
                    inputSample(input, pin, start + static_cast<std::size_t>(i)));
            }
        }
        messages.clear();
        for (; nextChange != changes.end(); ++nextChange) {
            const auto at = static_cast<std::size_t>(nextChange->seconds * input.sampleRate);
            if (at >= start + static_cast<std::size_t>(frames)) {
                break;
            }
            messages.push_back({static_cast<VstInt32>(at > start ? at - start : 0),
                                kControlChangeStatus,
                                static_cast<std::uint8_t>(nextChange->controller),
                                static_cast<std::uint8_t>(nextChange->value)});
        }
        if (!messages.empty()) {
            instance_->sendMidi(messages);
        }
        if constexpr (std::is_same_v<Sample, double>) {
            instance_->processDouble(inputs, outputs, frames);
        } else {
            instance_->processFloat(inputs, outputs, frames);
        }
        for (int pin = 0; pin < outputs.channels(); ++pin) {
            const auto channel = outputs.channel(pin);
            std::copy_n(channel.begin(), frames,
                        output.channels[static_cast<std::size_t>(pin)].begin() +
                            static_cast<std::ptrdiff_t>(start));
        }
        host_.advanceTransport(frames);
        progress.update(start + static_cast<std::size_t>(frames));
    }
    return output;
}

} // namespace velmora::render
