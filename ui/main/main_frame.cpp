#include "ui/main/main_frame.h"

#include <commctrl.h>
#include <windowsx.h>

#include "catalogue/shell/screen_dpi.h"
#include "ui/main/about_dialog.h"
#include "ui/main/resource.h"
#include "ui/main/view_requests.h"
#include "ui/window/dpi.h"

namespace corvel::ui {

namespace {

// Few enough that input between two idle turns is handled without delay.
constexpr int kIconsPerIdleTurn = 8;
constexpr int kTopMenuCategory = 1;
constexpr int kTopMenuItem = 2;
constexpr int kTopMenuTools = 3;
constexpr int kSwitchToPosition = 3;
constexpr int kMoveToPosition = 9;
constexpr int kToolsPosition = 3;
// The tab strip's smallest size in the band, at 96 DPI.
constexpr int kTabsMinWidth = 200;
constexpr int kTabsMinHeight = 25;
// Room left around the frame on the screen at start, at 96 DPI.
constexpr int kScreenMargin = 20;
constexpr int kScreenMarginBelow = 60;

// Toolbar buttons left to right; 0 is a separator.
constexpr int kToolbarLayout[] = {ID_ITEM_ADD,     ID_ITEM_DELETE, ID_ITEM_EDIT,     0, ID_ITEM_INSTALL,
                                  ID_ITEM_REGCODE, ID_ITEM_PATCH,  ID_ITEM_SETTINGS, 0, ID_APP_ABOUT};

// Rewrites the entries already there and adds or removes only the
// difference: Wine's menus copy all their entries for each one added, so
// refilling a submenu of many categories took time growing with the square
// of their number. Too few or too many entries give the single greyed "(空)".
void SetSubmenuEntries(HMENU popup, std::vector<SubmenuEntry> entries) {
    if (NeedsEmptyPlaceholder(entries.size())) entries = {{LoadResourceString(IDS_EMPTY_SUBMENU), false}};
    const int count = GetMenuItemCount(popup);
    for (int i = count - 1; i >= static_cast<int>(entries.size()); --i) DeleteMenu(popup, i, MF_BYPOSITION);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        UINT flags = MF_STRING | (entries[i].enabled ? MF_ENABLED : MF_GRAYED);
        UINT_PTR id = kFirstDynamicId + i;
        if (static_cast<int>(i) < count)
            ModifyMenuW(popup, static_cast<UINT>(i), MF_BYPOSITION | flags, id, entries[i].text.c_str());
        else
            AppendMenuW(popup, flags, id, entries[i].text.c_str());
    }
}

}  // namespace

CMainFrame::CMainFrame(ProgramLocation location)
    : view_(std::move(location), [this](const std::wstring& text) { SetStatusText(text); }),
      tools_(view_.Paths().ProgramFolder()) {}

bool CMainFrame::Create() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_BAR_CLASSES | ICC_COOL_CLASSES | ICC_LISTVIEW_CLASSES | ICC_TAB_CLASSES;
    InitCommonControlsEx(&controls);
    CreateParams params{kMainFrameClass};
    std::wstring title = LoadResourceString(IDR_MAINFRAME);
    title = title.substr(0, title.find(L'\n'));
    params.title = title.c_str();
    params.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    const int dpi = static_cast<int>(ScreenDpi());
    params.x = ScaleToDpi(kScreenMargin, dpi);
    params.y = params.x;
    params.width = GetSystemMetrics(SM_CXSCREEN) - 2 * params.x;
    params.height = GetSystemMetrics(SM_CYSCREEN) - params.y - ScaleToDpi(kScreenMarginBelow, dpi);
    UniqueMenu menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME)));
    params.menu = menu.get();
    params.icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME));
    if (!menu || !MessageWindow::Create(params)) return false;
    // The window's menu now: it goes with the window.
    (void)menu.release();
    return true;
}

