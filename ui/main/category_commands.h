// The catalogue view's category commands: new, delete, edit (rename) and
// switch to another category. The view ends a running install task first,
// on the user's word, for each of them.
#pragma once

#include "ui/main/command_context.h"

namespace corvel::ui {

class CategoryCommands {
public:
    explicit CategoryCommands(const CommandContext& context) : context_(context) {}

    void New();
    void Delete();
    void Edit();
    void SwitchTo(int index);

private:
    // The current category's tab index, or -1 when there is none.
    int CurrentCategoryTab() const;

    const CommandContext& context_;
};

}  // namespace corvel::ui
