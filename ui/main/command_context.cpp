#include "ui/main/command_context.h"

namespace corvel::ui {

std::vector<const CatalogueNode*> CommandContext::SelectedItems() const {
    std::vector<const CatalogueNode*> items;
    for (const Binder::SelectedEntry& entry : controls.SelectedEntries()) items.push_back(entry.item);
    return items;
}

std::string CommandContext::InstallerOf(const CatalogueNode* item) const {
    return paths.ProgramPathOfCommand(item->StoredField(Field::SrcPath), true);
}

int CommandContext::AppendEntryFor(CatalogueNode* item) const {
    return controls.AppendEntry(item, InstallerOf(item));
}

bool CommandContext::ShowCategory(int index) const {
    CatalogueNode* category = controls.CategoryOfTab(index);
    if (!category) return false;
    controls.SelectTab(index);
    controls.SetListRedraw(false);
    controls.ClearList();
    catalogue.Enumerate(category, NodeKind::Item, [this](NodeKind, CatalogueNode* item) { AppendEntryFor(item); });
    controls.SetListRedraw(true);
    status(std::wstring());  // nothing is selected in the new list
    return true;
}

}  // namespace corvel::ui
