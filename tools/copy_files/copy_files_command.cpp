#include "tools/copy_files/copy_files_command.h"

#include "tools/copy_files/copy_files_dialog.h"

namespace corvel::ui {

void RunCopyFiles(const ToolContext& tool, const std::vector<const CatalogueNode*>& items) {
    std::vector<ItemFields> fields;
    for (const CatalogueNode* item : items) {
        ItemFields one;
        if (tool.catalogue.GetItemFields(item, one)) fields.push_back(std::move(one));
    }
    CCopyFilesDialog dialog(std::move(fields), tool.paths);
    dialog.RunModal(tool.owner);
}

}  // namespace corvel::ui
