// A read-only text display of its value. The owner supplies the value-to-text conversion; the
// background is either a bitmap (drawn from the point given by the back offset, so a field can
// show its part of the panel behind it) or a colour, with an optional frame.
#pragma once

#include "toolkit/CControl.h"
#include "toolkit/Color.h"
#include "toolkit/text/Font.h"

#include <functional>
#include <string>

namespace velmora::toolkit {

enum CParamDisplayStyle : std::uint32_t {
    kNoFrame = 1u << 0,
    kNoTextStyle = 1u << 1, // no text at all
};

class CParamDisplay : public CControl {
  public:
    // Writes the text for a value; false keeps the default formatting.
    using ValueToString = std::function<bool(float value, std::string& text)>;

    CParamDisplay(const CRect& size, CBitmap background = {}, std::uint32_t style = 0);

    void draw(CDrawContext& context) override;

    void setValueToStringFunction(ValueToString convert) { valueToString_ = std::move(convert); }
    // The text the display shows for its current value.
    virtual std::string displayText() const;

    void setFont(CFontDesc font) { font_ = std::move(font); }
    const CFontDesc& getFont() const { return font_; }
    void setFontColor(CColor color) { fontColor_ = color; }
    CColor getFontColor() const { return fontColor_; }
    void setBackColor(CColor color) { backColor_ = color; }
    void setFrameColor(CColor color) { frameColor_ = color; }
    void setHoriAlign(CHoriTxtAlign align) { align_ = align; }
    CHoriTxtAlign getHoriAlign() const { return align_; }
    void setBackOffset(CPoint offset) { backOffset_ = offset; }
    void setStyle(std::uint32_t style) { style_ = style; }
    std::uint32_t getStyle() const { return style_; }
    // Inner margin between the frame and the text.
    static constexpr CCoord kTextInset = 2;

  protected:
    void drawBack(CDrawContext& context) const;
    CRect textBox() const;

  private:
    ValueToString valueToString_;
    CFontDesc font_{"sans", 10};
    CColor fontColor_ = kWhiteCColor;
    CColor backColor_ = kBlackCColor;
    CColor frameColor_ = kWhiteCColor;
    CHoriTxtAlign align_ = kCenterText;
    CPoint backOffset_;
    std::uint32_t style_;
};

} // namespace velmora::toolkit
