#include "tools/check_paths/path_layout.h"

#include <algorithm>

#include "ui/window/display_scale.h"

namespace corvel {

LayoutMetrics LayoutMetrics::ForDpi(int dpi) {
    const LayoutMetrics design;
    LayoutMetrics metrics;
    for (auto field :
         {&LayoutMetrics::margin, &LayoutMetrics::iconSize, &LayoutMetrics::nameGap, &LayoutMetrics::belowHeading,
          &LayoutMetrics::labelGap, &LayoutMetrics::parametersGap, &LayoutMetrics::belowBlock,
          &LayoutMetrics::separatorHeight, &LayoutMetrics::separatorAdvance, &LayoutMetrics::scrollLine})
        metrics.*field = ScaleToDpi(design.*field, dpi);
    return metrics;
}

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

EntryPlacement PlaceEntry(const EntryMeasures& measures, int top, const LayoutMetrics& metrics) {
    EntryPlacement placement;
    placement.top = top;
    placement.separatorTop = top;
    if (!measures.shown) return placement;

    const int x0 = metrics.margin;
    const int icon = metrics.iconSize;
    int y = top;
    placement.icon = {x0, y};
    placement.name = {x0 + icon + metrics.nameGap, y + (icon - measures.letterHeight) / 2};
    placement.hotSpot = {placement.name.x, placement.name.y, placement.name.x + measures.name.width,
                         placement.name.y + measures.name.height};
    int widest = icon + metrics.nameGap + measures.name.width;
    y += std::max(icon, measures.name.height) + metrics.belowHeading;

    for (std::size_t i = 0; i < kCheckedFieldCount; ++i) {
        const BlockMeasures& sizes = measures.blocks[i];
        BlockPlacement& block = placement.blocks[i];
        if (!sizes.shown) continue;
        block.shown = true;
        const int upperHeight = std::max(sizes.label.height, sizes.text.height);
        const int textX = x0 + sizes.label.width + metrics.labelGap;
        block.label = {x0, y};
        block.text = {textX, y};
        block.resolved = {textX, y + upperHeight};
        block.parameters = {textX + sizes.resolved.width + metrics.parametersGap, y + upperHeight};
        int lowerRight = block.resolved.x + sizes.resolved.width;
        if (sizes.parameters.width > 0) lowerRight = block.parameters.x + sizes.parameters.width;
        widest = std::max({widest, textX + sizes.text.width - x0, lowerRight - x0});
        y += upperHeight + std::max(sizes.resolved.height, sizes.parameters.height) + metrics.belowBlock;
    }

    placement.separatorTop = y;
    y += metrics.separatorAdvance;
    placement.height = y - top;
    placement.width = widest + metrics.margin;
    return placement;
}

LayoutSize ContentSizeOf(const std::vector<EntryPlacement>& entries, const LayoutMetrics& metrics) {
    int widestRight = 0;
    int bottom = metrics.FirstEntryTop();
    for (const EntryPlacement& entry : entries) {
        // An entry's width is its widest line plus the margin, which is
        // also where that line ends, counted from the content's left edge.
        widestRight = std::max(widestRight, entry.width);
        bottom = std::max(bottom, entry.Bottom());
    }
    return {widestRight + metrics.margin, bottom + metrics.margin};
}

}  // namespace corvel
