#include "editor/ControlLayout.h"
#include "editor/EditorBitmaps.h"
#include "editor/PresetBarLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace velmora::editor::layout {
namespace {

using toolkit::CRect;

constexpr CRect kPanel{0, 0, kPanelWidth, kPanelHeight};

bool inside(const CRect& inner, const CRect& outer) {
    return !inner.isEmpty() && inner.left >= outer.left && inner.top >= outer.top &&
           inner.right <= outer.right && inner.bottom <= outer.bottom;
}

TEST(ControlLayout, EveryControlLiesOnThePanelAndPaintsInsideItsRectangle) {
    for (const ControlPlacement& placement : kControls) {
        SCOPED_TRACE(placement.tag);
        EXPECT_TRUE(inside(placement.rect, kPanel));
        EXPECT_TRUE(inside(placement.drawArea, placement.rect));
        // Controls sit above the preset bar; only the about areas reach down towards it.
        EXPECT_LE(placement.rect.bottom, kPresetBarTop);
    }
}

// A strip whose frames are not the size of what they are painted into shows parts of two
// frames, or leaves a stale edge.
TEST(ControlLayout, EveryStripFrameFitsWhereItIsPainted) {
    for (const ControlPlacement& placement : kControls) {
        SCOPED_TRACE(placement.tag);
        if (placement.bitmap == kNoBitmap) {
            EXPECT_TRUE(placement.kind == ControlKind::invisibleSlider ||
                        placement.kind == ControlKind::aboutArea);
            continue;
        }
        const toolkit::CBitmap strip = editorBitmaps().load(placement.bitmap);
        ASSERT_TRUE(strip.isLoaded());
        ASSERT_GT(placement.frames, 1);
        ASSERT_EQ(strip.getHeight() % placement.frames, 0) << "frames of unequal height";
        const int frameHeight = strip.getHeight() / placement.frames;
        if (placement.kind == ControlKind::knob) {
            EXPECT_EQ(placement.frames, kKnobFrames);
            EXPECT_LE(kKnobSourceOffset + placement.drawArea.getWidth(), strip.getWidth());
            EXPECT_LE(kKnobSourceOffset + placement.drawArea.getHeight(), frameHeight);
        } else {
            // Everything else paints its frame from the rectangle's corner.
            EXPECT_EQ(placement.drawArea.getTopLeft(), placement.rect.getTopLeft());
            EXPECT_EQ(placement.drawArea.getWidth(), strip.getWidth());
            EXPECT_EQ(placement.drawArea.getHeight(), frameHeight);
            EXPECT_EQ(placement.rect.getHeight(), frameHeight);
            if (placement.kind != ControlKind::horizontalSwitch) {
                EXPECT_EQ(placement.rect, placement.drawArea);
            }
        }
    }
}

TEST(ControlLayout, NoTwoControlsOverlapUnlessOneLiesUnderTheOtherOnPurpose) {
    for (std::size_t i = 0; i < kControls.size(); ++i)
        for (std::size_t j = i + 1; j < kControls.size(); ++j) {
            const ControlPlacement& a = kControls[i];
            const ControlPlacement& b = kControls[j];
            if (!a.rect.rectOverlap(b.rect)) continue;
            EXPECT_TRUE(a.under == b.tag || b.under == a.tag)
                << "tags " << a.tag << " and " << b.tag << " overlap";
        }
    // What lies under an input area is a display, and it is drawn before the area, so the
    // area gets the mouse.
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        if (kControls[i].under < 0) continue;
        EXPECT_EQ(kControls[i].kind, ControlKind::display) << kControls[i].tag;
        const ControlPlacement* over = findControl(kControls[i].under);
        ASSERT_NE(over, nullptr);
        EXPECT_GT(over - kControls.data(), std::ptrdiff_t(i));
    }
}

TEST(ControlLayout, TagsAreUniqueAndNameWhatTheyAreBoundTo) {
    std::set<std::int32_t> tags;
    for (const ControlPlacement& placement : kControls) {
        SCOPED_TRACE(placement.tag);
        if (placement.kind != ControlKind::aboutArea) {
            EXPECT_TRUE(tags.insert(placement.tag).second);
        }
        EXPECT_TRUE(placement.tag >= 0 && placement.tag < 98)
            << "tags of 98 and up are the preset bar's";
        // A tag below 60 is the parameter itself; a pair is the left and the right one.
        if (placement.tag < 60) {
            EXPECT_EQ(placement.parameter, (Binding{placement.tag}));
        }
        if (placement.parameter.isPair()) {
            EXPECT_GE(placement.tag, 61);
            EXPECT_EQ(placement.parameter.right, placement.parameter.left + 1);
        }
        EXPECT_LT(placement.parameter.left, 60);
        EXPECT_LT(placement.parameter.right, 60);
        if (placement.defaultValue) {
            EXPECT_GE(*placement.defaultValue, 0.0f);
            EXPECT_LE(*placement.defaultValue, 1.0f);
        }
    }
    // The two about areas share one tag.
    EXPECT_EQ(std::ranges::count(kControls, ControlKind::aboutArea, &ControlPlacement::kind), 2);
    EXPECT_EQ(findControl(82)->kind, ControlKind::aboutArea);
}

TEST(PresetBarLayout, ButtonsFitTheStripTheirFramesAndEachOther) {
    std::set<std::int32_t> tags;
    const CRect bar{0, kPresetBarTop, kPanelWidth, kPanelHeight};
    for (const PresetBarPlacement& placement : kPresetBar) {
        SCOPED_TRACE(placement.tag);
        EXPECT_TRUE(inside(placement.rect, bar));
        if (placement.tag >= 0) {
            EXPECT_TRUE(tags.insert(placement.tag).second);
            EXPECT_TRUE(placement.tag >= 98 && placement.tag <= 118);
        }
        if (placement.bitmap < 0) continue;
        const toolkit::CBitmap strip = editorBitmaps().load(placement.bitmap);
        ASSERT_TRUE(strip.isLoaded());
        EXPECT_EQ(strip.getWidth(), placement.rect.getWidth());
        EXPECT_EQ(strip.getHeight(), placement.rect.getHeight() * placement.frames);
    }
    for (std::size_t i = 0; i < kPresetBar.size(); ++i)
        for (std::size_t j = i + 1; j < kPresetBar.size(); ++j)
            EXPECT_FALSE(kPresetBar[i].rect.rectOverlap(kPresetBar[j].rect))
                << kPresetBar[i].tag << " and " << kPresetBar[j].tag;
    for (const ControlPlacement& control : kControls)
        for (const PresetBarPlacement& button : kPresetBar)
            EXPECT_FALSE(control.rect.rectOverlap(button.rect))
                << control.tag << ", " << button.tag;
}

} // namespace
} // namespace velmora::editor::layout
