#include "catalogue/shell/shell_choosers.h"

#include <gtest/gtest.h>

#include "catalogue/win32_text.h"

namespace corvel {
namespace {

using namespace std::string_literals;

TEST(FileDialogFilter, BarsBecomeNuls) {
    EXPECT_EQ(FileDialogFilter(L"软件安装程序(*.*)|*.*||"), L"软件安装程序(*.*)\0*.*\0\0"s);
    EXPECT_EQ(FileDialogFilter(L"图标(*.ico)|*.ico||"), L"图标(*.ico)\0*.ico\0\0"s);
    EXPECT_EQ(FileDialogFilter(L"A|*.a|B|*.b||"), L"A\0*.a\0B\0*.b\0\0"s);
    EXPECT_EQ(FileDialogFilter(L""), L"");
}

TEST(FileDialogFilter, AlwaysEndsWithTwoNuls) {
    EXPECT_EQ(FileDialogFilter(L"A|*.a"), L"A\0*.a\0\0"s);
    EXPECT_EQ(FileDialogFilter(L"A|*.a|"), L"A\0*.a\0\0"s);
    EXPECT_EQ(FileDialogFilter(L"A|*.a|||"), L"A\0*.a\0\0\0"s);
}

TEST(Cp936PathFromWide, RefusesWhatCodePage936CannotHold) {
    EXPECT_EQ(Cp936PathFromWide(L"C:\\\x4E2D\x6587\\a.txt"), "C:\\\xD6\xD0\xCE\xC4\\a.txt");
    EXPECT_EQ(Cp936PathFromWide(L"C:\\\xD55C.txt"), "");
    EXPECT_EQ(Cp936PathFromWide(L""), "");
}

TEST(ExactCp936FromWide, RefusesWhatWouldBecomeQuestionMarksOrLookAlikes) {
    // 办公 and Café convert; an emoji (a surrogate pair), a Korean syllable,
    // a lone surrogate and a letter only a best-fit "A" would stand in for
    // do not.
    EXPECT_EQ(ExactCp936FromWide(L"\x529E\x516C"), "\xB0\xEC\xB9\xAB");
    EXPECT_EQ(ExactCp936FromWide(L"Caf\x00E9"), "Caf\xA8\xA6");
    EXPECT_EQ(ExactCp936FromWide(L"\x529E\x516C\xD83D\xDE00"), std::nullopt);
    EXPECT_EQ(ExactCp936FromWide(L"\xD55C"), std::nullopt);
    EXPECT_EQ(ExactCp936FromWide(L"a\xD800" L"b"), std::nullopt);
    EXPECT_EQ(ExactCp936FromWide(L"\x0100"), std::nullopt);
    EXPECT_EQ(ExactCp936FromWide(L"?"), "?");
    EXPECT_EQ(ExactCp936FromWide(L""), "");
}

TEST(Choosers, RefuseBadArgumentsWithoutShowingAnything) {
    EXPECT_EQ(ChooseFolder(nullptr, L"title"), L"");
    EXPECT_EQ(ChooseFolder(GetDesktopWindow(), L""), L"");
    EXPECT_EQ(ChooseFile(true, L""), L"");
    EXPECT_EQ(ChooseFile(false, L""), L"");
}

}  // namespace
}  // namespace corvel
