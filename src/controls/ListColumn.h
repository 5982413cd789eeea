#pragma once

#include "controls/ControlTypes.h"

#include <string>

// A column header of a ListControl. Widths are in pixels.
struct ListColumn {
    std::string text;
    int width = 100;
    ColumnAlignment alignment = ColumnAlignment::Left;
    // Key of the header's image in the ImageList ("Up", "Down", "Null"); empty for none.
    std::string headerImage;
    // A hidden column keeps its width but is not shown.
    bool hidden = false;
};
