// The main window's title, toolbar and status bar as another program sees them.
#include "tests/e2e/e2e_test_support.h"

namespace corvel::e2e {
namespace {

using MainWindowTest = E2eTest;

TEST_F(MainWindowTest, QuarroMarksTheTitleOnce) {
    auto [process, window] = StartShown(LayOut());
    EXPECT_EQ(window.Title(), L"CorvelV4.0 - Quarro\u7ec4\u4ef6\u7248");
    process.Close();
}

TEST_F(MainWindowTest, EmptyCatalogueLeavesOnlyAboutEnabled) {
    auto [process, window] = StartShown(LayOut());
    const ButtonStates wanted{{kAddItem, false},         {kDeleteItem, false},  {kEditItem, false},
                              {kInstall, false},         {kCopyRegcode, false}, {kInstallPatch, false},
                              {kRestoreSettings, false}, {kAbout, true}};
    EXPECT_EQ(WaitForButtonStates(window, wanted), wanted);
    // Idle prompt: 准备就绪.
    std::wstring status;
    WaitUntil([&] { return (status = window.StatusText()) == L"\u51c6\u5907\u5c31\u7eea"; }, kStepTimeout);
    EXPECT_EQ(status, L"\u51c6\u5907\u5c31\u7eea");
    process.Close();
}

TEST_F(MainWindowTest, CategoriesWithoutSelectionEnableOnlyAddAndAbout) {
    const std::wstring program = LayOut();
    folder_.WriteFile(L"Corvel.cvx", Line("[Tools]") + ItemLine("Zip") + ItemLine("Unzip") + Line("[Games]"));

    auto [process, window] = StartShown(program);
    EXPECT_EQ(window.CurrentTab(), 0);
    EXPECT_EQ(window.ItemTexts(), (std::vector<std::wstring>{L"Zip", L"Unzip"}));
    EXPECT_EQ(window.SelectedCount(), 0);
    const ButtonStates wanted{{kAddItem, true},          {kDeleteItem, false},  {kEditItem, false},
                              {kInstall, false},         {kCopyRegcode, false}, {kInstallPatch, false},
                              {kRestoreSettings, false}, {kAbout, true}};
    EXPECT_EQ(WaitForButtonStates(window, wanted), wanted);
    process.Close();
}

}  // namespace
}  // namespace corvel::e2e
