// Where the program lives, taken from its module path, and what the user is
// told when code page 936 cannot hold that path.
#include "ui/main/program_location.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "catalogue/win32_text.h"
#include "tests/support/unstorable_text.h"
#include "tests/ui/dialog_script.h"

namespace corvel::ui {
namespace {

TEST(ProgramLocation, APathCodePage936HoldsGivesTheFolderAndTheCatalogueBesideTheProgram) {
    std::optional<ProgramLocation> location = LocationOf(L"C:\\办公 Café\\Other.exe");
    ASSERT_TRUE(location.has_value());
    EXPECT_EQ(location->folder, Cp936FromWide(L"C:\\办公 Café\\"));
    EXPECT_EQ(location->programFile, Cp936FromWide(L"C:\\办公 Café\\Other.exe"));
    EXPECT_EQ(location->catalogueFile, Cp936FromWide(L"C:\\办公 Café\\Other.cvx"));
}

TEST(ProgramLocation, APathCodePage936CannotHoldGivesNoLocation) {
    for (const wchar_t* bad : corvel::testing::kUnstorableTexts) {
        EXPECT_FALSE(LocationOf(std::wstring(L"C:\\Users\\") + bad + L"\\Corvel.exe").has_value());
        // The program's own name makes the catalogue's name.
        EXPECT_FALSE(LocationOf(std::wstring(L"C:\\Soft\\") + bad + L".exe").has_value());
    }
    // A user folder like "Jörg": the code page has no ö.
    EXPECT_FALSE(LocationOf(L"C:\\Users\\J\xF6rg\\Corvel.exe").has_value());
}

// Its message boxes recorded; it opens no dialog.
using ProgramLocationMessageTest = DialogScriptTest;

TEST_F(ProgramLocationMessageTest, TheUnusablePathIsNamedInAStopMessageCaptionedCorvel) {
    const std::wstring path = L"C:\\Users\\J\xF6rg\\CD\\Corvel.exe";
    TellProgramPathUnusable(path);
    ASSERT_EQ(shown_.size(), 1u);
    const MessageBoxRequest& box = shown_[0];
    EXPECT_EQ(box.text, L"Corvel 的路径中有 GBK（代码页 936）无法表示的字符，在这里无法使用：\n" + path +
                            L"\n请把 Corvel 移到名称只含 GBK 字符的文件夹中再运行。程序即将退出。");
    EXPECT_EQ(box.caption, L"Corvel");
    EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    EXPECT_EQ(box.owner, nullptr) << "shown before any window exists";
}

}  // namespace
}  // namespace corvel::ui
