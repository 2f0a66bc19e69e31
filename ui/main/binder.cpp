#include "binder.h"

#include <commctrl.h>
#include <uxtheme.h>

#include "win32_text.h"

namespace corvel::ui {

bool Binder::Bind(HWND tabs, HWND list) {
    if (!tabs || !list || !IsWindow(tabs) || !IsWindow(list)) return false;
    if (!icons_.Create(kIconSizeShell, ILC_COLOR32 | ILC_MASK, 30)) return false;
    tabs_ = tabs;
    list_ = list;
    ListView_SetImageList(list_, icons_.ImageList(), LVSIL_NORMAL);
    LONG_PTR style = GetWindowLongPtrW(list_, GWL_STYLE);
    SetWindowLongPtrW(list_, GWL_STYLE, style | LVS_EDITLABELS | LVS_SHOWSELALWAYS);
    return true;
}

int Binder::TabCount() const {
    return tabs_ ? TabCtrl_GetItemCount(tabs_) : 0;
}

int Binder::CurrentTab() const {
    return tabs_ ? TabCtrl_GetCurSel(tabs_) : -1;
}

int Binder::AppendTab(std::string_view name, CatalogueNode* category) {
    if (!tabs_ || name.empty()) return -1;
    std::wstring text = WideFromCp936(name);
    TCITEMW item{};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = text.data();
    item.lParam = reinterpret_cast<LPARAM>(category);
    return static_cast<int>(SendMessageW(tabs_, TCM_INSERTITEMW, TabCount(), reinterpret_cast<LPARAM>(&item)));
}

bool Binder::DeleteTab(int index) {
    if (!ValidTab(index) || !TabCtrl_DeleteItem(tabs_, index)) return false;
    if (index == highlightedTab_)
        highlightedTab_ = -1;
    else if (index < highlightedTab_)
        --highlightedTab_;
    return true;
}

bool Binder::SetTabText(int index, std::string_view name) {
    if (!ValidTab(index) || name.empty()) return false;
    std::wstring text = WideFromCp936(name);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    return SendMessageW(tabs_, TCM_SETITEMW, index, reinterpret_cast<LPARAM>(&item)) != 0;
}

CatalogueNode* Binder::CategoryOfTab(int index) const {
    if (!ValidTab(index)) return nullptr;
    TCITEMW item{};
    item.mask = TCIF_PARAM;
    if (!SendMessageW(tabs_, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item))) return nullptr;
    return reinterpret_cast<CatalogueNode*>(item.lParam);
}

void Binder::SelectTab(int index) {
    if (!ValidTab(index)) return;
    TabCtrl_SetCurSel(tabs_, index);
    if (highlightedTab_ >= 0 && highlightedTab_ != index) TabCtrl_HighlightItem(tabs_, highlightedTab_, FALSE);
    TabCtrl_HighlightItem(tabs_, index, TRUE);
    highlightedTab_ = index;
}

// A tab strip measures the text of every tab whenever one is added or
// removed; with a fixed tab width it does not, and restoring the style
// measures them all once. With a visual style it also looks for the tab
// under the mouse after each change, visiting every tab; the strip's style
// comes back before its layout.
void Binder::SetTabRedraw(bool on) {
    if (!tabs_) return;
    LONG_PTR style = GetWindowLongPtrW(tabs_, GWL_STYLE);
    if (!on && !(style & TCS_FIXEDWIDTH)) {
        SetWindowTheme(tabs_, L" ", L" ");
        SetWindowLongPtrW(tabs_, GWL_STYLE, style | TCS_FIXEDWIDTH);
        tabLayoutHeld_ = true;
    }
    if (on && tabLayoutHeld_) {
        SetWindowTheme(tabs_, nullptr, nullptr);
        SetWindowLongPtrW(tabs_, GWL_STYLE, style & ~TCS_FIXEDWIDTH);
        tabLayoutHeld_ = false;
    }
    SendMessageW(tabs_, WM_SETREDRAW, on, 0);
}

std::optional<std::wstring> Binder::TabText(int index) const {
    if (!ValidTab(index)) return std::nullopt;
    wchar_t buffer[129] = {};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = buffer;
    item.cchTextMax = 129;
    if (!SendMessageW(tabs_, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item))) return std::nullopt;
    return std::wstring(item.pszText);
}

void Binder::SetListRedraw(bool on) {
    if (!list_) return;
    SendMessageW(list_, WM_SETREDRAW, on, 0);
    if (on) InvalidateRect(list_, nullptr, TRUE);
}

