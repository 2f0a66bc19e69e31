// Start-up: single instance, component failures, catalogue named after the program.
#include "tests/e2e/e2e_test_support.h"

namespace corvel::e2e {
namespace {

using StartupTest = E2eTest;

TEST_F(StartupTest, SecondInstanceEndsSilentlyWhileTheFirstRuns) {
    const std::wstring program = LayOut();
    auto [first, window] = StartShown(program);

    CorvelProcess& second = Start(program);
    bool second_showed_window = false;
    WaitUntil(
        [&] {
            second_showed_window = second_showed_window || !second.Windows(true).empty();
            return !second.Running();
        },
        kStartTimeout);
    EXPECT_FALSE(second.Running()) << "the second instance keeps running";
    EXPECT_FALSE(second_showed_window) << "the second instance showed a window or message";

    EXPECT_TRUE(first.Running());
    EXPECT_TRUE(IsWindowVisible(window.Frame()));
    first.Close();
}

class ComponentFailureTest : public E2eTest {
protected:
    // The program reports the failure before its window is of any use, then
    // closes by itself once the message is dismissed.
    void ExpectComponentMessageAndEnd(const std::wstring& program) {
        CorvelProcess& process = Start(program);
        HWND box = process.WaitForMessageBox(L"Corvel", kStartTimeout);
        EXPECT_EQ(MessageBoxText(box),
                  L"\u521d\u59cb\u5316\u7ec4\u4ef6\u5bf9\u8c61\u65f6\u51fa\u9519\u6216\u6ca1\u6709\u4efb\u4f55\u7684"
                  L"\u7ec4\u4ef6\u5bf9\u8c61\uff0c\u7a0b\u5e8f\u5373\u5c06\u9000\u51fa");
        PressDialogButton(box, IDOK);
        EXPECT_EQ(process.WaitForExit(kStepTimeout), std::optional<DWORD>(0))
            << "the program stays open after the message, or crashed";
    }
};

TEST_F(ComponentFailureTest, NoComponentsFolder) {
    ExpectComponentMessageAndEnd(LayOut(L"Corvel.exe", false));
}

TEST_F(ComponentFailureTest, EmptyComponentsFolder) {
    folder_.AddComponentsFolder();
    ExpectComponentMessageAndEnd(LayOut(L"Corvel.exe", false));
}

TEST_F(StartupTest, AProgramPathCodePage936CannotHoldIsSaidAndTheProgramEnds) {
    // A Korean folder with an emoji, components in place: only the name is wrong.
    const std::wstring sub = L"\xD55C\xAE00 \xD83D\xDE00";
    ASSERT_TRUE(CreateDirectoryW(folder_.PathOf(sub).c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(folder_.PathOf(sub + L"\\Components").c_str(), nullptr));
    folder_.InstallProgram(BuiltQuarro(), sub + L"\\Components\\Quarro.cpn");
    const std::wstring program = folder_.InstallProgram(BuiltCorvel(), sub + L"\\Corvel.exe");

    CorvelProcess& process = Start(program);
    HWND box = process.WaitForMessageBox(L"Corvel", kStartTimeout);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), L"Corvel 的路径中有 GBK（代码页 936）无法表示的字符，在这里无法使用：\n" + program +
                                       L"\n请把 Corvel 移到名称只含 GBK 字符的文件夹中再运行。程序即将退出。");
    EXPECT_EQ(process.Windows(true), std::vector<HWND>{box}) << "only the message shows";
    PressDialogButton(box, IDOK);
    EXPECT_TRUE(process.WaitForExit(kStepTimeout).has_value()) << "the program stays open after the message";
    EXPECT_FALSE(folder_.Exists(sub + L"\\Corvel.cvx"));
}

TEST_F(StartupTest, RenamedProgramUsesCatalogueOfItsOwnName) {
    const std::wstring program = LayOut(L"Other.exe");
    folder_.WriteFile(L"Other.cvx", Line("[Alpha]") + Line("[Beta]"));
    folder_.WriteFile(L"Corvel.cvx", Line("[Wrong]"));

    auto [process, window] = StartShown(program);
    EXPECT_EQ(window.TabTexts(), (std::vector<std::wstring>{L"Alpha", L"Beta"}));
    process.Close();
}

TEST_F(StartupTest, FileOnTheCommandLineMustOpenButNeverChangesTheCatalogue) {
    const std::wstring program = LayOut();
    folder_.WriteFile(L"Corvel.cvx", Line("[Alpha]"));
    folder_.WriteFile(L"Other.cvx", Line("[Wrong]"));

    CorvelProcess& refused = Start(program, L"\"" + folder_.PathOf(L"missing.cvx") + L"\"");
    bool showed_window = false;
    WaitUntil(
        [&] {
            showed_window = showed_window || !refused.Windows(true).empty();
            return !refused.Running();
        },
        kStartTimeout);
    EXPECT_FALSE(refused.Running()) << "a file that cannot be opened must end the program";
    EXPECT_FALSE(showed_window);

    CorvelProcess& accepted = Start(program, L"/x \"" + folder_.PathOf(L"Other.cvx") + L"\"");
    MainWindow window(accepted.WaitForMainWindow(), accepted.Handle());
    EXPECT_EQ(window.TabTexts(), std::vector<std::wstring>{L"Alpha"});
    accepted.Close();
}

}  // namespace
}  // namespace corvel::e2e
