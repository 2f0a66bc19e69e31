#include "ui/main/corvel_app.h"

#include <windows.h>

#include <shellapi.h>

#include <optional>
#include <utility>

#include "catalogue/unique_handle.h"
#include "ui/main/main_frame.h"

namespace corvel::ui {

namespace {

constexpr wchar_t kInstanceMutex[] = L"CorvelRunning";

// Runs the loop and hands the frame its idle work whenever the queue runs
// empty; it waits for messages only once that work is done.
int MessageLoop(CMainFrame& frame) {
    MSG message;
    for (;;) {
        while (!PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!frame.Handle() || !frame.OnIdle()) WaitMessage();
        }
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) return static_cast<int>(message.wParam);
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

// The first argument that is not a switch names a document; it loads
// nothing, but one that cannot be opened ends the program before its
// window appears.
bool NamedDocumentOpens() {
    int count = 0;
    UniqueLocal<LPWSTR*> owned(CommandLineToArgvW(GetCommandLineW(), &count));
    LPWSTR* arguments = owned.get();
    if (!arguments) return true;
    bool opens = true;
    for (int i = 1; i < count; ++i) {
        if (arguments[i][0] == L'/' || arguments[i][0] == L'-') continue;
        UniqueFile file(CreateFileW(arguments[i], GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        opens = file.valid();
        break;
    }
    return opens;
}

}  // namespace

int RunCorvel() {
    // Paths on a drive without a medium are tested many times (the install
    // task, Check paths, Copy files): never with Windows' "No Disk" box.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // Another instance runs: end silently.
    if (UniqueHandle(OpenMutexW(MUTEX_ALL_ACCESS, FALSE, kInstanceMutex))) return 0;
    // Held until the program ends.
    UniqueHandle instance(CreateMutexW(nullptr, FALSE, kInstanceMutex));
    if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;  // one started at the same moment

    if (!NamedDocumentOpens()) return 1;
    std::optional<ProgramLocation> location = LocateProgram();
    if (!location) return 1;
    CMainFrame frame(std::move(*location));
    if (!frame.Create()) return 1;
    frame.View().InitialUpdate();
    ShowWindow(frame.Handle(), SW_SHOW);
    UpdateWindow(frame.Handle());
    return MessageLoop(frame);
}

}  // namespace corvel::ui
