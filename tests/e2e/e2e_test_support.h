// Shared set-up of the end-to-end tests: a program folder with Corvel.exe
// and the processes started from it, all cleaned up after each test.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tests/e2e/harness/corvel_process.h"
#include "tests/e2e/harness/main_window.h"
#include "tests/e2e/harness/program_folder.h"

namespace corvel::e2e {

// One catalogue line with its CR LF.
std::string Line(std::string_view text);
// An install item line; the installer is the program itself so that it
// exists and has an icon.
std::string ItemLine(std::string_view name, std::string_view installer = "Corvel.exe");

// The stand-in installer (tests/fixtures/installer): its window class and
// the ids of its three fields and its Finish button.
inline constexpr wchar_t kInstallerClass[] = L"CorvelFixtureInstaller";
inline constexpr int kFirstFieldId = 101;
inline constexpr int kFinishId = 110;

// The item editor: its caption when it adds an item, and its name field.
inline const std::wstring kAddItemCaption = L"\u6dfb\u52a0\u5b89\u88c5\u9879\u76ee";  // 添加安装项目
inline constexpr int kItemName = 1009;
// The stand-in installer's window titled title once its controls exist, or
// null: the window can be found while it is still creating them.
HWND FindReadyInstaller(const wchar_t* title);

// The text of a control in another process (WM_GETTEXT is carried across).
std::wstring ControlText(HWND control);
// The window that has the keyboard focus in the thread of window.
HWND FocusOf(HWND window);
// Brings window to the front and clicks field, as a user does before Ctrl+R;
// both again while the focus has not arrived (under load Wine may let the
// first attempt pass by). False when it never arrives.
bool ClickIntoField(HWND window, HWND field);
// Ctrl+R through the system's input queue. xdotool would press it on the X
// display, but the tests run inside Wine; SendInput from the test process
// goes the same way as a key press and reaches the hot key.
void PressCtrlR();
// Clicks into the installer's first field and presses Ctrl+R until its last
// field holds lastText. Both are repeated only while the first field is
// still empty: under load the focus may leave the installer between the
// click and the press, or a press may be lost. On failure the message says
// what the fields and the foreground held.
// Ends Corvel once its install task has ended. The task ends just after the
// installer's dialog has closed; an exit before that asks whether to end it,
// and the caller has checked the task's work, so the answer is yes.
void CloseAfterTheTask(CorvelProcess& process);

::testing::AssertionResult TypeWithCtrlR(HWND installer, HWND firstField, HWND lastField, const std::wstring& lastText);

// Adds a category named name through the new-category dialog, then shows
// the first category again; false when either does not happen in time.
bool AddCategoryAndShowTheFirst(CorvelProcess& process, const MainWindow& window, const std::wstring& name);

using ButtonStates = std::map<WORD, bool>;
ButtonStates ReadButtonStates(const MainWindow& window, const ButtonStates& wanted);
// Toolbar states are updated when the program is idle: poll for them.
ButtonStates WaitForButtonStates(const MainWindow& window, const ButtonStates& wanted);

class E2eTest : public ::testing::Test {
protected:
    void SetUp() override;

    static std::wstring BuiltCorvel();
    static std::wstring BuiltQuarro();

    // Copies Corvel.exe into the folder as name, with Quarro in Components.
    std::wstring LayOut(std::wstring_view name = L"Corvel.exe", bool with_quarro = true);
    CorvelProcess& Start(const std::wstring& program, const std::wstring& arguments = {});
    struct Shown {
        CorvelProcess& process;
        MainWindow window;
    };
    // Starts program and waits for its main window.
    Shown StartShown(const std::wstring& program);

    ProgramFolder folder_;
    // After folder_: the processes end before their folder is removed.
    std::vector<std::unique_ptr<CorvelProcess>> processes_;
};

}  // namespace corvel::e2e
