#include "tools/check_paths/check_paths_dialog.h"

#include "catalogue/win32_text.h"
#include "ui/main/resource.h"
#include "ui/window/dpi.h"
#include "ui/window/message_box.h"

namespace corvel::ui {

namespace {

// The window's place and how much smaller than the screen it is, at 96 DPI.
constexpr int kScreenPosition = 20;
constexpr int kNarrowerThanScreen = 40;
constexpr int kLowerThanScreen = 80;

RECT ChildArea(HWND dialog, HWND child) {
    RECT area{};
    GetWindowRect(child, &area);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
    return area;
}

}  // namespace

CCheckPathsDialog::CCheckPathsDialog(Catalogue* catalogue, const PathResolver& paths, FileExistsCheck fileExists)
    : Dialog(IDD_CHECK_PATHS), catalogue_(catalogue), paths_(paths), fileExists_(std::move(fileExists)) {}

bool CCheckPathsDialog::OnInit() {
    if (!catalogue_) {
        End(IDCANCEL);
        return true;
    }
    dpi_ = WindowDpi(hwnd_);
    // The dialog's font is the system's, made for this DPI and replaced by
    // the dialog manager on a move; the list and the pane make their own.
    const FontDescription font = DescribeFont(reinterpret_cast<HFONT>(Send(WM_GETFONT)), dpi_);
    categories_.Attach(Child(IDC_CATEGORY_LIST), hwnd_, font, dpi_);
    PlaceWindow();
    SetText(FormatResourceString(IDS_CHECK_PATHS_TITLE, {WideFromCp936(paths_.ProgramFolder())}));
    if (!CreatePane(font)) {
        End(IDCANCEL);
        return true;
    }
    dpiSubclass_.Attach(hwnd_, [this](UINT message, WPARAM wParam, LPARAM lParam) {
        LRESULT result = dpiSubclass_.Default(message, wParam, lParam);
        if (message == WM_DPICHANGED) OnDpiChanged(DpiOfChange(wParam), lParam);
        return result;
    });
    categories_.Fill(*catalogue_);
    return true;
}

void CCheckPathsDialog::PlaceWindow() {
    RECT client{};
    GetClientRect(hwnd_, &client);
    gapBelowList_ = client.bottom - ChildArea(hwnd_, categories_.Handle()).bottom;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT screen = monitor.rcMonitor;
    const int dpi = static_cast<int>(dpi_);
    const int position = ScaleToDpi(kScreenPosition, dpi);
    MoveWindow(hwnd_, screen.left + position, screen.top + position,
               screen.right - screen.left - ScaleToDpi(kNarrowerThanScreen, dpi),
               screen.bottom - screen.top - ScaleToDpi(kLowerThanScreen, dpi), FALSE);
    FitChildren();
}

RECT CCheckPathsDialog::PaneArea() const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const RECT list = ChildArea(hwnd_, categories_.Handle());
    const int margin = list.left;
    return {list.right + margin, list.top, client.right - margin, list.bottom};
}

void CCheckPathsDialog::FitChildren() {
    HWND list = categories_.Handle();
    RECT client{};
    GetClientRect(hwnd_, &client);
    const RECT before = ChildArea(hwnd_, list);
    MoveWindow(list, before.left, before.top, before.right - before.left, client.bottom - gapBelowList_ - before.top,
               TRUE);
    if (!pane_) return;
    const RECT area = PaneArea();
    MoveWindow(pane_->Handle(), area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
}

bool CCheckPathsDialog::CreatePane(const FontDescription& font) {
    pane_ = std::make_unique<CPathPane>(*catalogue_, paths_, fileExists_);
    return pane_->Create(hwnd_, PaneArea(), IDC_PATH_PANE, font, dpi_);
}

void CCheckPathsDialog::OnDpiChanged(UINT dpi, LPARAM suggested) {
    // Where the dialog manager scales the dialog itself this changes
    // nothing; elsewhere it is the whole move.
    MoveToSuggestedRect(hwnd_, suggested);
    if (dpi == dpi_ || dpi == 0) return;
    gapBelowList_ = MulDiv(gapBelowList_, static_cast<int>(dpi), static_cast<int>(dpi_));
    dpi_ = dpi;
    FitChildren();
    categories_.SetDpi(dpi);
    pane_->SetDpi(dpi);
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CCheckPathsDialog::ShowSelectedCategory() {
    CatalogueNode* category = categories_.SelectedCategory();
    if (category) pane_->Show(category, filter_);
}

bool CCheckPathsDialog::OnCommand(int id, int notifyCode, HWND) {
    switch (id) {
        case IDC_CATEGORY_LIST:
            if (notifyCode == LBN_SELCHANGE) ShowSelectedCategory();
            return true;
        case ID_FILTER_ALL:
        case ID_FILTER_FAULTY:
        case ID_FILTER_RELATIVE:
        case ID_FILTER_ABSOLUTE:
            filter_ = static_cast<PathFilter>(id - ID_FILTER_ALL + static_cast<int>(PathFilter::All));
            ShowSelectedCategory();
            return true;
        case ID_CHECK_PATHS_LEGEND:
            ShowMessageBox(hwnd_, LoadResourceString(IDS_LEGEND_TEXT), LoadResourceString(IDS_LEGEND_CAPTION),
                           MB_OK | MB_ICONINFORMATION);
            return true;
        case ID_CHECK_PATHS_CLOSE:
        case IDCANCEL:
            End(IDCANCEL);
            return true;
    }
    return false;
}

LRESULT CCheckPathsDialog::OnNotify(NMHDR* header) {
    categories_.OnNotify(header);
    return 0;
}

void CCheckPathsDialog::MarkFilter(HMENU menu) const {
    const UINT current = ID_FILTER_ALL + static_cast<UINT>(filter_) - static_cast<UINT>(PathFilter::All);
    CheckMenuRadioItem(menu, ID_FILTER_ALL, ID_FILTER_ABSOLUTE, current, MF_BYCOMMAND);
}

bool CCheckPathsDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DRAWITEM: {
            auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->hwndItem != categories_.Handle()) return false;
            categories_.DrawRow(*item);
            return true;
        }
        case WM_INITMENUPOPUP:
            // Only the view menu holds the filter entries.
            if (GetMenuState(reinterpret_cast<HMENU>(wParam), ID_FILTER_ALL, MF_BYCOMMAND) != static_cast<UINT>(-1))
                MarkFilter(reinterpret_cast<HMENU>(wParam));
            return false;
    }
    return false;
}

}  // namespace corvel::ui
