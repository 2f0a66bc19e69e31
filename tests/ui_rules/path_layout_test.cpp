#include "path_layout.h"

#include <gtest/gtest.h>

#include "pane_scrolling.h"

namespace corvel {
namespace {

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
    EntryPlacement entry = PlaceEntry(measures, 10);

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
    EntryPlacement entry = PlaceEntry(measures, 0);
    EXPECT_EQ(entry.blocks[1].label.y, 40 + 20);
    EXPECT_EQ(entry.height, 40 + 20 + 34 + 25);
    EXPECT_EQ(entry.width, 32 + 10 + 500 + 10);
}

TEST(PlaceEntryTest, AnItemWithoutPassingPathsTakesNoRoom) {
    EntryMeasures measures = Entry(60);
    measures.shown = false;
    EntryPlacement entry = PlaceEntry(measures, 300);
    EXPECT_FALSE(entry.Shown());
    EXPECT_EQ(entry.height, 0);
    EXPECT_EQ(entry.width, 0);
    EXPECT_FALSE(entry.hotSpot.Contains({entry.hotSpot.left, entry.hotSpot.top}));
}

TEST(PlaceEntryTest, MovingAnEntryMovesEveryPartButNotItsSize) {
    EntryMeasures measures = Entry(60);
    measures.blocks[2] = Block(50, 70, 30);
    EntryPlacement entry = PlaceEntry(measures, 10);
    EntryPlacement moved = entry;
    moved.MoveBy(37);
    EntryPlacement placedThere = PlaceEntry(measures, 47);
    EXPECT_EQ(moved.top, placedThere.top);
    EXPECT_EQ(moved.name.y, placedThere.name.y);
    EXPECT_EQ(moved.hotSpot.top, placedThere.hotSpot.top);
    EXPECT_EQ(moved.hotSpot.bottom, placedThere.hotSpot.bottom);
    EXPECT_EQ(moved.blocks[2].parameters.y, placedThere.blocks[2].parameters.y);
    EXPECT_EQ(moved.separatorTop, placedThere.separatorTop);
    EXPECT_EQ(moved.height, entry.height);
}

TEST(ContentSizeTest, WidestRightEdgeAndFinalYEachPlusTheMargin) {
    EXPECT_EQ(ContentSizeOf({}).width, 10);
    EXPECT_EQ(ContentSizeOf({}).height, 20);

    std::vector<EntryPlacement> entries;
    int top = kFirstEntryTop;
    for (int nameWidth : {100, 400, 200}) {
        EntryMeasures measures = Entry(nameWidth);
        measures.blocks[0] = Block(20, 20);
        measures.shown = nameWidth != 400;  // the widest is hidden by the filter
        entries.push_back(PlaceEntry(measures, top));
        top = entries.back().Bottom();
    }
    LayoutSize content = ContentSizeOf(entries);
    EXPECT_EQ(content.width, 10 + 32 + 10 + 200 + 10);
    EXPECT_EQ(content.height, 10 + 2 * (32 + 20 + 34 + 25) + 10);
}

TEST(ScrolledPositionTest, StepsStayWithinTheContent) {
    // 1000 pixels of content in a 300-pixel page: positions 0 to 700.
    EXPECT_EQ(ScrolledPosition(ScrollStep::LineForward, 0, 300, 1000), 15);
    EXPECT_EQ(ScrolledPosition(ScrollStep::LineBack, 10, 300, 1000), 0);
    EXPECT_EQ(ScrolledPosition(ScrollStep::PageForward, 100, 300, 1000), 400);
    EXPECT_EQ(ScrolledPosition(ScrollStep::PageForward, 600, 300, 1000), 700);
    EXPECT_EQ(ScrolledPosition(ScrollStep::PageBack, 200, 300, 1000), 0);
    EXPECT_EQ(ScrolledPosition(ScrollStep::ToEnd, 0, 300, 1000), 700);
    EXPECT_EQ(ScrolledPosition(ScrollStep::ToStart, 650, 300, 1000), 0);
    EXPECT_EQ(ScrolledPosition(ScrollStep::ToTrack, 0, 300, 1000, 333), 333);
    // Content that fits does not scroll.
    EXPECT_EQ(ScrolledPosition(ScrollStep::LineForward, 0, 300, 200), 0);
    EXPECT_EQ(ScrolledPosition(ScrollStep::ToEnd, 0, 300, 200), 0);
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
