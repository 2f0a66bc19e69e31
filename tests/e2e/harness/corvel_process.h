// One started Corvel process and the top-level windows it shows.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/e2e/harness/polling.h"

namespace corvel::e2e {

inline constexpr wchar_t kMainWindowClass[] = L"CorvelMainFrame";
inline constexpr WORD kExitCommand = 57665;

// True while some Corvel instance holds its single-instance marker in this
// Wine prefix; a new instance would then end at once.
bool CorvelInstanceRunning();

class CorvelProcess {
public:
    // Starts program with folder as its working folder; arguments follow
    // the quoted program on the command line.
    CorvelProcess(const std::wstring& program, const std::wstring& folder, const std::wstring& arguments = {});
    // Ends the process if it still runs, so no test leaves one behind.
    ~CorvelProcess();
    CorvelProcess(const CorvelProcess&) = delete;
    CorvelProcess& operator=(const CorvelProcess&) = delete;

    DWORD Id() const { return id_; }
    HANDLE Handle() const { return process_; }
    bool Running() const;
    // The exit code, or empty when the process still runs after timeout.
    std::optional<DWORD> WaitForExit(milliseconds timeout);

    // Top-level windows of the process, in Z order.
    std::vector<HWND> Windows(bool visible_only) const;
    // The visible main window; throws when it does not appear in time.
    HWND WaitForMainWindow(milliseconds timeout = kStartTimeout);
    // A visible dialog of the process (class #32770, not a message box) with
    // exactly this caption.
    HWND FindDialog(std::wstring_view caption) const;
    HWND WaitForDialog(std::wstring_view caption, milliseconds timeout = kStepTimeout);
    // A message box (a dialog with a message text) with exactly this caption;
    // dialogs may share their caption with the boxes they show.
    HWND FindMessageBox(std::wstring_view caption) const;
    HWND WaitForMessageBox(std::wstring_view caption, milliseconds timeout = kStepTimeout);

    // Sends the exit command to the main window and waits for the end; on
    // timeout ends the process and throws, and throws on an exit code other
    // than 0. Returns the exit code.
    DWORD Close(milliseconds timeout = kStepTimeout);
    void Terminate();

private:
    std::string DescribeWindows() const;

    HANDLE process_ = nullptr;
    DWORD id_ = 0;
};

std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);
// The message text of a standard message box.
std::wstring MessageBoxText(HWND box);
// Sets the text of a dialog's control, as typing would leave it.
void SetControlText(HWND dialog, int id, const std::wstring& text);
// Presses the button with this id (IDOK, IDYES, ...) of a dialog.
void PressDialogButton(HWND dialog, int id);
// Posts WM_COMMAND with a menu id, as a menu choice does.
void PostCommand(HWND window, WORD id);

}  // namespace corvel::e2e
