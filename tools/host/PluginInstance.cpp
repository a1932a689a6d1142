#include "tools/host/PluginInstance.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace velmora::host {

namespace {

// Larger than any limit the interface promises, so an overlong answer shows in the length
// instead of corrupting the host.
constexpr std::size_t kTextBufferSize = 256;

template <typename Sample>
void checkBuffers(const AEffect& effect, PlanarBuffer<Sample>& inputs,
                  PlanarBuffer<Sample>& outputs, VstInt32 frames) {
    if (inputs.channels() < effect.numInputs || outputs.channels() < effect.numOutputs) {
        throw HostError("process buffers have fewer channels than the plug-in declares");
    }
    if (frames < 0 || frames > inputs.frames() || frames > outputs.frames()) {
        throw HostError("process block longer than its buffers");
    }
}

} // namespace

PluginInstance::PluginInstance(const PluginLibrary& library, ScriptedHost& host)
    : host_(host), effect_(library.callEntry(host)) {
    if (effect_ == nullptr) {
        throw HostError("the plug-in created no effect instance: " + library.path());
    }
    if (effect_->magic != kEffectMagic) {
        effect_ = nullptr; // not a record we can safely close
        throw HostError("the plug-in's entry returned a record without the VST magic: " +
                        library.path());
    }
    if (effect_->user != nullptr) {
        close();
        throw HostError("the plug-in uses the record's host field; cannot attach the host");
    }
    effect_->user = &host_;
}

PluginInstance::~PluginInstance() {
    if (effect_ != nullptr) {
        close();
    }
}

