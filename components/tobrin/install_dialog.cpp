#include "components/tobrin/install_dialog.h"

#include "catalogue/paths.h"
#include "catalogue/shell/job_launch.h"
#include "catalogue/shell/shell_files.h"
#include "catalogue/win32_text.h"
#include "components/tobrin/program_files_dir.h"
#include "components/tobrin/tobrin_resource.h"
#include "components/tobrin/tobrin_rules.h"
#include "ui/window/dpi.h"

namespace corvel::tobrin {

namespace {

constexpr int kFormControls[] = {
    IDC_INSTALL_NAME_LABEL,   IDC_INSTALL_TYPE_LABEL, IDC_INSTALL_PATH_LABEL, IDC_INSTALL_PARAMS_LABEL,
    IDC_INSTALL_FOLDER_LABEL, IDC_INSTALL_NAME,       IDC_INSTALL_TYPE,       IDC_INSTALL_PATH,
    IDC_INSTALL_PARAMS,       IDC_INSTALL_FOLDER,     IDC_INSTALL_BROWSE,
};

// The banner's text is this many pixels taller than the dialog's, at 96 DPI.
constexpr int kBannerGrowth = 12;

std::string ProgramFolder() {
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return ProgramFolderFromModulePath(Cp936FromWide(std::wstring_view(path, length)));
}

}  // namespace

CInstallDialog::CInstallDialog(const InstallRequest& request)
    : Dialog(IDD_INSTALL, IDS_INSTALL_CAPTION), request_(request) {}

bool CInstallDialog::OnInit() {
    // What a run that died while its installer ran left behind.
    PutBackFolderValues();

    if (!waiter_.Create(hwnd_)) {
        Tell(IDS_INIT_FAILED, MB_OK | MB_ICONSTOP);
        End(kFailed);
        return true;
    }
    for (int id : kFormControls) ShowItem(id, true);
    ShowItem(IDC_INSTALL_BANNER, false);

    SetCp936Text(IDC_INSTALL_NAME, request_.itemName);
    Item(IDC_INSTALL_TYPE)
        .SetText(ui::LoadResourceString(request_.installerStep ? IDS_TYPE_INSTALLER : IDS_TYPE_PATCH));
    SetCp936Text(IDC_INSTALL_PATH, request_.program);
    SetCp936Text(IDC_INSTALL_PARAMS, request_.parameters);
    SetCp936Text(IDC_INSTALL_FOLDER, request_.installFolder);
    return true;
}

bool CInstallDialog::OnButtonClicked(int id) {
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
            BrowseFolderInto(IDC_INSTALL_FOLDER, IDS_BROWSE_TITLE);
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
        Tell(IDS_FOLDER_INVALID, MB_OK | MB_ICONSTOP);
        return;
    }
    std::wstring folder = WideFromCp936(*typedFolder);
    if (!FileExists(request_.program)) {
        Tell(IDS_PROGRAM_MISSING, MB_OK | MB_ICONSTOP);
        return;
    }
    if (!folder.empty()) PointFolderValuesAt(folder);
    ShowRunning();

    std::string workingFolder = PathResolver(ProgramFolder()).FolderOfPath(request_.program);
    HANDLE process = RunProgramInJob(waiter_.Job(), request_.program, *parameters, workingFolder, SW_SHOWNORMAL);
    if (!process || !waiter_.Start(process)) {
        Tell(IDS_START_FAILED, MB_OK | MB_ICONSTOP);
        End(kFailed);
    }
}

void CInstallDialog::ShowRunning() {
    EnableItem(IDOK, false);
    for (int id : kFormControls) ShowItem(id, false);
    ShowItem(IDC_INSTALL_BANNER, true);
    // The disabled default button must not keep the focus or the default.
    Send(DM_SETDEFID, IDCANCEL);
    SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Child(IDCANCEL)), TRUE);
}

void CInstallDialog::ShowDone() {
    othersRemain_ = true;
    Item(IDOK).SetText(ui::LoadResourceString(IDS_DONE));
    EnableItem(IDOK, true);
}

// While the program runs an Enter is meant for it; one that reaches this
// dialog (on its focused Abandon button) must not abandon.
UINT CInstallDialog::QuestionDefault() const {
    return waiter_.Waiting() ? MB_DEFBUTTON2 : MB_DEFBUTTON1;
}

void CInstallDialog::OnAbandon() {
    if (waiter_.Waiting()) {
        if (Tell(IDS_ASK_ABANDON, MB_YESNO | MB_ICONEXCLAMATION | QuestionDefault()) != IDYES) return;
        waiter_.Stop();
    }
    End(kAbandonItem);
}

void CInstallDialog::OnAbandonAll() {
    if (Tell(IDS_ASK_ABANDON_ALL, MB_YESNO | MB_ICONEXCLAMATION | QuestionDefault()) != IDYES) return;
    waiter_.Stop();
    End(kAbandonAll);
}

void CInstallDialog::DrawBanner(const DRAWITEMSTRUCT& item) {
    auto dialogFont = reinterpret_cast<HFONT>(Send(WM_GETFONT));
    const UINT dpi = ui::WindowDpi(hwnd_);
    if (!bannerFont_ || dialogFont != bannerBase_ || dpi != bannerDpi_) {
        LOGFONTW font = {};
        GetObjectW(dialogFont ? dialogFont : GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
        // The height is negative (a character height): decreasing it enlarges the text.
        font.lfHeight -= ScaleToDpi(kBannerGrowth, static_cast<int>(dpi));
        bannerFont_.reset(CreateFontIndirectW(&font));
        bannerBase_ = dialogFont;
        bannerDpi_ = dpi;
    }
    const RECT& rect = item.rcItem;
    FillRect(item.hDC, &rect, GetSysColorBrush(COLOR_BTNFACE));
    std::wstring text = Window(item.hwndItem).Text();
    HGDIOBJ oldFont = SelectObject(item.hDC, bannerFont_.get());
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

bool CInstallDialog::OnQueryEndSession() {
    waiter_.Stop();
    End(kAbandonAll);
    return true;
}

bool CInstallDialog::OnMessage(UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
        case kProgramEndedMessage:
            End(kDone);
            return true;
        case kOthersRemainMessage:
            ShowDone();
            return true;
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            if (item->CtlID != IDC_INSTALL_BANNER) return false;
            DrawBanner(*item);
            return true;
        }
        case WM_DPICHANGED:
            // The dialog manager goes on to rescale the dialog; the banner's
            // font follows the dialog's when it is drawn next.
            InvalidateRect(Child(IDC_INSTALL_BANNER), nullptr, TRUE);
            return false;
        case WM_DESTROY:
            OnDestroy();
            return false;
    }
    return false;
}

}  // namespace corvel::tobrin
