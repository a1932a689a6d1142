#include "editor/ControlFactory.h"

#include "editor/CInvisibleSlider.h"
#include "editor/QelAnimKnob.h"
#include "editor/QelKickButton.h"
#include "editor/QelOnOffButton.h"
#include "editor/QelSwitch.h"
#include "editor/QelSwitchVert.h"
#include "toolkit/controls/CMovieBitmap.h"

namespace velmora::editor {

using namespace toolkit;
using layout::ControlKind;
using layout::ControlPlacement;

CCoord frameHeightOf(const CBitmap& strip, int frames) {
    return frames > 0 ? CCoord(strip.getHeight()) / frames : 0;
}

namespace {

std::unique_ptr<CControl> construct(const ControlPlacement& placement, CBitmap bitmap,
                                    CControlListener* listener) {
    const CCoord frameHeight = frameHeightOf(bitmap, placement.frames);
    switch (placement.kind) {
    case ControlKind::knob: {
        const CPoint offset{layout::kKnobSourceOffset, layout::kKnobSourceOffset};
        auto knob = std::make_unique<QelAnimKnob>(placement.rect, listener, placement.tag,
                                                  placement.frames, frameHeight, std::move(bitmap),
                                                  offset, placement.drawArea);
        knob->setWheelInc(layout::kKnobWheelIncrement);
        return knob;
    }
    case ControlKind::onOffButton:
        return std::make_unique<QelOnOffButton>(placement.rect, listener, placement.tag,
                                                std::move(bitmap));
    case ControlKind::horizontalSwitch:
        return std::make_unique<QelSwitch>(placement.rect, listener, placement.tag,
                                           placement.frames, frameHeight, std::move(bitmap));
    case ControlKind::verticalSwitch:
        return std::make_unique<QelSwitchVert>(placement.rect, listener, placement.tag,
                                               placement.frames, frameHeight, std::move(bitmap));
    case ControlKind::kickButton:
        return std::make_unique<QelKickButton>(placement.rect, listener, placement.tag, frameHeight,
                                               std::move(bitmap));
    case ControlKind::display:
        return std::make_unique<CMovieBitmap>(placement.rect, listener, placement.tag,
                                              placement.frames, frameHeight, std::move(bitmap));
    case ControlKind::invisibleSlider:
        return std::make_unique<CInvisibleSlider>(placement.rect, listener, placement.tag);
    case ControlKind::aboutArea:
        return nullptr;
    }
    return nullptr;
}

} // namespace

std::unique_ptr<CControl> makeControl(const ControlPlacement& placement, BitmapCache& bitmaps,
                                      CControlListener* listener) {
    CBitmap bitmap =
        placement.bitmap == layout::kNoBitmap ? CBitmap{} : bitmaps.load(placement.bitmap);
    auto control = construct(placement, std::move(bitmap), listener);
    if (control && placement.defaultValue) control->setDefaultValue(*placement.defaultValue);
    return control;
}

std::unique_ptr<CAbout> makeAboutArea(const ControlPlacement& placement, BitmapCache& bitmaps) {
    if (placement.kind != ControlKind::aboutArea) return nullptr;
    return std::make_unique<CAbout>(placement.rect, placement.tag, bitmaps, layout::kAboutBitmap,
                                    layout::kAboutDisplayRect, layout::kVersionAnchor);
}

} // namespace velmora::editor
