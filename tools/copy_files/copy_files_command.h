// The view's copy files command: the dialog on the selected items.
#pragma once

namespace corvel::ui {

class CCorvelView;

void CopyFilesOfSelection(CCorvelView& view);

}  // namespace corvel::ui
