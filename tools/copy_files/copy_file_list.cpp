#include "tools/copy_files/copy_file_list.h"

#include <commctrl.h>

#include "catalogue/win32_text.h"
#include "ui/main/resource.h"
#include "ui/window/dpi.h"

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

}  // namespace

void CopyFileList::SetUp() const {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int dpi = static_cast<int>(WindowDpi(hwnd_));
    const int nameWidth = ScaleToDpi(kNameWidth, dpi);
    const int typeWidth = ScaleToDpi(kTypeWidth, dpi);
    AddColumn(0, LoadResourceString(IDS_COPY_COLUMN_NAME), nameWidth);
    AddColumn(1, LoadResourceString(IDS_COPY_COLUMN_PATH), client.right - client.left - (nameWidth + typeWidth));
    AddColumn(2, LoadResourceString(IDS_COPY_COLUMN_TYPE), typeWidth);
    SetUpCheckBoxes(LVS_EX_INFOTIP);
}

void CopyFileList::Fill(const std::vector<CopyFileRow>& rows) const {
    Send(WM_SETREDRAW, FALSE);
    for (const CopyFileRow& row : rows) {
        int index = AddRow(WideFromCp936(row.itemName));
        if (index < 0) continue;
        SetCell(index, 1, WideFromCp936(row.path));
        SetCell(index, 2, LoadResourceString(TypeTextOf(row.kind)));
        SetChecked(index, row.exists);
        if (!row.exists) ListView_SetItemState(hwnd_, index, LVIS_CUT, LVIS_CUT);
    }
    Send(WM_SETREDRAW, TRUE);
}

std::vector<bool> CopyFileList::Selected() const {
    std::vector<bool> selected(Count());
    for (int i = 0; i < Count(); ++i) selected[i] = ListView_GetItemState(hwnd_, i, LVIS_SELECTED) != 0;
    return selected;
}

void CopyFileList::SetSelected(const std::vector<bool>& selected) const {
    for (int i = 0; i < Count() && i < static_cast<int>(selected.size()); ++i)
        ListView_SetItemState(hwnd_, i, selected[i] ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

}  // namespace corvel::ui
