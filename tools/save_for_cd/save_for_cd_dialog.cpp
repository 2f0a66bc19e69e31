#include "save_for_cd_dialog.h"

#include <commctrl.h>

#include "message_box.h"
#include "resource.h"
#include "shell_cd_file_system.h"
#include "shell_choosers.h"
#include "win32_text.h"

namespace corvel::ui {

namespace {

// A heading and one path a line, after a blank line when text has some already.
void AppendList(std::wstring& text, UINT heading, const std::vector<std::string>& paths) {
    if (paths.empty()) return;
    if (!text.empty()) text += L"\n\n";
    text += LoadResourceString(heading);
    for (const std::string& path : paths) text += L"\n" + WideFromCp936(path);
}

}  // namespace

CSaveForCdDialog::CSaveForCdDialog(Catalogue& catalogue, ProgramFiles program)
    : Dialog(IDD_SAVE_FOR_CD), catalogue_(catalogue), program_(std::move(program)) {}

bool CSaveForCdDialog::OnInit() {
    FillCategories();
    EnableIconControls();
    SetFocus(Child(IDC_SAVE_FOLDER));
    return false;  // the focus is set
}

void CSaveForCdDialog::FillCategories() {
    HWND list = Child(IDC_SAVE_CATEGORIES);
    RECT client{};
    GetClientRect(list, &client);
    std::wstring title = LoadResourceString(IDS_SAVE_CATEGORY_COLUMN);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = title.data();
    column.cx = client.right - client.left;
    SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT,
                                        LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);

    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    int rows = 0;
    catalogue_.Enumerate(catalogue_.Root(), NodeKind::Category, [&](NodeKind, CatalogueNode* category) {
        std::wstring name = WideFromCp936(category->Name());
        LVITEMW row{};
        row.mask = LVIF_TEXT | LVIF_PARAM;
        row.iItem = rows;
        row.pszText = name.data();
        row.lParam = reinterpret_cast<LPARAM>(category);
        int index = static_cast<int>(SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&row)));
        if (index < 0) return;
        ListView_SetCheckState(list, index, TRUE);
        ++rows;
    });
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    FocusFirstRow(list);
}

void CSaveForCdDialog::EnableIconControls() {
    BOOL autorun = IsDlgButtonChecked(hwnd_, IDC_SAVE_AUTORUN) == BST_CHECKED;
    EnableWindow(Child(IDC_SAVE_ICON), autorun);
    EnableWindow(Child(IDC_SAVE_BROWSE_ICON), autorun);
}

bool CSaveForCdDialog::OnCommand(int id, int notifyCode, HWND control) {
    if (id == IDOK) {
        Save();
        return true;
    }
    if (notifyCode == BN_CLICKED) {
        switch (id) {
            case IDC_SAVE_AUTORUN:
                EnableIconControls();
                return true;
            case IDC_SAVE_BROWSE_ICON:
                BrowseIcon();
                return true;
            case IDC_SAVE_BROWSE_FOLDER:
                BrowseFolder();
                return true;
        }
    }
    return Dialog::OnCommand(id, notifyCode, control);
}

void CSaveForCdDialog::BrowseIcon() {
    std::wstring path = ChooseFile(true, LoadResourceString(IDS_SAVE_ICON_FILTER), hwnd_);
    if (!path.empty()) PutChosenText(IDC_SAVE_ICON, path);
}

void CSaveForCdDialog::BrowseFolder() {
    std::wstring folder = ChooseFolder(hwnd_, LoadResourceString(IDS_SAVE_CHOOSE_FOLDER));
    if (!folder.empty()) PutChosenText(IDC_SAVE_FOLDER, folder);
}

std::vector<const CatalogueNode*> CSaveForCdDialog::CheckedCategories() const {
    HWND list = Child(IDC_SAVE_CATEGORIES);
    std::vector<const CatalogueNode*> categories;
    int rows = ListView_GetItemCount(list);
    for (int index = 0; index < rows; ++index) {
        if (!ListView_GetCheckState(list, index)) continue;
        LVITEMW row{};
        row.mask = LVIF_PARAM;
        row.iItem = index;
        if (SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&row)))
            categories.push_back(reinterpret_cast<const CatalogueNode*>(row.lParam));
    }
    return categories;
}

std::optional<SaveForCdRequest> CSaveForCdDialog::ReadRequest() const {
    SaveForCdRequest request;
    std::optional<std::string> folder = TypedText(IDC_SAVE_FOLDER);
    if (!folder) return std::nullopt;
    request.folderText = std::move(*folder);
    request.autorun = IsDlgButtonChecked(hwnd_, IDC_SAVE_AUTORUN) == BST_CHECKED;
    if (request.autorun) {
        std::optional<std::string> icon = TypedText(IDC_SAVE_ICON);
        if (!icon) return std::nullopt;
        request.iconText = std::move(*icon);
    }
    request.categories = CheckedCategories();
    return request;
}

void CSaveForCdDialog::Report(const std::wstring& text, MessageIcon icon) const {
    UINT flag = icon == MessageIcon::Stop ? MB_ICONSTOP : MB_ICONEXCLAMATION;
    ShowMessageBox(hwnd_, text, LoadResourceString(IDS_SAVE_CAPTION), MB_OK | flag);
}

void CSaveForCdDialog::Save() {
    std::optional<SaveForCdRequest> typed = ReadRequest();
    if (!typed) return;
    const SaveForCdRequest& request = *typed;
    ShellCdFileSystem files;
    SaveForCdCheck check = CheckSaveForCd(request, program_.folder, files);
    if (!check.Accepted()) {
        Report(LoadResourceString(IDS_SAVE_CHECK_BASE + static_cast<UINT>(check.refusal)), IconFor(check.refusal));
        return;
    }
    std::vector<std::string> notSaved = RunCdSteps(PlanCdSteps(request, check.saveFolder, program_, catalogue_, files));
    std::vector<std::string> leftover = LeftoverComponents(check.saveFolder, program_, files);
    // The user must not burn a CD that lacks what was meant to be on it, or
    // that holds components which change what it does.
    std::wstring text;
    AppendList(text, IDS_SAVE_NOT_SAVED, notSaved);
    AppendList(text, IDS_SAVE_LEFTOVER_COMPONENTS, leftover);
    if (!text.empty()) Report(text, notSaved.empty() ? MessageIcon::Exclamation : MessageIcon::Stop);
    End(IDOK);
}

}  // namespace corvel::ui
