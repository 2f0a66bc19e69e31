#include "tools/create_folders/create_folders.h"

#include "tools/create_folders/create_folders_dialog.h"

namespace corvel::ui {

void RunCreateFolders(const ToolContext& tool, const std::vector<std::optional<std::string>>& categoryNames) {
    if (categoryNames.empty()) return;
    CCreateFoldersDialog dialog(RowsFromCategoryNames(categoryNames), tool.paths.ProgramFolder());
    dialog.RunModal(tool.owner);
}

}  // namespace corvel::ui
