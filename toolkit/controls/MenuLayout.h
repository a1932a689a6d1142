// Where a pop-up menu goes and how its entries are arranged: one column when it fits the
// screen's height, otherwise as many columns of equal length as it takes. The menu opens below
// its control, above it when there is no room below, and is pushed inside the screen.
#pragma once

#include "toolkit/Geometry.h"

namespace velmora::toolkit {

struct MenuLayout {
    int columns = 1;
    int rows = 0; // entries per column; the last column may be shorter
    int itemWidth = 0;
    int itemHeight = 0;
    PixelRect area; // on the screen

    // The entry at a point relative to the menu's top-left corner, or -1.
    int entryAt(CPoint local, int entries) const;
    // An entry's rectangle relative to the menu's top-left corner.
    PixelRect entryRect(int index) const;
};

MenuLayout layoutMenu(int entries, int itemWidth, int itemHeight, const PixelRect& anchor,
                      const PixelRect& screen);

} // namespace velmora::toolkit
