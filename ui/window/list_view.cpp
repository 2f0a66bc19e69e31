#include "ui/window/list_view.h"

#include <commctrl.h>

namespace corvel::ui {

void ListView::SetUpCheckBoxes(DWORD extraStyles) const {
    const DWORD styles = LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | extraStyles;
    ListView_SetExtendedListViewStyleEx(hwnd_, styles, styles);
}

void ListView::SetUpCheckList(const std::wstring& title) const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    AddColumn(0, title, client.right - client.left);
    SetUpCheckBoxes();
}

void ListView::AddColumn(int index, const std::wstring& title, int width) const {
    std::wstring text = title;
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = text.data();
    column.cx = width;
    column.iSubItem = index;
    ListView_InsertColumn(hwnd_, index, &column);
}

int ListView::AddRow(const std::wstring& text, LPARAM data) const {
    std::wstring label = text;
    LVITEMW row{};
    row.mask = LVIF_TEXT | LVIF_PARAM;
    row.iItem = Count();
    row.pszText = label.data();
    row.lParam = data;
    return ListView_InsertItem(hwnd_, &row);
}

void ListView::SetCell(int row, int column, const std::wstring& text) const {
    std::wstring cell = text;
    ListView_SetItemText(hwnd_, row, column, cell.data());
}

std::wstring ListView::RowText(int row) const {
    std::wstring text(64, L'\0');
    for (;;) {
        LVITEMW item{};
        item.iSubItem = 0;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        auto length = static_cast<std::size_t>(Send(LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item)));
        if (length + 1 < text.size()) {
            text.resize(length);
            return text;
        }
        text.resize(text.size() * 2);  // the text may have been cut
    }
}

LPARAM ListView::RowData(int row) const {
    LVITEMW item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    return ListView_GetItem(hwnd_, &item) ? item.lParam : 0;
}

int ListView::Count() const {
    return ListView_GetItemCount(hwnd_);
}

int ListView::FirstSelectedRow() const {
    return ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED);
}

bool ListView::IsChecked(int row) const {
    return ListView_GetCheckState(hwnd_, row) != FALSE;
}

void ListView::SetChecked(int row, bool checked) const {
    ListView_SetCheckState(hwnd_, row, checked);
}

std::vector<bool> ListView::CheckedRows() const {
    std::vector<bool> checked(static_cast<std::size_t>(Count()));
    for (std::size_t i = 0; i < checked.size(); ++i) checked[i] = IsChecked(static_cast<int>(i));
    return checked;
}

void ListView::FocusFirstRow() const {
    if (Count() > 0 && ListView_GetNextItem(hwnd_, -1, LVNI_FOCUSED) < 0)
        ListView_SetItemState(hwnd_, 0, LVIS_FOCUSED, LVIS_FOCUSED);
}

}  // namespace corvel::ui