VstIntPtr PluginInstance::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                     float opt) {
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

void PluginInstance::open() {
    dispatcher(effOpen);
}

void PluginInstance::setSampleRate(float sampleRate) {
    host_.setSampleRate(sampleRate);
    dispatcher(effSetSampleRate, 0, 0, nullptr, sampleRate);
}

void PluginInstance::setBlockSize(VstInt32 frames) {
    dispatcher(effSetBlockSize, 0, frames);
}

void PluginInstance::resume() {
    dispatcher(effMainsChanged, 0, 1);
}

void PluginInstance::suspend() {
    dispatcher(effMainsChanged, 0, 0);
}

VstIntPtr PluginInstance::close() {
    if (effect_ == nullptr) {
        return 0;
    }
    AEffect* effect = effect_;
    effect_ = nullptr; // the plug-in frees the record during this call
    return effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

std::string PluginInstance::readString(VstInt32 opcode, VstInt32 index) {
    std::array<char, kTextBufferSize> text{};
    dispatcher(opcode, index, 0, text.data());
    return {text.data(), strnlen(text.data(), text.size())};
}

std::string PluginInstance::parameterName(VstInt32 index) {
    return readString(effGetParamName, index);
}

std::string PluginInstance::parameterLabel(VstInt32 index) {
    return readString(effGetParamLabel, index);
}

std::string PluginInstance::parameterDisplay(VstInt32 index) {
    return readString(effGetParamDisplay, index);
}

std::string PluginInstance::programName() {
    return readString(effGetProgramName, 0);
}

std::optional<std::string> PluginInstance::programNameIndexed(VstInt32 index) {
    std::array<char, kTextBufferSize> text{};
    if (dispatcher(effGetProgramNameIndexed, index, 0, text.data()) == 0) {
        return std::nullopt;
    }
    return std::string(text.data(), strnlen(text.data(), text.size()));
}

std::string PluginInstance::effectName() {
    return readString(effGetEffectName, 0);
}

std::string PluginInstance::vendorString() {
    return readString(effGetVendorString, 0);
}

std::string PluginInstance::productString() {
    return readString(effGetProductString, 0);
}

VstIntPtr PluginInstance::canDo(const std::string& text) {
    std::vector<char> copy(text.begin(), text.end());
    copy.push_back('\0');
    return dispatcher(effCanDo, 0, 0, copy.data());
}

void PluginInstance::setParameter(VstInt32 index, float value) {
    effect_->setParameter(effect_, index, value);
}

float PluginInstance::getParameter(VstInt32 index) {
    return effect_->getParameter(effect_, index);
}

void PluginInstance::processFloat(PlanarBuffer<float>& inputs, PlanarBuffer<float>& outputs,
                                  VstInt32 frames) {
    checkBuffers(*effect_, inputs, outputs, frames);
    if (effect_->processReplacing == nullptr) {
        throw HostError("the plug-in has no 32-bit replacing process routine");
    }
    effect_->processReplacing(effect_, inputs.pointers(), outputs.pointers(), frames);
}

void PluginInstance::processDouble(PlanarBuffer<double>& inputs, PlanarBuffer<double>& outputs,
                                   VstInt32 frames) {
    checkBuffers(*effect_, inputs, outputs, frames);
    if (effect_->processDoubleReplacing == nullptr) {
        throw HostError("the plug-in has no 64-bit replacing process routine");
    }
    effect_->processDoubleReplacing(effect_, inputs.pointers(), outputs.pointers(), frames);
}

VstIntPtr PluginInstance::sendMidi(std::span<const MidiMessage> messages) {
    std::vector<VstMidiEvent> events(messages.size());
    std::ranges::transform(messages, events.begin(), [](const MidiMessage& message) {
        VstMidiEvent event{};
        event.type = kVstMidiType;
        event.byteSize = sizeof(VstMidiEvent);
        event.deltaFrames = message.deltaFrames;
        event.midiData[0] = static_cast<char>(message.status);
        event.midiData[1] = static_cast<char>(message.data1);
        event.midiData[2] = static_cast<char>(message.data2);
        return event;
    });
    // The list's pointer array really has numEvents entries, running past the declared two;
    // whole records are allocated so the tail is owned memory.
    const std::size_t bytes =
        offsetof(VstEvents, events) + std::max<std::size_t>(events.size(), 2) * sizeof(VstEvent*);
    std::vector<VstEvents> storage((bytes + sizeof(VstEvents) - 1) / sizeof(VstEvents));
    VstEvents& list = storage.front();
    list.numEvents = static_cast<VstInt32>(events.size());
    VstEvent** slots = list.events;
    for (std::size_t i = 0; i < events.size(); ++i) {
        slots[i] = reinterpret_cast<VstEvent*>(&events[i]);
    }
    return dispatcher(effProcessEvents, 0, 0, &list);
}

std::vector<std::uint8_t> PluginInstance::getChunk(bool preset) {
    void* data = nullptr;
    const VstIntPtr size = dispatcher(effGetChunk, preset ? 1 : 0, 0, &data);
    if (size <= 0 || data == nullptr) {
        return {};
    }
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    return {bytes, bytes + size};
}

VstIntPtr PluginInstance::setChunk(std::span<const std::uint8_t> chunk, bool preset) {
    // The interface passes a mutable pointer; give the plug-in a copy it may touch.
    std::vector<std::uint8_t> copy(chunk.begin(), chunk.end());
    return dispatcher(effSetChunk, preset ? 1 : 0, static_cast<VstIntPtr>(copy.size()),
                      copy.data());
}

bool PluginInstance::setSpeakerArrangement(VstInt32 inputs, VstInt32 outputs) {
    // Only the channel counts matter to the plug-in; the rest of each record stays zero.
    VstSpeakerArrangement inputArrangement{};
    VstSpeakerArrangement outputArrangement{};
    inputArrangement.numChannels = inputs;
    outputArrangement.numChannels = outputs;
    return dispatcher(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&inputArrangement),
                      &outputArrangement) != 0;
}

std::optional<ERect> PluginInstance::editorRect() {
    ERect* rect = nullptr;
    dispatcher(effEditGetRect, 0, 0, &rect);
    if (rect == nullptr) {
        return std::nullopt;
    }
    return *rect;
}

bool PluginInstance::openEditor(std::uintptr_t parentWindow) {
    // The interface carries window ids in its pointer argument.
    return dispatcher(effEditOpen, 0, 0, reinterpret_cast<void*>(parentWindow)) != 0;
}

void PluginInstance::idleEditor() {
    dispatcher(effEditIdle);
}

void PluginInstance::closeEditor() {
    dispatcher(effEditClose);
}

bool PluginInstance::editorKeyDown(const VstKeyCode& key) {
    return dispatcher(effEditKeyDown, key.character, key.virt, nullptr, float(key.modifier)) != 0;
}

bool PluginInstance::editorKeyUp(const VstKeyCode& key) {
    return dispatcher(effEditKeyUp, key.character, key.virt, nullptr, float(key.modifier)) != 0;
}

} // namespace velmora::host