bool CMainFrame::CreateControls() {
    const UINT dpi = WindowDpi(hwnd_);
    if (!CreateBandRow() || !toolbar_.Create(hwnd_, IDC_TOOLBAR, kToolbarLayout, dpi)) return false;
    statusBar_ = CreateWindowExW(0, STATUSCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP, 0, 0, 0, 0, hwnd_,
                                 reinterpret_cast<HMENU>(IDC_STATUS_BAR), GetModuleHandleW(nullptr), nullptr);
    if (!statusBar_ || !view_.Create(hwnd_)) return false;
    ApplyDpi(dpi);
    SetStatusText(LoadResourceString(IDS_READY));
    return true;
}

void CMainFrame::ApplyDpi(UINT dpi) {
    if (UniqueFont font{CreateGuiFontForDpi(dpi)}) {
        SendMessageW(tabs_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        SendMessageW(statusBar_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        barFont_ = std::move(font);
    }
    REBARBANDINFOW band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_CHILDSIZE;
    band.cxMinChild = static_cast<UINT>(ScaleToDpi(kTabsMinWidth, static_cast<int>(dpi)));
    band.cyMinChild = static_cast<UINT>(ScaleToDpi(kTabsMinHeight, static_cast<int>(dpi)));
    SendMessageW(bandRow_, RB_SETBANDINFOW, 0, reinterpret_cast<LPARAM>(&band));
}

void CMainFrame::OnDpiChanged(UINT dpi, LPARAM suggested) {
    toolbar_.SetDpi(dpi);
    ApplyDpi(dpi);
    view_.SetDpi(dpi);
    MoveToSuggestedRect(hwnd_, suggested);
    Layout();  // also when the rectangle kept its size
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

bool CMainFrame::CreateBandRow() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    bandRow_ = CreateWindowExW(0, REBARCLASSNAMEW, L"",
                               WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | RBS_BANDBORDERS |
                                   RBS_FIXEDORDER | CCS_NODIVIDER | CCS_NOPARENTALIGN | CCS_NORESIZE,
                               0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(IDC_BAND_ROW), instance, nullptr);
    if (!bandRow_) return false;
    // The list keeps the keyboard when a tab is clicked.
    tabs_ = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TCS_FOCUSNEVER, 0, 0, 200,
                            25, bandRow_, reinterpret_cast<HMENU>(IDC_CATEGORY_TABS), instance, nullptr);
    if (!tabs_) return false;
    REBARBANDINFOW band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_CHILD | RBBIM_STYLE;
    band.fStyle = RBBS_GRIPPERALWAYS | RBBS_CHILDEDGE;
    band.hwndChild = tabs_;
    return SendMessageW(bandRow_, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band)) != 0;
}

void CMainFrame::Layout() {
    RECT client;
    GetClientRect(hwnd_, &client);
    SendMessageW(toolbar_.Handle(), TB_AUTOSIZE, 0, 0);
    SendMessageW(statusBar_, WM_SIZE, 0, 0);
    RECT toolbarRect, statusRect;
    GetWindowRect(toolbar_.Handle(), &toolbarRect);
    GetWindowRect(statusBar_, &statusRect);
    int top = toolbarRect.bottom - toolbarRect.top;
    int bandHeight = static_cast<int>(SendMessageW(bandRow_, RB_GETBARHEIGHT, 0, 0));
    MoveWindow(bandRow_, 0, top, client.right, bandHeight, TRUE);
    top += bandHeight;
    int bottom = client.bottom - (statusRect.bottom - statusRect.top);
    MoveWindow(view_.Handle(), 0, top, client.right, bottom > top ? bottom - top : 0, TRUE);
}

bool CMainFrame::OnIdle() {
    bool hasCategory = view_.HasCategory();
    bool hasSelection = view_.HasSelection();
    for (int id : kToolbarLayout) {
        const Command* command = id ? FindCommand(id) : nullptr;
        if (!command) continue;
        bool enabled = IsEnabled(command->rule, hasCategory, hasSelection);
        if (((SendMessageW(toolbar_.Handle(), TB_ISBUTTONENABLED, id, 0)) != 0) != enabled)
            SendMessageW(toolbar_.Handle(), TB_ENABLEBUTTON, id, MAKELONG(enabled, 0));
    }
    return view_.Controls().LoadPendingIcons(kIconsPerIdleTurn);
}

