// One effect instance driven through its record, with typed calls for each operation.
#pragma once

#include "tools/host/HostError.h"
#include "tools/host/PlanarBuffer.h"
#include "tools/host/PluginLibrary.h"
#include "tools/host/ScriptedHost.h"
#include "vst2/vst2.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace velmora::host {

// One MIDI message to deliver at a frame offset within the next block.
struct MidiMessage {
    VstInt32 deltaFrames = 0;
    std::uint8_t status = 0;
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;
};

// One effect instance created through the library's entry. Closes the effect on destruction.
// The library and the host must outlive the instance.
class PluginInstance {
  public:
    // Throws HostError when the entry returns null or the record's magic is wrong.
    PluginInstance(const PluginLibrary& library, ScriptedHost& host);
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    AEffect& effect() { return *effect_; }
    const AEffect& effect() const { return *effect_; }
    ScriptedHost& host() { return host_; }

    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                         void* ptr = nullptr, float opt = 0.0f);

    // Lifecycle, in the order hosts use it.
    void open();
    void setSampleRate(float sampleRate);
    void setBlockSize(VstInt32 frames);
    void resume();
    void suspend();
    // effClose; the destructor does this when it has not been done. Returns the dispatcher's
    // answer.
    VstIntPtr close();
    bool isClosed() const { return effect_ == nullptr; }

    // Text getters; each reads from a zeroed buffer larger than the limit the interface
    // promises, so a plug-in that writes too much is seen in the length.
    std::string parameterName(VstInt32 index);
    std::string parameterLabel(VstInt32 index);
    std::string parameterDisplay(VstInt32 index);
    std::string programName();
    std::optional<std::string> programNameIndexed(VstInt32 index);
    std::string effectName();
    std::string vendorString();
    std::string productString();
    VstIntPtr canDo(const std::string& text);

    void setParameter(VstInt32 index, float value);
    float getParameter(VstInt32 index);
    int numParameters() const { return effect_->numParams; }

    // Process one block of `frames` samples (at most the buffers' length) through the replacing
    // routines. The buffers must have the plug-in's input and output channel counts.
    void processFloat(PlanarBuffer<float>& inputs, PlanarBuffer<float>& outputs, VstInt32 frames);
    void processDouble(PlanarBuffer<double>& inputs, PlanarBuffer<double>& outputs,
                       VstInt32 frames);

    // effProcessEvents with one VstMidiEvent per message; returns the plug-in's answer.
    VstIntPtr sendMidi(std::span<const MidiMessage> messages);

    // The state chunk (bank when `preset` is false), copied out of the plug-in's buffer.
    std::vector<std::uint8_t> getChunk(bool preset = false);
    VstIntPtr setChunk(std::span<const std::uint8_t> chunk, bool preset = false);

    // effSetSpeakerArrangement with plain arrangements of the given channel counts.
    bool setSpeakerArrangement(VstInt32 inputs, VstInt32 outputs);

    // The editor, as a host drives it from its UI thread. The record's flag says whether there
    // is one; the calls go to the plug-in either way, as some hosts do.
    bool hasEditor() const { return (effect_->flags & effFlagsHasEditor) != 0; }
    // effEditGetRect: the size the editor asks for; nothing when it answers no rectangle.
    std::optional<ERect> editorRect();
    // effEditOpen with the host's parent window (an X11 Window id on Linux, an HWND on Windows).
    bool openEditor(std::uintptr_t parentWindow);
    void idleEditor();
    void closeEditor();
    // effEditKeyDown / effEditKeyUp: the key travels as character in index, virtual key in
    // value and modifiers in opt, the way hosts pass it. True when the editor used the key.
    bool editorKeyDown(const VstKeyCode& key);
    bool editorKeyUp(const VstKeyCode& key);

  private:
    std::string readString(VstInt32 opcode, VstInt32 index);

    ScriptedHost& host_;
    AEffect* effect_ = nullptr;
};

} // namespace velmora::host
