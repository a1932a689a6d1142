// Text drawn from the glyph atlas: one sans-serif family at a few pixel sizes. A request for a
// size between them uses the nearest one.
#pragma once

#include "toolkit/CDrawContext.h"
#include "toolkit/text/GlyphAtlasData.h"

#include <string>
#include <string_view>

namespace velmora::toolkit {

enum CHoriTxtAlign { kLeftText, kCenterText, kRightText };

class CFontDesc {
  public:
    CFontDesc(std::string name, int size) : name_(std::move(name)), size_(size) {}
    const std::string& getName() const { return name_; }
    int getSize() const { return size_; }
    // The face that draws it and its metrics.
    const atlas::FaceData& face() const;
    int height() const { return face().ascent + face().descent; }

  private:
    std::string name_; // kept for the caller's record; every name maps to the one family
    int size_;
};

// Width in pixels of Latin-1 text.
int stringWidth(const CFontDesc& font, std::string_view latin1);

// Draws one line of Latin-1 text into `box`, centred vertically, aligned horizontally as asked,
// and clipped to the box.
void drawString(CDrawContext& context, const CFontDesc& font, std::string_view latin1,
                const CRect& box, const CColor& color, CHoriTxtAlign align = kCenterText);

// Where the pen starts for `latin1` in `box`: the x of the first glyph's origin, and the
// baseline.
CPoint textOrigin(const CFontDesc& font, std::string_view latin1, const CRect& box,
                  CHoriTxtAlign align);

} // namespace velmora::toolkit
