#include "dialog.h"

#include <windowsx.h>

#include "typed_text.h"

namespace corvel::ui {

static ModalDialogHook& Hook() {
    static ModalDialogHook hook;
    return hook;
}

void SetModalDialogHookForTesting(ModalDialogHook hook) {
    Hook() = std::move(hook);
}

INT_PTR Dialog::RunModal(HWND owner) {
    if (Hook()) return Hook()(*this);
    return DialogBoxParamW(ResourceModule(), MAKEINTRESOURCEW(resourceId_), owner, Procedure,
                           reinterpret_cast<LPARAM>(this));
}

bool Dialog::OnCommand(int id, int, HWND) {
    if (id != IDOK && id != IDCANCEL) return false;
    End(id);
    return true;
}

std::optional<std::string> Dialog::TypedText(int id) const {
    return TypedCp936Text(Child(id), Text());
}

bool Dialog::PutChosenText(int id, const std::wstring& chosen) const {
    return ui::PutChosenText(Child(id), chosen, Text());
}

LRESULT Dialog::OnNotify(NMHDR*) {
    return 0;
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // No exception may unwind into the dialog manager.
    try {
        return Dispatch(hwnd, message, wParam, lParam);
    } catch (...) {
        // A dialog that could not be set up ends as one never made.
        if (message == WM_INITDIALOG) EndDialog(hwnd, -1);
        return FALSE;
    }
}

INT_PTR Dialog::Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
        return self->OnInit();
    }
    if (!self) return FALSE;
    switch (message) {
        case WM_COMMAND:
            return self->OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        case WM_NOTIFY:
            SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, self->OnNotify(reinterpret_cast<NMHDR*>(lParam)));
            return TRUE;
        case WM_CONTEXTMENU:
            return self->OnContextMenu(reinterpret_cast<HWND>(wParam), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        case WM_NCDESTROY:
            self->hwnd_ = nullptr;
            return FALSE;
    }
    return self->OnMessage(message, wParam, lParam);
}

}  // namespace corvel::ui
