// Save for CD in the running program: the CD folder holds the program that
// runs, its components, the chosen categories, ExtTools.ini and AutoRun.inf.
#include "tests/e2e/e2e_test_support.h"

#include <commctrl.h>

namespace corvel::e2e {
namespace {

constexpr WORD kSaveAs = 32771;
constexpr int kCategoryList = 1002;
constexpr int kAutorun = 1003;
constexpr int kIconField = 1004;
constexpr int kFolderField = 1006;

const std::wstring kDialogCaption =
    L"\u4fdd\u5b58\u5149\u76d8\u6240\u9700\u8981\u7684\u6587\u4ef6";  // 保存光盘所需要的文件
const std::wstring kSaveCaption = L"\u4fdd\u5b58";                    // 保存

class SaveForCdTest : public E2eTest {
protected:
    // Clears the tick of one row of the dialog's category list.
    static void Untick(CorvelProcess& process, HWND dialog, int row) {
        LVITEMW state{};
        state.stateMask = LVIS_STATEIMAGEMASK;
        state.state = INDEXTOSTATEIMAGEMASK(1);
        RemoteBuffer buffer(process.Handle(), sizeof state);
        buffer.Write(0, &state, sizeof state);
        SendMessageW(GetDlgItem(dialog, kCategoryList), LVM_SETITEMSTATE, row,
                     reinterpret_cast<LPARAM>(buffer.Address()));
    }
};

TEST_F(SaveForCdTest, TheCdFolderGetsTheRunningProgramAndTheTickedCategories) {
    const std::wstring program = LayOut(L"Setup.exe");
    const std::string catalogue = Line("[Office]") + ItemLine("Word", "Setup.exe") + Line("[Net]") +
                                  ItemLine("Browser", "Setup.exe") + Line("[System]") + ItemLine("Zip", "Setup.exe");
    folder_.WriteFile(L"Setup.cvx", catalogue);
    folder_.WriteFile(L"ExtTools.ini", "Notepad=%WINDIR%\\notepad.exe\r\n");
    folder_.WriteFile(L"disc.ico", "icon");
    folder_.WriteFile(L"Fennick.exe", "test-drive program");
    auto [process, window] = StartShown(program);

    window.Command(kSaveAs);
    HWND dialog = process.WaitForDialog(kDialogCaption);
    Untick(process, dialog, 1);
    SendMessageW(GetDlgItem(dialog, kAutorun), BM_CLICK, 0, 0);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, kIconField)));
    SetControlText(dialog, kIconField, folder_.PathOf(L"disc.ico"));
    SetControlText(dialog, kFolderField, folder_.PathOf(L"CD"));
    PressDialogButton(dialog, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kStepTimeout)) << "the dialog stays open";
    EXPECT_EQ(process.FindMessageBox(kSaveCaption), nullptr);

    EXPECT_EQ(folder_.ReadFile(L"CD\\Setup.exe"), folder_.ReadFile(L"Setup.exe"));
    EXPECT_EQ(folder_.ReadFile(L"CD\\Components\\Quarro.cpn"), folder_.ReadFile(L"Components\\Quarro.cpn"));
    EXPECT_EQ(folder_.ReadFile(L"CD\\Setup.cvx"),
              Line("[Office]") + ItemLine("Word", "Setup.exe") + Line("[System]") + ItemLine("Zip", "Setup.exe"));
    EXPECT_EQ(folder_.ReadFile(L"CD\\ExtTools.ini"), "Notepad=%WINDIR%\\notepad.exe\r\n");
    EXPECT_EQ(folder_.ReadFile(L"CD\\disc.ico"), "icon");
    EXPECT_EQ(folder_.ReadFile(L"CD\\AutoRun.inf"), "[AUTORUN]\r\nOpen=Setup.exe\r\nIcon=disc.ico\r\n");
    EXPECT_FALSE(folder_.Exists(L"CD\\Fennick.exe"));

    // The open catalogue was not changed, so it is not written at the end.
    EXPECT_EQ(window.TabCount(), 3);
    process.Close();
    EXPECT_EQ(folder_.ReadFile(L"Setup.cvx"), catalogue);
}

TEST_F(SaveForCdTest, TheProgramFolderItselfIsRefusedInAnyLetterCase) {
    const std::wstring program = LayOut();
    folder_.WriteFile(L"Corvel.cvx", Line("[Tools]"));
    auto [process, window] = StartShown(program);

    window.Command(kSaveAs);
    HWND dialog = process.WaitForDialog(kDialogCaption);
    std::wstring folder = folder_.Path() + L"\\";
    CharLowerW(folder.data());
    SetControlText(dialog, kFolderField, folder);
    PressDialogButton(dialog, IDOK);
    HWND box = process.WaitForMessageBox(kSaveCaption);
    // 不能选择软件所在的目录作为保存目录
    EXPECT_EQ(MessageBoxText(box),
              L"\u4e0d\u80fd\u9009\u62e9\u8f6f\u4ef6\u6240\u5728\u7684\u76ee\u5f55\u4f5c\u4e3a"
              L"\u4fdd\u5b58\u76ee\u5f55");
    PressDialogButton(box, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kStepTimeout));
    EXPECT_TRUE(IsWindow(dialog)) << "a refusal must leave the dialog open";
    EXPECT_FALSE(folder_.Exists(L"Components\\Components"));
    PressDialogButton(dialog, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kStepTimeout));
    process.Close();
}

}  // namespace
}  // namespace corvel::e2e
