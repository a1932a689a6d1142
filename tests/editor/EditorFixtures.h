// Controls of the editor's layout table, built with the real artwork on a panel-sized frame on
// the offscreen backend, and checks that read back which strip frame a control shows.
#pragma once

#include "editor/ControlFactory.h"
#include "editor/ControlLayout.h"
#include "editor/EditorBitmaps.h"
#include "editor/QelKickButton.h"
#include "editor/QelOnOffButton.h"
#include "tests/toolkit/ToolkitFixtures.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/Framebuffer.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>
#include <string>

namespace velmora::editor::testing {

using toolkit::CBitmap;
using toolkit::CControl;
using toolkit::CRect;
using toolkit::Framebuffer;
using toolkit::Pixel;

inline const layout::ControlPlacement& placementOf(std::int32_t tag) {
    const layout::ControlPlacement* placement = layout::findControl(tag);
    if (!placement) throw std::invalid_argument("no control with tag " + std::to_string(tag));
    return *placement;
}

// Where the control paints, and from where in its strip: the drawing area, and the source
// point of its top-left corner within a frame.
inline toolkit::CPoint sourceOrigin(const layout::ControlPlacement& placement) {
    if (placement.kind == layout::ControlKind::knob)
        return {layout::kKnobSourceOffset, layout::kKnobSourceOffset};
    return {0, 0};
}

// How many pixels of the control's drawing area differ from frame `frame` of its strip, laid
// over `background` where the strip has alpha.
inline int pixelsOffFrame(const Framebuffer& shown, const Framebuffer* background,
                          const layout::ControlPlacement& placement, int frame) {
    const CBitmap strip = editorBitmaps().load(placement.bitmap);
    const toolkit::Pixmap& pixels = *strip.pixmap();
    const int frameHeight = pixels.height / placement.frames;
    const toolkit::PixelRect area = toolkit::PixelRect::from(placement.drawArea);
    const toolkit::CPoint origin = sourceOrigin(placement);
    int wrong = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const int sx = int(origin.x) + x - area.left;
            const int sy = int(origin.y) + frame * frameHeight + y - area.top;
            Pixel expected = pixels.at(sx, sy);
            if (pixels.hasAlpha && background)
                expected = toolkit::blendPremultiplied(background->pixel(x, y), expected);
            if (shown.pixel(x, y) != expected) ++wrong;
        }
    return wrong;
}

// The frame of the control's strip its drawing area shows exactly, if any.
inline std::optional<int> shownFrame(const Framebuffer& shown, const Framebuffer* background,
                                     const layout::ControlPlacement& placement) {
    for (int frame = 0; frame < placement.frames; ++frame)
        if (pixelsOffFrame(shown, background, placement, frame) == 0) return frame;
    return std::nullopt;
}

// Also notes what a listener can read off the control while it is being told: the kick
// button's multiplier and the on/off button's modifier-click flag.
struct ControlRecorder : toolkit::testing::Recorder {
    std::vector<float> multipliers;
    std::vector<bool> modifierClicks;

    void valueChanged(CControl* control) override {
        Recorder::valueChanged(control);
        if (auto* kick = dynamic_cast<QelKickButton*>(control))
            multipliers.push_back(kick->getMultiplier());
        if (auto* button = dynamic_cast<QelOnOffButton*>(control))
            modifierClicks.push_back(button->isModifierClick());
    }
};

// A frame as big as the panel with controls of the layout table added one by one; the
// recorder is both their listener and the frame's editor, in linear knob mode.
class PanelTest : public ::testing::Test {
  protected:
    ControlRecorder recorder;
    toolkit::CFrame frame{CRect::fromSize(0, 0, layout::kPanelWidth, layout::kPanelHeight),
                          &recorder};
    std::unique_ptr<toolkit::OffscreenDriver> driver;

    template <typename Control = CControl> Control* add(std::int32_t tag) {
        auto control = makeControl(placementOf(tag), editorBitmaps(), &recorder);
        auto* typed = dynamic_cast<Control*>(control.get());
        EXPECT_NE(typed, nullptr) << "tag " << tag << " is not of the class asked for";
        frame.addView(std::move(control));
        return typed;
    }
    toolkit::OffscreenDriver& open() {
        frame.setBackground(editorBitmaps().load(layout::kBackgroundBitmap));
        driver = std::make_unique<toolkit::OffscreenDriver>(frame);
        driver->idle();
        return *driver;
    }
    std::optional<int> frameShownBy(std::int32_t tag) {
        driver->idle();
        return shownFrame(driver->shown(), &background(), placementOf(tag));
    }
    // The panel background alone, as the frame paints it under the controls.
    const Framebuffer& background() {
        if (backgroundPixels_.width() == 0) {
            backgroundPixels_ = Framebuffer(layout::kPanelWidth, layout::kPanelHeight);
            toolkit::CDrawContext context(backgroundPixels_);
            context.drawPixmap(*frame.getBackground().pixmap(), frame.getViewSize());
        }
        return backgroundPixels_;
    }

  private:
    Framebuffer backgroundPixels_;
};

} // namespace velmora::editor::testing
