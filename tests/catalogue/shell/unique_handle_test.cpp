#include "catalogue/unique_handle.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <type_traits>
#include <utility>
#include <vector>

namespace corvel {
namespace {

// Every handle the counting owner frees, in order; the next close fails
// when failNextClose is set.
std::vector<int> closed;
bool failNextClose = false;

bool CountingClose(int handle) {
    closed.push_back(handle);
    return !std::exchange(failNextClose, false);
}

using Counted = UniqueAny<int, CountingClose, -1>;

class UniqueHandleTest : public ::testing::Test {
protected:
    void SetUp() override {
        closed.clear();
        failNextClose = false;
    }
};

static_assert(!std::is_copy_constructible_v<Counted> && !std::is_copy_assignable_v<Counted>);
static_assert(std::is_nothrow_move_constructible_v<Counted> && std::is_nothrow_move_assignable_v<Counted>);
static_assert(!std::is_convertible_v<Counted, bool>, "only an explicit test of validity");

TEST_F(UniqueHandleTest, MovesLeaveTheSourceEmptyAndCloseOnlyWhatTheTargetHeld) {
    {
        Counted first(5);
        Counted second(std::move(first));
        EXPECT_FALSE(first.valid());
        EXPECT_EQ(first.get(), -1);
        EXPECT_EQ(second.get(), 5);
        EXPECT_TRUE(closed.empty());

        Counted third(7);
        third = std::move(second);
        EXPECT_FALSE(second);
        EXPECT_EQ(third.get(), 5);
        EXPECT_EQ(closed, std::vector<int>{7});

        Counted& same = third;
        third = std::move(same);  // moving into itself keeps the handle
        EXPECT_EQ(third.get(), 5);
        EXPECT_EQ(closed, std::vector<int>{7});
    }
    // The emptied owners free nothing at their end; the last one frees 5 once.
    EXPECT_EQ(closed, (std::vector<int>{7, 5}));
}

TEST_F(UniqueHandleTest, ResetClosesTheOldHandleOnceAndTakesTheNewOne) {
    {
        Counted owner(3);
        owner.reset(4);
        EXPECT_EQ(closed, std::vector<int>{3});
        EXPECT_EQ(owner.get(), 4);
        owner.reset();
        EXPECT_EQ(closed, (std::vector<int>{3, 4}));
        EXPECT_FALSE(owner);
        owner.reset();  // nothing held: nothing freed
        owner.reset(8);
    }
    EXPECT_EQ(closed, (std::vector<int>{3, 4, 8}));
}

TEST_F(UniqueHandleTest, PutFreesTheHandleHeldBeforeItIsOverwritten) {
    Counted owner(2);
    int* slot = owner.put();
    EXPECT_EQ(closed, std::vector<int>{2});
    EXPECT_EQ(*slot, -1);
    *slot = 6;
    EXPECT_EQ(owner.get(), 6);
}

TEST_F(UniqueHandleTest, ReleaseGivesTheHandleUpWithoutClosingIt) {
    int given = -1;
    {
        Counted owner(9);
        given = owner.release();
        EXPECT_FALSE(owner.valid());
    }
    EXPECT_EQ(given, 9);
    EXPECT_TRUE(closed.empty());
}

TEST_F(UniqueHandleTest, CloseTellsWhetherClosingSucceeded) {
    Counted failing(2);
    failNextClose = true;
    EXPECT_FALSE(failing.Close());
    EXPECT_FALSE(failing.valid()) << "a failed close still gives the handle up";

    Counted working(3);
    EXPECT_TRUE(working.Close());
    EXPECT_TRUE(working.Close()) << "an empty owner has nothing to lose";
    EXPECT_EQ(closed, (std::vector<int>{2, 3}));
}

TEST_F(UniqueHandleTest, KernelHandlesAreClosedAndFilesUseTheirOwnInvalidValue) {
    UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    const HANDLE raw = event.get();
    DWORD flags = 0;
    EXPECT_TRUE(GetHandleInformation(raw, &flags));
    event.reset();
    EXPECT_FALSE(GetHandleInformation(raw, &flags)) << "the event's handle was closed";

    // CreateFile fails with INVALID_HANDLE_VALUE, not null.
    UniqueFile missing(CreateFileW(L"Z:\\no such folder\\no such file", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.get(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(UniqueFile().get(), INVALID_HANDLE_VALUE);
    EXPECT_EQ(UniqueHandle().get(), nullptr);
    EXPECT_TRUE(missing.Close());
}

}  // namespace
}  // namespace corvel
