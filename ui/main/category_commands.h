// The catalogue view's category commands: new, delete, edit (rename) and
// switch to another category.
#pragma once

namespace corvel::ui {

class CCorvelView;

class CategoryCommands {
public:
    explicit CategoryCommands(CCorvelView& view) : view_(view) {}

    void New();
    void Delete();
    void Edit();
    void SwitchTo(int index);

private:
    // The guard passed and a category is current; its tab index, or -1.
    int CurrentCategoryTab() const;

    CCorvelView& view_;
};

}  // namespace corvel::ui
