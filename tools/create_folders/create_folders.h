// The create folders command of the catalogue view.
#pragma once

namespace corvel::ui {

class CCorvelView;

// Runs the create folders dialog on the names of all categories in tab
// order, after the install-task guard; nothing without a category.
void RunCreateFolders(CCorvelView& view);

}  // namespace corvel::ui
