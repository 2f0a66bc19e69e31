#include "tools/check_paths/path_pane.h"

#include <windowsx.h>

#include <algorithm>

#include "ui/item_editor/item_editor_dialog.h"
#include "ui/window/dpi.h"

namespace corvel::ui {

namespace {

constexpr int kIconNotLookedUp = -2;
constexpr int kHandCursorId = 106;  // in the system's help program
constexpr COLORREF kSeparatorColour = RGB(192, 192, 192);

std::wstring HelpProgramPath() {
    wchar_t folder[MAX_PATH];
    UINT length = GetWindowsDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return std::wstring(folder, length) + L"\\winhlp32.exe";
}

}  // namespace

CPathPane::CPathPane(Catalogue& catalogue, const PathResolver& paths, FileExistsCheck fileExists)
    : catalogue_(catalogue), paths_(paths), fileExists_(std::move(fileExists)), content_(ContentSizeOf({}, metrics_)) {}

bool CPathPane::Create(HWND parent, const RECT& area, int id, const FontDescription& font, UINT dpi) {
    font_ = font;
    if (!MakeForDpi(dpi)) return false;
    std::wstring helpProgram = HelpProgramPath();
    if (!helpProgram.empty())
        helpProgram_.reset(LoadLibraryExW(helpProgram.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (helpProgram_) handCursor_ = LoadCursorW(helpProgram_.get(), MAKEINTRESOURCEW(kHandCursorId));
    // Windows 10 and 11 carry no such cursor there: the system's hand then.
    if (!handCursor_) {
        helpProgram_.reset();
        handCursor_ = LoadCursorW(nullptr, IDC_HAND);
    }
    CreateParams params{L"CorvelPathPane"};
    params.style = WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP;
    params.exStyle = WS_EX_CLIENTEDGE;
    params.x = area.left;
    params.y = area.top;
    params.width = area.right - area.left;
    params.height = area.bottom - area.top;
    params.parent = parent;
    params.menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    if (!MessageWindow::Create(params)) return false;
    UpdateScrollBars(true);
    return true;
}

// The painter and the image list of the old DPI go only once the new ones
// exist; neither is selected into a DC or set on a control between paints.
bool CPathPane::MakeForDpi(UINT dpi) {
    auto painter = std::make_unique<EntryPainter>(font_, dpi);
    if (!icons_.Create(kIconSizeShell, ILC_COLOR32 | ILC_MASK, 16, static_cast<int>(dpi))) return false;
    painter_ = std::move(painter);
    dpi_ = dpi;
    metrics_ = LayoutMetrics::ForDpi(static_cast<int>(dpi));
    metrics_.iconSize = icons_.IconSize();  // the room of the icon as drawn
    for (Entry& entry : entries_) entry.icon = kIconNotLookedUp;
    return true;
}

void CPathPane::SetDpi(UINT dpi) {
    if (dpi == dpi_ || !MakeForDpi(dpi)) return;
    LayOutAll();
    UpdateScrollBars(false);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

void CPathPane::Show(CatalogueNode* category, PathFilter filter) {
    filter_ = filter;
    entries_.clear();
    icons_.Clear();
    if (category) {
        catalogue_.Enumerate(category, NodeKind::Item, [this](NodeKind, CatalogueNode* item) {
            entries_.push_back({item, PathStatusesOf(*item, paths_, fileExists_), kIconNotLookedUp});
        });
    }
    LayOutAll();
    UpdateScrollBars(true);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

EntryPlacement CPathPane::Place(HDC dc, const Entry& entry, int top) const {
    EntryTexts texts = painter_->TextsOf(*entry.item, entry.statuses, paths_);
    return PlaceEntry(painter_->Measure(dc, texts, entry.statuses, filter_), top, metrics_);
}

void CPathPane::LayOutAll() {
    placements_.clear();
    placements_.reserve(entries_.size());
    HDC dc = GetDC(hwnd_);
    int top = metrics_.FirstEntryTop();
    for (const Entry& entry : entries_) {
        placements_.push_back(Place(dc, entry, top));
        top = placements_.back().Bottom();
    }
    ReleaseDC(hwnd_, dc);
    content_ = ContentSizeOf(placements_, metrics_);
}

void CPathPane::EditEntry(std::size_t entry) {
    if (entry >= entries_.size()) return;
    Entry& edited = entries_[entry];
    ItemFields record;
    if (!catalogue_.GetItemFields(edited.item, record)) return;
    CItemEditorDialog editor(record, ItemEditorMode::Edit);
    if (editor.RunModal(GetParent(hwnd_)) != IDOK || record.Name.empty() || record.SrcPath.empty()) return;
    if (!catalogue_.SetItemFields(edited.item, record)) return;
    edited.statuses = PathStatusesOf(*edited.item, paths_, fileExists_);
    edited.icon = kIconNotLookedUp;

    // Only this entry is measured again; the ones below move with it.
    HDC dc = GetDC(hwnd_);
    EntryPlacement placed = Place(dc, edited, placements_[entry].top);
    ReleaseDC(hwnd_, dc);
    const int growth = placed.height - placements_[entry].height;
    placements_[entry] = placed;
    for (std::size_t i = entry + 1; i < placements_.size(); ++i) placements_[i].MoveBy(growth);
    content_ = ContentSizeOf(placements_, metrics_);
    UpdateScrollBars(false);
    InvalidateRect(hwnd_, nullptr, FALSE);
}

int CPathPane::HotSpotAt(POINT client) const {
    const LayoutPoint point{client.x + scrollX_, client.y + scrollY_};
    auto below = std::partition_point(placements_.begin(), placements_.end(),
                                      [&](const EntryPlacement& placement) { return placement.Bottom() <= point.y; });
    if (below == placements_.end() || !below->hotSpot.Contains(point)) return -1;
    return static_cast<int>(below - placements_.begin());
}

void CPathPane::UpdateScrollBars(bool toStart) {
    if (updatingScrollBars_) return;
    updatingScrollBars_ = true;
    // Showing one bar takes room from the other's page: a second pass sees it.
    for (int pass = 0; pass < 2; ++pass) {
        RECT client{};
        GetClientRect(hwnd_, &client);
        SCROLLINFO info{sizeof info,
                        SIF_RANGE | SIF_PAGE | (toStart ? SIF_POS : 0u),
                        0,
                        content_.height - 1,
                        static_cast<UINT>(client.bottom),
                        0,
                        0};
        SetScrollInfo(hwnd_, SB_VERT, &info, TRUE);
        info.nMax = content_.width - 1;
        info.nPage = static_cast<UINT>(client.right);
        SetScrollInfo(hwnd_, SB_HORZ, &info, TRUE);
    }
    scrollX_ = GetScrollPos(hwnd_, SB_HORZ);
    scrollY_ = GetScrollPos(hwnd_, SB_VERT);
    updatingScrollBars_ = false;
}

void CPathPane::ScrollTo(int bar, int position) {
    SetScrollPos(hwnd_, bar, position, TRUE);
    (bar == SB_VERT ? scrollY_ : scrollX_) = GetScrollPos(hwnd_, bar);
    InvalidateRect(hwnd_, nullptr, FALSE);
    UpdateWindow(hwnd_);
}

void CPathPane::Scroll(int bar, ScrollStep step, int trackPosition) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const bool vertical = bar == SB_VERT;
    ScrollTo(bar, ScrolledPosition(step, vertical ? scrollY_ : scrollX_, vertical ? client.bottom : client.right,
                                   vertical ? content_.height : content_.width, metrics_.scrollLine, trackPosition));
}

void CPathPane::OnScrollMessage(int bar, WPARAM wParam) {
    switch (LOWORD(wParam)) {
        case SB_LINEUP:
            return Scroll(bar, ScrollStep::LineBack);
        case SB_LINEDOWN:
            return Scroll(bar, ScrollStep::LineForward);
        case SB_PAGEUP:
            return Scroll(bar, ScrollStep::PageBack);
        case SB_PAGEDOWN:
            return Scroll(bar, ScrollStep::PageForward);
        case SB_TOP:
            return Scroll(bar, ScrollStep::ToStart);
        case SB_BOTTOM:
            return Scroll(bar, ScrollStep::ToEnd);
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION: {
            // The 32-bit track position; the message's own is 16 bits.
            SCROLLINFO info{};
            info.cbSize = sizeof info;
            info.fMask = SIF_TRACKPOS;
            GetScrollInfo(hwnd_, bar, &info);
            return Scroll(bar, ScrollStep::ToTrack, info.nTrackPos);
        }
    }
}

void CPathPane::OnKey(WPARAM key) {
    switch (key) {
        case VK_UP:
            return Scroll(SB_VERT, ScrollStep::LineBack);
        case VK_DOWN:
            return Scroll(SB_VERT, ScrollStep::LineForward);
        case VK_LEFT:
            return Scroll(SB_HORZ, ScrollStep::LineBack);
        case VK_RIGHT:
            return Scroll(SB_HORZ, ScrollStep::LineForward);
        case VK_PRIOR:
            return Scroll(SB_VERT, ScrollStep::PageBack);
        case VK_NEXT:
            return Scroll(SB_VERT, ScrollStep::PageForward);
        case VK_HOME:
            return Scroll(SB_VERT, ScrollStep::ToStart);
        case VK_END:
            return Scroll(SB_VERT, ScrollStep::ToEnd);
    }
}

void CPathPane::OnWheel(int delta) {
    UINT linesPerNotch = 0;
    if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &linesPerNotch, 0)) return;
    int lines = wheel_.Take(delta, linesPerNotch);
    RECT client{};
    GetClientRect(hwnd_, &client);
    int position = scrollY_;
    for (; lines != 0; lines += lines > 0 ? -1 : 1)
        position = ScrolledPosition(lines > 0 ? ScrollStep::LineForward : ScrollStep::LineBack, position, client.bottom,
                                    content_.height, metrics_.scrollLine);
    if (position != scrollY_) ScrollTo(SB_VERT, position);
}

int CPathPane::IconOf(Entry& entry) {
    if (entry.icon == kIconNotLookedUp) {
        std::string installer = paths_.ProgramPathOfCommand(StoredText(*entry.item, CheckedField::Installer), true);
        entry.icon = installer.empty() ? -1 : icons_.IconIndex(installer, false);
    }
    return entry.icon;
}

void CPathPane::PaintEntries(HDC dc, const RECT& area) {
    const int visibleTop = scrollY_ + area.top;
    const int visibleBottom = scrollY_ + area.bottom;
    RECT pane{};
    GetWindowRect(hwnd_, &pane);
    const bool verticalBar = (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VSCROLL) != 0;
    const int separatorWidth = std::max(content_.width, static_cast<int>(pane.right - pane.left)) -
                               2 * metrics_.margin - (verticalBar ? SystemMetricForDpi(SM_CXVSCROLL, dpi_) : 0);
    UniqueBrush separator(CreateSolidBrush(kSeparatorColour));
    // Entries are in content order: start at the first one reaching into view.
    auto first = std::partition_point(placements_.begin(), placements_.end(), [&](const EntryPlacement& placement) {
        return placement.Bottom() <= visibleTop;
    });
    for (auto placement = first; placement != placements_.end() && placement->top < visibleBottom; ++placement) {
        if (!placement->Shown()) continue;
        Entry& entry = entries_[static_cast<std::size_t>(placement - placements_.begin())];
        int icon = IconOf(entry);
        painter_->Draw(dc, painter_->TextsOf(*entry.item, entry.statuses, paths_), *placement, icons_.ImageList(),
                       icon);
        RECT bar{metrics_.margin, placement->separatorTop, metrics_.margin + separatorWidth,
                 placement->separatorTop + metrics_.separatorHeight};
        FillRect(dc, &bar, separator.get());
    }
}

// Everything is drawn off-screen and copied in one step, so scrolling
// does not flicker.
void CPathPane::Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(hwnd_, &paint);
    const RECT area = paint.rcPaint;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width > 0 && height > 0) {
        UniqueMemoryDc memoryDc(CreateCompatibleDC(dc));
        UniqueBitmap bitmap(CreateCompatibleBitmap(dc, width, height));
        HDC memory = memoryDc.get();
        HGDIOBJ oldBitmap = SelectObject(memory, bitmap.get());
        RECT all{0, 0, width, height};
        FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SetViewportOrgEx(memory, -(area.left + scrollX_), -(area.top + scrollY_), nullptr);
        PaintEntries(memory, area);
        SetViewportOrgEx(memory, 0, 0, nullptr);
        BitBlt(dc, area.left, area.top, width, height, memory, 0, 0, SRCCOPY);
        // The bitmap goes once it is selected out, then the DC.
        SelectObject(memory, oldBitmap);
    }
    EndPaint(hwnd_, &paint);
}

