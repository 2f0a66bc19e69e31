#include "install_dialog.h"

#include <commctrl.h>

#include "dpi.h"
#include "job_launch.h"
#include "message_box.h"
#include "no_throw.h"
#include "paths.h"
#include "program_files_dir.h"
#include "shell_choosers.h"
#include "shell_files.h"
#include "tobrin_resource.h"
#include "tobrin_rules.h"
#include "win32_text.h"

namespace corvel::tobrin {

namespace {

constexpr int kFormControls[] = {
    IDC_INSTALL_NAME_LABEL,   IDC_INSTALL_TYPE_LABEL, IDC_INSTALL_PATH_LABEL, IDC_INSTALL_PARAMS_LABEL,
    IDC_INSTALL_FOLDER_LABEL, IDC_INSTALL_NAME,       IDC_INSTALL_TYPE,       IDC_INSTALL_PATH,
    IDC_INSTALL_PARAMS,       IDC_INSTALL_FOLDER,     IDC_INSTALL_BROWSE,
};

// The banner's text is this many pixels taller than the dialog's, at 96 DPI.
constexpr int kBannerGrowth = 12;

std::wstring ControlText(HWND control) {
    int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    int copied = GetWindowTextW(control, text.data(), length + 1);
    text.resize(copied > 0 ? static_cast<std::size_t>(copied) : 0);
    return text;
}

std::string ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return ProgramFolderFromModulePath(Cp936FromWide(std::wstring_view(path, length)));
}

}  // namespace

CInstallDialog::CInstallDialog(const InstallRequest& request) : Dialog(IDD_INSTALL), request_(request) {}

CInstallDialog::~CInstallDialog() {
    if (bannerFont_) DeleteObject(bannerFont_);
}

int CInstallDialog::Message(UINT text, UINT flags) {
    return ui::ShowMessageBox(hwnd_, ui::LoadResourceString(text), ui::LoadResourceString(IDS_INSTALL_CAPTION), flags);
}

bool CInstallDialog::OnInit() {
    SetWindowSubclass(hwnd_, Subclass, 0, reinterpret_cast<DWORD_PTR>(this));

    // What a run that died while its installer ran left behind.
    PutBackFolderValues();

    if (!waiter_.Create(hwnd_)) {
        Message(IDS_INIT_FAILED, MB_OK | MB_ICONSTOP);
        End(kFailed);
        return true;
    }
    for (int id : kFormControls) ShowWindow(Child(id), SW_SHOW);
    ShowWindow(Child(IDC_INSTALL_BANNER), SW_HIDE);

    SetDlgItemTextW(hwnd_, IDC_INSTALL_NAME, WideFromCp936(request_.itemName).c_str());
    SetDlgItemTextW(hwnd_, IDC_INSTALL_TYPE,
                    ui::LoadResourceString(request_.installerStep ? IDS_TYPE_INSTALLER : IDS_TYPE_PATCH).c_str());
    SetDlgItemTextW(hwnd_, IDC_INSTALL_PATH, WideFromCp936(request_.program).c_str());
    SetDlgItemTextW(hwnd_, IDC_INSTALL_PARAMS, WideFromCp936(request_.parameters).c_str());
    SetDlgItemTextW(hwnd_, IDC_INSTALL_FOLDER, WideFromCp936(request_.installFolder).c_str());
    return true;
}

bool CInstallDialog::OnCommand(int id, int, HWND) {
    switch (id) {
        case IDOK:
            OnInstall();
            return true;
        case IDCANCEL:
            OnAbandon();
            return true;
        case IDC_INSTALL_ABANDON_ALL:
            OnAbandonAll();
            return true;
        case IDC_INSTALL_BROWSE:
            OnBrowse();
            return true;
    }
    return false;
}

void CInstallDialog::OnInstall() {
    if (othersRemain_) {
        // Only what the program started on purpose is left: the item goes on.
        waiter_.Stop();
        End(kDone);
        return;
    }
    if (waiter_.Waiting()) return;
    std::optional<std::string> parameters = TypedText(IDC_INSTALL_PARAMS);
    if (!parameters) return;
    std::optional<std::string> typedFolder = TypedText(IDC_INSTALL_FOLDER);
    if (!typedFolder) return;
    if (!typedFolder->empty() && !InstallFolderAcceptable(*typedFolder)) {
        Message(IDS_FOLDER_INVALID, MB_OK | MB_ICONSTOP);
        return;
    }
    std::wstring folder = WideFromCp936(*typedFolder);
    if (!FileExists(request_.program)) {
        Message(IDS_PROGRAM_MISSING, MB_OK | MB_ICONSTOP);
        return;
    }
    if (!folder.empty()) PointFolderValuesAt(folder);
    ShowRunning();

    std::string workingFolder = PathResolver(ProgramFolder()).FolderOfPath(request_.program);
    HANDLE process = RunProgramInJob(waiter_.Job(), request_.program, *parameters, workingFolder, SW_SHOWNORMAL);
    if (!process || !waiter_.Start(process)) {
        Message(IDS_START_FAILED, MB_OK | MB_ICONSTOP);
        End(kFailed);
    }
}

