#include "tools/check_paths/path_layout.h"

#include <gtest/gtest.h>

#include "tools/check_paths/pane_scrolling.h"

namespace corvel {
namespace {

const LayoutMetrics kAt96 = LayoutMetrics::ForDpi(96);

// Text sizes as a 12-pixel font would measure them; the name's font is 3
// pixels taller.
BlockMeasures Block(int textWidth, int resolvedWidth, int parametersWidth = 0) {
    BlockMeasures block;
    block.shown = true;
    block.label = {48, 12};
    block.text = {textWidth, 12};
    block.resolved = {resolvedWidth, 12};
    if (parametersWidth > 0) block.parameters = {parametersWidth, 12};
    return block;
}

EntryMeasures Entry(int nameWidth) {
    EntryMeasures entry;
    entry.shown = true;
    entry.name = {nameWidth, 15};
    entry.letterHeight = 12;
    return entry;
}

TEST(PlaceEntryTest, IconNameAndBlocksStandWhereTheRulesPutThem) {
    EntryMeasures measures = Entry(60);
    measures.blocks[0] = Block(100, 200, 150);  // installer with parameters
    measures.blocks[3] = Block(80, 90);         // settings file
    EntryPlacement entry = PlaceEntry(measures, 10, kAt96);

    EXPECT_EQ(entry.icon.x, 10);
    EXPECT_EQ(entry.icon.y, 10);
    // Beside the icon, centred on it by the height of "A".
    EXPECT_EQ(entry.name.x, 52);
    EXPECT_EQ(entry.name.y, 10 + (32 - 12) / 2);
    EXPECT_EQ(entry.hotSpot.left, 52);
    EXPECT_EQ(entry.hotSpot.top, 20);
    EXPECT_EQ(entry.hotSpot.right, 112);
    EXPECT_EQ(entry.hotSpot.bottom, 35);

    // The first block starts below the icon by 20; text 10 right of the label.
    const BlockPlacement& installer = entry.blocks[0];
    EXPECT_TRUE(installer.shown);
    EXPECT_EQ(installer.label.x, 10);
    EXPECT_EQ(installer.label.y, 62);
    EXPECT_EQ(installer.text.x, 68);
    EXPECT_EQ(installer.text.y, 62);
    EXPECT_EQ(installer.resolved.x, 68);
    EXPECT_EQ(installer.resolved.y, 74);
    EXPECT_EQ(installer.parameters.x, 68 + 200 + 20);
    EXPECT_EQ(installer.parameters.y, 74);

    EXPECT_FALSE(entry.blocks[1].shown);
    EXPECT_FALSE(entry.blocks[2].shown);
    // Two lines of 12 and 10 below each block.
    EXPECT_EQ(entry.blocks[3].label.y, 62 + 24 + 10);
    EXPECT_EQ(entry.blocks[3].resolved.y, 62 + 24 + 10 + 12);
    EXPECT_EQ(entry.separatorTop, 62 + 2 * 34);
    EXPECT_EQ(entry.height, 32 + 20 + 2 * 34 + 25);
    // The widest line is the installer's lower one: resolved path and parameters.
    EXPECT_EQ(entry.width, 48 + 10 + 200 + 20 + 150 + 10);
}

TEST(PlaceEntryTest, ATallNameOrALongNameDecides) {
    EntryMeasures measures = Entry(500);
    measures.name.height = 40;
    measures.blocks[1] = Block(30, 30);
    EntryPlacement entry = PlaceEntry(measures, 0, kAt96);
    EXPECT_EQ(entry.blocks[1].label.y, 40 + 20);
    EXPECT_EQ(entry.height, 40 + 20 + 34 + 25);
    EXPECT_EQ(entry.width, 32 + 10 + 500 + 10);
}

TEST(PlaceEntryTest, AnItemWithoutPassingPathsTakesNoRoom) {
    EntryMeasures measures = Entry(60);
    measures.shown = false;
    EntryPlacement entry = PlaceEntry(measures, 300, kAt96);
    EXPECT_FALSE(entry.Shown());
    EXPECT_EQ(entry.height, 0);
    EXPECT_EQ(entry.width, 0);
    EXPECT_FALSE(entry.hotSpot.Contains({entry.hotSpot.left, entry.hotSpot.top}));
}

TEST(PlaceEntryTest, MovingAnEntryMovesEveryPartButNotItsSize) {
    EntryMeasures measures = Entry(60);
    measures.blocks[2] = Block(50, 70, 30);
    EntryPlacement entry = PlaceEntry(measures, 10, kAt96);
    EntryPlacement moved = entry;
    moved.MoveBy(37);
    EntryPlacement placedThere = PlaceEntry(measures, 47, kAt96);
    EXPECT_EQ(moved.top, placedThere.top);
    EXPECT_EQ(moved.name.y, placedThere.name.y);
    EXPECT_EQ(moved.hotSpot.top, placedThere.hotSpot.top);
    EXPECT_EQ(moved.hotSpot.bottom, placedThere.hotSpot.bottom);
    EXPECT_EQ(moved.blocks[2].parameters.y, placedThere.blocks[2].parameters.y);
    EXPECT_EQ(moved.separatorTop, placedThere.separatorTop);
    EXPECT_EQ(moved.height, entry.height);
}

TEST(ContentSizeTest, WidestRightEdgeAndFinalYEachPlusTheMargin) {
    EXPECT_EQ(ContentSizeOf({}, kAt96).width, 10);
    EXPECT_EQ(ContentSizeOf({}, kAt96).height, 20);

    std::vector<EntryPlacement> entries;
    int top = kAt96.FirstEntryTop();
    for (int nameWidth : {100, 400, 200}) {
        EntryMeasures measures = Entry(nameWidth);
        measures.blocks[0] = Block(20, 20);
        measures.shown = nameWidth != 400;  // the widest is hidden by the filter
        entries.push_back(PlaceEntry(measures, top, kAt96));
        top = entries.back().Bottom();
    }
    LayoutSize content = ContentSizeOf(entries, kAt96);
    EXPECT_EQ(content.width, 10 + 32 + 10 + 200 + 10);
    EXPECT_EQ(content.height, 10 + 2 * (32 + 20 + 34 + 25) + 10);
}

// Twice the pixels per inch: every distance twice as long, rounded where
// the design's is odd.
TEST(LayoutMetricsTest, DistancesGrowWithTheDpi) {
    EXPECT_EQ(kAt96.margin, 10);
    EXPECT_EQ(kAt96.iconSize, 32);
    EXPECT_EQ(kAt96.separatorHeight, 5);
    EXPECT_EQ(kAt96.scrollLine, 15);

    const LayoutMetrics at192 = LayoutMetrics::ForDpi(192);
    EXPECT_EQ(at192.margin, 20);
    EXPECT_EQ(at192.iconSize, 64);
    EXPECT_EQ(at192.nameGap, 20);
    EXPECT_EQ(at192.belowHeading, 40);
    EXPECT_EQ(at192.labelGap, 20);
    EXPECT_EQ(at192.parametersGap, 40);
    EXPECT_EQ(at192.belowBlock, 20);
    EXPECT_EQ(at192.separatorHeight, 10);
    EXPECT_EQ(at192.separatorAdvance, 50);
    EXPECT_EQ(at192.scrollLine, 30);

    const LayoutMetrics at144 = LayoutMetrics::ForDpi(144);
    EXPECT_EQ(at144.iconSize, 48);
    EXPECT_EQ(at144.separatorHeight, 8);    // 7.5
    EXPECT_EQ(at144.separatorAdvance, 38);  // 37.5
    EXPECT_EQ(at144.FirstEntryTop(), 15);
}

// Texts measured twice as large at twice the DPI put every part of an entry
// twice as far: nothing keeps a distance of 96 DPI.
TEST(PlaceEntryTest, AtTwiceTheDpiEveryPartStandsTwiceAsFar) {
    auto doubled = [](LayoutSize size) { return LayoutSize{2 * size.width, 2 * size.height}; };
    EntryMeasures measures = Entry(60);
    measures.blocks[0] = Block(100, 200, 150);
    measures.blocks[2] = Block(80, 90);
    EntryMeasures large = measures;
    large.name = doubled(large.name);
    large.letterHeight *= 2;
    for (BlockMeasures& block : large.blocks) {
        block.label = doubled(block.label);
        block.text = doubled(block.text);
        block.resolved = doubled(block.resolved);
        block.parameters = doubled(block.parameters);
    }
    const LayoutMetrics at192 = LayoutMetrics::ForDpi(192);
    const EntryPlacement small = PlaceEntry(measures, kAt96.FirstEntryTop(), kAt96);
    const EntryPlacement big = PlaceEntry(large, at192.FirstEntryTop(), at192);

    EXPECT_EQ(big.top, 2 * small.top);
    EXPECT_EQ(big.height, 2 * small.height);
    EXPECT_EQ(big.width, 2 * small.width);
    EXPECT_EQ(big.icon.x, 2 * small.icon.x);
    EXPECT_EQ(big.name.x, 2 * small.name.x);
    EXPECT_EQ(big.name.y, 2 * small.name.y);
    EXPECT_EQ(big.hotSpot.right, 2 * small.hotSpot.right);
    EXPECT_EQ(big.hotSpot.bottom, 2 * small.hotSpot.bottom);
    for (std::size_t i : {0u, 2u}) {
        EXPECT_EQ(big.blocks[i].label.y, 2 * small.blocks[i].label.y) << i;
        EXPECT_EQ(big.blocks[i].text.x, 2 * small.blocks[i].text.x) << i;
        EXPECT_EQ(big.blocks[i].resolved.y, 2 * small.blocks[i].resolved.y) << i;
        EXPECT_EQ(big.blocks[i].parameters.x, 2 * small.blocks[i].parameters.x) << i;
    }
    EXPECT_EQ(big.separatorTop, 2 * small.separatorTop);
    const LayoutSize smallContent = ContentSizeOf({small}, kAt96);
    const LayoutSize bigContent = ContentSizeOf({big}, at192);
    EXPECT_EQ(bigContent.width, 2 * smallContent.width);
    EXPECT_EQ(bigContent.height, 2 * smallContent.height);
}

TEST(ScrolledPositionTest, StepsStayWithinTheContent) {
    // 1000 pixels of content in a 300-pixel page: positions 0 to 700.
    EXPECT_EQ(ScrolledPosition(ScrollStep::LineForward, 0, 300, 1000, 15), 15);
    EXPECT_EQ(ScrolledPosition(ScrollStep::LineBack, 10, 300, 1000, 15), 0);
    EXPECT_EQ(ScrolledPosition(ScrollStep::PageForward, 100, 300, 1000, 15), 400);
    EXPECT_EQ(ScrolledPosition(ScrollStep::PageForward, 600, 300, 1000, 15), 700);
    EXPECT_EQ(ScrolledPosition(ScrollStep::PageBack, 200, 300, 1000, 15), 0);
    EXPECT_EQ(ScrolledPosition(ScrollStep::ToEnd, 0, 300, 1000, 15), 700);
    EXPECT_EQ(ScrolledPosition(ScrollStep::ToStart, 650, 300, 1000, 15), 0);
    EXPECT_EQ(ScrolledPosition(ScrollStep::ToTrack, 0, 300, 1000, 15, 333), 333);
    // Content that fits does not scroll.
    EXPECT_EQ(ScrolledPosition(ScrollStep::LineForward, 0, 300, 200, 15), 0);
    EXPECT_EQ(ScrolledPosition(ScrollStep::ToEnd, 0, 300, 200, 15), 0);
    // A line is what the caller says: longer at a higher DPI.
    EXPECT_EQ(ScrolledPosition(ScrollStep::LineForward, 100, 300, 1000, 30), 130);
    EXPECT_EQ(ScrolledPosition(ScrollStep::LineBack, 100, 300, 1000, 30), 70);
}

TEST(WheelStepsTest, OneLinePerShareOfANotch) {
    WheelSteps wheel;
    EXPECT_EQ(wheel.Take(-120, 3), 3);  // turned towards the user: down
    EXPECT_EQ(wheel.Take(120, 3), -3);
    // Fine-grained wheels: the rest waits for the next movement.
    EXPECT_EQ(wheel.Take(-30, 3), 0);
    EXPECT_EQ(wheel.Take(-30, 3), 1);
    EXPECT_EQ(wheel.Take(40, 3), -1);  // turning back drops the rest of 20
    EXPECT_EQ(wheel.Take(-120, 0), 0);
    EXPECT_EQ(wheel.Take(-120, 1), 1);
    // The page setting (all ones) must not divide by zero.
    EXPECT_EQ(wheel.Take(-120, 0xFFFFFFFFu), 120);
}

}  // namespace
}  // namespace corvel
