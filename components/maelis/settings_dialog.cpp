#include "settings_dialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include "maelis_resource.h"
#include "message_box.h"
#include "native_system.h"
#include "no_throw.h"
#include "shell_choosers.h"
#include "shell_copy.h"
#include "shell_files.h"
#include "win32_text.h"

namespace corvel::maelis {

namespace {

constexpr UINT_PTR kSessionEndSubclass = 1;
constexpr int kCopyControls[] = {IDC_COPY_LABEL, IDC_TARGET_FOLDER, IDC_BROWSE, IDC_OVERWRITE};

bool FolderExistsFor(const std::string& folder) {
    return FolderExists(folder);
}

}  // namespace

CSettingsDialog::CSettingsDialog(std::string itemName, std::string filePath, std::string installFolder)
    : Dialog(IDD_SETTINGS),
      itemName_(std::move(itemName)),
      filePath_(std::move(filePath)),
      installFolder_(std::move(installFolder)) {}

bool CSettingsDialog::OnInit() {
    if (filePath_.empty()) {
        End(kFailed);
        return true;
    }
    SetWindowSubclass(hwnd_, SessionEndHook, kSessionEndSubclass, reinterpret_cast<DWORD_PTR>(this));
    Window(Child(IDC_ITEM_NAME)).SetText(WideFromCp936(itemName_));
    Window(Child(IDC_FILE_PATH)).SetText(WideFromCp936(filePath_));
    Window(Child(IDC_TARGET_FOLDER)).SetText(WideFromCp936(installFolder_));
    Mode mode = InitialMode(filePath_);
    // Only a registry export may be imported.
    if (mode == Mode::DataFile) EnableWindow(Child(IDC_REGISTRY_MODE), FALSE);
    SetMode(mode);
    // Data-file mode has put the focus on the folder; otherwise OK takes it
    // rather than the read-only item name.
    if (mode == Mode::Registry) SetFocus(Child(IDOK));
    return false;
}

void CSettingsDialog::SetMode(Mode mode) {
    ModeControls controls = ControlsFor(mode);
    CheckDlgButton(hwnd_, IDC_REGISTRY_MODE, controls.registryChecked ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwnd_, IDC_DATA_FILE_MODE, controls.dataFileChecked ? BST_CHECKED : BST_UNCHECKED);
    EnableWindow(Child(IDC_IMPORT_LABEL), controls.importLabelEnabled);
    for (int id : kCopyControls) EnableWindow(Child(id), controls.copyControlsEnabled);
    if (mode == Mode::DataFile) {
        Window folder(Child(IDC_TARGET_FOLDER));
        folder.Send(EM_SETSEL, 0, -1);
        folder.Send(EM_SCROLLCARET);
        SetFocus(folder.Handle());
    }
}

bool CSettingsDialog::OnCommand(int id, int notifyCode, HWND) {
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
            OnBrowse();
            return true;
        case IDC_REGISTRY_MODE:
        case IDC_DATA_FILE_MODE:
            if (notifyCode != BN_CLICKED) return false;
            SetMode(id == IDC_REGISTRY_MODE ? Mode::Registry : Mode::DataFile);
            return true;
    }
    return false;
}

int CSettingsDialog::Say(UINT textId, UINT flags) const {
    return ui::ShowMessageBox(hwnd_, ui::LoadResourceString(textId), ui::LoadResourceString(IDS_SETTINGS_CAPTION),
                              flags);
}

void CSettingsDialog::OnOk() {
    Mode mode = IsDlgButtonChecked(hwnd_, IDC_REGISTRY_MODE) == BST_CHECKED ? Mode::Registry : Mode::DataFile;
    std::optional<std::string> folder = TypedText(IDC_TARGET_FOLDER);
    if (!folder) return;
    switch (DecideOk(mode, filePath_, FileExists(filePath_), *folder, FolderExistsFor)) {
        case OkOutcome::FileMissing:
            Say(IDS_FILE_MISSING, MB_OK | MB_ICONSTOP);
            End(kFailed);
            return;
        case OkOutcome::FolderEmpty:
            Say(IDS_FOLDER_EMPTY, MB_OK | MB_ICONEXCLAMATION);
            return;
        case OkOutcome::FolderMissing:
            Say(IDS_FOLDER_MISSING, MB_OK | MB_ICONEXCLAMATION);
            return;
        case OkOutcome::Copy:
            if (CopyIntoTarget(*folder)) {
                End(kDone);
            } else {
                Say(IDS_COPY_FAILED, MB_OK | MB_ICONSTOP);
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
            Say(IDS_IMPORT_FAILED, MB_OK | MB_ICONSTOP);
            End(kFailed);
            return;
    }
}

bool CSettingsDialog::CopyIntoTarget(const std::string& folder) const {
    bool overwrite = IsDlgButtonChecked(hwnd_, IDC_OVERWRITE) == BST_CHECKED;
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

void CSettingsDialog::OnBrowse() {
    std::wstring chosen = ChooseFolder(hwnd_, ui::LoadResourceString(IDS_BROWSE_TITLE));
    if (!chosen.empty()) PutChosenText(IDC_TARGET_FOLDER, chosen);
}

void CSettingsDialog::OnAbandonAll() {
    if (Say(IDS_ABANDON_ALL_QUESTION, MB_YESNO | MB_ICONEXCLAMATION) == IDYES) End(kAbandonAll);
}

LRESULT CALLBACK CSettingsDialog::SessionEndHook(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                 DWORD_PTR self) {
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, SessionEndHook, kSessionEndSubclass);
    LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
    if (message == WM_QUERYENDSESSION && result)
        NoThrow([&] { reinterpret_cast<CSettingsDialog*>(self)->End(kAbandonAll); });
    return result;
}

}  // namespace corvel::maelis
