#include "ui/main/binder.h"

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>

#include "catalogue/win32_text.h"

namespace corvel::ui {

bool Binder::Bind(HWND tabs, HWND list) {
    if (!tabs || !list || !IsWindow(tabs) || !IsWindow(list)) return false;
    if (!(GetWindowLongPtrW(list, GWL_STYLE) & LVS_OWNERDATA)) return false;  // the entries are kept here
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
    listHeld_ = !on;
    if (on) SyncEntryCount();
    SendMessageW(list_, WM_SETREDRAW, on, 0);
    if (on) InvalidateRect(list_, nullptr, TRUE);
}

// Wine's list places the entries of a virtual list in icon view only when
// asked to arrange them; Windows places them itself.
void Binder::SyncEntryCount() {
    if (listHeld_) return;
    ListView_SetItemCountEx(list_, EntryCount(), LVSICF_NOINVALIDATEALL | LVSICF_NOSCROLL);
    ListView_Arrange(list_, LVA_DEFAULT);
}

int Binder::AppendEntry(CatalogueNode* item, const std::string& installerPath) {
    if (!list_ || !item || item->Name().empty() || installerPath.empty()) return -1;
    // Whether the file exists is found out with its icon, later.
    bool ownIcon = icons_.MayHaveOwnIcon(installerPath, false);
    int image = icons_.TypeIconIndex(installerPath, false);
    if (image < 0) return -1;
    int index = EntryCount();
    entries_.push_back({item, image});
    SyncEntryCount();
    if (ownIcon) pendingIcons_.push_back({index, item, installerPath});
    return index;
}

bool Binder::LoadPendingIcons(int count) {
    for (; count > 0 && !pendingIcons_.empty(); --count) {
        PendingIcon pending = std::move(pendingIcons_.front());
        pendingIcons_.pop_front();
        if (ItemOfEntry(pending.entry) != pending.item) continue;  // the list changed meanwhile
        int image = icons_.IconIndex(pending.path, false);
        if (image < 0) continue;
        entries_[pending.entry].image = image;
        RedrawEntry(pending.entry);
    }
    return !pendingIcons_.empty();
}

bool Binder::SetIconDpi(UINT dpi, const std::function<std::string(CatalogueNode*)>& installerOf) {
    if (!list_ || !icons_.Create(kIconSizeShell, ILC_COLOR32 | ILC_MASK, 30, static_cast<int>(dpi))) return false;
    ListView_SetImageList(list_, icons_.ImageList(), LVSIL_NORMAL);
    pendingIcons_.clear();
    for (int index = 0; index < EntryCount(); ++index) {
        CatalogueNode* item = entries_[index].item;
        std::string installer = installerOf(item);
        entries_[index].image = std::max(icons_.TypeIconIndex(installer, false), 0);
        if (icons_.MayHaveOwnIcon(installer, false)) pendingIcons_.push_back({index, item, installer});
    }
    SyncEntryCount();
    InvalidateRect(list_, nullptr, TRUE);
    return true;
}

bool Binder::SetEntry(int index, const std::string& installerPath) {
    if (!ValidEntry(index) || installerPath.empty()) return false;
    int image = icons_.IconIndex(installerPath, false);
    if (image < 0) return false;
    std::erase_if(pendingIcons_, [index](const PendingIcon& pending) { return pending.entry == index; });
    entries_[index].image = image;
    return RedrawEntry(index);
}

bool Binder::RedrawEntry(int index) {
    return ValidEntry(index) && ListView_RedrawItems(list_, index, index);
}

bool Binder::DeleteEntry(int index) {
    if (!ValidEntry(index)) return false;
    entries_.erase(entries_.begin() + index);
    // The list moves the selection and focus of the entries behind it up.
    ListView_DeleteItem(list_, index);
    SyncEntryCount();
    // Entries behind it move up by one; their pending icons follow them.
    std::erase_if(pendingIcons_, [index](const PendingIcon& pending) { return pending.entry == index; });
    for (PendingIcon& pending : pendingIcons_) {
        if (pending.entry > index) --pending.entry;
    }
    return true;
}

CatalogueNode* Binder::ItemOfEntry(int index) const {
    return ValidEntry(index) ? entries_[index].item : nullptr;
}

std::vector<Binder::SelectedEntry> Binder::SelectedEntries() const {
    std::vector<SelectedEntry> selected;
    if (!list_) return selected;
    for (int index = -1; (index = ListView_GetNextItem(list_, index, LVNI_SELECTED)) >= 0;) {
        if (!ValidEntry(index)) break;
        selected.push_back({index, entries_[index].item});
    }
    return selected;
}

int Binder::FirstSelectedEntry() const {
    return list_ ? ListView_GetNextItem(list_, -1, LVNI_SELECTED) : -1;
}

bool Binder::IsSelected(int index) const {
    return ValidEntry(index) && (ListView_GetItemState(list_, index, LVIS_SELECTED) & LVIS_SELECTED);
}

void Binder::SetSelected(int index, bool selected) {
    if (ValidEntry(index)) ListView_SetItemState(list_, index, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
}

HWND Binder::EditLabel(int index) {
    if (!ValidEntry(index)) return nullptr;
    SetFocus(list_);
    return ListView_EditLabel(list_, index);
}

void Binder::ClearList() {
    pendingIcons_.clear();
    entries_.clear();
    if (list_) ListView_DeleteAllItems(list_);
    icons_.Clear();
}

void Binder::FillDisplayInfo(NMLVDISPINFOW& request) const {
    LVITEMW& asked = request.item;
    if (!ValidEntry(asked.iItem) || asked.iSubItem != 0) return;
    const Entry& entry = entries_[asked.iItem];
    if (asked.mask & LVIF_IMAGE) asked.iImage = entry.image;
    if ((asked.mask & LVIF_TEXT) && asked.pszText && asked.cchTextMax > 0) {
        std::wstring text = WideFromCp936(entry.item->Name());
        std::size_t length = std::min(text.size(), static_cast<std::size_t>(asked.cchTextMax - 1));
        text.copy(asked.pszText, length);
        asked.pszText[length] = L'\0';
    }
}

// Typing in the list jumps to the next entry whose name starts with the
// typed letters, as in a list holding its own entries.
int Binder::FindEntry(const NMLVFINDITEMW& request) const {
    const LVFINDINFOW& find = request.lvfi;
    if (!(find.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.psz || entries_.empty()) return -1;
    const std::wstring wanted = find.psz;
    const bool partial = (find.flags & LVFI_PARTIAL) != 0;
    const int count = EntryCount();
    const int start = (request.iStart >= 0 && request.iStart < count) ? request.iStart : 0;
    const int span = (find.flags & LVFI_WRAP) ? count : count - start;
    for (int step = 0; step < span; ++step) {
        int index = (start + step) % count;
        std::wstring name = WideFromCp936(entries_[index].item->Name());
        if (partial && name.size() > wanted.size()) name.resize(wanted.size());
        if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, name.c_str(), -1, wanted.c_str(), -1) == CSTR_EQUAL)
            return index;
    }
    return -1;
}

}  // namespace corvel::ui
