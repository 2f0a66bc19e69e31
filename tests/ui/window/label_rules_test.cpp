#include "ui/window/label_rules.h"

#include <gtest/gtest.h>

namespace corvel::ui {
namespace {

TEST(MnemonicOf, TheLetterAfterTheLoneAmpersandInUpperCase) {
    EXPECT_EQ(MnemonicOf(L"分类名称(&N)："), L'N');
    EXPECT_EQ(MnemonicOf(L"浏览(&b)..."), L'B');
    EXPECT_EQ(MnemonicOf(L"&File"), L'F');
    EXPECT_EQ(MnemonicOf(L"?(&1)"), L'1');
    // "&&" shows one "&" and marks nothing; the mark may follow it.
    EXPECT_EQ(MnemonicOf(L"A&&B"), 0);
    EXPECT_EQ(MnemonicOf(L"A&&B(&C)"), L'C');
    EXPECT_EQ(MnemonicOf(L"确定"), 0);
    EXPECT_EQ(MnemonicOf(L"trailing&"), 0);
}

TEST(FieldNameOfLabel, DropsTheMarkerTheColonsExplanationAndTheAsterisk) {
    EXPECT_EQ(FieldNameOfLabel(L"分类名称(&N)："), L"分类名称");
    EXPECT_EQ(FieldNameOfLabel(L"*  软件安装程序的路径(&I)：（注意：如果要在光盘上使用，请填写相对路径）"),
              L"软件安装程序的路径");
    EXPECT_EQ(FieldNameOfLabel(L"将文件复制到指定目录(&F):"), L"将文件复制到指定目录");
    EXPECT_EQ(FieldNameOfLabel(L"*  请选择需要保存的分类(&C)"), L"请选择需要保存的分类");
    // Western style: only the "&" goes.
    EXPECT_EQ(FieldNameOfLabel(L"&Name:"), L"Name");
    EXPECT_EQ(FieldNameOfLabel(L"Tom && Jerry (&T)："), L"Tom & Jerry");
    // Parentheses that mark no mnemonic are words of the label.
    EXPECT_EQ(FieldNameOfLabel(L"图标(*.ico)："), L"图标(*.ico)");
    EXPECT_EQ(FieldNameOfLabel(L"光盘显示的图标："), L"光盘显示的图标");
    EXPECT_EQ(FieldNameOfLabel(L"："), L"");
}

TEST(MenuTextOf, DoublesEveryAmpersandAndLeavesTheRestAsWritten) {
    EXPECT_EQ(MenuTextOf(L"Tom & Jerry"), L"Tom && Jerry");
    EXPECT_EQ(MenuTextOf(L"&Zip&&Go&"), L"&&Zip&&&&Go&&");
    EXPECT_EQ(MenuTextOf(L"工&具"), L"工&&具");
    EXPECT_EQ(MenuTextOf(L"Plain"), L"Plain");
}

}  // namespace
}  // namespace corvel::ui
