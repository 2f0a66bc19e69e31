#include "tools/create_folders/create_folders_dialog.h"

#include <optional>

#include "catalogue/names.h"
#include "catalogue/shell/shell_choosers.h"
#include "catalogue/shell/shell_files.h"
#include "catalogue/win32_text.h"
#include "ui/main/resource.h"
#include "ui/window/typed_text.h"

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
    : Dialog(IDD_CREATE_FOLDERS, IDS_CREATE_FOLDERS_CAPTION),
      initialRows_(std::move(rows)),
      programFolder_(std::move(programFolder)) {}

bool CCreateFoldersDialog::OnInit() {
    if (initialRows_.empty()) {
        End(IDCANCEL);
        return true;
    }
    list_ = ListView(Child(IDC_CREATE_FOLDERS_LIST));
    list_.SetUpCheckList(LoadResourceString(IDS_CREATE_FOLDERS_COLUMN));
    BuildContextMenu();
    AddRows();
    list_.FocusFirstRow();
    SetFocus(Child(IDC_CREATE_FOLDERS_TARGET));
    return false;  // the focus is set
}

void CCreateFoldersDialog::BuildContextMenu() {
    contextMenu_.reset(CreatePopupMenu());
    AppendMenuW(contextMenu_.get(), MF_STRING, ID_CREATE_FOLDERS_RENAME,
                LoadResourceString(IDS_CREATE_FOLDERS_RENAME).c_str());
    AppendMenuW(contextMenu_.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(contextMenu_.get(), MF_STRING, ID_CREATE_FOLDERS_TICK_ALL,
                LoadResourceString(IDS_CREATE_FOLDERS_TICK_ALL).c_str());
    AppendMenuW(contextMenu_.get(), MF_STRING, ID_CREATE_FOLDERS_UNTICK_ALL,
                LoadResourceString(IDS_CREATE_FOLDERS_UNTICK_ALL).c_str());
}

void CCreateFoldersDialog::AddRows() {
    list_.Send(WM_SETREDRAW, FALSE);
    for (const FolderRow& row : initialRows_) {
        int inserted = list_.AddRow(WideFromCp936(row.name));
        if (inserted >= 0) list_.SetChecked(inserted, row.ticked);
    }
    list_.Send(WM_SETREDRAW, TRUE);
}

HMENU CCreateFoldersDialog::PreparedContextMenu() {
    bool hasRows = list_.Count() > 0;
    bool hasSelection = list_.FirstSelectedRow() >= 0;
    EnableMenuItem(contextMenu_.get(), ID_CREATE_FOLDERS_RENAME,
                   MF_BYCOMMAND | (hasSelection ? MF_ENABLED : MF_GRAYED));
    for (UINT id : {ID_CREATE_FOLDERS_TICK_ALL, ID_CREATE_FOLDERS_UNTICK_ALL})
        EnableMenuItem(contextMenu_.get(), id, MF_BYCOMMAND | (hasRows ? MF_ENABLED : MF_GRAYED));
    return contextMenu_.get();
}

std::vector<FolderRow> CCreateFoldersDialog::ListedRows() const {
    std::vector<FolderRow> rows;
    for (int i = 0, count = list_.Count(); i < count; ++i)
        rows.push_back({Cp936PathFromWide(list_.RowText(i)), list_.IsChecked(i)});
    return rows;
}

void CCreateFoldersDialog::TickAll(bool ticked) {
    for (int i = 0, count = list_.Count(); i < count; ++i) list_.SetChecked(i, ticked);
}

void CCreateFoldersDialog::RenameFirstSelected() {
    int row = list_.FirstSelectedRow();
    if (row < 0) return;
    SetFocus(list_.Handle());
    ListView_EditLabel(list_.Handle(), row);
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
    if (verdict != FolderNameEdit::Cancelled) Tell(LoadResourceString(MessageOf(verdict)), IconFor(verdict));
    return false;
}

void CCreateFoldersDialog::CreateFolders() {
    const std::optional<std::string> typed = TypedText(IDC_CREATE_FOLDERS_TARGET);
    if (!typed) return;
    if (typed->empty()) {
        Tell(IDS_CREATE_FOLDERS_TARGET_EMPTY, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    FolderPlan plan = PlanFolders(*typed, ListedRows());
    if (!CreateFolderPath(plan.target)) {
        Tell(IDS_CREATE_FOLDERS_TARGET_FAILED, MB_OK | MB_ICONSTOP);
        return;
    }
    if (plan.invalidRow) {
        Tell(FormatResourceString(IDS_CREATE_FOLDERS_ROW_INVALID,
                                  {std::to_wstring(plan.invalidRow->number), WideFromCp936(plan.invalidRow->name)}),
             MB_OK | MB_ICONSTOP);
        return;
    }
    const std::vector<std::string> notMade = MakeFolders(plan.folders, CreateFolderPath);
    if (!notMade.empty()) {
        // A target the user cannot write to (a CD, say) must not pass for done.
        std::wstring text = LoadResourceString(IDS_CREATE_FOLDERS_NOT_MADE);
        for (const std::string& folder : notMade) text += L"\n" + WideFromCp936(folder);
        Tell(text, MB_OK | MB_ICONSTOP);
    }
    End(IDOK);
}

bool CCreateFoldersDialog::OnButtonClicked(int id) {
    switch (id) {
        case IDOK:
            CreateFolders();
            return true;
        case IDC_CREATE_FOLDERS_CURRENT:
            SetCp936Text(IDC_CREATE_FOLDERS_TARGET, programFolder_);
            return true;
        case IDC_CREATE_FOLDERS_BROWSE:
            // The target is checked when it is read.
            BrowseFolderInto(IDC_CREATE_FOLDERS_TARGET, IDS_CREATE_FOLDERS_CHOOSE_TARGET, ChosenFolder::AsChosen);
            return true;
        case ID_CREATE_FOLDERS_RENAME:
            RenameFirstSelected();
            return true;
        case ID_CREATE_FOLDERS_TICK_ALL:
        case ID_CREATE_FOLDERS_UNTICK_ALL:
            TickAll(id == ID_CREATE_FOLDERS_TICK_ALL);
            return true;
    }
    return Dialog::OnButtonClicked(id);
}

// A right click on the list, Shift+F10 or the menu key: from the keyboard
// the menu opens at the focused row.
bool CCreateFoldersDialog::OnContextMenu(HWND window, POINT at) {
    HWND list = list_.Handle();
    if (window != list) return false;
    if (at.x == -1 && at.y == -1) {
        RECT row{};
        int focused = ListView_GetNextItem(list, -1, LVNI_FOCUSED);
        if (focused < 0 || !ListView_GetItemRect(list, focused, &row, LVIR_LABEL)) GetClientRect(list, &row);
        at = {row.left, row.bottom};
        ClientToScreen(list, &at);
    }
    TrackPopupMenu(PreparedContextMenu(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd_, nullptr);
    return true;
}

LRESULT CCreateFoldersDialog::OnNotify(NMHDR* header) {
    if (header->hwndFrom != list_.Handle()) return 0;
    if (header->code == LVN_ENDLABELEDITW) return EndLabelEdit(*reinterpret_cast<NMLVDISPINFOW*>(header));
    return 0;
}

}  // namespace corvel::ui
