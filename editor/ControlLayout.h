// Every control of the editor panel as data, in creation (and drawing) order: tag, the
// parameter or left/right pair it shows, class, rectangle, drawing area, bitmap strip and
// default. The editor builds its controls from this table and the snapshot tool draws from it,
// so a position is stated once.
#pragma once

#include "toolkit/Geometry.h"

#include <array>
#include <cstdint>
#include <optional>

namespace velmora::editor::layout {

using toolkit::CRect;

inline constexpr int kPanelWidth = 942;
inline constexpr int kPanelHeight = 171;
inline constexpr int kBackgroundBitmap = 128;
inline constexpr int kAboutBitmap = 129;
// The about picture covers the panel; the version text starts at the anchor, relative to it.
inline constexpr CRect kAboutDisplayRect = CRect::fromSize(0, 0, kPanelWidth, kPanelHeight);
inline constexpr toolkit::CPoint kVersionAnchor{740, 70};

inline constexpr int kKnobFrames = 101;
inline constexpr float kKnobWheelIncrement = 1.0f / 32;
// Each knob frame is painted from this far into the frame, hiding the strip's rim.
inline constexpr int kKnobSourceOffset = 2;

enum class ControlKind {
    knob,             // QelAnimKnob
    onOffButton,      // QelOnOffButton, also the two page selectors
    horizontalSwitch, // QelSwitch
    verticalSwitch,   // QelSwitchVert
    kickButton,       // QelKickButton
    display,          // a bitmap strip showing its value: readout elements, meters
    invisibleSlider,  // CInvisibleSlider
    aboutArea,        // opens the about picture
};

// How a control's value relates to its parameter's.
enum class ValueLaw {
    same,       // the control holds the parameter value
    squareRoot, // the control holds its square root, for a finer hold on short times
};

inline constexpr int kNoParameter = -1;

// The parameter a control shows; page-bound controls name the left and the right one.
struct Binding {
    int left = kNoParameter;
    int right = kNoParameter;

