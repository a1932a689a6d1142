#include "toolkit/controls/CParamDisplay.h"

#include <cstdio>

namespace velmora::toolkit {

CParamDisplay::CParamDisplay(const CRect& size, CBitmap background, std::uint32_t style)
    : CControl(size, nullptr, -1, std::move(background)), style_(style) {}

std::string CParamDisplay::displayText() const {
    std::string text;
    if (valueToString_ && valueToString_(getValue(), text)) return text;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", double(getValue()));
    return buffer;
}

void CParamDisplay::drawBack(CDrawContext& context) const {
    if (const Pixmap* pixels = getBackground().pixmap())
        context.drawPixmap(*pixels, getViewSize(), backOffset_);
    else if (backColor_.alpha != 0)
        context.fillRect(getViewSize(), backColor_);
    if (!(style_ & kNoFrame)) context.frameRect(getViewSize(), frameColor_);
}

CRect CParamDisplay::textBox() const {
    const CRect r = getViewSize();
    return {r.left + kTextInset, r.top, r.right - kTextInset, r.bottom};
}

void CParamDisplay::draw(CDrawContext& context) {
    drawBack(context);
    if (!(style_ & kNoTextStyle))
        drawString(context, font_, displayText(), textBox(), fontColor_, align_);
}

} // namespace velmora::toolkit
