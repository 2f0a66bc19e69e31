#include "ui/window/display_scale.h"

#include <gtest/gtest.h>

namespace corvel {
namespace {

TEST(DisplayScale, ScalesLengthsToTheNearestPixel) {
    EXPECT_EQ(ScaleToDpi(32, 96), 32);
    EXPECT_EQ(ScaleToDpi(32, 144), 48);
    EXPECT_EQ(ScaleToDpi(32, 192), 64);
    EXPECT_EQ(ScaleToDpi(5, 120), 6);    // 6.25
    EXPECT_EQ(ScaleToDpi(3, 144), 5);    // 4.5 rounds away from zero
    EXPECT_EQ(ScaleToDpi(-3, 144), -5);  // font heights are negative
    EXPECT_EQ(ScaleToDpi(1, 120), 1);
}

TEST(DisplayScale, PicksTheLargestDrawnSizeThatFits) {
    const auto drawn = {32, 40, 48, 64};
    EXPECT_EQ(DrawnSizeForDpi(drawn, 32, 96), 32);
    EXPECT_EQ(DrawnSizeForDpi(drawn, 32, 120), 40);
    EXPECT_EQ(DrawnSizeForDpi(drawn, 32, 144), 48);
    EXPECT_EQ(DrawnSizeForDpi(drawn, 32, 168), 48);  // 56 would stretch 48
    EXPECT_EQ(DrawnSizeForDpi(drawn, 32, 192), 64);
    EXPECT_EQ(DrawnSizeForDpi(drawn, 32, 288), 64);
    EXPECT_EQ(DrawnSizeForDpi(drawn, 32, 72), 32);  // below 100 %: the smallest
    EXPECT_EQ(DrawnSizeForDpi({64, 32}, 32, 192), 64);
}

}  // namespace
}  // namespace corvel
