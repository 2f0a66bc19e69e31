#include "tests/e2e/harness/corvel_process.h"

#include "catalogue/win32_text.h"

namespace corvel::e2e {
namespace {

std::string ErrorText(std::string_view what) {
    return std::string(what) + " (error " + std::to_string(GetLastError()) + ")";
}

struct WindowSearch {
    DWORD process_id;
    bool visible_only;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search.process_id && (!search.visible_only || IsWindowVisible(window))) search.found.push_back(window);
    return TRUE;
}

}  // namespace

bool CorvelInstanceRunning() {
    HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"CorvelRunning");
    if (!mutex) return false;
    CloseHandle(mutex);
    return true;
}

CorvelProcess::CorvelProcess(const std::wstring& program, const std::wstring& folder, const std::wstring& arguments) {
    std::wstring command_line = L"\"" + program + L"\"";
    if (!arguments.empty()) command_line += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &info)) {
        throw HarnessError(ErrorText("cannot start " + Cp936FromWide(program)));
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
}

CorvelProcess::~CorvelProcess() {
    if (Running()) Terminate();
    CloseHandle(process_);
}

bool CorvelProcess::Running() const {
    return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> CorvelProcess::WaitForExit(milliseconds timeout) {
    if (WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

std::vector<HWND> CorvelProcess::Windows(bool visible_only) const {
    WindowSearch search{id_, visible_only, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string CorvelProcess::DescribeWindows() const {
    std::string text;
    for (HWND window : Windows(false)) {
        text += " [" + Cp936FromWide(ClassName(window)) + " \"" + Cp936FromWide(WindowText(window)) + "\"" +
                (IsWindowVisible(window) ? " visible]" : "]");
    }
    return text.empty() ? " none" : text;
}

HWND CorvelProcess::WaitForMainWindow(milliseconds timeout) {
    HWND main = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : Windows(true)) {
                if (ClassName(window) == kMainWindowClass) main = window;
            }
            return main != nullptr || !Running();
        },
        timeout);
    if (main) return main;
    if (!Running()) {
        DWORD code = 0;
        GetExitCodeProcess(process_, &code);
        throw HarnessError("the program ended with code " + std::to_string(code) + " before showing its main window" +
                           (CorvelInstanceRunning() ? " (another Corvel instance runs in this Wine prefix)" : ""));
    }
    throw HarnessError("no visible main window in time; windows of the process:" + DescribeWindows());
}

// Visible only: a dialog is shown once its controls are made and filled.
HWND CorvelProcess::FindDialog(std::wstring_view caption) const {
    for (HWND window : Windows(true)) {
        if (ClassName(window) == L"#32770" && WindowText(window) == caption && !GetDlgItem(window, 0xFFFF))
            return window;
    }
    return nullptr;
}

HWND CorvelProcess::WaitForDialog(std::wstring_view caption, milliseconds timeout) {
    HWND dialog = nullptr;
    WaitUntil([&] { return (dialog = FindDialog(caption)) != nullptr || !Running(); }, timeout);
    if (dialog) return dialog;
    throw HarnessError("no dialog \"" + Cp936FromWide(caption) + "\"" +
                       (Running() ? "; windows of the process:" + DescribeWindows() : "; the program ended"));
}

HWND CorvelProcess::FindMessageBox(std::wstring_view caption) const {
    for (HWND window : Windows(true)) {
        if (ClassName(window) == L"#32770" && WindowText(window) == caption && GetDlgItem(window, 0xFFFF))
            return window;
    }
    return nullptr;
}

HWND CorvelProcess::WaitForMessageBox(std::wstring_view caption, milliseconds timeout) {
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindMessageBox(caption)) != nullptr || !Running(); }, timeout);
    if (box) return box;
    throw HarnessError("no message box \"" + Cp936FromWide(caption) + "\"" +
                       (Running() ? "; windows of the process:" + DescribeWindows() : "; the program ended"));
}

DWORD CorvelProcess::Close(milliseconds timeout) {
    if (Running()) {
        for (HWND window : Windows(false)) {
            if (ClassName(window) == kMainWindowClass) PostCommand(window, kExitCommand);
        }
    }
    if (auto code = WaitForExit(timeout)) {
        // A crash on the way out must not read as a close.
        if (*code != 0) throw HarnessError("the program ended with code " + std::to_string(*code) + " after the exit command");
        return *code;
    }
    const std::string windows = DescribeWindows();
    Terminate();
    throw HarnessError("the program did not end after the exit command; windows of the process:" + windows);
}

void CorvelProcess::Terminate() {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
}

std::wstring WindowText(HWND window) {
    // GetWindowText reads the caption without messaging the other process.
    wchar_t text[1024] = {};
    GetWindowTextW(window, text, 1024);
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring MessageBoxText(HWND box) {
    // The text of a message box is a static control with id 0xFFFF.
    wchar_t text[2048] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 2048);
    return text;
}

void SetControlText(HWND dialog, int id, const std::wstring& text) {
    HWND control = GetDlgItem(dialog, id);
    if (!control) throw HarnessError("the dialog has no control " + std::to_string(id));
    // WM_SETTEXT's text is copied into the other process by the system.
    if (!SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                             static_cast<UINT>(kStepTimeout.count()), nullptr))
        throw HarnessError("cannot set the text of control " + std::to_string(id));
}

void PressDialogButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    if (!button) throw HarnessError("the dialog has no button " + std::to_string(id));
    // Posted: the dialog may open further windows before it returns.
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void PostCommand(HWND window, WORD id) {
    if (!PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0)) throw HarnessError(ErrorText("cannot post a command"));
}

}  // namespace corvel::e2e
