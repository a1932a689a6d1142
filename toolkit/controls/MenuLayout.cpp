#include "toolkit/controls/MenuLayout.h"

#include <algorithm>
#include <cmath>

namespace velmora::toolkit {

MenuLayout layoutMenu(int entries, int itemWidth, int itemHeight, const PixelRect& anchor,
                      const PixelRect& screen) {
    MenuLayout layout;
    layout.itemWidth = std::max(itemWidth, 1);
    layout.itemHeight = std::max(itemHeight, 1);
    const int n = std::max(entries, 1);
    const int fit = std::max(screen.height() / layout.itemHeight, 1);
    layout.columns = (n + fit - 1) / fit;
    layout.rows = (n + layout.columns - 1) / layout.columns; // columns of equal length
    const int width = layout.columns * layout.itemWidth;
    const int height = layout.rows * layout.itemHeight;

    int top = anchor.bottom;
    if (top + height > screen.bottom && anchor.top - height >= screen.top)
        top = anchor.top - height;
    top = std::max(std::min(top, screen.bottom - height), screen.top);
    int left = std::max(std::min(anchor.left, screen.right - width), screen.left);
    layout.area = {left, top, left + width, top + height};
    return layout;
}

int MenuLayout::entryAt(CPoint local, int entries) const {
    if (local.x < 0 || local.y < 0) return -1;
    const int column = static_cast<int>(std::floor(local.x / itemWidth));
    const int row = static_cast<int>(std::floor(local.y / itemHeight));
    if (column >= columns || row >= rows) return -1;
    const int index = column * rows + row;
    return index < entries ? index : -1;
}

PixelRect MenuLayout::entryRect(int index) const {
    const int column = index / std::max(rows, 1);
    const int row = index % std::max(rows, 1);
    return {column * itemWidth, row * itemHeight, (column + 1) * itemWidth, (row + 1) * itemHeight};
}

} // namespace velmora::toolkit
