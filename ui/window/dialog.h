// Modal dialogs from resources. A test can run them through a seam instead
// of the real modal loop.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "window.h"

namespace corvel::ui {

class Dialog : public Window {
public:
    explicit Dialog(int resourceId) : resourceId_(resourceId) {}
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    int ResourceId() const { return resourceId_; }
    // The code passed to End, or -1 when the dialog could not be created.
    INT_PTR RunModal(HWND owner);

protected:
    virtual bool OnInit() { return true; }
    // Default: OK and Cancel end the dialog with their id.
    virtual bool OnCommand(int id, int notifyCode, HWND control);
    virtual LRESULT OnNotify(NMHDR* header);
    // The context menu was asked for over window; at is in screen
    // coordinates ({-1, -1} from the keyboard). False to let the system go on.
    virtual bool OnContextMenu(HWND /*window*/, POINT /*at*/) { return false; }
    // Any other message; true when handled (the dialog procedure's answer).
    virtual bool OnMessage(UINT, WPARAM, LPARAM) { return false; }
    void End(INT_PTR code) { EndDialog(hwnd_, code); }
    // The text of control id in code page 936, or nothing when it holds a
    // character the code page lacks: the user has been told, in the
    // dialog's caption, and the focus is on the field.
    std::optional<std::string> TypedText(int id) const;
    // Puts a chosen path into control id, or tells the user as TypedText
    // does and leaves the field alone; false then.
    bool PutChosenText(int id, const std::wstring& chosen) const;

private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    int resourceId_;
};

// While set, RunModal hands each dialog to hook, which returns the code the
// dialog would have ended with.
using ModalDialogHook = std::function<INT_PTR(Dialog&)>;
void SetModalDialogHookForTesting(ModalDialogHook hook);

}  // namespace corvel::ui
