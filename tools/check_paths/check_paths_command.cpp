#include "check_paths_command.h"

#include "check_paths_dialog.h"
#include "shell_files.h"

namespace corvel::ui {

void RunCheckPaths(const ToolContext& tool) {
    CCheckPathsDialog dialog(&tool.catalogue, tool.paths, FileExists);
    dialog.RunModal(tool.owner);
}

}  // namespace corvel::ui