int Binder::AppendEntry(std::string_view name, const std::string& installerPath, CatalogueNode* item) {
    if (!list_ || name.empty() || installerPath.empty()) return -1;
    // Whether the file exists is found out with its icon, later.
    bool ownIcon = icons_.MayHaveOwnIcon(installerPath, false);
    int image = icons_.TypeIconIndex(installerPath, false);
    if (image < 0) return -1;
    std::wstring text = WideFromCp936(name);
    LVITEMW entry{};
    entry.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    entry.iItem = EntryCount();
    entry.pszText = text.data();
    entry.iImage = image;
    entry.lParam = reinterpret_cast<LPARAM>(item);
    int index = static_cast<int>(SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&entry)));
    if (index >= 0 && ownIcon) pendingIcons_.push_back({index, item, installerPath});
    return index;
}

bool Binder::LoadPendingIcons(int count) {
    for (; count > 0 && !pendingIcons_.empty(); --count) {
        PendingIcon pending = std::move(pendingIcons_.front());
        pendingIcons_.pop_front();
        if (ItemOfEntry(pending.entry) != pending.item) continue;  // the list changed meanwhile
        int image = icons_.IconIndex(pending.path, false);
        if (image >= 0) SetEntryImage(pending.entry, image);
    }
    return !pendingIcons_.empty();
}

bool Binder::SetEntryImage(int index, int image) {
    LVITEMW entry{};
    entry.mask = LVIF_IMAGE;
    entry.iItem = index;
    entry.iImage = image;
    return SendMessageW(list_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&entry)) != 0;
}

bool Binder::SetEntry(int index, std::string_view name, const std::string& installerPath) {
    if (!ValidEntry(index) || name.empty() || installerPath.empty()) return false;
    int image = icons_.IconIndex(installerPath, false);
    if (image < 0) return false;
    std::erase_if(pendingIcons_, [index](const PendingIcon& pending) { return pending.entry == index; });
    std::wstring text = WideFromCp936(name);
    LVITEMW entry{};
    entry.mask = LVIF_TEXT | LVIF_IMAGE;
    entry.iItem = index;
    entry.pszText = text.data();
    entry.iImage = image;
    return SendMessageW(list_, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&entry)) != 0;
}

bool Binder::SetEntryText(int index, std::string_view name) {
    if (!ValidEntry(index)) return false;
    std::wstring text = WideFromCp936(name);
    LVITEMW entry{};
    entry.iSubItem = 0;
    entry.pszText = text.data();
    return SendMessageW(list_, LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&entry)) != 0;
}

bool Binder::DeleteEntry(int index) {
    if (!ValidEntry(index) || !ListView_DeleteItem(list_, index)) return false;
    // Entries behind it move up by one; their pending icons follow them.
    std::erase_if(pendingIcons_, [index](const PendingIcon& pending) { return pending.entry == index; });
    for (PendingIcon& pending : pendingIcons_) {
        if (pending.entry > index) --pending.entry;
    }
    return true;
}

CatalogueNode* Binder::ItemOfEntry(int index) const {
    if (!ValidEntry(index)) return nullptr;
    LVITEMW entry{};
    entry.mask = LVIF_PARAM;
    entry.iItem = index;
    if (!SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry))) return nullptr;
    return reinterpret_cast<CatalogueNode*>(entry.lParam);
}

std::vector<Binder::SelectedEntry> Binder::SelectedEntries() const {
    std::vector<SelectedEntry> selected;
    if (!list_) return selected;
    for (int index = -1; (index = ListView_GetNextItem(list_, index, LVNI_SELECTED)) >= 0;) {
        LVITEMW entry{};
        entry.mask = LVIF_PARAM;
        entry.iItem = index;
        if (SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry)))
            selected.push_back({index, reinterpret_cast<CatalogueNode*>(entry.lParam)});
    }
    return selected;
}

int Binder::FirstSelectedEntry() const {
    return list_ ? ListView_GetNextItem(list_, -1, LVNI_SELECTED) : -1;
}

int Binder::EntryCount() const {
    return list_ ? ListView_GetItemCount(list_) : 0;
}

bool Binder::IsSelected(int index) const {
    return ValidEntry(index) && (ListView_GetItemState(list_, index, LVIS_SELECTED) & LVIS_SELECTED);
}

void Binder::SetSelected(int index, bool selected) {
    if (ValidEntry(index)) ListView_SetItemState(list_, index, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

void Binder::EditLabel(int index) {
    if (ValidEntry(index)) {
        SetFocus(list_);
        ListView_EditLabel(list_, index);
    }
}

void Binder::ClearList() {
    pendingIcons_.clear();
    if (list_) ListView_DeleteAllItems(list_);
    icons_.Clear();
}

void Binder::Arrange() {
    if (list_) ListView_Arrange(list_, LVA_ALIGNLEFT);
}

}  // namespace corvel::ui
