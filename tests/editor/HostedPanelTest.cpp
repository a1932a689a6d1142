// The row hashes the Windows build checks its window against must be what this build draws for
// the panel a host sets up (tests/support/HostedPanel.h). VELMORA_PIXEL_RECORD=1 rewrites them
// with the panel's pixel reference, when a change of the panel's look is intended.
#include "tests/support/HostedPanel.h"
#include "tools/snapshot/PanelSnapshot.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace velmora::editor {
namespace {

namespace hosted = testing::hosted_panel;

bool recordRequested() {
    const char* value = std::getenv("VELMORA_PIXEL_RECORD");
    return value != nullptr && std::string(value) == "1";
}

TEST(HostedPanel, TheRecordedRowsAreWhatThisBuildDraws) {
    snapshot::PanelSnapshot panel;
    // Through the effect, as a host sets them: many parameters have no control of their own.
    for (int parameter = 0; parameter < hosted::kParameterCount; ++parameter)
        panel.effect().setParameter(parameter, hosted::valueOf(parameter));
    const toolkit::Framebuffer& shown = panel.render();
    const auto hashes = hosted::rowHashes(shown.pixels(), shown.width());
    ASSERT_EQ(int(hashes.size()), shown.height());
    if (recordRequested()) {
        ASSERT_TRUE(hosted::writeReference(hashes)) << "cannot write " << hosted::referencePath();
        return;
    }
    const auto reference = hosted::readReference();
    ASSERT_EQ(reference.size(), hashes.size())
        << "cannot read " << hosted::referencePath() << "; record it with VELMORA_PIXEL_RECORD=1";
    EXPECT_EQ(hashes, reference) << "rows that differ: " << hosted::differingRows(hashes, reference)
                                 << "\nIf the change is intended, record it with "
                                    "VELMORA_PIXEL_RECORD=1.";
}

} // namespace
} // namespace velmora::editor