void CInstallDialog::ShowRunning() {
    HWND install = Child(IDOK);
    EnableWindow(install, FALSE);
    for (int id : kFormControls) ShowWindow(Child(id), SW_HIDE);
    ShowWindow(Child(IDC_INSTALL_BANNER), SW_SHOW);
    // The disabled default button must not keep the focus or the default.
    Send(DM_SETDEFID, IDCANCEL);
    SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Child(IDCANCEL)), TRUE);
}

void CInstallDialog::ShowDone() {
    othersRemain_ = true;
    HWND done = Child(IDOK);
    SetWindowTextW(done, ui::LoadResourceString(IDS_DONE).c_str());
    EnableWindow(done, TRUE);
}

// While the program runs an Enter is meant for it; one that reaches this
// dialog (on its focused Abandon button) must not abandon.
UINT CInstallDialog::QuestionDefault() const {
    return waiter_.Waiting() ? MB_DEFBUTTON2 : MB_DEFBUTTON1;
}

void CInstallDialog::OnAbandon() {
    if (waiter_.Waiting()) {
        if (Message(IDS_ASK_ABANDON, MB_YESNO | MB_ICONEXCLAMATION | QuestionDefault()) != IDYES) return;
        waiter_.Stop();
    }
    End(kAbandonItem);
}

void CInstallDialog::OnAbandonAll() {
    if (Message(IDS_ASK_ABANDON_ALL, MB_YESNO | MB_ICONEXCLAMATION | QuestionDefault()) != IDYES) return;
    waiter_.Stop();
    End(kAbandonAll);
}

void CInstallDialog::OnBrowse() {
    std::wstring folder = ChooseFolder(hwnd_, ui::LoadResourceString(IDS_BROWSE_TITLE));
    if (!folder.empty()) PutChosenText(IDC_INSTALL_FOLDER, folder);
}

void CInstallDialog::DrawBanner(const DRAWITEMSTRUCT& item) {
    if (!bannerFont_) {
        LOGFONTW font = {};
        auto dialogFont = reinterpret_cast<HFONT>(Send(WM_GETFONT));
        GetObjectW(dialogFont ? dialogFont : GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
        // The height is negative (a character height): decreasing it enlarges the text.
        font.lfHeight -= ScaleToDpi(kBannerGrowth, static_cast<int>(ui::WindowDpi(hwnd_)));
        bannerFont_ = CreateFontIndirectW(&font);
    }
    const RECT& rect = item.rcItem;
    FillRect(item.hDC, &rect, GetSysColorBrush(COLOR_BTNFACE));
    std::wstring text = ControlText(item.hwndItem);
    HGDIOBJ oldFont = SelectObject(item.hDC, bannerFont_);
    SIZE size = {};
    GetTextExtentPoint32W(item.hDC, text.c_str(), static_cast<int>(text.size()), &size);
    LONG left = ((rect.right - rect.left) - size.cx) / 2;
    LONG top = ((rect.bottom - rect.top) - size.cy) / 2;
    SetTextColor(item.hDC, RGB(0, 0, 255));
    SetBkMode(item.hDC, TRANSPARENT);
    TextOutW(item.hDC, rect.left + (left > 0 ? left : 0), rect.top + (top > 0 ? top : 0), text.c_str(),
             static_cast<int>(text.size()));
    SelectObject(item.hDC, oldFont);
}

void CInstallDialog::OnDestroy() {
    waiter_.Stop();
    PutBackFolderValues();
}

LRESULT CALLBACK CInstallDialog::Subclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                          DWORD_PTR self) {
    auto* dialog = reinterpret_cast<CInstallDialog*>(self);
    return NoThrow<LRESULT>(0, [&] { return dialog->OnSubclassMessage(hwnd, message, wParam, lParam); });
}

LRESULT CInstallDialog::OnSubclassMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kProgramEndedMessage:
            End(kDone);
            return 0;
        case kOthersRemainMessage:
            ShowDone();
            return 0;
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            if (item->CtlID != IDC_INSTALL_BANNER) break;
            DrawBanner(*item);
            return TRUE;
        }
        case WM_DPICHANGED: {
            // The dialog takes the font for the new scale; the banner's follows it.
            LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
            if (bannerFont_) DeleteObject(bannerFont_);
            bannerFont_ = nullptr;
            InvalidateRect(Child(IDC_INSTALL_BANNER), nullptr, TRUE);
            return result;
        }
        case WM_QUERYENDSESSION: {
            LRESULT agree = DefSubclassProc(hwnd, message, wParam, lParam);
            if (agree) {
                waiter_.Stop();
                End(kAbandonAll);
            }
            return agree;
        }
        case WM_DESTROY:
            OnDestroy();
            break;
        case WM_NCDESTROY:
            RemoveWindowSubclass(hwnd, Subclass, 0);
            break;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace corvel::tobrin
