#include "create_folders.h"

#include <optional>
#include <string>
#include <vector>

#include "corvel_view.h"
#include "create_folders_dialog.h"

namespace corvel::ui {

void RunCreateFolders(CCorvelView& view) {
    if (!view.InstallTaskAllows()) return;
    const Binder& controls = view.Controls();
    std::vector<std::optional<std::string>> names;
    for (int i = 0, count = controls.TabCount(); i < count; ++i) {
        const CatalogueNode* category = controls.CategoryOfTab(i);
        names.push_back(category ? std::optional<std::string>(std::string(category->Name())) : std::nullopt);
    }
    if (names.empty()) return;
    CCreateFoldersDialog dialog(RowsFromCategoryNames(names), view.Paths().ProgramFolder());
    dialog.RunModal(view.Owner());
}

}  // namespace corvel::ui
