#include "ui/item_editor/item_editor_dialog.h"

#include <optional>

#include "ui/item_editor/item_checks.h"
#include "ui/main/resource.h"
#include "ui/window/message_box.h"

namespace corvel::ui {

namespace {

struct FieldControl {
    std::string ItemFields::*field;
    int id;
};

constexpr FieldControl kFieldControls[] = {
    {&ItemFields::Name, IDC_ITEM_NAME},         {&ItemFields::Comment, IDC_ITEM_COMMENT},
    {&ItemFields::SrcPath, IDC_ITEM_SRCPATH},   {&ItemFields::DstDir, IDC_ITEM_DSTDIR},
    {&ItemFields::Regcode, IDC_ITEM_REGCODE},   {&ItemFields::Patch, IDC_ITEM_PATCH},
    {&ItemFields::Settings, IDC_ITEM_SETTINGS},
};

struct FileBrowseButton {
    int button;
    int field;
    UINT filter;
};

constexpr FileBrowseButton kFileBrowseButtons[] = {
    {IDC_BROWSE_SRCPATH, IDC_ITEM_SRCPATH, IDS_FILTER_INSTALLER},
    {IDC_BROWSE_PATCH, IDC_ITEM_PATCH, IDS_FILTER_PATCH},
    {IDC_BROWSE_SETTINGS, IDC_ITEM_SETTINGS, IDS_FILTER_SETTINGS},
};

struct HelpButton {
    int button;
    UINT caption;
    UINT text;
};

constexpr HelpButton kHelpButtons[] = {
    {IDC_HELP_SRCPATH, IDS_HELP_SRCPATH_CAPTION, IDS_HELP_SRCPATH_TEXT},
    {IDC_HELP_DSTDIR, IDS_HELP_DSTDIR_CAPTION, IDS_HELP_DSTDIR_TEXT},
    {IDC_HELP_REGCODE, IDS_HELP_REGCODE_CAPTION, IDS_HELP_REGCODE_TEXT},
    {IDC_HELP_PATCH, IDS_HELP_PATCH_CAPTION, IDS_HELP_PATCH_TEXT},
    {IDC_HELP_SETTINGS, IDS_HELP_SETTINGS_CAPTION, IDS_HELP_SETTINGS_TEXT},
};

void PutCaretAtEnd(HWND edit) {
    int length = GetWindowTextLengthW(edit);
    SendMessageW(edit, EM_SETSEL, length, length);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
}

}  // namespace

CItemEditorDialog::CItemEditorDialog(ItemFields& record, ItemEditorMode mode)
    : Dialog(IDD_ITEM_EDITOR), record_(record), mode_(mode) {}

std::wstring CItemEditorDialog::Caption() const {
    return LoadResourceString(mode_ == ItemEditorMode::Add ? IDS_ITEM_EDITOR_ADD_CAPTION
                                                           : IDS_ITEM_EDITOR_EDIT_CAPTION);
}

bool CItemEditorDialog::OnInit() {
    SetText(Caption());
    for (const FieldControl& control : kFieldControls) SetCp936Text(control.id, record_.*control.field);

    HWND name = Child(IDC_ITEM_NAME);
    SendMessageW(name, EM_SETSEL, 0, -1);
    SendMessageW(name, EM_SCROLLCARET, 0, 0);
    SetFocus(name);
    return false;  // the focus is set
}

bool CItemEditorDialog::OnButtonClicked(int id) {
    if (id == IDOK) {
        Accept();
        return true;
    }
    for (const FileBrowseButton& browse : kFileBrowseButtons) {
        if (browse.button == id) {
            BrowseFileInto(browse.field, browse.filter, ChosenFile::Command);
            return true;
        }
    }
    for (const HelpButton& help : kHelpButtons) {
        if (help.button == id) {
            ShowMessageBox(hwnd_, LoadResourceString(help.text), LoadResourceString(help.caption), MB_OK);
            return true;
        }
    }
    if (id == IDC_BROWSE_DSTDIR) {
        // The install folder is one plain path, never split, so no quotes.
        BrowseFolderInto(IDC_ITEM_DSTDIR, IDS_CHOOSE_INSTALL_FOLDER);
        return true;
    }
    if (id == IDC_INSERT_SEPARATOR) {
        InsertSeparator();
        return true;
    }
    return Dialog::OnButtonClicked(id);
}

void CItemEditorDialog::Accept() {
    ItemFields typed;
    for (const FieldControl& control : kFieldControls) {
        std::optional<std::string> text = TypedText(control.id);
        if (!text) return;
        typed.*control.field = std::move(*text);
    }

    // The fields keep what was typed; only the record gets the trimmed texts.
    ItemCheck check = CheckItemFields(typed, record_);
    if (!check.Passed()) {
        // Under the dialog's title, which is Caption().
        Tell(LoadResourceString(IDS_ITEM_CHECK_BASE + check.step), check.icon);
        return;
    }
    End(IDOK);
}

void CItemEditorDialog::InsertSeparator() {
    Window regcode = Item(IDC_ITEM_REGCODE);
    std::wstring text = regcode.Text();
    if (text.empty()) {
        ShowMessageBox(hwnd_, LoadResourceString(IDS_SEPARATOR_HELP), LoadResourceString(IDS_SEPARATOR_HELP_CAPTION),
                       MB_OK);
        return;
    }
    regcode.SetText(text + L"||");
    // Through the dialog manager, so that the default button stays right.
    Send(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(regcode.Handle()), TRUE);
    PutCaretAtEnd(regcode.Handle());
}

}  // namespace corvel::ui
