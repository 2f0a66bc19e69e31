#include "ui/window/message_box.h"

namespace corvel::ui {

static MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags) {
    if (Hook()) return Hook()({owner, text, caption, flags});
    return MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

void SetMessageBoxHookForTesting(MessageBoxHook hook) {
    Hook() = std::move(hook);
}

}  // namespace corvel::ui
