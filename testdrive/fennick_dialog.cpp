#include "testdrive/fennick_dialog.h"

#include "ui/window/dpi.h"

#include "catalogue/shell/shell_files.h"
#include "testdrive/elevated_copy.h"
#include "testdrive/fennick_resource.h"
#include "testdrive/testdrive_rules.h"

namespace corvel::testdrive {

namespace {

std::wstring LetterText(wchar_t letter) {
    return {letter, L':'};
}

// The full path: a relative text would map the letter to no folder at all.
std::wstring FullPathOf(const std::wstring& folder) {
    DWORD needed = GetFullPathNameW(folder.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return folder;
    std::wstring full(needed, L'\0');
    DWORD length = GetFullPathNameW(folder.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return folder;
    full.resize(length);
    return full;
}

// Enter presses the button of the half that holds the focused field.
int DefaultButtonFor(int field, int notifyCode) {
    if (notifyCode != CBN_SETFOCUS && notifyCode != EN_SETFOCUS) return 0;
    switch (field) {
        case IDC_FREE_LETTERS:
        case IDC_TEST_FOLDER:
            return IDC_CREATE;
        case IDC_MAPPED_LETTERS:
        case IDC_MAPPED_FOLDER:
            return IDC_DELETE;
    }
    return 0;
}

}  // namespace

std::optional<std::wstring> QueryDriveTarget(const std::wstring& letterText) {
    // A folder near the path limit, with the system's prefix before it, does
    // not fit a MAX_PATH buffer; the letter would then pass for free.
    for (DWORD size = MAX_PATH; size <= 65536; size *= 2) {
        std::wstring target(size, L'\0');
        DWORD length = QueryDosDeviceW(letterText.c_str(), target.data(), size);
        if (length > 0) {
            target.resize(wcslen(target.c_str()));
            return target;
        }
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
    }
    return std::nullopt;
}

CFennickDialog::CFennickDialog() : Dialog(IDD_FENNICK, IDS_CAPTION) {}

bool CFennickDialog::OnInit() {
    SetIcons(ui::WindowDpi(hwnd_));
    Refresh();
    return true;
}

void CFennickDialog::SetIcons(UINT dpi) {
    HINSTANCE module = ui::ResourceModule();
    auto icon = [module, dpi](int metric) {
        int size = ui::SystemMetricForDpi(metric, dpi);
        return static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDR_FENNICK), IMAGE_ICON, size, size, 0));
    };
    HICON big = icon(SM_CXICON);
    HICON small = icon(SM_CXSMICON);
    Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    // The window shows the new ones now: the old ones may go.
    bigIcon_.reset(big);
    smallIcon_.reset(small);
}

bool CFennickDialog::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    // The dialog manager rescales the controls; the icons are ours.
    if (message == WM_DPICHANGED) SetIcons(ui::DpiOfChange(wParam));
    return false;
}

bool CFennickDialog::OnCommand(int id, int notifyCode, HWND control) {
    if (int button = DefaultButtonFor(id, notifyCode)) Send(DM_SETDEFID, button);
    if (id == IDC_MAPPED_LETTERS) {
        if (notifyCode == CBN_SELCHANGE) ShowMappedFolder();
        return true;
    }
    return Dialog::OnCommand(id, notifyCode, control);
}

bool CFennickDialog::OnButtonClicked(int id) {
    switch (id) {
        case IDOK:
            // There is no OK: an Enter that no enabled default button takes ends nothing.
            return true;
        case IDC_BROWSE:
            // The folder goes to the device table only, so it stays wide: any name works.
            BrowseFolderInto(IDC_TEST_FOLDER, IDS_BROWSE_TITLE, ui::ChosenFolder::AsChosen);
            return true;
        case IDC_CREATE:
            Create();
            return true;
        case IDC_DELETE:
            Delete();
            return true;
    }
    return Dialog::OnButtonClicked(id);
}

void CFennickDialog::EnableItems(std::initializer_list<int> ids, bool enable) const {
    for (int id : ids) EnableItem(id, enable);
}

void CFennickDialog::Refresh() {
    HWND freeList = Child(IDC_FREE_LETTERS);
    HWND mappedList = Child(IDC_MAPPED_LETTERS);
    SendMessageW(freeList, CB_RESETCONTENT, 0, 0);
    SendMessageW(mappedList, CB_RESETCONTENT, 0, 0);
    Item(IDC_TEST_FOLDER).SetText(L"");
    Item(IDC_MAPPED_FOLDER).SetText(L"");
    for (wchar_t letter = L'C'; letter <= L'Z'; ++letter) {
        std::wstring text = LetterText(letter);
        DriveUse use = ClassifyDrive(text, QueryDriveTarget(text));
        if (use == DriveUse::RealDrive) continue;
        SendMessageW(use == DriveUse::Free ? freeList : mappedList, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(text.c_str()));
    }
    bool anyFree = SendMessageW(freeList, CB_GETCOUNT, 0, 0) > 0;
    EnableItems({IDC_FREE_LETTERS, IDC_CREATE, IDC_TEST_FOLDER, IDC_BROWSE}, anyFree);
    if (anyFree) SendMessageW(freeList, CB_SETCURSEL, 0, 0);
    bool anyMapped = SendMessageW(mappedList, CB_GETCOUNT, 0, 0) > 0;
    EnableItems({IDC_MAPPED_LETTERS, IDC_DELETE}, anyMapped);
    if (anyMapped) {
        SendMessageW(mappedList, CB_SETCURSEL, 0, 0);
        ShowMappedFolder();
    }
}

