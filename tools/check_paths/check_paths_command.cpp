#include "check_paths_command.h"

#include "check_paths_dialog.h"
#include "corvel_view.h"
#include "shell_files.h"

namespace corvel::ui {

void CheckPaths(CCorvelView& view) {
    if (!view.InstallTaskAllows() || !view.HasCategory()) return;
    CCheckPathsDialog dialog(&view.Model(), view.Paths(), FileExists);
    dialog.RunModal(view.Owner());
    view.ShowCategory(view.Controls().CurrentTab());
}

}  // namespace corvel::ui
