// Drives a running Corvel from the screenshot script: one action per start.
//   ui_driver DONE_FILE command ID           menu command to the main window
//   ui_driver DONE_FILE select INDEX...      selects list entries
//   ui_driver DONE_FILE request N ARG         view request N with ARG to the list
//   ui_driver DONE_FILE click CAPTION ID     presses a button of a dialog
//   ui_driver DONE_FILE box CAPTION ID       presses a button of a message box
//   ui_driver DONE_FILE settext CAPTION ID TEXT
// Waits up to 10 s for the window it needs, then writes "ok" or the error
// to DONE_FILE, since the script starts it inside Wine's desktop and
// cannot read its exit code.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>

#include "tests/e2e/harness/corvel_process.h"
#include "tests/e2e/harness/main_window.h"
#include "tests/e2e/harness/polling.h"

using namespace corvel::e2e;

namespace {

struct Search {
    std::wstring caption;
    bool messageBox;
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM param) {
    auto& search = *reinterpret_cast<Search*>(param);
    if (ClassName(window) != L"#32770" || WindowText(window) != search.caption || !IsWindowVisible(window)) return TRUE;
    if ((GetDlgItem(window, 0xFFFF) != nullptr) != search.messageBox) return TRUE;
    search.found = window;
    return FALSE;
}

HWND WaitForWindow(const std::wstring& caption, bool messageBox) {
    Search search{caption, messageBox, nullptr};
    WaitUntil(
        [&] {
            EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        kStepTimeout);
    if (!search.found) throw HarnessError("no window with that caption");
    return search.found;
}

HWND WaitForMain() {
    HWND main = nullptr;
    WaitUntil([&] { return (main = FindWindowW(kMainWindowClass, nullptr)) != nullptr; }, kStepTimeout);
    if (!main) throw HarnessError("Corvel's main window is not there");
    return main;
}

// The centre of a dialog's control in screen pixels, for a real mouse click
// (a radio button takes no BM_CLICK), wherever the display scale put it.
std::string CentreOf(HWND dialog, int id) {
    RECT area;
    HWND control = GetDlgItem(dialog, id);
    if (!control || !GetWindowRect(control, &area)) throw HarnessError("no such control");
    return " " + std::to_string((area.left + area.right) / 2) + " " + std::to_string((area.top + area.bottom) / 2);
}

// What the action answers after "ok"; empty for most.
std::string Act(int argc, wchar_t** argv) {
    const std::wstring action = argc > 2 ? argv[2] : L"";
    if (action == L"command" && argc == 4) {
        PostCommand(WaitForMain(), static_cast<WORD>(_wtoi(argv[3])));
    } else if (action == L"select" && argc >= 4) {
        HWND main = WaitForMain();
        DWORD id = 0;
        GetWindowThreadProcessId(main, &id);
        HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
        if (!process) throw HarnessError("cannot open Corvel's process");
        for (int i = 3; i < argc; ++i) MainWindow(main, process).SelectItem(_wtoi(argv[i]));
        CloseHandle(process);
    } else if (action == L"request" && argc == 5) {
        PostMessageW(GetDlgItem(WaitForMain(), kItemListId), static_cast<UINT>(_wtoi(argv[3])),
                     static_cast<WPARAM>(_wtoi(argv[4])), 0);
    } else if ((action == L"click" || action == L"box") && argc == 5) {
        PressDialogButton(WaitForWindow(argv[3], action == L"box"), _wtoi(argv[4]));
    } else if (action == L"settext" && argc == 6) {
        SetControlText(WaitForWindow(argv[3], false), _wtoi(argv[4]), argv[5]);
    } else if (action == L"centre" && argc == 5) {
        return CentreOf(WaitForWindow(argv[3], false), _wtoi(argv[4]));
    } else {
        throw HarnessError("usage: ui_driver DONE_FILE command|select|request|click|box|settext|centre ...");
    }
    return {};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    std::string result = "ok";
    try {
        result += Act(argc, argv);
    } catch (const std::exception& error) {
        result = error.what();
    }
    if (FILE* done = _wfopen(argv[1], L"wb")) {
        std::fputs(result.c_str(), done);
        std::fclose(done);
    }
    return result.starts_with("ok") ? 0 : 1;
}
