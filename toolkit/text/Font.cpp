#include "toolkit/text/Font.h"

#include <cmath>
#include <cstdlib>

namespace velmora::toolkit {
namespace {

const atlas::GlyphInfo* glyphFor(const atlas::FaceData& face, unsigned char code) {
    if (code < atlas::kFirstCode) return nullptr;
    return &face.glyphs[code - atlas::kFirstCode];
}

} // namespace

const atlas::FaceData& CFontDesc::face() const {
    const auto all = atlas::faces();
    const atlas::FaceData* best = &all.front();
    for (const auto& f : all)
        if (std::abs(f.size - size_) < std::abs(best->size - size_)) best = &f;
    return *best;
}

int stringWidth(const CFontDesc& font, std::string_view latin1) {
    const auto& face = font.face();
    int width = 0;
    for (const char c : latin1)
        if (const auto* g = glyphFor(face, static_cast<unsigned char>(c))) width += g->advance;
    return width;
}

CPoint textOrigin(const CFontDesc& font, std::string_view latin1, const CRect& box,
                  CHoriTxtAlign align) {
    const auto& face = font.face();
    const int boxLeft = static_cast<int>(std::lround(box.left));
    const int boxWidth = static_cast<int>(std::lround(box.getWidth()));
    const int boxHeight = static_cast<int>(std::lround(box.getHeight()));
    const int width = stringWidth(font, latin1);
    int x = boxLeft;
    if (align == kCenterText)
        x = boxLeft + (boxWidth - width) / 2;
    else if (align == kRightText)
        x = boxLeft + boxWidth - width;
    const int baseline = static_cast<int>(std::lround(box.top)) +
                         (boxHeight - (face.ascent + face.descent)) / 2 + face.ascent;
    return {double(x), double(baseline)};
}

void drawString(CDrawContext& context, const CFontDesc& font, std::string_view latin1,
                const CRect& box, const CColor& color, CHoriTxtAlign align) {
    const auto& face = font.face();
    const CRect oldClip = context.getClipRect();
    context.setClipRect(oldClip.intersect(box));
    const CPoint origin = textOrigin(font, latin1, box, align);
    int penX = static_cast<int>(origin.x);
    const int baseline = static_cast<int>(origin.y);
    for (const char c : latin1) {
        const auto* g = glyphFor(face, static_cast<unsigned char>(c));
        if (!g) continue;
        if (g->width > 0 && g->height > 0)
            context.drawCoverage(
                penX + g->left, baseline - g->top, g->width, g->height,
                face.coverage.subspan(g->offset, std::size_t(g->width) * g->height), color);
        penX += g->advance;
    }
    context.setClipRect(oldClip);
}

} // namespace velmora::toolkit
