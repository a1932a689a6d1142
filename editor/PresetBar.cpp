#include "editor/PresetBar.h"

#include "editor/MessageView.h"

#include "editor/CPSKickButton.h"
#include "editor/CPSOnOffButton.h"
#include "editor/CPSRockerSwitch.h"
#include "editor/CSaveLoadButton.h"
#include "editor/ControlFactory.h"
#include "editor/ControlLayout.h"
#include "editor/EditorBitmaps.h"
#include "editor/PresetBarTags.h"
#include "presets/ControllerNames.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace velmora::editor {

using namespace toolkit;
using layout::PresetBarKind;
using layout::PresetBarPlacement;

namespace {

constexpr int kLastProgram = kNumPrograms - 1;
constexpr CColor kTextColor{224, 228, 232, 255};
// The default buttons act on a double-click only, so a stray click never overwrites a default.
constexpr bool isDefaultButton(std::int32_t tag) {
    return tag == tags::kDefaultBank || tag == tags::kDefaultPreset || tag == tags::kDefaultMidi;
}
// A default button pressed with Control sends less than this: remove the default.
constexpr float kStoreThreshold = 0.75f;

// The controller display's value holds an index of the controller-name table.
constexpr int kControllerNameCount = static_cast<int>(kControllerNames.size());
float controllerDisplayValue(int nameIndex) {
    return (static_cast<float>(nameIndex) + 0.5f) / kControllerNameCount;
}
int controllerNameIndex(float value) {
    return std::min(static_cast<int>(std::floor(value * kControllerNameCount)),
                    kControllerNameCount - 1);
}

// The name field is as tall as the small font plus two pixels above and below, centred on the
// row it was given.
CRect nameFieldRect(const CRect& row, const CFontDesc& font) {
    const int extent = font.height() + 4;
    const int middle = static_cast<int>(row.top + row.bottom) / 2;
    const CCoord top = middle - extent / 2;
    return {row.left, top, row.right, top + extent};
}

// Text controls show their part of the panel behind them.
void onPanelBackground(CParamDisplay& display, const CRect& rect) {
    display.setBackground(editorBitmaps().load(layout::kBackgroundBitmap));
    display.setBackOffset({rect.left, rect.top});
    display.setStyle(kNoFrame);
    display.setFont(PresetBar::smallFont());
    display.setFontColor(kTextColor);
}

} // namespace

PresetBar::PresetBar(PresetSystem& presets) : presets_(presets) {}

// ---- Opening and closing ----

void PresetBar::open(CFrame& frame, CControlListener* listener) {
    close();
    frame_ = &frame;
    // The controls read the preset system afresh; what was posted before is already there.
    notices_.discard();
    for (std::size_t i = 0; i < layout::kPresetBar.size(); ++i) {
        auto made = makeControl(layout::kPresetBar[i], listener);
        if (made) controls_[i] = frame.addView(std::move(made));
    }
    nameField_ = dynamic_cast<CTextEdit*>(control(tags::kProgramName));
    menu_ = dynamic_cast<COptionMenu*>(control(tags::kProgramMenu));
    controllerDisplay_ = dynamic_cast<CParamDisplay*>(control(tags::kControllerDisplay));
    showKeyboardFocusOption();
}

// The frame owns and destroys the controls.
void PresetBar::close() {
    if (services_) services_->editorClosed();
    controls_.fill(nullptr);
    nameField_ = nullptr;
    menu_ = nullptr;
    controllerDisplay_ = nullptr;
    frame_ = nullptr;
}

CControl* PresetBar::control(std::int32_t tag) const {
    for (std::size_t i = 0; i < layout::kPresetBar.size(); ++i)
        if (layout::kPresetBar[i].tag == tag) return controls_[i];
    return nullptr;
}

std::unique_ptr<CControl> PresetBar::makeControl(const PresetBarPlacement& placement,
                                                 CControlListener* listener) const {
    switch (placement.kind) {
    case PresetBarKind::nameField:
        return makeNameField(placement, listener);
    case PresetBarKind::programMenu:
        return makeProgramMenu(placement, listener);
    case PresetBarKind::controllerText:
        return makeControllerDisplay(placement);
    default:
        break;
    }
    CBitmap strip = editorBitmaps().load(placement.bitmap);
    if (!strip.isLoaded()) return nullptr;
    const CCoord frameHeight = frameHeightOf(strip, placement.frames);
    switch (placement.kind) {
    case PresetBarKind::rocker:
        return std::make_unique<CPSRockerSwitch>(placement.rect, listener, placement.tag,
                                                 frameHeight, std::move(strip));
    case PresetBarKind::saveLoadButton:
        return std::make_unique<CSaveLoadButton>(placement.rect, listener, placement.tag,
                                                 frameHeight, std::move(strip));
    case PresetBarKind::kickButton:
        return std::make_unique<CPSKickButton>(placement.rect, listener, placement.tag, frameHeight,
                                               std::move(strip), isDefaultButton(placement.tag));
    case PresetBarKind::onOffButton:
        return std::make_unique<CPSOnOffButton>(placement.rect, listener, placement.tag,
                                                std::move(strip));
    default:
        return nullptr;
    }
}

