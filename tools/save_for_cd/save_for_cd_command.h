// The view's Save for CD command.
#pragma once

namespace corvel::ui {

class CCorvelView;

// Runs the Save for CD dialog on the view's catalogue, once the install-task
// guard allows it and there is a category to save.
void SaveForCd(CCorvelView& view);

}  // namespace corvel::ui