LRESULT CPathPane::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint covers it all
        case WM_SIZE:
            UpdateScrollBars(false);
            InvalidateRect(hwnd_, nullptr, FALSE);
            return 0;
        case WM_VSCROLL:
            OnScrollMessage(SB_VERT, wParam);
            return 0;
        case WM_HSCROLL:
            OnScrollMessage(SB_HORZ, wParam);
            return 0;
        case WM_KEYDOWN:
            OnKey(wParam);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_MOUSEWHEEL:
            OnWheel(GET_WHEEL_DELTA_WPARAM(wParam));
            return 0;
        case WM_SETCURSOR: {
            if (LOWORD(lParam) != HTCLIENT) break;
            POINT pointer{};
            GetCursorPos(&pointer);
            ScreenToClient(hwnd_, &pointer);
            bool overLink = handCursor_ && HotSpotAt(pointer) >= 0;
            SetCursor(overLink ? handCursor_ : LoadCursorW(nullptr, IDC_ARROW));
            return TRUE;
        }
        case WM_LBUTTONDOWN:
            SetFocus(hwnd_);
            return 0;
        case WM_LBUTTONUP: {
            int entry = HotSpotAt({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
            if (entry >= 0) EditEntry(static_cast<std::size_t>(entry));
            return 0;
        }
    }
    return Default(message, wParam, lParam);
}

}  // namespace corvel::ui
