#include "ui/main/commands.h"

#include <array>

#include "components/component_interface.h"
#include "ui/main/resource.h"
#include "ui/main/view_requests.h"
#include "ui/window/label_rules.h"

namespace corvel::ui {

namespace {

constexpr std::array kCommands = {
    Command{ID_FILE_SAVE_AS, EnableRule::HasCategory, kRequestSaveForCd, 0},
    Command{ID_CATEGORY_NEW, EnableRule::Always, kRequestNewCategory, 0},
    Command{ID_CATEGORY_DELETE, EnableRule::HasCategory, kRequestDeleteCategory, 0},
    Command{ID_CATEGORY_EDIT, EnableRule::HasCategory, kRequestEditCategory, 0},
    Command{ID_ITEM_INSTALL, EnableRule::HasSelection, kRequestInstall, 0},
    Command{ID_ITEM_REGCODE, EnableRule::HasSelection, kRequestCopyRegcode, 0},
    Command{ID_ITEM_PATCH, EnableRule::HasSelection, kRequestInstallPatch, 0},
    Command{ID_ITEM_SETTINGS, EnableRule::HasSelection, kRequestRestoreSettings, 0},
    Command{ID_ITEM_ADD, EnableRule::HasCategory, kRequestAddItem, 0},
    Command{ID_ITEM_DELETE, EnableRule::HasSelection, kRequestDeleteItems, 0},
    Command{ID_ITEM_EDIT, EnableRule::HasSelection, kRequestEditItem, 0},
    Command{ID_ITEM_RENAME, EnableRule::HasSelection, kRequestRenameItem, 0},
    Command{ID_ITEM_COPY, EnableRule::HasSelection, kRequestCopyFiles, 0},
    Command{ID_ITEM_SELECT_ALL, EnableRule::HasCategory, kRequestSelectAll, 0},
    Command{ID_ITEM_INVERT, EnableRule::HasCategory, kRequestInvertSelection, 0},
    Command{ID_VIEW_INSTALLER, EnableRule::HasSelection, kRequestViewFile, kInstallerStep},
    Command{ID_VIEW_PATCH, EnableRule::HasSelection, kRequestViewFile, kPatchStep},
    Command{ID_VIEW_SETTINGS, EnableRule::HasSelection, kRequestViewFile, kSettingsStep},
    Command{ID_PROPERTIES_INSTALLER, EnableRule::HasSelection, kRequestProperties, kInstallerStep},
    Command{ID_PROPERTIES_PATCH, EnableRule::HasSelection, kRequestProperties, kPatchStep},
    Command{ID_PROPERTIES_SETTINGS, EnableRule::HasSelection, kRequestProperties, kSettingsStep},
    Command{ID_TOOLS_CHECK_PATHS, EnableRule::HasCategory, kRequestCheckPaths, 0},
    Command{ID_TOOLS_CREATE_FOLDERS, EnableRule::HasCategory, kRequestCreateFolders, 0},
    Command{ID_TOOLS_EDIT, EnableRule::Always, 0, 0},
    Command{ID_APP_EXIT, EnableRule::Always, 0, 0},
    Command{ID_APP_ABOUT, EnableRule::Always, 0, 0},
};

}  // namespace

const Command* FindCommand(int id) {
    for (const Command& command : kCommands) {
        if (command.id == id) return &command;
    }
    return nullptr;
}

bool IsEnabled(EnableRule rule, bool hasCategory, bool hasSelection) {
    switch (rule) {
        case EnableRule::Always:
            return true;
        case EnableRule::HasCategory:
            return hasCategory;
        case EnableRule::HasSelection:
            return hasSelection;
    }
    return false;
}

std::vector<SubmenuEntry> CategorySubmenu(MenuMode mode, const std::vector<std::optional<std::wstring>>& tabTexts,
                                          int currentTab, bool hasSelection) {
    std::vector<SubmenuEntry> entries;
    if (tabTexts.empty() || (mode == kMenuMoveTo && !hasSelection)) return entries;
    entries.reserve(tabTexts.size());
    for (std::size_t i = 0; i < tabTexts.size(); ++i) {
        bool current = static_cast<int>(i) == currentTab;
        entries.push_back({MenuTextOf(tabTexts[i].value_or(std::wstring())), tabTexts[i].has_value() && !current});
    }
    return entries;
}

bool NeedsEmptyPlaceholder(std::size_t entryCount) {
    return entryCount == 0 || entryCount > static_cast<std::size_t>(kDynamicIdCount);
}

}  // namespace corvel::ui
