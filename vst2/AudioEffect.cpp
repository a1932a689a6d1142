#include "vst2/AudioEffect.h"

#include "vst2/NumberText.h"

namespace velmora {

namespace {

// The record's trampolines: each finds the object through the record and calls the operation.
AudioEffect* effectOf(AEffect* record) {
    return record ? static_cast<AudioEffect*>(record->object) : nullptr;
}

VstIntPtr VST_CALL dispatchTrampoline(AEffect* record, VstInt32 opcode, VstInt32 index,
                                      VstIntPtr value, void* ptr, float opt) {
    AudioEffect* effect = effectOf(record);
    if (!effect) return 0;
    if (opcode == effClose) {
        effect->dispatcher(opcode, index, value, ptr, opt);
        // The host hands the object back here; this is where its life ends.
        delete effect;
        return 1;
    }
    return effect->dispatcher(opcode, index, value, ptr, opt);
}

void VST_CALL processTrampoline(AEffect* record, float** inputs, float** outputs, VstInt32 frames) {
    if (AudioEffect* effect = effectOf(record)) effect->process(inputs, outputs, frames);
}

void VST_CALL processReplacingTrampoline(AEffect* record, float** inputs, float** outputs,
                                         VstInt32 frames) {
    if (AudioEffect* effect = effectOf(record)) effect->processReplacing(inputs, outputs, frames);
}

void VST_CALL processDoubleReplacingTrampoline(AEffect* record, double** inputs, double** outputs,
                                               VstInt32 frames) {
    if (AudioEffect* effect = effectOf(record))
        effect->processDoubleReplacing(inputs, outputs, frames);
}

void VST_CALL setParameterTrampoline(AEffect* record, VstInt32 index, float value) {
    if (AudioEffect* effect = effectOf(record)) effect->setParameter(index, value);
}

float VST_CALL getParameterTrampoline(AEffect* record, VstInt32 index) {
    AudioEffect* effect = effectOf(record);
    return effect ? effect->getParameter(index) : 0.0f;
}

} // namespace

AudioEffect::AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams)
    : audioMaster_(audioMaster), numPrograms_(numPrograms), numParams_(numParams) {
    cEffect_.magic = kEffectMagic;
    cEffect_.dispatcher = dispatchTrampoline;
    cEffect_.process = processTrampoline;
    cEffect_.setParameter = setParameterTrampoline;
    cEffect_.getParameter = getParameterTrampoline;
    cEffect_.numPrograms = numPrograms;
    cEffect_.numParams = numParams;
    cEffect_.numInputs = 1;
    cEffect_.numOutputs = 2;
    cEffect_.flags = 0;
    cEffect_.ioRatio = 1.0f;
    cEffect_.object = this;
    cEffect_.uniqueID = kNoUniqueId;
    cEffect_.version = 1;
    cEffect_.processReplacing = processReplacingTrampoline;
    cEffect_.processDoubleReplacing = processDoubleReplacingTrampoline;
    canProcessReplacing();
}

AudioEffect::~AudioEffect() = default;

void AudioEffect::setEditor(std::unique_ptr<AEffEditor> editor) {
    editor_ = std::move(editor);
    hasEditor(editor_ != nullptr);
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt) {
    return audioMaster_ ? audioMaster_(&cEffect_, opcode, index, value, ptr, opt) : 0;
}

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) {
    auto* text = static_cast<char*>(ptr);
    switch (opcode) {
    case effOpen:
        open();
        return 0;
    case effClose:
        close();
        return 0;
    case effSetProgram:
        if (value < numPrograms_) setProgram(static_cast<VstInt32>(value));
        return 0;
    case effGetProgram:
        return getProgram();
    case effSetProgramName:
        if (text) setProgramName(text);
        return 0;
    case effGetProgramName:
        if (text) getProgramName(text);
        return 0;
    case effGetParamLabel:
        if (text) getParameterLabel(index, text);
        return 0;
    case effGetParamDisplay:
        if (text) getParameterDisplay(index, text);
        return 0;
    case effGetParamName:
        if (text) getParameterName(index, text);
        return 0;
    case effSetSampleRate:
        setSampleRate(opt);
        return 0;
    case effSetBlockSize:
        setBlockSize(static_cast<VstInt32>(value));
        return 0;
    case effMainsChanged:
        if (value == 0)
            suspend();
        else
            resume();
        return 0;
    case effEditGetRect:
        return editor_ && ptr ? editor_->getRect(static_cast<ERect**>(ptr)) : 0;
    case effEditOpen:
        return editor_ ? editor_->open(ptr) : 0;
    case effEditClose:
        if (editor_) editor_->close();
        return 0;
    case effEditIdle:
        if (editor_) editor_->idle();
        return 0;
    case effIdentify:
        return kIdentifyAnswer;
    case effGetChunk:
        return ptr ? getChunk(static_cast<void**>(ptr), index != 0) : 0;
    case effSetChunk:
        return setChunk(ptr, static_cast<VstInt32>(value), index != 0);
    default:
        return 0;
    }
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

VstInt32 AudioEffect::getMasterVersion() {
    return static_cast<VstInt32>(callHost(audioMasterVersion));
}

VstInt32 AudioEffect::getCurrentUniqueId() {
    return static_cast<VstInt32>(callHost(audioMasterCurrentId));
}

void AudioEffect::masterIdle() {
    callHost(audioMasterIdle);
}

// The host answers 0 for a connected pin; without a host every pin counts as connected.
bool AudioEffect::isInputConnected(VstInt32 input) {
    return audioMaster_ ? callHost(audioMasterPinConnected, input, 0) == 0 : true;
}

bool AudioEffect::isOutputConnected(VstInt32 output) {
    return audioMaster_ ? callHost(audioMasterPinConnected, output, 1) == 0 : true;
}

void AudioEffect::dB2string(float value, char* text, VstInt32 maxLen) {
    writeDbText(value, text, maxLen);
}

void AudioEffect::Hz2string(float samples, char* text, VstInt32 maxLen) {
    writeHertzText(samples, getSampleRate(), text, maxLen);
}

void AudioEffect::ms2string(float samples, char* text, VstInt32 maxLen) {
    writeMillisecondsText(samples, getSampleRate(), text, maxLen);
}

void AudioEffect::float2string(float value, char* text, VstInt32 maxLen) {
    writeFloatText(value, text, maxLen);
}

void AudioEffect::int2string(VstInt32 value, char* text, VstInt32 maxLen) {
    writeIntText(value, text, maxLen);
}

} // namespace velmora
