// The create folders dialog of the running program: "当前目录" names the
// program's own folder, whatever folder the program was started in.
#include "tests/e2e/e2e_test_support.h"

namespace corvel::e2e {
namespace {

constexpr WORD kCreateFolders = 32793;
constexpr int kTarget = 1038;
constexpr int kCurrentFolder = 1039;
const std::wstring kCaption = L"\u521b\u5efa\u76ee\u5f55";  // 创建目录

class CreateFoldersTest : public E2eTest {};

TEST_F(CreateFoldersTest, CurrentFolderMakesTheTickedFoldersBesideTheProgram) {
    const std::wstring program = LayOut();
    folder_.WriteFile(L"Corvel.cvx", Line("[Office]") + Line("[Tools]"));
    CreateDirectoryW(folder_.PathOf(L"Elsewhere").c_str(), nullptr);
    processes_.push_back(std::make_unique<CorvelProcess>(program, folder_.PathOf(L"Elsewhere")));
    CorvelProcess& process = *processes_.back();
    MainWindow window(process.WaitForMainWindow(), process.Handle());

    window.Command(kCreateFolders);
    HWND dialog = process.WaitForDialog(kCaption);
    PressDialogButton(dialog, kCurrentFolder);
    const std::wstring programFolder = folder_.Path() + L"\\";
    EXPECT_TRUE(WaitUntil([&] { return ControlText(GetDlgItem(dialog, kTarget)) == programFolder; }, kStepTimeout));
    PressDialogButton(dialog, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kStepTimeout)) << "the dialog stays open";
    EXPECT_TRUE(folder_.Exists(L"Office"));
    EXPECT_TRUE(folder_.Exists(L"Tools"));
    EXPECT_FALSE(folder_.Exists(L"Elsewhere\\Office"));
}

}  // namespace
}  // namespace corvel::e2e