void CFennickDialog::ShowMappedFolder() {
    std::optional<std::wstring> letter = ChosenLetter(IDC_MAPPED_LETTERS);
    if (!letter) return;
    if (std::optional<std::wstring> target = QueryDriveTarget(*letter))
        Item(IDC_MAPPED_FOLDER).SetText(DisplayedFolder(*target));
}

void CFennickDialog::Create() {
    std::wstring folder = Item(IDC_TEST_FOLDER).Text();
    std::optional<std::wstring> letter = ChosenLetter(IDC_FREE_LETTERS);
    bool exists = FolderExists(folder);
    switch (CheckCreate(folder, exists, letter)) {
        case CreateRefusal::EmptyFolder:
            return Report(IDS_FOLDER_EMPTY, MB_ICONEXCLAMATION);
        case CreateRefusal::MissingFolder:
            return Report(IDS_FOLDER_MISSING, MB_ICONSTOP);
        case CreateRefusal::DriveRoot:
            return Report(IDS_FOLDER_IS_DRIVE, MB_ICONSTOP);
        case CreateRefusal::NoLetter:
            return Report(IDS_CHOOSE_FREE_LETTER, MB_ICONSTOP);
        case CreateRefusal::InvalidLetter:
            return Report(IDS_INVALID_FREE_LETTER, MB_ICONSTOP);
        case CreateRefusal::None:
            break;
    }
    // Checked again right before mapping: the table may have changed since
    // the lists were filled.
    const std::wstring fullPath = FullPathOf(folder);
    bool mapped = IsDriveLetterText(*letter) && !QueryDriveTarget(*letter) &&
                  DefineDosDeviceW(0, letter->c_str(), fullPath.c_str());
    if (!mapped) return Report(IDS_CREATE_FAILED, MB_ICONSTOP);
    // The letter for Explorer stays even when the elevated one is missing.
    ReportResult(MessageAfter(HiddenTask::MapForElevated,
                              MirrorForElevated(hwnd_, {HiddenTask::MapForElevated, *letter, fullPath})));
    Refresh();
}

void CFennickDialog::Delete() {
    std::optional<std::wstring> letter = ChosenLetter(IDC_MAPPED_LETTERS);
    switch (CheckDelete(letter)) {
        case DeleteRefusal::NoLetter:
            return Report(IDS_CHOOSE_MAPPED_LETTER, MB_ICONSTOP);
        case DeleteRefusal::InvalidLetter:
            return Report(IDS_INVALID_MAPPED_LETTER, MB_ICONSTOP);
        case DeleteRefusal::None:
            break;
    }
    // Only a folder mapping is ever removed, never a real drive.
    bool removed = IsDriveLetterText(*letter) &&
                   ClassifyDrive(*letter, QueryDriveTarget(*letter)) == DriveUse::FolderMapping &&
                   DefineDosDeviceW(DDD_REMOVE_DEFINITION, letter->c_str(), nullptr);
    if (!removed) return Report(IDS_DELETE_FAILED, MB_ICONSTOP);
    ReportResult(MessageAfter(HiddenTask::UnmapForElevated,
                              MirrorForElevated(hwnd_, {HiddenTask::UnmapForElevated, *letter, {}})));
    Refresh();
}

std::optional<std::wstring> CFennickDialog::ChosenLetter(int list) const {
    HWND combo = Child(list);
    LRESULT chosen = SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (chosen == CB_ERR) return std::nullopt;
    LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, chosen, 0);
    if (length == CB_ERR) return std::wstring();
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, chosen, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

void CFennickDialog::ReportResult(ResultMessage message) const {
    switch (message) {
        case ResultMessage::Created:
            return Report(IDS_CREATED, 0);
        case ResultMessage::CreatedNotForElevated:
            return Report(IDS_CREATED_NOT_FOR_ELEVATED, MB_ICONEXCLAMATION);
        case ResultMessage::Deleted:
            return Report(IDS_DELETED, 0);
        case ResultMessage::DeletedNotForElevated:
            return Report(IDS_DELETED_NOT_FOR_ELEVATED, MB_ICONEXCLAMATION);
    }
}

}  // namespace corvel::testdrive
