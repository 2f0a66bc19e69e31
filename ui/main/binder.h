// Owns the category tab strip, the item list and the list's icon cache for
// the catalogue view, and keeps every index check in one place. The list is
// virtual: its entries live here and the list asks for what it draws, so a
// category of many thousand items costs the list no entry objects.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/catalogue_model.h"
#include "catalogue/shell/icon_cache.h"

namespace corvel::ui {

class Binder {
public:
    // False when a window is missing or the icon cache cannot be created.
    bool Bind(HWND tabs, HWND list);

    int TabCount() const;
    int CurrentTab() const;
    int AppendTab(std::string_view name, CatalogueNode* category);
    bool DeleteTab(int index);
    bool SetTabText(int index, std::string_view name);
    CatalogueNode* CategoryOfTab(int index) const;
    // Selects and highlights tab index alone.
    void SelectTab(int index);
    // The tab's text, or nothing when it cannot be read.
    std::optional<std::wstring> TabText(int index) const;
    // While painting is off, a tab is added without measuring all the
    // others; turning it on lays all tabs out once.
    void SetTabRedraw(bool on);
    void SetListRedraw(bool on);

    // Refused (-1) for an item without a name, an empty path or when no
    // icon is found. An installer with an icon of its own shows its type's
    // icon until LoadPendingIcons reaches it, so a large category lists at once.
    int AppendEntry(CatalogueNode* item, const std::string& installerPath);
    // Gives up to count entries their installer's own icon; true while more wait.
    bool LoadPendingIcons(int count);
    // The list moved to a monitor of another scale: the icons are made
    // again at the size for dpi, each entry's own icon read again while idle.
    bool SetIconDpi(UINT dpi, const std::function<std::string(CatalogueNode*)>& installerOf);
    // The entry's item changed: its installer's icon and its name are shown again.
    bool SetEntry(int index, const std::string& installerPath);
    // Draws the entry again, after its item was renamed.
    bool RedrawEntry(int index);
    bool DeleteEntry(int index);
    CatalogueNode* ItemOfEntry(int index) const;
    struct SelectedEntry {
        int index;
        CatalogueNode* item;
    };
    // The selected entries in list order, found without visiting the others.
    std::vector<SelectedEntry> SelectedEntries() const;
    int FirstSelectedEntry() const;
    int EntryCount() const { return static_cast<int>(entries_.size()); }
    bool IsSelected(int index) const;
    void SetSelected(int index, bool selected);
    // Starts the label edit of an entry; its edit control, or nullptr.
    HWND EditLabel(int index);
    // Removes every entry and empties the icon cache.
    void ClearList();

    // The list's questions about the entries it draws and searches.
    void FillDisplayInfo(NMLVDISPINFOW& request) const;
    int FindEntry(const NMLVFINDITEMW& request) const;

    HWND Tabs() const { return tabs_; }
    HWND List() const { return list_; }

private:
    bool ValidTab(int index) const { return tabs_ && index >= 0 && index < TabCount(); }
    bool ValidEntry(int index) const { return list_ && index >= 0 && index < EntryCount(); }

    // Tells the list how many entries there are and places them, unless
    // painting is off.
    void SyncEntryCount();

    struct PendingIcon {
        int entry;
        CatalogueNode* item;  // the entry must still show this item
        std::string path;
    };

    struct Entry {
        CatalogueNode* item;
        int image;
    };

    HWND tabs_ = nullptr;
    HWND list_ = nullptr;
    // The one highlighted tab, so that a selection unmarks it alone.
    int highlightedTab_ = -1;
    bool tabLayoutHeld_ = false;  // while painting is off
    bool listHeld_ = false;       // while painting is off
    std::vector<Entry> entries_;
    FileIconCache icons_;
    std::deque<PendingIcon> pendingIcons_;
};

}  // namespace corvel::ui