std::unique_ptr<CControl> PresetBar::makeNameField(const PresetBarPlacement& placement,
                                                   CControlListener* listener) const {
    const CRect rect = nameFieldRect(placement.rect, smallFont());
    auto field = std::make_unique<CTextEdit>(rect, listener, placement.tag);
    onPanelBackground(*field, rect);
    field->setInputFilter({}, kProgramNameBytes);
    field->setText(nameOf(presets_.getCurrentProgramIndex()));
    return field;
}

std::unique_ptr<CControl> PresetBar::makeProgramMenu(const PresetBarPlacement& placement,
                                                     CControlListener* listener) const {
    auto menu = std::make_unique<COptionMenu>(placement.rect, listener, placement.tag);
    onPanelBackground(*menu, placement.rect);
    // The button is the panel's arrow; the list shows the names.
    menu->setStyle(kNoFrame | kNoTextStyle);
    for (int program = 0; program < kNumPrograms; ++program)
        menu->addEntry(nameOf(program));
    menu->setCurrent(presets_.getCurrentProgramIndex());
    return menu;
}

std::unique_ptr<CControl>
PresetBar::makeControllerDisplay(const PresetBarPlacement& placement) const {
    auto display = std::make_unique<CParamDisplay>(placement.rect);
    onPanelBackground(*display, placement.rect);
    display->setMouseEnabled(false);
    display->setValueToStringFunction([](float value, std::string& text) {
        text = controllerName(controllerNameIndex(value));
        return true;
    });
    display->setValue(controllerDisplayValue(kNoParameterNameIndex));
    return display;
}

// The stored option sets the switch, without telling anyone, and the frame's wish for the
// keyboard, which it acts on as its window opens.
void PresetBar::showKeyboardFocusOption() {
    const bool on = services_ && services_->storedKeyboardFocus();
    setButton(tags::kKeyboardFocus, on);
    if (frame_) frame_->setWantsKeyboardFocus(on);
}

// ---- Idle ----

void PresetBar::idle() {
    if (!frame_) return;
    if (services_) {
        services_->idle();
        if (auto message = services_->takeMessage())
            frame_->setModalView(std::make_unique<MessageView>(
                frame_->getViewSize(), std::move(message->caption), std::move(message->text)));
    }
    applyNotices();
    showControllerUnderPointer();
}

void PresetBar::applyNotices() {
    const PresetBarNotices::Taken taken = notices_.take();
    const int current = presets_.getCurrentProgramIndex();
    for (int program = 0; program < kNumPrograms; ++program) {
        if (!taken.wasRenamed(program)) continue;
        if (menu_) menu_->setEntry(program, nameOf(program));
        if (program == current) showName(nameOf(program));
    }
    if (taken.shownProgram != PresetBarNotices::kNoProgram)
        showCurrent(taken.shownProgram, nameOf(taken.shownProgram));
    // The buttons show what the effect does now: a later start wins over a posted stop.
    if (taken.learnReleased) setButton(tags::kLearn, presets_.isLearning());
    if (taken.forgetReleased) setButton(tags::kForget, presets_.isForgetting());
}

void PresetBar::showControllerUnderPointer() {
    if (!controllerDisplay_) return;
    const CView* under = frame_->getViewAt(frame_->getCurrentMouseLocation());
    const auto* touched = dynamic_cast<const CControl*>(under);
    int nameIndex = kNoParameterNameIndex;
    if (touched && isParameterIndex(touched->getTag())) {
        const int controller = presets_.controllerOfParameter(touched->getTag());
        nameIndex = controller == kNoAssignment ? kNotAssignedNameIndex : controller;
    }
    const float value = controllerDisplayValue(nameIndex);
    if (controllerDisplay_->getValue() != value) controllerDisplay_->setValue(value);
}

// ---- What the controls do ----

