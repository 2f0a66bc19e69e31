#include "tools/check_paths/category_list.h"

#include <commctrl.h>

#include "catalogue/win32_text.h"
#include "ui/window/display_scale.h"

namespace corvel::ui {

namespace {

// At 96 DPI; the lines stay one pixel wide, sharp at every scale.
constexpr int kRowHeight = 50;
constexpr int kCornerSize = 5;
constexpr int kGradientColours = 64;
constexpr COLORREF kSelectedTextColour = RGB(192, 0, 192);
constexpr COLORREF kFrameLight = RGB(250, 250, 250);

COLORREF GradientColour(int i, bool selected) {
    if (selected) return RGB(255 - i / 4, 255 - i / 4, 255 - i / 5);
    return RGB(255 - i, 255 - i / 2, 255 - i / 6);
}

void FillLine(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
    RECT line{left, top, right, bottom};
    SetDCBrushColor(dc, colour);
    FillRect(dc, &line, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void FillGradient(HDC dc, const RECT& area, bool selected) {
    const int height = area.bottom - area.top;
    for (int j = 0; j < height; ++j)
        FillLine(dc, area.left, area.top + j, area.right, area.top + j + 1,
                 GradientColour(j * (kGradientColours - 1) / height, selected));
}

void DrawSunkenFrame(HDC dc, const RECT& frame) {
    FillLine(dc, frame.left, frame.top, frame.right, frame.top + 1, RGB(0, 0, 0));
    FillLine(dc, frame.left, frame.top, frame.left + 1, frame.bottom, RGB(0, 0, 0));
    FillLine(dc, frame.left, frame.bottom - 1, frame.right, frame.bottom, kFrameLight);
    FillLine(dc, frame.right - 1, frame.top, frame.right, frame.bottom, kFrameLight);
}

}  // namespace

void CategoryList::Attach(HWND list, HWND owner, const FontDescription& font, UINT dpi) {
    list_ = list;
    owner_ = owner;
    fontDescription_ = font;
    SetDpi(dpi);
    tip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = owner;
    tool.uId = reinterpret_cast<UINT_PTR>(list_);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    subclass_.Attach(
        list_, [this](UINT message, WPARAM wParam, LPARAM lParam) { return OnListMessage(message, wParam, lParam); });
}

void CategoryList::SetDpi(UINT dpi) {
    if (dpi == dpi_) return;
    UniqueFont font(CreateFontForDpi(fontDescription_, dpi));
    if (!font) return;
    dpi_ = dpi;
    cornerSize_ = ScaleToDpi(kCornerSize, static_cast<int>(dpi));
    SendMessageW(list_, LB_SETITEMHEIGHT, 0, ScaleToDpi(kRowHeight, static_cast<int>(dpi)));
    // The old font goes only once the list no longer holds it.
    SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    font_ = std::move(font);
    InvalidateRect(list_, nullptr, TRUE);
}

void CategoryList::Fill(Catalogue& catalogue) {
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    // Without LBS_HASSTRINGS the added value is the row's data.
    catalogue.Enumerate(catalogue.Root(), NodeKind::Category, [this](NodeKind, CatalogueNode* category) {
        SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(category));
    });
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
}

CatalogueNode* CategoryList::CategoryOfRow(int row) const {
    if (row < 0) return nullptr;
    LRESULT data = SendMessageW(list_, LB_GETITEMDATA, static_cast<WPARAM>(row), 0);
    return data == LB_ERR ? nullptr : reinterpret_cast<CatalogueNode*>(data);
}

CatalogueNode* CategoryList::SelectedCategory() const {
    return CategoryOfRow(static_cast<int>(SendMessageW(list_, LB_GETCURSEL, 0, 0)));
}

void CategoryList::DrawRow(const DRAWITEMSTRUCT& item) const {
    auto* category = reinterpret_cast<const CatalogueNode*>(item.itemData);
    if (item.itemID == static_cast<UINT>(-1) || !category) return;
    HDC dc = item.hDC;
    const RECT row = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const int saved = SaveDC(dc);

    RECT inside = row;
    InflateRect(&inside, -1, -1);
    // The gradient stays inside the rounded corners drawn over it.
    // SelectClipRgn copies the region: it is ours to delete.
    UniqueRegion rounded(
        CreateRoundRectRgn(row.left, row.top, row.right + 1, row.bottom + 1, cornerSize_, cornerSize_));
    SelectClipRgn(dc, rounded.get());
    FillGradient(dc, inside, selected);
    SelectClipRgn(dc, nullptr);
    rounded.reset();
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    RoundRect(dc, row.left, row.top, row.right, row.bottom, cornerSize_, cornerSize_);

    RECT text = inside;
    if (selected) {
        RECT frame = inside;
        InflateRect(&frame, -1, -1);
        DrawSunkenFrame(dc, frame);
        OffsetRect(&text, 1, 1);
    }
    std::wstring name = WideFromCp936(category->Name());
    SelectObject(dc, font_.get());
    SIZE size{};
    GetTextExtentPoint32W(dc, name.c_str(), static_cast<int>(name.size()), &size);
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | (size.cx > text.right - text.left ? DT_LEFT : DT_CENTER);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, selected ? kSelectedTextColour : GetSysColor(COLOR_WINDOWTEXT));
    DrawTextW(dc, name.c_str(), static_cast<int>(name.size()), &text, format);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        // Inside the sunken frame, so that the keyboard's row shows.
        RECT focus = inside;
        InflateRect(&focus, -2, -2);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        DrawFocusRect(dc, &focus);
    }
    RestoreDC(dc, saved);
}

void CategoryList::OnPointerMoved(LPARAM position) {
    LRESULT hit = SendMessageW(list_, LB_ITEMFROMPOINT, 0, position);
    int row = HIWORD(hit) ? -1 : static_cast<int>(LOWORD(hit));
    if (row == hoveredRow_) return;
    hoveredRow_ = row;
    // The tip of the old row goes; the new row's comes after the usual pause.
    SendMessageW(tip_, TTM_POP, 0, 0);
}

bool CategoryList::OnNotify(NMHDR* header) {
    if (!tip_ || header->hwndFrom != tip_ || header->code != TTN_GETDISPINFOW) return false;
    const CatalogueNode* category = CategoryOfRow(hoveredRow_);
    tipText_ = category ? WideFromCp936(category->Name()) : std::wstring();
    reinterpret_cast<NMTTDISPINFOW*>(header)->lpszText = tipText_.data();
    return true;
}

void CategoryList::ChooseFocusedRow() {
    LRESULT row = SendMessageW(list_, LB_GETCARETINDEX, 0, 0);
    if (row == LB_ERR || row >= SendMessageW(list_, LB_GETCOUNT, 0, 0)) return;
    SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    SendMessageW(owner_, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list_), LBN_SELCHANGE), reinterpret_cast<LPARAM>(list_));
}

LRESULT CategoryList::OnListMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_MOUSEMOVE) OnPointerMoved(lParam);
    // Enter chooses the row here instead of pressing the dialog's default button.
    if (message == WM_GETDLGCODE) {
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        LRESULT code = subclass_.Default(message, wParam, lParam);
        return key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN ? code | DLGC_WANTMESSAGE : code;
    }
    if (message == WM_KEYDOWN && (wParam == VK_SPACE || wParam == VK_RETURN)) {
        ChooseFocusedRow();
        return 0;
    }
    if (message == WM_NCDESTROY) list_ = nullptr;
    return subclass_.Default(message, wParam, lParam);
}

}  // namespace corvel::ui
