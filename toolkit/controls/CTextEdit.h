// One line of Latin-1 text edited in place. A click starts editing (caret at the click); keys
// insert characters the owner accepts up to its byte limit (others are dropped), Backspace and
// Delete remove, arrows, Home and End move the caret. Enter or a click elsewhere commits and
// tells the listener; Escape restores the text from before the edit.
#pragma once

#include "toolkit/controls/CParamDisplay.h"

#include <functional>
#include <string>
#include <string_view>

namespace velmora::toolkit {

class CTextEdit : public CParamDisplay {
  public:
    // Whether a character may be typed; it is stored as one Latin-1 byte.
    using CharacterFilter = std::function<bool(char32_t)>;

    CTextEdit(const CRect& size, CControlListener* listener, std::int32_t tag,
              std::string_view text = {}, CBitmap background = {}, std::uint32_t style = 0);

    // Replaces the text without telling the listener (cut to the limit, unaccepted characters
    // dropped). Ends an edit in progress without committing it.
    void setText(std::string_view latin1);
    const std::string& getText() const { return text_; }
    std::string displayText() const override { return text_; }

    // Characters outside printable Latin-1 are refused whatever the filter says.
    void setInputFilter(CharacterFilter accepts, std::size_t maxBytes);
    std::size_t getMaxBytes() const { return maxBytes_; }

    bool isEditing() const { return editing_; }
    std::size_t getCaret() const { return caret_; }

    void draw(CDrawContext& context) override;
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
    bool onKeyDown(const KeyEvent& key) override;
    void takeFocus() override;
    void loseFocus() override;

  private:
    bool accepts(char32_t c) const;
    std::size_t caretAt(CCoord x) const;
    void commit();
    void cancel();
    void endEditing();

    std::string text_;
    std::string original_;
    CharacterFilter filter_;
    std::size_t maxBytes_ = 255;
    std::size_t caret_ = 0;
    bool editing_ = false;
    CCoord pendingClickX_ = -1;
};

} // namespace velmora::toolkit
