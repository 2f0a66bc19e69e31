#include "tools/save_for_cd/save_for_cd_dialog.h"

#include "catalogue/win32_text.h"
#include "tools/save_for_cd/shell_cd_file_system.h"
#include "ui/main/resource.h"

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
    : Dialog(IDD_SAVE_FOR_CD, IDS_SAVE_CAPTION), catalogue_(catalogue), program_(std::move(program)) {}

bool CSaveForCdDialog::OnInit() {
    FillCategories();
    EnableIconControls();
    SetFocus(Child(IDC_SAVE_FOLDER));
    return false;  // the focus is set
}

void CSaveForCdDialog::FillCategories() {
    const ListView list(Child(IDC_SAVE_CATEGORIES));
    list.SetUpCheckList(LoadResourceString(IDS_SAVE_CATEGORY_COLUMN));

    list.Send(WM_SETREDRAW, FALSE);
    catalogue_.Enumerate(catalogue_.Root(), NodeKind::Category, [&](NodeKind, CatalogueNode* category) {
        int row = list.AddRow(WideFromCp936(category->Name()), reinterpret_cast<LPARAM>(category));
        if (row >= 0) list.SetChecked(row, true);
    });
    list.Send(WM_SETREDRAW, TRUE);
    list.FocusFirstRow();
}

void CSaveForCdDialog::EnableIconControls() {
    const bool autorun = IsChecked(IDC_SAVE_AUTORUN);
    EnableItem(IDC_SAVE_ICON, autorun);
    EnableItem(IDC_SAVE_BROWSE_ICON, autorun);
}

bool CSaveForCdDialog::OnButtonClicked(int id) {
    switch (id) {
        case IDOK:
            Save();
            return true;
        case IDC_SAVE_AUTORUN:
            EnableIconControls();
            return true;
        case IDC_SAVE_BROWSE_ICON:
            BrowseFileInto(IDC_SAVE_ICON, IDS_SAVE_ICON_FILTER);
            return true;
        case IDC_SAVE_BROWSE_FOLDER:
            BrowseFolderInto(IDC_SAVE_FOLDER, IDS_SAVE_CHOOSE_FOLDER);
            return true;
    }
    return Dialog::OnButtonClicked(id);
}

std::vector<const CatalogueNode*> CSaveForCdDialog::CheckedCategories() const {
    const ListView list(Child(IDC_SAVE_CATEGORIES));
    std::vector<const CatalogueNode*> categories;
    for (int row = 0, rows = list.Count(); row < rows; ++row) {
        if (!list.IsChecked(row)) continue;
        if (auto* category = reinterpret_cast<const CatalogueNode*>(list.RowData(row))) categories.push_back(category);
    }
    return categories;
}

std::optional<SaveForCdRequest> CSaveForCdDialog::ReadRequest() const {
    SaveForCdRequest request;
    std::optional<std::string> folder = TypedText(IDC_SAVE_FOLDER);
    if (!folder) return std::nullopt;
    request.folderText = std::move(*folder);
    request.autorun = IsChecked(IDC_SAVE_AUTORUN);
    if (request.autorun) {
        std::optional<std::string> icon = TypedText(IDC_SAVE_ICON);
        if (!icon) return std::nullopt;
        request.iconText = std::move(*icon);
    }
    request.categories = CheckedCategories();
    return request;
}

void CSaveForCdDialog::Save() {
    std::optional<SaveForCdRequest> typed = ReadRequest();
    if (!typed) return;
    const SaveForCdRequest& request = *typed;
    ShellCdFileSystem files;
    SaveForCdCheck check = CheckSaveForCd(request, program_.folder, files);
    if (!check.Accepted()) {
        Tell(LoadResourceString(IDS_SAVE_CHECK_BASE + static_cast<UINT>(check.refusal)), IconFor(check.refusal));
        return;
    }
    std::vector<std::string> notSaved = RunCdSteps(PlanCdSteps(request, check.saveFolder, program_, catalogue_, files));
    std::vector<std::string> leftover = LeftoverComponents(check.saveFolder, program_, files);
    // The user must not burn a CD that lacks what was meant to be on it, or
    // that holds components which change what it does.
    std::wstring text;
    AppendList(text, IDS_SAVE_NOT_SAVED, notSaved);
    AppendList(text, IDS_SAVE_LEFTOVER_COMPONENTS, leftover);
    if (!text.empty()) Tell(text, notSaved.empty() ? MessageIcon::Exclamation : MessageIcon::Stop);
    End(IDOK);
}

}  // namespace corvel::ui
