// Hosts call setParameter from their audio thread during automation playback, and program
// changes arrive there from MIDI, while the UI thread idles the open editor and the user turns
// a knob. Nothing may race (ThreadSanitizer runs this), and once the writer stops, one idle
// leaves every control showing what the effect holds.
#include "editor/ControlLayout.h"
#include "editor/PanelControls.h"
#include "engine/ParameterIndex.h"
#include "tests/editor/EditorRig.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace velmora::editor::testing {
namespace {

TEST(EditorThreads, AutomationFromAnotherThreadReachesTheControlsOnIdleOnly) {
    EditorRig rig;
    ASSERT_TRUE(rig.open());
    std::atomic<bool> stop{false};
    std::thread automation([&] {
        for (int round = 0; !stop.load(); ++round) {
            for (int index = 0; index < kNumParameters; ++index)
                rig.effect().setParameter(index, float((round * 7 + index) % 100) / 99.0f);
            if (round % 20 == 0) rig.effect().presets().setCurrentProgram(round / 20 % 61);
        }
    });
    const toolkit::CPoint knob{400, 46};
    for (int i = 0; i < 200; ++i) {
        rig.editor().idle();
        if (i % 25 == 0)
            rig.driver().drag(knob, knob.offset(0, i % 50 == 0 ? -15 : 15), toolkit::kLButton, 3);
    }
    stop = true;
    automation.join();

    rig.editor().idle();
    for (const layout::ControlPlacement& placement : layout::kControls) {
        if (!placement.parameter.isBound()) continue;
        const float held = rig.parameter(placement.parameter.shown(rig.editor().showsRightPage()));
        EXPECT_FLOAT_EQ(rig.control(placement.tag).getValue(),
                        PanelControls::controlValue(placement, held))
            << "tag " << placement.tag;
    }
}

} // namespace
} // namespace velmora::editor::testing
