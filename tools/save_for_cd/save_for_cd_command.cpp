#include "tools/save_for_cd/save_for_cd_command.h"

#include "tools/save_for_cd/save_for_cd_dialog.h"

namespace corvel::ui {

void RunSaveForCd(const ToolContext& tool) {
    Catalogue& catalogue = tool.catalogue;
    if (catalogue.Count(catalogue.Root(), NodeKind::Category, false) == 0) return;
    CSaveForCdDialog dialog(catalogue, {tool.programFile, tool.paths.ProgramFolder()});
    dialog.RunModal(tool.owner);
}

}  // namespace corvel::ui
