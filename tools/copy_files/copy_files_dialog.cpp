#include "tools/copy_files/copy_files_dialog.h"

#include <commctrl.h>

#include "catalogue/shell/shell_copy.h"
#include "catalogue/shell/shell_files.h"
#include "catalogue/win32_text.h"
#include "engine/clipboard_win32.h"
#include "ui/main/resource.h"

namespace corvel::ui {

namespace {

// The controls that belong to copying into a folder.
constexpr int kFolderControls[] = {IDC_COPY_TARGET_FOLDER, IDC_COPY_CHOOSE_FOLDER, IDC_COPY_OVERWRITE,
                                   IDC_COPY_PROGRESS, IDC_COPY_STATUS};

struct MenuEntry {
    int command;  // 0: separator
    UINT text;
};
constexpr MenuEntry kMenu[] = {
    {ID_COPY_SELECT_INSTALLERS, IDS_COPY_MENU_INSTALLERS},
    {ID_COPY_SELECT_PATCHES, IDS_COPY_MENU_PATCHES},
    {ID_COPY_SELECT_SETTINGS, IDS_COPY_MENU_SETTINGS},
    {ID_COPY_SELECT_EXISTING, IDS_COPY_MENU_EXISTING},
    {0, 0},
    {ID_COPY_SELECT_ALL, IDS_COPY_MENU_ALL},
    {ID_COPY_INVERT_SELECTION, IDS_COPY_MENU_INVERT},
    {0, 0},
    {ID_COPY_CHECK, IDS_COPY_MENU_CHECK},
    {ID_COPY_UNCHECK, IDS_COPY_MENU_UNCHECK},
};

std::optional<RowSelection> SelectionOf(int command) {
    switch (command) {
        case ID_COPY_SELECT_INSTALLERS:
            return RowSelection::Installers;
        case ID_COPY_SELECT_PATCHES:
            return RowSelection::Patches;
        case ID_COPY_SELECT_SETTINGS:
            return RowSelection::SettingsFiles;
        case ID_COPY_SELECT_EXISTING:
            return RowSelection::ExistingFiles;
        case ID_COPY_SELECT_ALL:
            return RowSelection::All;
        case ID_COPY_INVERT_SELECTION:
            return RowSelection::Invert;
    }
    return std::nullopt;
}

bool IsEscapePress(const MSG& message) {
    return (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) && message.wParam == VK_ESCAPE;
}

// A heading and one line per entry; nothing when there is no entry.
std::wstring ListedUnder(UINT heading, const std::vector<std::string>& entries) {
    if (entries.empty()) return {};
    std::wstring text = LoadResourceString(heading);
    for (const std::string& entry : entries) text += L"\n" + WideFromCp936(entry);
    return text;
}

}  // namespace

CCopyFilesDialog::CCopyFilesDialog(std::vector<ItemFields> items, const PathResolver& paths)
    : Dialog(IDD_COPY_FILES, IDS_COPY_CAPTION), items_(std::move(items)), paths_(paths) {}

bool CCopyFilesDialog::OnInit() {
    if (items_.empty()) {
        End(IDCANCEL);
        return true;
    }
    list_ = CopyFileList(Child(IDC_COPY_FILE_LIST));
    list_.SetUp();
    BuildMenu();
    rows_ = BuildCopyFileRows(items_, paths_, [](const std::string& path) { return FileExists(path); });
    list_.Fill(rows_);
    list_.FocusFirstRow();
    CheckRadioButton(hwnd_, IDC_COPY_PATHS_AS_TEXT, IDC_COPY_INTO_FOLDER, IDC_COPY_PATHS_AS_TEXT);
    ApplyRules(CopyMode::PathsAsText);
    return true;
}

void CCopyFilesDialog::BuildMenu() {
    menu_.reset(CreatePopupMenu());
    for (const MenuEntry& entry : kMenu) {
        if (entry.command == 0)
            AppendMenuW(menu_.get(), MF_SEPARATOR, 0, nullptr);
        else
            AppendMenuW(menu_.get(), MF_STRING, entry.command, LoadResourceString(entry.text).c_str());
    }
}

std::optional<CopyMode> CCopyFilesDialog::ChosenMode() const {
    if (IsChecked(IDC_COPY_PATHS_AS_TEXT)) return CopyMode::PathsAsText;
    if (IsChecked(IDC_COPY_FILES_TO_CLIPBOARD)) return CopyMode::FilesToClipboard;
    if (IsChecked(IDC_COPY_INTO_FOLDER)) return CopyMode::IntoFolder;
    return std::nullopt;
}

void CCopyFilesDialog::ApplyRules(CopyMode mode) {
    const CopyModeRules rules = RulesOf(mode);
    for (int id : kFolderControls) EnableItem(id, rules.folderControlsEnabled);
    if (rules.uncheckMissingFiles) {
        for (std::size_t i = 0; i < rows_.size(); ++i) {
            if (!rows_[i].exists) list_.SetChecked(static_cast<int>(i), false);
        }
    }
    if (rules.focusTargetFolder) {
        Window target = Item(IDC_COPY_TARGET_FOLDER);
        SetFocus(target.Handle());
        target.Send(EM_SETSEL, 0, -1);
    }
}

bool CCopyFilesDialog::OnContextMenu(HWND window, POINT) {
    if (window != list_.Handle()) return false;
    const RowMenuState state = RowMenuStateFor(rows_.size(), ListView_GetSelectedCount(list_.Handle()) > 0);
    for (int id = ID_COPY_SELECT_INSTALLERS; id <= ID_COPY_INVERT_SELECTION; ++id)
        EnableMenuItem(menu_.get(), id, MF_BYCOMMAND | (state.selectionEnabled ? MF_ENABLED : MF_GRAYED));
    for (int id : {ID_COPY_CHECK, ID_COPY_UNCHECK})
        EnableMenuItem(menu_.get(), id, MF_BYCOMMAND | (state.checkEnabled ? MF_ENABLED : MF_GRAYED));
    POINT pointer{};
    GetCursorPos(&pointer);
    TrackPopupMenu(menu_.get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON, pointer.x, pointer.y, 0, hwnd_, nullptr);
    return true;
}

void CCopyFilesDialog::OnMenuCommand(int id) {
    if (std::optional<RowSelection> selection = SelectionOf(id)) {
        list_.SetSelected(SelectRows(*selection, rows_, list_.Selected()));
        return;
    }
    const std::vector<bool> selected = list_.Selected();
    for (std::size_t i = 0; i < selected.size(); ++i) {
        if (selected[i]) list_.SetChecked(static_cast<int>(i), id == ID_COPY_CHECK);
    }
}

bool CCopyFilesDialog::OnButtonClicked(int id) {
    switch (id) {
        case IDC_COPY_PATHS_AS_TEXT:
        case IDC_COPY_FILES_TO_CLIPBOARD:
        case IDC_COPY_INTO_FOLDER:
            if (std::optional<CopyMode> mode = ChosenMode()) ApplyRules(*mode);
            return true;
        case IDC_COPY_CHOOSE_FOLDER:
            // The target is checked when it is read.
            BrowseFolderInto(IDC_COPY_TARGET_FOLDER, IDS_COPY_CHOOSE_TARGET, ChosenFolder::AsChosen);
            return true;
        case IDOK: {
            // Enter reaches here even with the button off; one copy at a time.
            if (copying_) return true;
            std::optional<CopyMode> mode = ChosenMode();
            if (!mode || Run(*mode)) End(IDOK);
            return true;
        }
        case IDCANCEL:
            // Closing now would pull the dialog from under the copy loop.
            if (copying_)
                PostMessageW(hwnd_, WM_KEYDOWN, VK_ESCAPE, 0);
            else
                End(IDCANCEL);
            return true;
    }
    if (id >= ID_COPY_SELECT_INSTALLERS && id <= ID_COPY_UNCHECK) {
        OnMenuCommand(id);
        return true;
    }
    return Dialog::OnButtonClicked(id);
}

bool CCopyFilesDialog::Run(CopyMode mode) {
    EnableItem(IDOK, false);
    bool close = true;
    switch (mode) {
        case CopyMode::PathsAsText:
            CopyPathsAsText();
            break;
        case CopyMode::FilesToClipboard:
            CopyFilesToClipboard();
            break;
        case CopyMode::IntoFolder:
            close = CopyIntoFolder();
            break;
    }
    EnableItem(IDOK, true);
    return close;
}

void CCopyFilesDialog::CopyPathsAsText() {
    if (!PutTextOnClipboard(CheckedPathsText(rows_, list_.CheckedRows())))
        Tell(IDS_COPY_PATHS_FAILED, MB_OK | MB_ICONSTOP);
}

void CCopyFilesDialog::CopyFilesToClipboard() {
    if (!PutFilesOnClipboard(CheckedExistingPaths(rows_, list_.CheckedRows()), DropEffect::Copy))
        Tell(IDS_COPY_FILES_FAILED, MB_OK | MB_ICONSTOP);
}

std::optional<std::string> CCopyFilesDialog::ReadyTargetFolder() const {
    const std::optional<std::string> typed = TypedText(IDC_COPY_TARGET_FOLDER);
    if (!typed) return std::nullopt;
    const CopyTarget target = CopyTargetOf(*typed, paths_);
    if (target.verdict == CopyTarget::Verdict::Empty) {
        Tell(IDS_COPY_TARGET_EMPTY, MB_OK | MB_ICONEXCLAMATION);
        return std::nullopt;
    }
    // Made, and there: a name the system would change is no folder to copy into.
    if (target.verdict == CopyTarget::Verdict::Invalid || !CreateFolderPath(target.folder) ||
        !FolderExists(target.folder)) {
        Tell(IDS_COPY_TARGET_NOT_CREATED, MB_OK | MB_ICONSTOP);
        return std::nullopt;
    }
    return target.folder;
}

bool CCopyFilesDialog::CopyIntoFolder() {
    const bool overwrite = IsChecked(IDC_COPY_OVERWRITE);
    const std::optional<std::string> target = ReadyTargetFolder();
    if (!target) return false;
    const std::vector<std::string> paths = CheckedExistingPaths(rows_, list_.CheckedRows());
    Window progress = Item(IDC_COPY_PROGRESS);
    Window status = Item(IDC_COPY_STATUS);
    progress.Send(PBM_SETRANGE32, 0, static_cast<LPARAM>(paths.size()));
    progress.Send(PBM_SETPOS, 0);
    progress.Send(PBM_SETSTEP, 1);
    copying_ = true;
    stopAsked_ = false;
    // The window keeps answering while a large file copies too.
    const CopyProgress keepAnswering = [this] { HandleWaitingMessages(); };
    std::vector<std::string> notCopied;
    for (const std::string& path : paths) {
        if (stopAsked_) break;
        status.SetText(FormatResourceString(IDS_COPY_COPYING, {WideFromCp936(path)}));
        UpdateWindow(status.Handle());
        // Only a file already there while overwriting is off is passed over unsaid.
        const bool kept = !overwrite && FileExists(CopyTargetPath(path, *target));
        if (!kept && !CopyFileIntoFolder(path, *target, !overwrite, keepAnswering)) notCopied.push_back(path);
        progress.Send(PBM_STEPIT);
        HandleWaitingMessages();
    }
    copying_ = false;
    progress.Send(PBM_SETPOS, 0);
    status.SetText(std::wstring());
    ReportNotCopied(notCopied, SharedFileNames(paths));
    return true;
}

void CCopyFilesDialog::HandleWaitingMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // For the loop that waits for it, once the copy has stopped.
            PostQuitMessage(static_cast<int>(message.wParam));
            stopAsked_ = true;
            return;
        }
        if (IsEscapePress(message) && (message.hwnd == hwnd_ || IsChild(hwnd_, message.hwnd))) {
            stopAsked_ = true;
            continue;
        }
        if (IsDialogMessageW(hwnd_, &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void CCopyFilesDialog::ReportNotCopied(const std::vector<std::string>& notCopied,
                                       const std::vector<std::string>& sharedNames) const {
    // The user must not take the folder for complete when it is not.
    std::wstring text = ListedUnder(IDS_COPY_NOT_COPIED, notCopied);
    const std::wstring shared = ListedUnder(IDS_COPY_SHARED_NAMES, sharedNames);
    if (!text.empty() && !shared.empty()) text += L"\n\n";
    text += shared;
    if (!text.empty()) Tell(text, MB_OK | MB_ICONSTOP);
}

}  // namespace corvel::ui
