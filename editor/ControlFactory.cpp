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
using layout::ControlSpec;

CCoord frameHeightOf(const CBitmap& strip, int frames) {
    return frames > 0 ? CCoord(strip.getHeight()) / frames : 0;
}

namespace {

std::unique_ptr<CControl> construct(const ControlSpec& spec, CBitmap bitmap,
                                    CControlListener* listener) {
    const CCoord frameHeight = frameHeightOf(bitmap, spec.frames);
    switch (spec.kind) {
    case ControlKind::knob: {
        const CPoint offset{layout::kKnobSourceOffset, layout::kKnobSourceOffset};
        auto knob =
            std::make_unique<QelAnimKnob>(spec.rect, listener, spec.tag, spec.frames, frameHeight,
                                          std::move(bitmap), offset, spec.drawArea);
        knob->setWheelInc(layout::kKnobWheelIncrement);
        return knob;
    }
    case ControlKind::onOffButton:
        return std::make_unique<QelOnOffButton>(spec.rect, listener, spec.tag, std::move(bitmap));
    case ControlKind::horizontalSwitch:
        return std::make_unique<QelSwitch>(spec.rect, listener, spec.tag, spec.frames, frameHeight,
                                           std::move(bitmap));
    case ControlKind::verticalSwitch:
        return std::make_unique<QelSwitchVert>(spec.rect, listener, spec.tag, spec.frames,
                                               frameHeight, std::move(bitmap));
    case ControlKind::kickButton:
        return std::make_unique<QelKickButton>(spec.rect, listener, spec.tag, frameHeight,
                                               std::move(bitmap));
    case ControlKind::display:
        return std::make_unique<CMovieBitmap>(spec.rect, listener, spec.tag, spec.frames,
                                              frameHeight, std::move(bitmap));
    case ControlKind::invisibleSlider:
        return std::make_unique<CInvisibleSlider>(spec.rect, listener, spec.tag);
    case ControlKind::aboutArea:
        return nullptr;
    }
    return nullptr;
}

} // namespace

std::unique_ptr<CControl> makeControl(const ControlSpec& spec, BitmapCache& bitmaps,
                                      CControlListener* listener) {
    CBitmap bitmap = spec.bitmap == layout::kNoBitmap ? CBitmap{} : bitmaps.load(spec.bitmap);
    auto control = construct(spec, std::move(bitmap), listener);
    if (control && spec.defaultValue) control->setDefaultValue(*spec.defaultValue);
    return control;
}

} // namespace velmora::editor
