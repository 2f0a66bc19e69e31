// The one way the program shows a message box, with a seam through which a
// test scripts the answer and records what was shown.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "catalogue/names.h"

namespace corvel::ui {

struct MessageBoxRequest {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT flags;  // MB_ICONSTOP, MB_YESNO and so on
};

// The MB_ICON flag that shows icon.
inline UINT IconFlagOf(MessageIcon icon) {
    return icon == MessageIcon::Stop ? MB_ICONSTOP : MB_ICONEXCLAMATION;
}

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT flags);

// While set, ShowMessageBox hands each request to hook and returns its answer.
using MessageBoxHook = std::function<int(const MessageBoxRequest&)>;
void SetMessageBoxHookForTesting(MessageBoxHook hook);

}  // namespace corvel::ui
