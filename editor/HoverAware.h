// Hover state for the preset bar's buttons: whether the pointer is over the control and where,
// so a button can draw its hover frame. The frame tells a view when the pointer enters and
// leaves it and passes it the moves in between.
#pragma once

#include "toolkit/ButtonState.h"
#include "toolkit/Geometry.h"

namespace velmora::editor {

template <typename Base> class HoverAware : public Base {
  public:
    using Base::Base;

    void onMouseEntered(toolkit::CPoint& where, const toolkit::CButtonState&) override {
        hovered_ = true;
        pointer_ = where;
        this->invalid();
    }
    void onMouseExited(toolkit::CPoint&, const toolkit::CButtonState&) override {
        hovered_ = false;
        this->invalid();
    }

    bool isHovered() const { return hovered_; }
    // Whether the pointer was last seen left of the control's horizontal middle.
    bool pointerOnLeftHalf() const { return pointer_.x < this->getViewSize().getCenter().x; }

  protected:
    // Records a move over the control; redraws when it crossed the middle.
    void followPointer(const toolkit::CPoint& where) {
        const bool wasLeft = pointerOnLeftHalf();
        pointer_ = where;
        if (pointerOnLeftHalf() != wasLeft) this->invalid();
    }

  private:
    bool hovered_ = false;
    toolkit::CPoint pointer_;
};

} // namespace velmora::editor