void PresetBar::valueChanged(CControl& control) {
    if (!frame_) return;
    const float value = control.getValue();
    PresetBarServices* services = services_.get();
    switch (control.getTag()) {
    case tags::kProgramName:
        renameCurrentProgram();
        return;
    case tags::kProgramRocker:
        stepProgram(value);
        return;
    case tags::kProgramMenu:
        selectFromMenu();
        return;
    case tags::kLearn:
        changeLearning(value != 0);
        return;
    case tags::kForget:
        changeForgetting(value != 0);
        return;
    case tags::kKeyboardFocus:
        changeKeyboardFocus(value != 0);
        return;
    case tags::kManual:
        openUserManual(control);
        return;
    default:
        break;
    }
    if (!services) return;
    switch (control.getTag()) {
    case tags::kLoadBank:
        services->loadFile(FileKind::Bank, value == CSaveLoadButton::kReversedValue);
        return;
    case tags::kLoadPreset:
        services->loadFile(FileKind::Preset, value == CSaveLoadButton::kReversedValue);
        return;
    case tags::kLoadMidi:
        services->loadFile(FileKind::MidiSettings, value == CSaveLoadButton::kReversedValue);
        return;
    case tags::kSaveBank:
        services->saveFile(FileKind::Bank);
        return;
    case tags::kSavePreset:
        services->saveFile(FileKind::Preset);
        return;
    case tags::kSaveMidi:
        services->saveFile(FileKind::MidiSettings);
        return;
    case tags::kDefaultBank:
    case tags::kDefaultPreset: {
        const auto kind =
            control.getTag() == tags::kDefaultBank ? FileKind::Bank : FileKind::Preset;
        if (value < kStoreThreshold)
            services->clearDefault(kind);
        else
            services->storeDefault(kind);
        return;
    }
    case tags::kDefaultMidi:
        if (value != 0) services->storeDefault(FileKind::MidiSettings);
        return;
    case tags::kStoreA:
        services->storeMemo(Memo::a);
        return;
    case tags::kStoreB:
        services->storeMemo(Memo::b);
        return;
    case tags::kRecallA:
        services->recallMemo(Memo::a);
        return;
    case tags::kRecallB:
        services->recallMemo(Memo::b);
        return;
    default:
        return;
    }
}

void PresetBar::renameCurrentProgram() {
    if (!nameField_) return;
    const std::string name = nameField_->getText();
    const int current = presets_.getCurrentProgramIndex();
    presets_.setCurrentProgramName(name.c_str());
    if (menu_) menu_->setEntry(current, nameOf(current));
}

// The rocker steps through the programs and stops at either end.
void PresetBar::stepProgram(float direction) {
    if (direction == 0) return;
    const int current = presets_.getCurrentProgramIndex();
    const int next = std::clamp(current + (direction > 0 ? 1 : -1), 0, kLastProgram);
    if (next == current) return;
    const std::string name(nameOf(next));
    showCurrent(next, name);
    presets_.setCurrentProgram(next);
    presets_.setCurrentProgramName(name.c_str());
}

void PresetBar::selectFromMenu() {
    if (!menu_) return;
    const int program = std::clamp(menu_->getCurrent(), 0, kLastProgram);
    const std::string title = menu_->getEntry(program);
    showCurrent(program, title);
    presets_.setCurrentProgram(program);
    presets_.setCurrentProgramName(title.c_str());
}

// Learning and forgetting exclude each other: either button first stops the other mode.
void PresetBar::changeLearning(bool on) {
    presets_.stopForgetting();
    if (on)
        presets_.startLearning();
    else
        presets_.stopLearning();
}

void PresetBar::changeForgetting(bool on) {
    presets_.stopLearning();
    if (on)
        presets_.startForgetting();
    else
        presets_.stopForgetting();
}

void PresetBar::changeKeyboardFocus(bool on) {
    frame_->setWantsKeyboardFocus(on);
    if (services_) services_->storeKeyboardFocus(on);
}

// The manual opens in another window, which may take the release: the button lets go now.
void PresetBar::openUserManual(CControl& button) {
    if (services_) services_->openUserManual();
    button.setValue(0);
    button.invalid();
}

void PresetBar::showCurrent(int program, std::string_view name) {
    if (menu_) {
        menu_->setCurrent(program);
        menu_->invalid();
    }
    showName(name);
}

void PresetBar::showName(std::string_view name) {
    if (nameField_) nameField_->setText(name);
}

void PresetBar::setButton(std::int32_t tag, bool on) {
    if (CControl* button = control(tag)) {
        button->setValue(on ? 1.0f : 0.0f);
        button->invalid();
    }
}

} // namespace velmora::editor