    constexpr bool isPair() const { return right != kNoParameter; }
    constexpr bool isBound() const { return left != kNoParameter; }
    constexpr int shown(bool rightPage) const { return rightPage && isPair() ? right : left; }
    constexpr bool operator==(const Binding&) const = default;
};

struct ControlPlacement {
    std::int32_t tag;
    ControlKind kind;
    Binding parameter;
    CRect rect;
    CRect drawArea; // where the frame is painted: inside the rectangle, from its top-left
                    // corner except for knobs
    int bitmap;     // resource id, or kNoBitmap
    int frames;     // frames in the strip; switches have as many positions
    std::optional<float> defaultValue;
    ValueLaw law = ValueLaw::same;
    // The input area this display lies under on purpose (the tempo is dragged over the
    // readout), or -1.
    std::int32_t under = -1;
};

inline constexpr int kNoBitmap = -1;

namespace detail {

inline constexpr int kKickSize = 19;
inline constexpr int kOnOffWidth = 24;
inline constexpr int kOnOffHeight = 20;
inline constexpr std::int32_t kTempoSliderTag = 61;
inline constexpr std::int32_t kAboutTag = 82;

constexpr ControlPlacement knob(std::int32_t tag, Binding parameter, CRect rect, CRect area,
                                int bitmap, float defaultValue) {
    return {tag, ControlKind::knob, parameter, rect, area, bitmap, kKnobFrames, defaultValue};
}
constexpr ControlPlacement onOff(std::int32_t tag, Binding parameter, double left, double top,
                                 int bitmap) {
    const CRect rect = CRect::fromSize(left, top, kOnOffWidth, kOnOffHeight);
    return {tag, ControlKind::onOffButton, parameter, rect, rect, bitmap, 2, std::nullopt};
}
// A switch may take clicks beyond its strip's width (on its last position's label); the strip
// is painted from the rectangle's left edge and its zones stay those of the strip.
constexpr ControlPlacement hSwitch(std::int32_t tag, Binding parameter, CRect rect, int positions,
                                   int bitmap, float defaultValue, double paintedWidth = 0) {
    const CRect painted = paintedWidth > 0
                              ? CRect::fromSize(rect.left, rect.top, paintedWidth, rect.getHeight())
                              : rect;
    return {tag,         ControlKind::horizontalSwitch, parameter, rect, painted, bitmap, positions,
            defaultValue};
}
constexpr ControlPlacement display(std::int32_t tag, double left, double top, double width,
                                   double height, int bitmap, int frames, std::int32_t under = -1) {
    const CRect rect = CRect::fromSize(left, top, width, height);
    return {tag,          ControlKind::display, {},   rect, rect, bitmap, frames,
            std::nullopt, ValueLaw::same,       under};
}
constexpr ControlPlacement readout(std::int32_t tag, double left, double top, double width,
                                   double height, int bitmap, int frames) {
    return display(tag, left, top, width, height, bitmap, frames, kTempoSliderTag);
}
constexpr ControlPlacement kick(std::int32_t tag, double left, double top, int bitmap) {
    const CRect rect = CRect::fromSize(left, top, kKickSize, kKickSize);
    return {tag, ControlKind::kickButton, {}, rect, rect, bitmap, 2, std::nullopt};
}
constexpr ControlPlacement selector(std::int32_t tag, CRect rect, int bitmap) {
    return {tag, ControlKind::onOffButton, {}, rect, rect, bitmap, 2, std::nullopt};
}
constexpr ControlPlacement slider(std::int32_t tag, Binding parameter, CRect rect) {
    return {tag,          ControlKind::invisibleSlider, parameter, rect, rect, kNoBitmap, 0,
            std::nullopt, ValueLaw::squareRoot};
}
constexpr ControlPlacement about(CRect rect) {
    return {kAboutTag, ControlKind::aboutArea, {}, rect, rect, kNoBitmap, 0, std::nullopt};
}

} // namespace detail

// clang-format off
inline constexpr std::array kControls{
    // Knobs: page-bound pairs first, then the single ones.
    detail::knob(83, {5, 6},   {161, 30, 196, 65},  {162, 31, 195, 64},  130, 0.5f),
    detail::knob(84, {3, 4},   {208, 30, 243, 65},  {209, 31, 242, 64},  130, 0.0f),
    detail::knob(85, {48, 49}, {161, 93, 196, 128}, {162, 94, 195, 127}, 130, 0.5f),
    detail::knob(86, {50, 51}, {208, 93, 243, 128}, {209, 94, 242, 127}, 130, 0.0f),
    detail::knob(0,  {0},      {383, 29, 418, 64},  {384, 30, 417, 63},  134, 0.5f),
    detail::knob(2,  {2},      {430, 29, 465, 64},  {431, 30, 464, 63},  134, 0.5f),
    detail::knob(1,  {1},      {476, 29, 511, 64},  {477, 30, 510, 63},  133, 0.5f),
    detail::knob(52, {52},     {523, 29, 558, 64},  {524, 30, 557, 63},  133, 0.5f),
    detail::knob(11, {11},     {383, 94, 418, 129}, {384, 95, 417, 128}, 135, 0.5f),
    detail::knob(12, {12},     {430, 94, 465, 129}, {431, 95, 464, 128}, 135, 0.5f),
    detail::knob(47, {47},     {476, 94, 511, 129}, {477, 95, 510, 128}, 136, 0.5f),
    detail::knob(22, {22},     {523, 94, 558, 129}, {524, 95, 557, 128}, 136, 0.5f),
    detail::knob(17, {17},     {578, 29, 613, 64},  {579, 30, 611, 62},  138, 0.5f),
    detail::knob(18, {18},     {578, 94, 613, 129}, {579, 95, 611, 127}, 139, 0.5f),
    detail::knob(15, {15},     {678, 29, 713, 64},  {679, 30, 711, 62},  131, 1.0f),
    detail::knob(16, {16},     {726, 29, 761, 64},  {727, 30, 759, 62},  131, 0.0f),
    detail::knob(21, {21},     {773, 29, 808, 64},  {774, 30, 806, 62},  131, 0.0f),
    detail::knob(13, {13},     {678, 94, 713, 129}, {679, 95, 711, 127}, 132, 0.5f),
    detail::knob(53, {53},     {726, 94, 761, 129}, {727, 95, 759, 127}, 132, 0.5f),
    detail::knob(39, {39},     {830, 29, 865, 64},  {831, 30, 863, 62},  137, 0.5f),
    detail::knob(40, {40},     {877, 29, 912, 64},  {878, 30, 910, 62},  137, 0.5f),
    // On/off buttons: bypass, channel link, then the page-bound inverts and mute, the stage
    // switches.
    detail::onOff(41, {41},     340, 53,  151),
    detail::onOff(62, {},       61,  70,  150),
    detail::onOff(93, {7, 8},   256, 39,  150),
    detail::onOff(96, {58, 59}, 256, 69,  151),
    detail::onOff(94, {19, 20}, 256, 102, 150),
    detail::onOff(45, {45},     637, 102, 150),
    detail::onOff(42, {42},     784, 102, 150),
    detail::onOff(46, {46},     887, 102, 150),
    // Horizontal switches.
    detail::hSwitch(88, {24, 25}, {109, 90, 128, 99},   2, 142, 0.0f),
    detail::hSwitch(89, {30, 31}, {104, 57, 130, 66},   3, 143, 1.0f),
    detail::hSwitch(32, {32},     {310, 91, 336, 100},  3, 143, 0.0f),
    detail::hSwitch(23, {23},     {634, 27, 660, 36},   3, 143, 0.0f),
    detail::hSwitch(14, {14},     {634, 57, 660, 66},   3, 143, 0.0f),
    detail::hSwitch(37, {37},     {841, 91, 867, 100},  2, 142, 0.0f, 19),
    detail::hSwitch(38, {38},     {841, 122, 867, 131}, 2, 142, 0.0f, 19),
    // The LED readout: four digits, then the points and the colons after digits 1 to 3.
    detail::readout(64, 297, 26, 13, 16, 145, 13),
    detail::readout(65, 313, 26, 13, 16, 144, 11),
    detail::readout(66, 329, 26, 13, 16, 144, 11),
    detail::readout(67, 346, 26, 13, 16, 144, 11),
    detail::readout(68, 310, 40, 3, 2, 147, 2),
    detail::readout(69, 326, 40, 3, 2, 147, 2),
    detail::readout(70, 342, 40, 3, 2, 147, 2),
    detail::readout(71, 310, 30, 3, 8, 146, 2),
    detail::readout(72, 326, 30, 3, 8, 146, 2),
    detail::readout(73, 343, 30, 3, 8, 146, 2),
    // Steppers: pre-delay numerator and denominator, delay, LFO.
    detail::kick(74, 90,  24,  140),
    detail::kick(75, 126, 24,  140),
    detail::kick(76, 90,  113, 141),
    detail::kick(77, 126, 113, 140),
    detail::kick(78, 296, 113, 141),
    detail::kick(79, 332, 113, 140),
    // Page selectors: left, right.
    detail::selector(91, {63, 15, 75, 61},  148),
    detail::selector(92, {63, 93, 75, 139}, 149),
    // LFO waveform.
    ControlPlacement{9, ControlKind::verticalSwitch, {9}, {359, 83, 375, 139}, {359, 83, 375, 139},
                152, 5, std::nullopt},
    // Invisible sliders: delay time, LFO rate, tempo (over the readout).
    detail::slider(90, {35, 36},     {112, 115, 125, 132}),
    detail::slider(10, {10},         {317, 115, 330, 132}),
    detail::slider(61, {},           {293, 22, 365, 48}),
    // Level meters, left and right.
    detail::display(80, 43, 23, 7, 45, 153, 21),
    detail::display(81, 43, 87, 7, 45, 153, 21),
    // About areas on the left and right edges.
    detail::about({2, 2, 21, 153}),
    detail::about({921, 2, 940, 153}),
};
// clang-format on

// The first control with this tag (both about areas carry 82), or null.
constexpr const ControlPlacement* findControl(std::int32_t tag) {
    for (const ControlPlacement& placement : kControls)
        if (placement.tag == tag) return &placement;
    return nullptr;
}

} // namespace velmora::editor::layout
