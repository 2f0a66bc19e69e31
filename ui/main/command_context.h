// What the view's command groups work with, in place of the whole view:
// the catalogue, the controls that show it, the path rules, the status
// bar's text and the window that owns their dialogs.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "catalogue/catalogue_model.h"
#include "catalogue/paths.h"
#include "ui/main/binder.h"

namespace corvel::ui {

using StatusSink = std::function<void(const std::wstring&)>;

struct CommandContext {
    Catalogue& catalogue;
    Binder& controls;
    const PathResolver& paths;
    const StatusSink& status;
    // The frame; known once the view's window is made.
    HWND owner = nullptr;

    bool HasSelection() const { return controls.FirstSelectedEntry() >= 0; }
    // The items of the selected entries, in list order.
    std::vector<const CatalogueNode*> SelectedItems() const;
    // The resolved installer of an item, whose icon its entry shows.
    std::string InstallerOf(const CatalogueNode* item) const;
    // Appends the item's entry; -1 when its installer resolves to nothing
    // or has no icon (the item stays in the catalogue).
    int AppendEntryFor(CatalogueNode* item) const;
    // Makes category index current and lists its items; false when out of range.
    bool ShowCategory(int index) const;
};

}  // namespace corvel::ui
