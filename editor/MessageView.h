// A message over the panel, for when the desktop has no program to show one (no zenity or
// kdialog): a box in the middle of the editor with the caption and the text. It is the frame's
// modal view while shown, and any click closes it.
#pragma once

#include "toolkit/CView.h"

#include <string>

namespace velmora::editor {

class MessageView final : public toolkit::CView {
  public:
    MessageView(const toolkit::CRect& panel, std::string caption, std::string text);

    void draw(toolkit::CDrawContext& context) override;
    toolkit::CMouseEventResult onMouseDown(toolkit::CPoint& where,
                                           const toolkit::CButtonState& buttons) override;

    const std::string& text() const { return text_; }
    toolkit::CRect box() const;

  private:
    std::string caption_;
    std::string text_;
};

} // namespace velmora::editor
