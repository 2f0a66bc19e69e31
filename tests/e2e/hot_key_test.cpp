// Ctrl+R pressed as a user would, with the stand-in installer in front and
// the registration text fetched by the running program.
#include "tests/e2e/e2e_test_support.h"
#include "tests/e2e/harness/wine_path.h"
#include "tests/support/clipboard_text.h"

namespace corvel::e2e {
namespace {

// 张三||北京公司 CR LF 第二行||ABCD-1234, as the catalogue stores it.
const std::string kStoredRegcode =
    "\xD5\xC5\xC8\xFD||\xB1\xB1\xBE\xA9\xB9\xAB\xCB\xBE\x03\x03\xB5\xDA\xB6\xFE\xD0\xD0||ABCD-1234";
const std::wstring kRegcode = L"\u5f20\u4e09||\u5317\u4eac\u516c\u53f8\r\n\u7b2c\u4e8c\u884c||ABCD-1234";

class Installer {
public:
    Installer() {
        std::wstring path = WindowsPathFromBuildPath(INSTALLER_EXE_PATH);
        std::wstring command = L"\"" + path + L"\" --title=CorvelHotKeyTest";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process_))
            throw HarnessError("cannot start the stand-in installer");
        WaitUntil([&] { return (window_ = FindReadyInstaller(L"CorvelHotKeyTest")) != nullptr; }, kStartTimeout);
        if (!window_) throw HarnessError("the stand-in installer shows no window");
    }
    ~Installer() {
        TerminateProcess(process_.hProcess, 0);
        WaitForSingleObject(process_.hProcess, 5000);
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
    HWND Window() const { return window_; }
    HWND Field(int index) const { return GetDlgItem(window_, kFirstFieldId + index); }
    HWND Finish() const { return GetDlgItem(window_, kFinishId); }

private:
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

using HotKeyTest = E2eTest;

TEST_F(HotKeyTest, CtrlRTypesTheFetchedSegmentsIntoTheInstallersFields) {
    const std::wstring program = LayOut();
    folder_.WriteFile(L"Corvel.cvx",
                      Line("[Tools]") + Line("<Name=Reg\x02SrcPath=Corvel.exe\x02Regcode=" + kStoredRegcode + "\x02>"));
    auto [process, window] = StartShown(program);
    window.SelectItem(0);
    window.Command(kCopyRegcode);
    ASSERT_TRUE(WaitUntil([&] { return testing::ClipboardUnicode() == kRegcode; }, kStepTimeout))
        << "the fetched text is not on the clipboard";

    Installer installer;
    ASSERT_TRUE(TypeWithCtrlR(installer.Window(), installer.Field(0), installer.Field(2), L"ABCD-1234"));
    EXPECT_EQ(ControlText(installer.Field(0)), L"\u5f20\u4e09");
    // A single-line field keeps a pasted text up to its line break.
    EXPECT_EQ(ControlText(installer.Field(1)), L"\u5317\u4eac\u516c\u53f8");
    EXPECT_EQ(FocusOf(installer.Finish()), installer.Finish()) << "the focus stands after the third field";
    EXPECT_EQ(testing::ClipboardUnicode(), kRegcode);
    EXPECT_EQ(testing::ClipboardBytes(),
              "\xD5\xC5\xC8\xFD||\xB1\xB1\xBE\xA9\xB9\xAB\xCB\xBE\r\n\xB5\xDA\xB6\xFE\xD0\xD0||ABCD-1234");

    // With Corvel's own window in front Ctrl+R types nothing anywhere.
    for (int i = 0; i < 3; ++i) SendMessageW(installer.Field(i), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
    SetForegroundWindow(window.Frame());
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window.Frame(); }, kStepTimeout));
    ASSERT_TRUE(OpenClipboard(nullptr) && EmptyClipboard() && CloseClipboard());
    PressCtrlR();
    // Nothing can be awaited here; give the key the time it took above.
    EXPECT_FALSE(WaitUntil([&] { return testing::ClipboardUnicode().has_value(); }, seconds(2)));
    EXPECT_EQ(ControlText(installer.Field(0)), L"");

    // Nor with one of its dialogs in front: the item editor's fields keep
    // what they hold.
    window.Command(kAddItem);
    HWND editor = process.WaitForDialog(kAddItemCaption);
    SetForegroundWindow(editor);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == editor; }, kStepTimeout));
    PressCtrlR();
    EXPECT_FALSE(WaitUntil([&] { return testing::ClipboardUnicode().has_value(); }, seconds(2)));
    EXPECT_EQ(ControlText(GetDlgItem(editor, kItemName)), L"");
    PressDialogButton(editor, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, kStepTimeout));
    process.Close();
}

}  // namespace
}  // namespace corvel::e2e
