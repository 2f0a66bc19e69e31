#include "create_folders_dialog.h"

#include <optional>

#include "message_box.h"
#include "names.h"
#include "resource.h"
#include "shell_choosers.h"
#include "shell_files.h"
#include "typed_text.h"
#include "win32_text.h"

namespace corvel::ui {

namespace {

UINT MessageOf(FolderNameEdit verdict) {
    switch (verdict) {
        case FolderNameEdit::Empty:
            return IDS_FOLDER_NAME_EMPTY;
        case FolderNameEdit::LeadingBlank:
            return IDS_FOLDER_NAME_LEADING_BLANK;
        default:
            return IDS_FOLDER_NAME_INVALID;
    }
}

}  // namespace

CCreateFoldersDialog::CCreateFoldersDialog(std::vector<FolderRow> rows, std::string programFolder)
    : Dialog(IDD_CREATE_FOLDERS), initialRows_(std::move(rows)), programFolder_(std::move(programFolder)) {}

CCreateFoldersDialog::~CCreateFoldersDialog() {
    if (contextMenu_) DestroyMenu(contextMenu_);
}

bool CCreateFoldersDialog::OnInit() {
    if (initialRows_.empty()) {
        End(IDCANCEL);
        return true;
    }
    list_ = Child(IDC_CREATE_FOLDERS_LIST);
    RECT client;
    GetClientRect(list_, &client);
    std::wstring heading = LoadResourceString(IDS_CREATE_FOLDERS_COLUMN);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = heading.data();
    column.cx = client.right;
    ListView_InsertColumn(list_, 0, &column);
    ListView_SetExtendedListViewStyleEx(list_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                                        LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    BuildContextMenu();
    AddRows();
    FocusFirstRow(list_);
    SetFocus(Child(IDC_CREATE_FOLDERS_TARGET));
    return false;  // the focus is set
}

void CCreateFoldersDialog::BuildContextMenu() {
    contextMenu_ = CreatePopupMenu();
    AppendMenuW(contextMenu_, MF_STRING, ID_CREATE_FOLDERS_RENAME,
                LoadResourceString(IDS_CREATE_FOLDERS_RENAME).c_str());
    AppendMenuW(contextMenu_, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(contextMenu_, MF_STRING, ID_CREATE_FOLDERS_TICK_ALL,
                LoadResourceString(IDS_CREATE_FOLDERS_TICK_ALL).c_str());
    AppendMenuW(contextMenu_, MF_STRING, ID_CREATE_FOLDERS_UNTICK_ALL,
                LoadResourceString(IDS_CREATE_FOLDERS_UNTICK_ALL).c_str());
}

void CCreateFoldersDialog::AddRows() {
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    int index = 0;
    for (const FolderRow& row : initialRows_) {
        std::wstring text = WideFromCp936(row.name);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = index++;
        item.pszText = text.data();
        int inserted = ListView_InsertItem(list_, &item);
        if (inserted >= 0) ListView_SetCheckState(list_, inserted, row.ticked);
    }
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
}

HMENU CCreateFoldersDialog::PreparedContextMenu() {
    bool hasRows = ListView_GetItemCount(list_) > 0;
    bool hasSelection = ListView_GetNextItem(list_, -1, LVNI_SELECTED) >= 0;
    EnableMenuItem(contextMenu_, ID_CREATE_FOLDERS_RENAME, MF_BYCOMMAND | (hasSelection ? MF_ENABLED : MF_GRAYED));
    for (UINT id : {ID_CREATE_FOLDERS_TICK_ALL, ID_CREATE_FOLDERS_UNTICK_ALL})
        EnableMenuItem(contextMenu_, id, MF_BYCOMMAND | (hasRows ? MF_ENABLED : MF_GRAYED));
    return contextMenu_;
}

std::wstring CCreateFoldersDialog::RowText(int row) const {
    std::wstring text(64, L'\0');
    for (;;) {
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        auto length =
            static_cast<std::size_t>(SendMessageW(list_, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(text.size() * 2);  // the text may have been cut
    }
}

std::vector<FolderRow> CCreateFoldersDialog::ListedRows() const {
    std::vector<FolderRow> rows;
    for (int i = 0, count = ListView_GetItemCount(list_); i < count; ++i)
        rows.push_back({Cp936PathFromWide(RowText(i)), ListView_GetCheckState(list_, i) != FALSE});
    return rows;
}

void CCreateFoldersDialog::TickAll(bool ticked) {
    for (int i = 0, count = ListView_GetItemCount(list_); i < count; ++i) ListView_SetCheckState(list_, i, ticked);
}

void CCreateFoldersDialog::RenameFirstSelected() {
    int row = ListView_GetNextItem(list_, -1, LVNI_SELECTED);
    if (row < 0) return;
    SetFocus(list_);
    ListView_EditLabel(list_, row);
}

bool CCreateFoldersDialog::EndLabelEdit(const NMLVDISPINFOW& edit) {
    std::optional<std::string> text;
    if (edit.item.pszText) {
        text = ExactCp936FromWide(edit.item.pszText);
        if (!text) {
            TellUnstorableText(hwnd_, LoadResourceString(IDS_CREATE_FOLDERS_COLUMN), Text());
            return false;
        }
    }
    FolderNameEdit verdict = CheckFolderNameEdit(text);
    if (verdict == FolderNameEdit::Accept) return true;
    if (verdict != FolderNameEdit::Cancelled)
        Say(LoadResourceString(MessageOf(verdict)),
            IconFor(verdict) == MessageIcon::Stop ? MB_ICONSTOP : MB_ICONEXCLAMATION);
    return false;
}

void CCreateFoldersDialog::CreateFolders() {
    const std::optional<std::string> typed = TypedText(IDC_CREATE_FOLDERS_TARGET);
    if (!typed) return;
    if (typed->empty()) {
        Say(LoadResourceString(IDS_CREATE_FOLDERS_TARGET_EMPTY), MB_ICONEXCLAMATION);
        return;
    }
    FolderPlan plan = PlanFolders(*typed, ListedRows());
    if (!CreateFolderPath(plan.target)) {
        Say(LoadResourceString(IDS_CREATE_FOLDERS_TARGET_FAILED), MB_ICONSTOP);
        return;
    }
    if (plan.invalidRow) {
        Say(FormatResourceString(IDS_CREATE_FOLDERS_ROW_INVALID,
                                 {std::to_wstring(plan.invalidRow->number), WideFromCp936(plan.invalidRow->name)}),
            MB_ICONSTOP);
        return;
    }
    const std::vector<std::string> notMade = MakeFolders(plan.folders, CreateFolderPath);
    if (!notMade.empty()) {
        // A target the user cannot write to (a CD, say) must not pass for done.
        std::wstring text = LoadResourceString(IDS_CREATE_FOLDERS_NOT_MADE);
        for (const std::string& folder : notMade) text += L"\n" + WideFromCp936(folder);
        Say(text, MB_ICONSTOP);
    }
    End(IDOK);
}

void CCreateFoldersDialog::Say(const std::wstring& text, UINT icon) {
    ShowMessageBox(hwnd_, text, LoadResourceString(IDS_CREATE_FOLDERS_CAPTION), MB_OK | icon);
}

bool CCreateFoldersDialog::OnCommand(int id, int notifyCode, HWND control) {
    switch (id) {
        case IDOK:
            CreateFolders();
            return true;
        case IDC_CREATE_FOLDERS_CURRENT:
            Window(Child(IDC_CREATE_FOLDERS_TARGET)).SetText(WideFromCp936(programFolder_));
            return true;
        case IDC_CREATE_FOLDERS_BROWSE: {
            std::wstring chosen = ChooseFolder(hwnd_, LoadResourceString(IDS_CREATE_FOLDERS_CHOOSE_TARGET));
            if (!chosen.empty()) Window(Child(IDC_CREATE_FOLDERS_TARGET)).SetText(chosen);
            return true;
        }
        case ID_CREATE_FOLDERS_RENAME:
            RenameFirstSelected();
            return true;
        case ID_CREATE_FOLDERS_TICK_ALL:
        case ID_CREATE_FOLDERS_UNTICK_ALL:
            TickAll(id == ID_CREATE_FOLDERS_TICK_ALL);
            return true;
    }
    return Dialog::OnCommand(id, notifyCode, control);
}

// A right click on the list, Shift+F10 or the menu key: from the keyboard
// the menu opens at the focused row.
bool CCreateFoldersDialog::OnContextMenu(HWND window, POINT at) {
    if (window != list_) return false;
    if (at.x == -1 && at.y == -1) {
        RECT row{};
        int focused = ListView_GetNextItem(list_, -1, LVNI_FOCUSED);
        if (focused < 0 || !ListView_GetItemRect(list_, focused, &row, LVIR_LABEL)) GetClientRect(list_, &row);
        at = {row.left, row.bottom};
        ClientToScreen(list_, &at);
    }
    TrackPopupMenu(PreparedContextMenu(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd_, nullptr);
    return true;
}

LRESULT CCreateFoldersDialog::OnNotify(NMHDR* header) {
    if (header->hwndFrom != list_) return 0;
    if (header->code == LVN_ENDLABELEDITW) return EndLabelEdit(*reinterpret_cast<NMLVDISPINFOW*>(header));
    return 0;
}

}  // namespace corvel::ui
