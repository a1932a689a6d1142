// Mouse buttons and modifier keys of one mouse or wheel event, as one set of flags.
#pragma once

#include <cstdint>

namespace velmora::toolkit {

enum ButtonFlag : std::uint32_t {
    kLButton = 1u << 0,
    kMButton = 1u << 1,
    kRButton = 1u << 2,
    kShift = 1u << 3,
    kControl = 1u << 4,
    kAlt = 1u << 5,
    kDoubleClick = 1u << 6,
};

class CButtonState {
  public:
    constexpr CButtonState(std::uint32_t flags = 0) : flags_(flags) {}

    constexpr std::uint32_t flags() const { return flags_; }
    constexpr std::uint32_t getButtonState() const {
        return flags_ & (kLButton | kMButton | kRButton);
    }
    constexpr std::uint32_t getModifierState() const { return flags_ & (kShift | kControl | kAlt); }
    constexpr bool isLeftButton() const { return (flags_ & kLButton) != 0; }
    constexpr bool isRightButton() const { return (flags_ & kRButton) != 0; }
    constexpr bool isDoubleClick() const { return (flags_ & kDoubleClick) != 0; }
    constexpr bool has(std::uint32_t flag) const { return (flags_ & flag) == flag; }
    // Buttons and modifiers exactly these, whatever the click count.
    constexpr bool isExactly(std::uint32_t flags) const {
        return (flags_ & ~kDoubleClick) == flags;
    }

    constexpr bool operator==(const CButtonState&) const = default;

  private:
    std::uint32_t flags_;
};

enum CMouseEventResult {
    kMouseEventNotImplemented = 0,
    kMouseEventHandled,
    kMouseEventNotHandled,
    kMouseDownEventHandledButDontNeedMovedOrUpEvents,
};

} // namespace velmora::toolkit
