#include "category_commands.h"

#include <string>

#include "category_dialog.h"
#include "corvel_view.h"
#include "message_box.h"
#include "resource.h"
#include "window.h"

namespace corvel::ui {

int CategoryCommands::CurrentCategoryTab() const {
    if (!view_.InstallTaskAllows()) return -1;
    const Binder& controls = view_.Controls();
    return controls.TabCount() > 0 ? controls.CurrentTab() : -1;
}

void CategoryCommands::New() {
    if (!view_.InstallTaskAllows()) return;
    std::string name;
    CCategoryDialog dialog(name, true);
    if (dialog.RunModal(view_.Owner()) != IDOK || name.empty()) return;
    CatalogueNode* category = view_.Model().AddCategory(name);
    if (!category) return;  // the catalogue holds as many categories as it may
    int tab = view_.Controls().AppendTab(name, category);
    if (tab >= 0) view_.ShowCategory(tab);
}

void CategoryCommands::Delete() {
    int tab = CurrentCategoryTab();
    if (tab < 0) return;
    if (ShowMessageBox(view_.Owner(), LoadResourceString(IDS_DELETE_CATEGORY_QUESTION),
                       LoadResourceString(IDS_DELETE_CATEGORY_CAPTION), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    Binder& controls = view_.Controls();
    // The tab goes only with its category, so the two never disagree.
    if (!view_.Model().DeleteCategory(controls.CategoryOfTab(tab))) {
        ShowMessageBox(view_.Owner(), LoadResourceString(IDS_DELETE_CATEGORY_FAILED),
                       LoadResourceString(IDS_DELETE_CATEGORY_CAPTION), MB_OK | MB_ICONSTOP);
        return;
    }
    controls.DeleteTab(tab);
    if (controls.TabCount() > 0) {
        view_.ShowCategory(tab > 0 ? tab - 1 : 0);
    } else {
        controls.ClearList();
        view_.SetStatus(std::wstring());
    }
}

void CategoryCommands::Edit() {
    int tab = CurrentCategoryTab();
    if (tab < 0) return;
    CatalogueNode* category = view_.Controls().CategoryOfTab(tab);
    if (!category || category->Name().empty()) return;
    std::string name(category->Name());
    CCategoryDialog dialog(name, false);
    if (dialog.RunModal(view_.Owner()) != IDOK || name.empty()) return;
    if (view_.Model().RenameCategory(category, name)) view_.Controls().SetTabText(tab, name);
}

void CategoryCommands::SwitchTo(int index) {
    int current = CurrentCategoryTab();
    if (current < 0 || index < 0 || index >= view_.Controls().TabCount() || index == current) return;
    view_.ShowCategory(index);
}

}  // namespace corvel::ui
