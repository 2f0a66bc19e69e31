// The check paths command of the catalogue view.
#pragma once

namespace corvel::ui {

class CCorvelView;

// Runs the check paths window on the view's catalogue once the install
// task allows it and a category exists; then lists the current category
// again, whose items may have been edited there.
void CheckPaths(CCorvelView& view);

}  // namespace corvel::ui
