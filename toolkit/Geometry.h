// Points and rectangles in frame pixels. Coordinates are doubles so that controls can keep drag
// anchors and angles exact; everything that touches pixels rounds through PixelRect.
#pragma once

#include <algorithm>
#include <cmath>

namespace velmora::toolkit {

using CCoord = double;

struct CPoint {
    CCoord x = 0;
    CCoord y = 0;

    constexpr CPoint offset(CCoord dx, CCoord dy) const { return {x + dx, y + dy}; }
    constexpr bool operator==(const CPoint&) const = default;
};

// Half-open: a rectangle covers left <= x < right and top <= y < bottom.
struct CRect {
    CCoord left = 0;
    CCoord top = 0;
    CCoord right = 0;
    CCoord bottom = 0;

    static constexpr CRect fromSize(CCoord x, CCoord y, CCoord width, CCoord height) {
        return {x, y, x + width, y + height};
    }

    constexpr CCoord getWidth() const { return right - left; }
    constexpr CCoord getHeight() const { return bottom - top; }
    constexpr CPoint getTopLeft() const { return {left, top}; }
    constexpr CPoint getCenter() const { return {(left + right) / 2, (top + bottom) / 2}; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }

    constexpr bool pointInside(const CPoint& p) const {
        return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
    }
    constexpr bool rectOverlap(const CRect& other) const { return !intersect(other).isEmpty(); }

    // The common part; an empty rectangle (zero size at the clamp point) when there is none.
    constexpr CRect intersect(const CRect& other) const {
        CRect r{std::max(left, other.left), std::max(top, other.top), std::min(right, other.right),
                std::min(bottom, other.bottom)};
        if (r.isEmpty()) return {r.left, r.top, r.left, r.top};
        return r;
    }
    // The smallest rectangle holding both; an empty one adds nothing.
    constexpr CRect unite(const CRect& other) const {
        if (other.isEmpty()) return *this;
        if (isEmpty()) return other;
        return {std::min(left, other.left), std::min(top, other.top), std::max(right, other.right),
                std::max(bottom, other.bottom)};
    }
    constexpr CRect offset(CCoord dx, CCoord dy) const {
        return {left + dx, top + dy, right + dx, bottom + dy};
    }
    constexpr bool operator==(const CRect&) const = default;
};

// A rectangle of whole pixels, half-open like CRect.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    static PixelRect from(const CRect& r) {
        return {static_cast<int>(std::lround(r.left)), static_cast<int>(std::lround(r.top)),
                static_cast<int>(std::lround(r.right)), static_cast<int>(std::lround(r.bottom))};
    }
    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr bool isEmpty() const { return right <= left || bottom <= top; }
    constexpr CRect toRect() const {
        return {CCoord(left), CCoord(top), CCoord(right), CCoord(bottom)};
    }
    constexpr PixelRect intersect(const PixelRect& o) const {
        PixelRect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right),
                    std::min(bottom, o.bottom)};
        if (r.isEmpty()) return {};
        return r;
    }
    constexpr PixelRect unite(const PixelRect& o) const {
        if (o.isEmpty()) return *this;
        if (isEmpty()) return o;
        return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right),
                std::max(bottom, o.bottom)};
    }
    // Overlapping or sharing an edge: such rectangles merge without covering extra pixels
    // worth mentioning.
    constexpr bool touches(const PixelRect& o) const {
        return left <= o.right && o.left <= right && top <= o.bottom && o.top <= bottom;
    }
    constexpr long long area() const { return isEmpty() ? 0 : 1LL * width() * height(); }
    constexpr bool operator==(const PixelRect&) const = default;
};

} // namespace velmora::toolkit
