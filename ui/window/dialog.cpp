#include "ui/window/dialog.h"

#include <windowsx.h>

#include "catalogue/shell/shell_choosers.h"
#include "catalogue/win32_text.h"
#include "ui/window/message_box.h"
#include "ui/window/typed_text.h"

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

bool Dialog::OnCommand(int id, int notifyCode, HWND) {
    return notifyCode == BN_CLICKED && OnButtonClicked(id);
}

bool Dialog::OnButtonClicked(int id) {
    if (id != IDOK && id != IDCANCEL) return false;
    End(id);
    return true;
}

void Dialog::SetCp936Text(int id, std::string_view text) const {
    Item(id).SetText(WideFromCp936(text));
}

std::optional<std::string> Dialog::TypedText(int id) const {
    return TypedCp936Text(Child(id), Text());
}

bool Dialog::PutChosenText(int id, const std::wstring& chosen) const {
    return ui::PutChosenText(Child(id), chosen, Text());
}

bool Dialog::BrowseFolderInto(int id, UINT title, ChosenFolder kind) const {
    std::wstring folder = ChooseFolder(hwnd_, LoadResourceString(title));
    if (folder.empty()) return false;
    if (kind == ChosenFolder::MustFitCp936) return PutChosenText(id, folder);
    Item(id).SetText(folder);
    return true;
}

bool Dialog::BrowseFileInto(int id, UINT filter, ChosenFile kind) const {
    std::wstring path = ChooseFile(true, LoadResourceString(filter), hwnd_);
    if (path.empty()) return false;
    // Quoted, or the command splitter would cut the path at the blank.
    if (kind == ChosenFile::Command && path.find(L' ') != std::wstring::npos) path = L'"' + path + L'"';
    return PutChosenText(id, path);
}

int Dialog::Tell(const std::wstring& text, UINT flags) const {
    return ShowMessageBox(hwnd_, text, messageCaption_ ? LoadResourceString(messageCaption_) : Text(), flags);
}

void Dialog::Tell(const std::wstring& text, MessageIcon icon) const {
    Tell(text, MB_OK | IconFlagOf(icon));
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
        case WM_QUERYENDSESSION:
            SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, self->OnQueryEndSession());
            return TRUE;
        case WM_ENDSESSION:
            self->OnEndSession(wParam != FALSE);
            return FALSE;
        case WM_NCDESTROY:
            self->hwnd_ = nullptr;
            return FALSE;
    }
    return self->OnMessage(message, wParam, lParam);
}

}  // namespace corvel::ui
