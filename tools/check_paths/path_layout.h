// Where the check paths pane puts each part of an install item, worked out
// from the measured sizes of its texts. Coordinates are pixels from the
// content's top-left corner. Portable.
#pragma once

#include <array>
#include <cstddef>
#include <vector>

#include "tools/check_paths/path_status.h"

namespace corvel {

struct LayoutSize {
    int width = 0;
    int height = 0;
};

struct LayoutPoint {
    int x = 0;
    int y = 0;
};

struct LayoutRect {
    int left = 0, top = 0, right = 0, bottom = 0;

    bool Contains(LayoutPoint point) const {
        return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
    }
};

// Every distance of the layout in pixels for one display DPI; the values
// at 96 DPI are the design's.
struct LayoutMetrics {
    int margin = 10;         // x0, the first y, and beyond the widest line
    int iconSize = 32;       // the room the icon takes
    int nameGap = 10;        // icon to name
    int belowHeading = 20;   // icon and name to the first block
    int labelGap = 10;       // label to field text
    int parametersGap = 20;  // resolved path to its parameters
    int belowBlock = 10;     // one block to the next
    int separatorHeight = 5;
    int separatorAdvance = 25;  // the separator and the space after it
    int scrollLine = 15;        // one arrow step

    static LayoutMetrics ForDpi(int dpi);
    // Where the first entry starts.
    int FirstEntryTop() const { return margin; }
};

// Measured sizes of one path block's texts; shown is the filter's verdict.
struct BlockMeasures {
    bool shown = false;
    LayoutSize label, text, resolved, parameters;  // parameters: zero when there are none
};

struct EntryMeasures {
    bool shown = false;    // some path passes the filter
    LayoutSize name;       // in the name's own, taller font
    int letterHeight = 0;  // of "A" in the normal font, for centring the name
    std::array<BlockMeasures, kCheckedFieldCount> blocks;
};

struct BlockPlacement {
    bool shown = false;
    LayoutPoint label, text, resolved, parameters;
};

struct EntryPlacement {
    int top = 0;
    int height = 0;  // 0 for an item not shown
    int width = 0;   // widest line plus the margin
    LayoutPoint icon, name;
    LayoutRect hotSpot;  // the name's area; empty when not shown
    std::array<BlockPlacement, kCheckedFieldCount> blocks;
    int separatorTop = 0;

    bool Shown() const { return height > 0; }
    int Bottom() const { return top + height; }
    // Shifts the whole entry down by dy (up when negative).
    void MoveBy(int dy);
};

// Places one entry whose share of the content starts at y = top.
EntryPlacement PlaceEntry(const EntryMeasures& measures, int top, const LayoutMetrics& metrics);

// The content size of entries laid out one below the other from the first y.
LayoutSize ContentSizeOf(const std::vector<EntryPlacement>& entries, const LayoutMetrics& metrics);

}  // namespace corvel
