#include "engine/hot_key_typing_win32.h"

#include "engine/clipboard_win32.h"
#include "engine/registration_text.h"

namespace corvel {

namespace {

// How long a field may take to answer before it counts as hung; Corvel's
// window waits that long at most.
constexpr UINT kAnswerLimitMs = 2000;

bool Answers(HWND field, UINT message) {
    return SendMessageTimeoutW(field, message, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, kAnswerLimitMs, nullptr) != 0;
}

}  // namespace

void TypeRegistrationText(const std::string& text) {
    if (text.empty()) return;
    HWND foreground = GetForegroundWindow();
    if (!foreground) return;
    // Corvel's own windows (an editor, a question, a component's dialog)
    // are never typed into.
    DWORD process = 0;
    DWORD foregroundThread = GetWindowThreadProcessId(foreground, &process);
    DWORD ownThread = GetCurrentThreadId();
    if (process == GetCurrentProcessId() || !AttachThreadInput(foregroundThread, ownThread, TRUE)) return;

    HWND field = GetFocus();
    // A paste sent to a hung program would stay queued and arrive later: a
    // field that does not answer at all gets none.
    bool typed = field != nullptr && Answers(field, WM_NULL);
    if (typed) {
        for (const std::string& segment : SplitRegistrationText(text)) {
            // A segment that did not reach the clipboard is skipped, not pasted stale.
            if (PutTextOnClipboard(segment) && !Answers(field, WM_PASTE)) break;
            // The dialog, not the field's parent, so that nested fields are found too.
            HWND next = GetNextDlgTabItem(foreground, field, FALSE);
            // Moving the focus waits for the program too.
            if (!next || !Answers(next, WM_NULL)) break;
            SetFocus(next);
            field = next;
        }
    }

    AttachThreadInput(foregroundThread, ownThread, FALSE);
    // A later plain paste yields the whole text, separators included.
    if (typed) PutTextOnClipboard(text);
}

}  // namespace corvel
