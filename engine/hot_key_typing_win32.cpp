#include "hot_key_typing_win32.h"

#include "clipboard_win32.h"
#include "registration_text.h"

namespace corvel {

void TypeRegistrationText(const std::string& text, HWND ownFrame) {
    if (text.empty()) return;
    HWND foreground = GetForegroundWindow();
    if (!foreground || foreground == ownFrame) return;

    // Attaching a thread to itself fails; a window of our own thread needs no
    // attaching, its focus is ours to read and set already.
    DWORD foregroundThread = GetWindowThreadProcessId(foreground, nullptr);
    DWORD ownThread = GetCurrentThreadId();
    bool attached = foregroundThread != ownThread;
    if (attached && !AttachThreadInput(foregroundThread, ownThread, TRUE)) return;

    HWND field = GetFocus();
    bool typed = field != nullptr;
    if (typed) {
        for (const std::string& segment : SplitRegistrationText(text)) {
            // A segment that did not reach the clipboard is skipped, not pasted stale.
            if (PutTextOnClipboard(segment)) SendMessageW(field, WM_PASTE, 0, 0);
            // The dialog, not the field's parent, so that nested fields are found too.
            HWND next = GetNextDlgTabItem(foreground, field, FALSE);
            if (!next) break;
            SetFocus(next);
            field = next;
        }
    }

    if (attached) AttachThreadInput(foregroundThread, ownThread, FALSE);
    // A later plain paste yields the whole text, separators included.
    if (typed) PutTextOnClipboard(text);
}

}  // namespace corvel
