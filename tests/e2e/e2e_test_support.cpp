#include "tests/e2e/e2e_test_support.h"

#include "tests/e2e/harness/wine_path.h"

namespace corvel::e2e {

std::string Line(std::string_view text) {
    return std::string(text) + "\r\n";
}

std::string ItemLine(std::string_view name, std::string_view installer) {
    return Line("<Name=" + std::string(name) + "\x02SrcPath=" + std::string(installer) + "\x02>");
}

HWND FindReadyInstaller(const wchar_t* title) {
    HWND window = FindWindowW(kInstallerClass, title);
    return window && GetDlgItem(window, kFinishId) ? window : nullptr;  // the button is created last
}

std::wstring ControlText(HWND control) {
    wchar_t text[1024] = {};
    SendMessageTimeoutW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

void PressCtrlR() {
    INPUT keys[4] = {};
    const WORD codes[4] = {VK_CONTROL, 'R', 'R', VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = codes[i];
        keys[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, keys, sizeof(INPUT));
}

void CloseAfterTheTask(CorvelProcess& process) {
    PostCommand(process.WaitForMainWindow(), kExitCommand);
    ASSERT_TRUE(WaitUntil([&] { return !process.Running() || process.FindMessageBox(L"执行操作"); }, kStepTimeout))
        << "Corvel neither ended nor asked about the task";
    if (HWND question = process.FindMessageBox(L"执行操作")) PressDialogButton(question, IDYES);
    std::optional<DWORD> code = process.WaitForExit(kStepTimeout);
    ASSERT_TRUE(code.has_value()) << "Corvel did not end after the exit command";
    EXPECT_EQ(*code, 0u);
}

::testing::AssertionResult TypeWithCtrlR(HWND installer, HWND firstField, HWND lastField,
                                         const std::wstring& lastText) {
    int presses = 0;
    const bool typed = WaitUntil(
        [&] {
            if (ControlText(lastField) == lastText) return true;
            if (!ControlText(firstField).empty() || !ClickIntoField(installer, firstField)) return false;
            PressCtrlR();
            ++presses;
            return WaitUntil([&] { return !ControlText(firstField).empty(); }, seconds(3)) &&
                   WaitUntil([&] { return ControlText(lastField) == lastText; }, seconds(3));
        },
        kStepTimeout * 2);
    if (typed) return ::testing::AssertionSuccess();
    wchar_t className[64] = {}, title[128] = {};
    HWND foreground = GetForegroundWindow();
    GetClassNameW(foreground, className, 64);
    GetWindowTextW(foreground, title, 128);
    return ::testing::AssertionFailure() << presses << " presses of Ctrl+R; first field \"" << ControlText(firstField)
                                         << "\", last field \"" << ControlText(lastField)
                                         << "\"; in front: " << className << " \"" << title << "\"";
}

ButtonStates ReadButtonStates(const MainWindow& window, const ButtonStates& wanted) {
    ButtonStates states;
    for (const auto& [command, enabled] : wanted) states[command] = window.ButtonEnabled(command);
    return states;
}

// A posted click may reach a window that another process's dialog keeps
// from the foreground under load; every other try therefore sets the
// foreground and the focus with the window's input joined to ours.
bool ClickIntoField(HWND window, HWND field) {
    int tries = 0;
    return WaitUntil(
        [&] {
            if (GetForegroundWindow() == window && FocusOf(window) == field) return true;
            const DWORD owner = GetWindowThreadProcessId(window, nullptr);
            if (++tries % 2 == 0 && AttachThreadInput(GetCurrentThreadId(), owner, TRUE)) {
                SetForegroundWindow(window);
                SetFocus(field);
                AttachThreadInput(GetCurrentThreadId(), owner, FALSE);
            } else {
                SetForegroundWindow(window);
                PostMessageW(field, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
                PostMessageW(field, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
            }
            Sleep(200);  // the answer, before it is looked for again
            return false;
        },
        kStepTimeout);
}

bool AddCategoryAndShowTheFirst(CorvelProcess& process, const MainWindow& window, const std::wstring& name) {
    constexpr WORD kNewCategory = 32772;
    constexpr int kNameField = 1008;
    constexpr UINT kRequestSwitchToCategory = 1988;
    const int tabs = window.TabCount();
    window.Command(kNewCategory);
    HWND dialog = process.WaitForDialog(L"\u65b0\u5efa\u5206\u7c7b");  // 新建分类
    SetControlText(dialog, kNameField, name);
    PressDialogButton(dialog, IDOK);
    if (!WaitUntil([&] { return window.TabCount() == tabs + 1; }, kStepTimeout)) return false;
    PostMessageW(window.Control(kItemListId), kRequestSwitchToCategory, 0, 0);
    return WaitUntil([&] { return window.CurrentTab() == 0; }, kStepTimeout);
}

ButtonStates WaitForButtonStates(const MainWindow& window, const ButtonStates& wanted) {
    ButtonStates states;
    WaitUntil([&] { return (states = ReadButtonStates(window, wanted)) == wanted; }, kStepTimeout);
    return states;
}

void E2eTest::SetUp() {
    ASSERT_NE(GetFileAttributesW(BuiltCorvel().c_str()), INVALID_FILE_ATTRIBUTES) << "Corvel.exe is not built";
    ASSERT_NE(GetFileAttributesW(BuiltQuarro().c_str()), INVALID_FILE_ATTRIBUTES) << "Quarro.cpn is not built";
    // A running instance would make every program started here end at once.
    ASSERT_FALSE(CorvelInstanceRunning()) << "another Corvel instance runs in this Wine prefix";
}

std::wstring E2eTest::BuiltCorvel() {
    return WindowsPathFromBuildPath(CORVEL_EXE_PATH);
}
std::wstring E2eTest::BuiltQuarro() {
    return WindowsPathFromBuildPath(QUARRO_CPN_PATH);
}

std::wstring E2eTest::LayOut(std::wstring_view name, bool with_quarro) {
    if (with_quarro) folder_.AddComponent(BuiltQuarro(), L"Quarro.cpn");
    return folder_.InstallProgram(BuiltCorvel(), name);
}

CorvelProcess& E2eTest::Start(const std::wstring& program, const std::wstring& arguments) {
    processes_.push_back(std::make_unique<CorvelProcess>(program, folder_.Path(), arguments));
    return *processes_.back();
}

E2eTest::Shown E2eTest::StartShown(const std::wstring& program) {
    CorvelProcess& process = Start(program);
    return {process, MainWindow(process.WaitForMainWindow(), process.Handle())};
}

}  // namespace corvel::e2e
