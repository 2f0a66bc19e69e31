#include "path_layout.h"

#include <algorithm>

namespace corvel {

namespace {

constexpr int kNameGap = 10;           // icon to name
constexpr int kBelowHeading = 20;      // icon and name to the first block
constexpr int kLabelGap = 10;          // label to field text
constexpr int kParametersGap = 20;     // resolved path to its parameters
constexpr int kBelowBlock = 10;        // one block to the next
constexpr int kSeparatorAdvance = 25;  // the separator and the space after it

}  // namespace

void EntryPlacement::MoveBy(int dy) {
    top += dy;
    icon.y += dy;
    name.y += dy;
    hotSpot.top += dy;
    hotSpot.bottom += dy;
    for (BlockPlacement& block : blocks) {
        block.label.y += dy;
        block.text.y += dy;
        block.resolved.y += dy;
        block.parameters.y += dy;
    }
    separatorTop += dy;
}

EntryPlacement PlaceEntry(const EntryMeasures& measures, int top) {
    EntryPlacement placement;
    placement.top = top;
    placement.separatorTop = top;
    if (!measures.shown) return placement;

    const int x0 = kContentMargin;
    int y = top;
    placement.icon = {x0, y};
    placement.name = {x0 + kIconSize + kNameGap, y + (kIconSize - measures.letterHeight) / 2};
    placement.hotSpot = {placement.name.x, placement.name.y, placement.name.x + measures.name.width,
                         placement.name.y + measures.name.height};
    int widest = kIconSize + kNameGap + measures.name.width;
    y += std::max(kIconSize, measures.name.height) + kBelowHeading;

    for (std::size_t i = 0; i < kCheckedFieldCount; ++i) {
        const BlockMeasures& sizes = measures.blocks[i];
        BlockPlacement& block = placement.blocks[i];
        if (!sizes.shown) continue;
        block.shown = true;
        const int upperHeight = std::max(sizes.label.height, sizes.text.height);
        const int textX = x0 + sizes.label.width + kLabelGap;
        block.label = {x0, y};
        block.text = {textX, y};
        block.resolved = {textX, y + upperHeight};
        block.parameters = {textX + sizes.resolved.width + kParametersGap, y + upperHeight};
        int lowerRight = block.resolved.x + sizes.resolved.width;
        if (sizes.parameters.width > 0) lowerRight = block.parameters.x + sizes.parameters.width;
        widest = std::max({widest, textX + sizes.text.width - x0, lowerRight - x0});
        y += upperHeight + std::max(sizes.resolved.height, sizes.parameters.height) + kBelowBlock;
    }

    placement.separatorTop = y;
    y += kSeparatorAdvance;
    placement.height = y - top;
    placement.width = widest + kContentMargin;
    return placement;
}

LayoutSize ContentSizeOf(const std::vector<EntryPlacement>& entries) {
    int widestRight = 0;
    int bottom = kFirstEntryTop;
    for (const EntryPlacement& entry : entries) {
        // An entry's width is its widest line plus the margin, which is
        // also where that line ends, counted from the content's left edge.
        widestRight = std::max(widestRight, entry.width);
        bottom = std::max(bottom, entry.Bottom());
    }
    return {widestRight + kContentMargin, bottom + kContentMargin};
}

}  // namespace corvel
