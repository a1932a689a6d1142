// The module's exported entry, under both names hosts look for. Here the effect and its editor
// are wired together: the effect knows the editor only as an EffectEditor.
#include "editor/Editor.h"
#include "plugin/DelayEffect.h"

#include <memory>
#include <new>

namespace {

// Asks the host for its version; 0 means a host this plug-in cannot work with.
bool hostIsUsable(audioMasterCallback audioMaster) {
    return audioMaster && audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) != 0;
}

// The effect's editor: the bitmap panel, opened in a window of the platform.
std::unique_ptr<velmora::EffectEditor> createEditor(velmora::DelayEffect& effect) {
    return std::make_unique<velmora::editor::Editor>(effect);
}

// Creates the effect; ownership passes to the host, which gives it back with effClose.
velmora::AudioEffect* createEffectInstance(audioMasterCallback audioMaster) {
    if (!hostIsUsable(audioMaster)) return nullptr;
    try {
        auto effect = std::make_unique<velmora::DelayEffect>(audioMaster);
        effect->attachEditor(createEditor(*effect));
        return effect.release();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

} // namespace

extern "C" {

__attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback audioMaster) {
    if (!hostIsUsable(audioMaster)) return nullptr;
    velmora::AudioEffect* effect = createEffectInstance(audioMaster);
    return effect ? effect->getAeffect() : nullptr;
}

// Older hosts look for the entry under the name "main"; C++ reserves that name for the
// program's entry, so the second export is declared under an assembler name.
__attribute__((visibility("default"))) AEffect*
vstMainEntry(audioMasterCallback audioMaster) __asm__("main");

AEffect* vstMainEntry(audioMasterCallback audioMaster) {
    return VSTPluginMain(audioMaster);
}

} // extern "C"
