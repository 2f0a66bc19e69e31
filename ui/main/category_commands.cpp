#include "ui/main/category_commands.h"

#include <string>

#include "ui/category_dialog/category_dialog.h"
#include "ui/main/resource.h"
#include "ui/window/message_box.h"
#include "ui/window/window.h"

namespace corvel::ui {

int CategoryCommands::CurrentCategoryTab() const {
    const Binder& controls = context_.controls;
    return controls.TabCount() > 0 ? controls.CurrentTab() : -1;
}

void CategoryCommands::New() {
    std::string name;
    CCategoryDialog dialog(name, true);
    if (dialog.RunModal(context_.owner) != IDOK || name.empty()) return;
    CatalogueNode* category = context_.catalogue.AddCategory(name);
    if (!category) return;  // the catalogue holds as many categories as it may
    int tab = context_.controls.AppendTab(name, category);
    if (tab >= 0) context_.ShowCategory(tab);
}

void CategoryCommands::Delete() {
    int tab = CurrentCategoryTab();
    if (tab < 0) return;
    if (ShowMessageBox(context_.owner, LoadResourceString(IDS_DELETE_CATEGORY_QUESTION),
                       LoadResourceString(IDS_DELETE_CATEGORY_CAPTION), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    Binder& controls = context_.controls;
    // The tab goes only with its category, so the two never disagree.
    if (!context_.catalogue.DeleteCategory(controls.CategoryOfTab(tab))) {
        ShowMessageBox(context_.owner, LoadResourceString(IDS_DELETE_CATEGORY_FAILED),
                       LoadResourceString(IDS_DELETE_CATEGORY_CAPTION), MB_OK | MB_ICONSTOP);
        return;
    }
    controls.DeleteTab(tab);
    if (controls.TabCount() > 0) {
        context_.ShowCategory(tab > 0 ? tab - 1 : 0);
    } else {
        controls.ClearList();
        context_.status(std::wstring());
    }
}

void CategoryCommands::Edit() {
    int tab = CurrentCategoryTab();
    if (tab < 0) return;
    CatalogueNode* category = context_.controls.CategoryOfTab(tab);
    if (!category || category->Name().empty()) return;
    std::string name(category->Name());
    CCategoryDialog dialog(name, false);
    if (dialog.RunModal(context_.owner) != IDOK || name.empty()) return;
    if (context_.catalogue.RenameCategory(category, name)) context_.controls.SetTabText(tab, name);
}

void CategoryCommands::SwitchTo(int index) {
    int current = CurrentCategoryTab();
    if (current < 0 || index < 0 || index >= context_.controls.TabCount() || index == current) return;
    context_.ShowCategory(index);
}

}  // namespace corvel::ui
