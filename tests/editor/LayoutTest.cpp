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
    for (const ControlSpec& spec : kControls) {
        SCOPED_TRACE(spec.tag);
        EXPECT_TRUE(inside(spec.rect, kPanel));
        EXPECT_TRUE(inside(spec.drawArea, spec.rect));
        // Controls sit above the preset bar; only the about areas reach down towards it.
        EXPECT_LE(spec.rect.bottom, kPresetBarTop);
    }
}

// A strip whose frames are not the size of what they are painted into shows parts of two
// frames, or leaves a stale edge.
TEST(ControlLayout, EveryStripFrameFitsWhereItIsPainted) {
    for (const ControlSpec& spec : kControls) {
        SCOPED_TRACE(spec.tag);
        if (spec.bitmap == kNoBitmap) {
            EXPECT_TRUE(spec.kind == ControlKind::invisibleSlider ||
                        spec.kind == ControlKind::aboutArea);
            continue;
        }
        const toolkit::CBitmap strip = editorBitmaps().load(spec.bitmap);
        ASSERT_TRUE(strip.isLoaded());
        ASSERT_GT(spec.frames, 1);
        ASSERT_EQ(strip.getHeight() % spec.frames, 0) << "frames of unequal height";
        const int frameHeight = strip.getHeight() / spec.frames;
        if (spec.kind == ControlKind::knob) {
            EXPECT_EQ(spec.frames, kKnobFrames);
            EXPECT_LE(kKnobSourceOffset + spec.drawArea.getWidth(), strip.getWidth());
            EXPECT_LE(kKnobSourceOffset + spec.drawArea.getHeight(), frameHeight);
        } else {
            // Everything else paints its frame from the rectangle's corner.
            EXPECT_EQ(spec.drawArea.getTopLeft(), spec.rect.getTopLeft());
            EXPECT_EQ(spec.drawArea.getWidth(), strip.getWidth());
            EXPECT_EQ(spec.drawArea.getHeight(), frameHeight);
            EXPECT_EQ(spec.rect.getHeight(), frameHeight);
            if (spec.kind != ControlKind::horizontalSwitch) {
                EXPECT_EQ(spec.rect, spec.drawArea);
            }
        }
    }
}

TEST(ControlLayout, NoTwoControlsOverlapUnlessOneLiesUnderTheOtherOnPurpose) {
    for (std::size_t i = 0; i < kControls.size(); ++i)
        for (std::size_t j = i + 1; j < kControls.size(); ++j) {
            const ControlSpec& a = kControls[i];
            const ControlSpec& b = kControls[j];
            if (!a.rect.rectOverlap(b.rect)) continue;
            EXPECT_TRUE(a.under == b.tag || b.under == a.tag)
                << "tags " << a.tag << " and " << b.tag << " overlap";
        }
    // What lies under an input area is a display, and it is drawn before the area, so the
    // area gets the mouse.
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        if (kControls[i].under < 0) continue;
        EXPECT_EQ(kControls[i].kind, ControlKind::display) << kControls[i].tag;
        const ControlSpec* over = findControl(kControls[i].under);
        ASSERT_NE(over, nullptr);
        EXPECT_GT(over - kControls.data(), std::ptrdiff_t(i));
    }
}

TEST(ControlLayout, TagsAreUniqueAndNameWhatTheyAreBoundTo) {
    std::set<std::int32_t> tags;
    for (const ControlSpec& spec : kControls) {
        SCOPED_TRACE(spec.tag);
        if (spec.kind != ControlKind::aboutArea) {
            EXPECT_TRUE(tags.insert(spec.tag).second);
        }
        EXPECT_TRUE(spec.tag >= 0 && spec.tag < 98) << "tags of 98 and up are the preset bar's";
        // A tag below 60 is the parameter itself; a pair is the left and the right one.
        if (spec.tag < 60) {
            EXPECT_EQ(spec.parameter, (Binding{spec.tag}));
        }
        if (spec.parameter.isPair()) {
            EXPECT_GE(spec.tag, 61);
            EXPECT_EQ(spec.parameter.right, spec.parameter.left + 1);
        }
        EXPECT_LT(spec.parameter.left, 60);
        EXPECT_LT(spec.parameter.right, 60);
        if (spec.defaultValue) {
            EXPECT_GE(*spec.defaultValue, 0.0f);
            EXPECT_LE(*spec.defaultValue, 1.0f);
        }
    }
    // The two about areas share one tag.
    EXPECT_EQ(std::ranges::count(kControls, ControlKind::aboutArea, &ControlSpec::kind), 2);
    EXPECT_EQ(findControl(82)->kind, ControlKind::aboutArea);
}

TEST(PresetBarLayout, ButtonsFitTheStripTheirFramesAndEachOther) {
    std::set<std::int32_t> tags;
    const CRect bar{0, kPresetBarTop, kPanelWidth, kPanelHeight};
    for (const PresetBarSpec& spec : kPresetBar) {
        SCOPED_TRACE(spec.tag);
        EXPECT_TRUE(inside(spec.rect, bar));
        if (spec.tag >= 0) {
            EXPECT_TRUE(tags.insert(spec.tag).second);
            EXPECT_TRUE(spec.tag >= 98 && spec.tag <= 118);
        }
        if (spec.bitmap < 0) continue;
        const toolkit::CBitmap strip = editorBitmaps().load(spec.bitmap);
        ASSERT_TRUE(strip.isLoaded());
        EXPECT_EQ(strip.getWidth(), spec.rect.getWidth());
        EXPECT_EQ(strip.getHeight(), spec.rect.getHeight() * spec.frames);
    }
    for (std::size_t i = 0; i < kPresetBar.size(); ++i)
        for (std::size_t j = i + 1; j < kPresetBar.size(); ++j)
            EXPECT_FALSE(kPresetBar[i].rect.rectOverlap(kPresetBar[j].rect))
                << kPresetBar[i].tag << " and " << kPresetBar[j].tag;
    for (const ControlSpec& control : kControls)
        for (const PresetBarSpec& button : kPresetBar)
            EXPECT_FALSE(control.rect.rectOverlap(button.rect))
                << control.tag << ", " << button.tag;
}

} // namespace
} // namespace velmora::editor::layout
