#include "toolkit/controls/CTextEdit.h"

#include "toolkit/CFrame.h"

#include <cmath>

namespace velmora::toolkit {

CTextEdit::CTextEdit(const CRect& size, CControlListener* listener, std::int32_t tag,
                     std::string_view text, CBitmap background, std::uint32_t style)
    : CParamDisplay(size, std::move(background), style) {
    setListener(listener);
    setTag(tag);
    setHoriAlign(kLeftText);
    setText(text);
}

bool CTextEdit::accepts(char32_t c) const {
    const bool printable = (c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF);
    return printable && (!filter_ || filter_(c));
}

void CTextEdit::setInputFilter(CharacterFilter accepts, std::size_t maxBytes) {
    filter_ = std::move(accepts);
    maxBytes_ = maxBytes;
    setText(std::string(text_));
}

void CTextEdit::setText(std::string_view latin1) {
    editing_ = false;
    text_.clear();
    for (const char c : latin1)
        if (text_.size() < maxBytes_ && accepts(static_cast<unsigned char>(c))) text_.push_back(c);
    caret_ = text_.size();
    invalid();
}

std::size_t CTextEdit::caretAt(CCoord x) const {
    const CPoint origin = textOrigin(getFont(), text_, textBox(), getHoriAlign());
    // The boundary nearest the click: past a character's middle the caret goes after it.
    CCoord pen = origin.x;
    for (std::size_t i = 0; i < text_.size(); ++i) {
        const int advance = stringWidth(getFont(), std::string_view(text_).substr(i, 1));
        if (x < pen + advance / 2.0) return i;
        pen += advance;
    }
    return text_.size();
}

CMouseEventResult CTextEdit::onMouseDown(CPoint& where, const CButtonState& buttons) {
    if (!buttons.isLeftButton()) return kMouseEventNotHandled;
    if (!editing_) {
        pendingClickX_ = where.x;
        if (CFrame* frame = getFrame())
            frame->setFocusView(this);
        else
            takeFocus();
        pendingClickX_ = -1;
    }
    caret_ = caretAt(where.x);
    invalid();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

void CTextEdit::takeFocus() {
    if (editing_) return;
    editing_ = true;
    original_ = text_;
    caret_ = pendingClickX_ >= 0 ? caretAt(pendingClickX_) : text_.size();
    beginEdit();
    invalid();
}

void CTextEdit::loseFocus() {
    commit();
}

void CTextEdit::endEditing() {
    editing_ = false;
    invalid();
    // The frame's focus goes too; it calls loseFocus, which finds nothing left to do.
    if (CFrame* frame = getFrame(); frame && frame->getFocusView() == this)
        frame->setFocusView(nullptr);
}

void CTextEdit::commit() {
    if (!editing_) return;
    endEditing();
    valueChanged();
    endEdit();
}

void CTextEdit::cancel() {
    if (!editing_) return;
    text_ = original_;
    caret_ = text_.size();
    endEditing();
    endEdit();
}

bool CTextEdit::onKeyDown(const KeyEvent& key) {
    if (!editing_) return false;
    switch (key.virt) {
    case VirtualKey::enter:
        commit();
        return true;
    case VirtualKey::escape:
        cancel();
        return true;
    case VirtualKey::back:
        if (caret_ > 0) text_.erase(--caret_, 1);
        break;
    case VirtualKey::del:
        if (caret_ < text_.size()) text_.erase(caret_, 1);
        break;
    case VirtualKey::left:
        caret_ = caret_ > 0 ? caret_ - 1 : 0;
        break;
    case VirtualKey::right:
        caret_ = std::min(caret_ + 1, text_.size());
        break;
    case VirtualKey::home:
        caret_ = 0;
        break;
    case VirtualKey::end:
        caret_ = text_.size();
        break;
    case VirtualKey::none:
        if (accepts(key.character) && text_.size() < maxBytes_)
            text_.insert(caret_++, 1, static_cast<char>(key.character));
        break;
    default:
        return false;
    }
    invalid();
    return true;
}

void CTextEdit::draw(CDrawContext& context) {
    CParamDisplay::draw(context);
    if (!editing_) return;
    const CRect box = textBox();
    const CPoint origin = textOrigin(getFont(), text_, box, getHoriAlign());
    const CCoord x = origin.x + stringWidth(getFont(), std::string_view(text_).substr(0, caret_));
    const auto& face = getFont().face();
    const CCoord top = origin.y - face.ascent;
    context.fillRect({x, top, x + 1, top + face.ascent + face.descent}, getFontColor());
}

} // namespace velmora::toolkit
