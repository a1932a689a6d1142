// The module's exported entry, under both names hosts look for. Here the effect and its editor
// are wired together: the effect knows the editor only as an EffectEditor.
#include "editor/Editor.h"
#include "editor/PresetServices.h"
#include "plugin/DelayEffect.h"

#include <memory>
#include <new>

namespace {

// Asks the host for its version; 0 means a host this plug-in cannot work with.
bool hostIsUsable(audioMasterCallback audioMaster) {
    return audioMaster && audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) != 0;
}

// The effect's editor: the bitmap panel, opened in a window of the platform, with the preset
// bar's services over the user's settings, file dialogs and desktop. A new instance starts with
// the user's stored defaults.
std::unique_ptr<velmora::EffectEditor> createEditor(velmora::DelayEffect& effect) {
    using velmora::editor::PresetServices;
    auto editor = std::make_unique<velmora::editor::Editor>(effect);
    auto services =
        std::make_unique<PresetServices>(effect.presets(), PresetServices::userPlatform());
    services->applyStartupDefaults();
    editor->presetBar().setServices(std::move(services));
    return editor;
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
// program's entry, so the second export is declared under an assembler name. 32-bit Windows
// gives C names a leading underscore, and the assembler name must carry it too.
#if defined(_WIN32) && !defined(_WIN64)
#define VELMORA_MAIN_SYMBOL "_main"
#else
#define VELMORA_MAIN_SYMBOL "main"
#endif
__attribute__((visibility("default"))) AEffect*
vstMainEntry(audioMasterCallback audioMaster) __asm__(VELMORA_MAIN_SYMBOL);

AEffect* vstMainEntry(audioMasterCallback audioMaster) {
    return VSTPluginMain(audioMaster);
}

} // extern "C"
