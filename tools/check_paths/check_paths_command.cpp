#include "tools/check_paths/check_paths_command.h"

#include "catalogue/shell/shell_files.h"
#include "tools/check_paths/check_paths_dialog.h"

namespace corvel::ui {

void RunCheckPaths(const ToolContext& tool) {
    CCheckPathsDialog dialog(&tool.catalogue, tool.paths, FileExists);
    dialog.RunModal(tool.owner);
}

}  // namespace corvel::ui
