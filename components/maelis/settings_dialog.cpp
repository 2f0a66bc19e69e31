#include "components/maelis/settings_dialog.h"

#include <shellapi.h>

#include "catalogue/shell/native_system.h"
#include "catalogue/shell/shell_copy.h"
#include "catalogue/shell/shell_files.h"
#include "catalogue/win32_text.h"
#include "components/maelis/maelis_resource.h"

namespace corvel::maelis {

namespace {

constexpr int kCopyControls[] = {IDC_COPY_LABEL, IDC_TARGET_FOLDER, IDC_BROWSE, IDC_OVERWRITE};

bool FolderExistsFor(const std::string& folder) {
    return FolderExists(folder);
}

}  // namespace

CSettingsDialog::CSettingsDialog(std::string itemName, std::string filePath, std::string installFolder)
    : Dialog(IDD_SETTINGS, IDS_SETTINGS_CAPTION),
      itemName_(std::move(itemName)),
      filePath_(std::move(filePath)),
      installFolder_(std::move(installFolder)) {}

bool CSettingsDialog::OnInit() {
    if (filePath_.empty()) {
        End(kFailed);
        return true;
    }
    SetCp936Text(IDC_ITEM_NAME, itemName_);
    SetCp936Text(IDC_FILE_PATH, filePath_);
    SetCp936Text(IDC_TARGET_FOLDER, installFolder_);
    Mode mode = InitialMode(filePath_);
    // Only a registry export may be imported.
    if (mode == Mode::DataFile) EnableItem(IDC_REGISTRY_MODE, false);
    SetMode(mode);
    // Data-file mode has put the focus on the folder; otherwise OK takes it
    // rather than the read-only item name.
    if (mode == Mode::Registry) SetFocus(Child(IDOK));
    return false;
}

void CSettingsDialog::SetMode(Mode mode) {
    ModeControls controls = ControlsFor(mode);
    SetChecked(IDC_REGISTRY_MODE, controls.registryChecked);
    SetChecked(IDC_DATA_FILE_MODE, controls.dataFileChecked);
    EnableItem(IDC_IMPORT_LABEL, controls.importLabelEnabled);
    for (int id : kCopyControls) EnableItem(id, controls.copyControlsEnabled);
    if (mode == Mode::DataFile) {
        Window folder = Item(IDC_TARGET_FOLDER);
        folder.Send(EM_SETSEL, 0, -1);
        folder.Send(EM_SCROLLCARET);
        SetFocus(folder.Handle());
    }
}

bool CSettingsDialog::OnButtonClicked(int id) {
    switch (id) {
        case IDOK:
            OnOk();
            return true;
        case IDCANCEL:
            End(kAbandonItem);
            return true;
        case IDC_ABANDON_ALL:
            OnAbandonAll();
            return true;
        case IDC_BROWSE:
            BrowseFolderInto(IDC_TARGET_FOLDER, IDS_BROWSE_TITLE);
            return true;
        case IDC_REGISTRY_MODE:
        case IDC_DATA_FILE_MODE:
            SetMode(id == IDC_REGISTRY_MODE ? Mode::Registry : Mode::DataFile);
            return true;
    }
    return false;
}

void CSettingsDialog::OnOk() {
    Mode mode = IsChecked(IDC_REGISTRY_MODE) ? Mode::Registry : Mode::DataFile;
    std::optional<std::string> folder = TypedText(IDC_TARGET_FOLDER);
    if (!folder) return;
    switch (DecideOk(mode, filePath_, FileExists(filePath_), *folder, FolderExistsFor)) {
        case OkOutcome::FileMissing:
            Tell(IDS_FILE_MISSING, MB_OK | MB_ICONSTOP);
            End(kFailed);
            return;
        case OkOutcome::FolderEmpty:
            Tell(IDS_FOLDER_EMPTY, MB_OK | MB_ICONEXCLAMATION);
            return;
        case OkOutcome::FolderMissing:
            Tell(IDS_FOLDER_MISSING, MB_OK | MB_ICONEXCLAMATION);
            return;
        case OkOutcome::Copy:
            if (CopyIntoTarget(*folder)) {
                End(kDone);
            } else {
                Tell(IDS_COPY_FAILED, MB_OK | MB_ICONSTOP);
                End(kFailed);
            }
            return;
        case OkOutcome::Import:
            if (StartRegedit()) {
                End(kDone);
                return;
            }
            [[fallthrough]];
        case OkOutcome::ImportRefused:
            Tell(IDS_IMPORT_FAILED, MB_OK | MB_ICONSTOP);
            End(kFailed);
            return;
    }
}

bool CSettingsDialog::CopyIntoTarget(const std::string& folder) const {
    bool overwrite = IsChecked(IDC_OVERWRITE);
    if (!CopyFileIntoFolder(filePath_, folder, !overwrite)) return false;
    // A file from a CD comes read-only, and the program could not save its
    // settings into it.
    return MakeFileWritable(DestinationPath(folder, filePath_));
}

bool CSettingsDialog::StartRegedit() const {
    std::wstring program = WideFromCp936(RegeditProgram(WindowsFolder(), RunsUnderWow64()));
    std::wstring parameters = WideFromCp936(RegeditParameters(filePath_));
    if (RunsUnderWow64() && !WindowsFolder().empty()) return StartUnredirected(program, parameters);
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof info;
    // A failure is reported by our own message; the shell must not show one too.
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.hwnd = hwnd_;
    info.lpVerb = L"open";
    info.lpFile = program.c_str();
    info.lpParameters = parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    ShellExecuteExW(&info);
    // The import runs on its own; only the start is judged.
    return reinterpret_cast<INT_PTR>(info.hInstApp) > 32;
}

void CSettingsDialog::OnAbandonAll() {
    if (Tell(IDS_ABANDON_ALL_QUESTION, MB_YESNO | MB_ICONEXCLAMATION) == IDYES) End(kAbandonAll);
}

bool CSettingsDialog::OnQueryEndSession() {
    End(kAbandonAll);
    return true;
}

}  // namespace corvel::maelis