void CMainFrame::SetStatusText(const std::wstring& text) {
    if (statusBar_) SendMessageW(statusBar_, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring CMainFrame::StatusText() const {
    int length = LOWORD(SendMessageW(statusBar_, SB_GETTEXTLENGTHW, 0, 0));
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(statusBar_, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::wstring CMainFrame::PromptOf(int id, bool tooltip) const {
    std::wstring both = LoadResourceString(static_cast<UINT>(id));
    std::size_t lineBreak = both.find(L'\n');
    if (lineBreak == std::wstring::npos) return tooltip ? std::wstring() : both;
    return tooltip ? both.substr(lineBreak + 1) : both.substr(0, lineBreak);
}

void CMainFrame::OnCommand(int id) {
    if (id >= kFirstDynamicId && id < kFirstDynamicId + kDynamicIdCount && menuMode_ != kMenuNone) {
        std::size_t index = static_cast<std::size_t>(id - kFirstDynamicId);
        if ((menuMode_ & (kMenuMoveTo | kMenuSwitchTo)) &&
            index < static_cast<std::size_t>(view_.Controls().TabCount()))
            SendMessageW(view_.Handle(), menuMode_ == kMenuMoveTo ? kRequestMoveItems : kRequestSwitchToCategory, index,
                         0);
        if (menuMode_ == kMenuTools) tools_.Run(index);
        return;
    }
    const Command* command = FindCommand(id);
    if (!command) return;
    if (command->viewRequest) {
        SendMessageW(view_.Handle(), command->viewRequest, static_cast<WPARAM>(command->argument), 0);
    } else if (id == ID_APP_EXIT) {
        SendMessageW(hwnd_, WM_CLOSE, 0, 0);
    } else if (id == ID_TOOLS_EDIT) {
        tools_.EditFile(hwnd_);
    } else if (id == ID_APP_ABOUT) {
        AboutDialog().RunModal(hwnd_);
    }
}

void CMainFrame::OnInitMenuPopup(HMENU popup) {
    bool hasCategory = view_.HasCategory();
    bool hasSelection = view_.HasSelection();
    for (int i = 0, count = GetMenuItemCount(popup); i < count; ++i) {
        const Command* command = FindCommand(static_cast<int>(GetMenuItemID(popup, i)));
        if (command) {
            bool enabled = IsEnabled(command->rule, hasCategory, hasSelection);
            EnableMenuItem(popup, static_cast<UINT>(i), MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
        }
    }
    HMENU bar = GetMenu(hwnd_);
    if (popup == GetSubMenu(GetSubMenu(bar, kTopMenuItem), kMoveToPosition)) {
        FillCategorySubmenu(popup, kMenuMoveTo);
    } else if (popup == GetSubMenu(GetSubMenu(bar, kTopMenuCategory), kSwitchToPosition)) {
        FillCategorySubmenu(popup, kMenuSwitchTo);
    } else if (popup == GetSubMenu(GetSubMenu(bar, kTopMenuTools), kToolsPosition)) {
        FillToolsSubmenu(popup);
    } else {
        menuMode_ = kMenuNone;
    }
}

void CMainFrame::FillCategorySubmenu(HMENU popup, MenuMode mode) {
    menuMode_ = mode;
    Binder& controls = view_.Controls();
    std::vector<std::optional<std::wstring>> texts;
    for (int i = 0, count = controls.TabCount(); i < count; ++i) texts.push_back(controls.TabText(i));
    SetSubmenuEntries(popup, CategorySubmenu(mode, texts, controls.CurrentTab(), view_.HasSelection()));
}

void CMainFrame::FillToolsSubmenu(HMENU popup) {
    menuMode_ = kMenuTools;
    SetSubmenuEntries(popup, tools_.Entries());
}

void CMainFrame::OnMenuSelect(UINT id, UINT flags, HMENU menu) {
    if (flags == 0xFFFF && !menu) {
        SetStatusText(LoadResourceString(IDS_READY));
        return;
    }
    if (flags & (MF_POPUP | MF_SEPARATOR)) {
        SetStatusText(std::wstring());
        return;
    }
    if (static_cast<int>(id) >= kFirstDynamicId && static_cast<int>(id) < kFirstDynamicId + kDynamicIdCount &&
        menuMode_ != kMenuNone) {
        bool enabled = !(flags & (MF_GRAYED | MF_DISABLED));
        UINT text = 0;
        if (menuMode_ == kMenuMoveTo) text = enabled ? IDS_MOVE_TO_ENABLED : IDS_MOVE_TO_DISABLED;
        if (menuMode_ == kMenuSwitchTo) text = enabled ? IDS_SWITCH_TO_ENABLED : IDS_SWITCH_TO_DISABLED;
        if (menuMode_ == kMenuTools) text = enabled ? IDS_TOOL_ENABLED : IDS_TOOL_DISABLED;
        SetStatusText(LoadResourceString(text));
        return;
    }
    SetStatusText(PromptOf(static_cast<int>(id), false));
}

LRESULT CMainFrame::OnNotify(NMHDR* header) {
    if (header->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
        static std::wstring tooltip;  // must outlive this call
        tooltip = PromptOf(static_cast<int>(header->idFrom), true);
        info->lpszText = tooltip.data();
        return 0;
    }
    if (header->hwndFrom == toolbar_.Handle() && header->code == TBN_HOTITEMCHANGE) {
        auto* hot = reinterpret_cast<NMTBHOTITEM*>(header);
        SetStatusText((hot->dwFlags & HICF_LEAVING) ? LoadResourceString(IDS_READY) : PromptOf(hot->idNew, false));
        return 0;
    }
    return view_.OnNotify(header);
}

bool CMainFrame::OnContextMenu(HWND target, POINT at) {
    int topMenu = -1;
    if (target == view_.Handle()) topMenu = kTopMenuItem;
    if (target == bandRow_ || target == tabs_) topMenu = kTopMenuCategory;
    if (topMenu < 0) return false;  // the title bar keeps its system menu
    if (at.x == -1 && at.y == -1) GetCursorPos(&at);
    TrackPopupMenu(GetSubMenu(GetMenu(hwnd_), topMenu), TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd_, nullptr);
    return true;
}

void CMainFrame::OnClose() {
    if (SendMessageW(view_.Handle(), kRequestEndTask, kEndTaskAsk | kEndTaskWait | kEndTaskWaitLimited, 0) == kTaskKept)
        return;  // the user keeps the running install task
    DestroyWindow(hwnd_);
}

LRESULT CMainFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return CreateControls() ? 0 : -1;
        case WM_SIZE:
            Layout();
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return 0;
        case WM_INITMENUPOPUP:
            if (!HIWORD(lParam)) OnInitMenuPopup(reinterpret_cast<HMENU>(wParam));
            return 0;
        case WM_MENUSELECT:
            OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
            return 0;
        case WM_NOTIFY:
            return OnNotify(reinterpret_cast<NMHDR*>(lParam));
        case WM_CONTEXTMENU:
            if (OnContextMenu(reinterpret_cast<HWND>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))
                return 0;
            break;
        case WM_SETFOCUS:
            // The list holds the keyboard whenever the frame is active.
            if (view_.Handle()) SetFocus(view_.Handle());
            return 0;
        case WM_DPICHANGED:
            OnDpiChanged(DpiOfChange(wParam), lParam);
            return 0;
        case kRequestTabStrip:
            return reinterpret_cast<LRESULT>(tabs_);
        case WM_CLOSE:
            OnClose();
            return 0;
        case WM_QUERYENDSESSION:
            // Windows only asks: the log-off may still be cancelled, so the
            // task is asked to stop, not ended under a component's dialog.
            SendMessageW(view_.Handle(), kRequestEndTask, 0, 0);
            return TRUE;
        case WM_ENDSESSION:
            // Windows ends the process without destroying the window.
            if (wParam) {
                SendMessageW(view_.Handle(), kRequestEndTask, kEndTaskWait | kEndTaskWaitLimited, 0);
                view_.SaveForEndOfSession();
            }
            return 0;
        case WM_DESTROY:
            view_.OnDestroy();
            PostQuitMessage(0);
            return 0;
    }
    return Default(message, wParam, lParam);
}

}  // namespace corvel::ui
