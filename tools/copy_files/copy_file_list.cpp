#include "copy_file_list.h"

#include <commctrl.h>

#include "dpi.h"
#include "resource.h"
#include "win32_text.h"

namespace corvel::ui {

namespace {

// At 96 DPI.
constexpr int kNameWidth = 120;
constexpr int kTypeWidth = 80;

UINT TypeTextOf(CopyFileKind kind) {
    switch (kind) {
        case CopyFileKind::Installer:
            return IDS_COPY_KIND_INSTALLER;
        case CopyFileKind::Patch:
            return IDS_COPY_KIND_PATCH;
        default:
            return IDS_COPY_KIND_SETTINGS;
    }
}

void AddColumn(HWND list, int index, UINT title, int width) {
    std::wstring text = LoadResourceString(title);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = text.data();
    column.cx = width;
    column.iSubItem = index;
    ListView_InsertColumn(list, index, &column);
}

void SetCell(HWND list, int row, int column, std::wstring text) {
    ListView_SetItemText(list, row, column, text.data());
}

}  // namespace

void CopyFileList::SetUp() const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int dpi = static_cast<int>(WindowDpi(hwnd_));
    const int nameWidth = ScaleToDpi(kNameWidth, dpi);
    const int typeWidth = ScaleToDpi(kTypeWidth, dpi);
    AddColumn(hwnd_, 0, IDS_COPY_COLUMN_NAME, nameWidth);
    AddColumn(hwnd_, 1, IDS_COPY_COLUMN_PATH, client.right - client.left - (nameWidth + typeWidth));
    AddColumn(hwnd_, 2, IDS_COPY_COLUMN_TYPE, typeWidth);
    ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
}

void CopyFileList::Fill(const std::vector<CopyFileRow>& rows) const {
    Send(WM_SETREDRAW, FALSE);
    for (const CopyFileRow& row : rows) {
        std::wstring name = WideFromCp936(row.itemName);
        LVITEMW item{};
        item.mask = LVIF_TEXT;
        item.iItem = Count();
        item.pszText = name.data();
        int index = ListView_InsertItem(hwnd_, &item);
        if (index < 0) continue;
        SetCell(hwnd_, index, 1, WideFromCp936(row.path));
        SetCell(hwnd_, index, 2, LoadResourceString(TypeTextOf(row.kind)));
        ListView_SetCheckState(hwnd_, index, row.exists);
        if (!row.exists) ListView_SetItemState(hwnd_, index, LVIS_CUT, LVIS_CUT);
    }
    Send(WM_SETREDRAW, TRUE);
}

int CopyFileList::Count() const {
    return ListView_GetItemCount(hwnd_);
}

std::vector<bool> CopyFileList::Checked() const {
    std::vector<bool> checked(Count());
    for (int i = 0; i < Count(); ++i) checked[i] = ListView_GetCheckState(hwnd_, i) != 0;
    return checked;
}

std::vector<bool> CopyFileList::Selected() const {
    std::vector<bool> selected(Count());
    for (int i = 0; i < Count(); ++i) selected[i] = ListView_GetItemState(hwnd_, i, LVIS_SELECTED) != 0;
    return selected;
}

void CopyFileList::SetChecked(int row, bool checked) const {
    ListView_SetCheckState(hwnd_, row, checked);
}

void CopyFileList::SetSelected(const std::vector<bool>& selected) const {
    for (int i = 0; i < Count() && i < static_cast<int>(selected.size()); ++i)
        ListView_SetItemState(hwnd_, i, selected[i] ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

}  // namespace corvel::ui
