// A preset system with the smallest owner there is: applied values go back to the preset side
// (as the effect does outside a program change) and every host call is dropped.
#pragma once

#include "presets/PresetSystem.h"
#include "presets/PresetSystemOwner.h"

namespace velmora::testing {

class OwnedPresetSystem final : private PresetSystemOwner, public PresetSystem {
  public:
    OwnedPresetSystem() : PresetSystem(static_cast<PresetSystemOwner&>(*this)) {}

  private:
    void applyParameter(int index, float value) override {
        if (!isApplyingProgram()) PresetSystem::setParameter(index, value);
    }
    void requestDisplayUpdate() override {}
    void beginHostEdit(int) override {}
    void endHostEdit(int) override {}
    void requestMidi() override {}
};

} // namespace velmora::testing
