// Modal dialogs from resources, with the item helpers a dialog needs. A test
// can run them through a seam instead of the real modal loop.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/names.h"
#include "ui/window/window.h"

namespace corvel::ui {

// How a chosen folder goes into its field: refused when code page 936
// cannot hold it, or as chosen, for a field that never becomes code page
// 936 or is checked when it is read.
enum class ChosenFolder { MustFitCp936, AsChosen };
// How a chosen file goes into its field: as a path, or quoted when it holds
// a blank, for a field that is split into a program and its parameters.
enum class ChosenFile { Path, Command };

class Dialog : public Window {
public:
    // messageCaption: the string resource that captions what the dialog
    // tells the user; without one, the dialog's own title does.
    explicit Dialog(int resourceId, UINT messageCaption = 0)
        : resourceId_(resourceId), messageCaption_(messageCaption) {}
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    int ResourceId() const { return resourceId_; }
    // The code passed to End, or -1 when the dialog could not be created.
    INT_PTR RunModal(HWND owner);

protected:
    virtual bool OnInit() { return true; }
    // Default: a BN_CLICKED goes to OnButtonClicked.
    virtual bool OnCommand(int id, int notifyCode, HWND control);
    // A button was clicked (Enter and Escape press OK and Cancel), or a menu
    // entry chosen: both come as BN_CLICKED. Default: OK and Cancel end the
    // dialog with their id.
    virtual bool OnButtonClicked(int id);
    virtual LRESULT OnNotify(NMHDR* header);
    // The context menu was asked for over window; at is in screen
    // coordinates ({-1, -1} from the keyboard). False to let the system go on.
    virtual bool OnContextMenu(HWND /*window*/, POINT /*at*/) { return false; }
    // The session is about to end (log-off, shut-down): false to object.
    virtual bool OnQueryEndSession() { return true; }
    // The session ends (ending) or goes on after all.
    virtual void OnEndSession(bool /*ending*/) {}
    // Any other message; true when handled (the dialog procedure's answer).
    virtual bool OnMessage(UINT, WPARAM, LPARAM) { return false; }
    void End(INT_PTR code) { EndDialog(hwnd_, code); }

    Window Item(int id) const { return Window(Child(id)); }
    void EnableItem(int id, bool enable) const { EnableWindow(Child(id), enable); }
    void ShowItem(int id, bool show) const { ShowWindow(Child(id), show ? SW_SHOW : SW_HIDE); }
    bool IsChecked(int id) const { return IsDlgButtonChecked(hwnd_, id) == BST_CHECKED; }
    void SetChecked(int id, bool checked) const { CheckDlgButton(hwnd_, id, checked ? BST_CHECKED : BST_UNCHECKED); }
    // Shows a code page 936 text in control id.
    void SetCp936Text(int id, std::string_view text) const;
    // The text of control id in code page 936, or nothing when it holds a
    // character the code page lacks: the user has been told, in the
    // dialog's caption, and the focus is on the field.
    std::optional<std::string> TypedText(int id) const;
    // Puts a chosen path into control id, or tells the user as TypedText
    // does and leaves the field alone; false then.
    bool PutChosenText(int id, const std::wstring& chosen) const;
    // The folder browser (title: a string resource) for edit field id;
    // true when a chosen folder went into the field.
    bool BrowseFolderInto(int id, UINT title, ChosenFolder kind = ChosenFolder::MustFitCp936) const;
    // The open-file dialog (filter: a string resource, "text|pattern||")
    // for edit field id, which takes what code page 936 holds; true when a
    // chosen file went into the field.
    bool BrowseFileInto(int id, UINT filter, ChosenFile kind = ChosenFile::Path) const;
    // A message box owned by the dialog under its message caption; the
    // button pressed.
    int Tell(const std::wstring& text, UINT flags) const;
    int Tell(UINT text, UINT flags) const { return Tell(LoadResourceString(text), flags); }
    void Tell(const std::wstring& text, MessageIcon icon) const;

private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR Dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    int resourceId_;
    UINT messageCaption_;
};

// While set, RunModal hands each dialog to hook, which returns the code the
// dialog would have ended with.
using ModalDialogHook = std::function<INT_PTR(Dialog&)>;
void SetModalDialogHookForTesting(ModalDialogHook hook);

}  // namespace corvel::ui
