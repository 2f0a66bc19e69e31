#include "copy_files_command.h"

#include "copy_files_dialog.h"
#include "corvel_view.h"

namespace corvel::ui {

void CopyFilesOfSelection(CCorvelView& view) {
    if (!view.InstallTaskAllows()) return;
    Binder& controls = view.Controls();
    if (controls.CurrentTab() < 0) return;
    std::vector<ItemFields> items;
    for (const Binder::SelectedEntry& entry : controls.SelectedEntries()) {
        ItemFields fields;
        if (view.Model().GetItemFields(entry.item, fields)) items.push_back(std::move(fields));
    }
    CCopyFilesDialog dialog(std::move(items), view.Paths());
    dialog.RunModal(view.Owner());
}

}  // namespace corvel::ui
