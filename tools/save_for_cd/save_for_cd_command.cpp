#include "save_for_cd_command.h"

#include "corvel_view.h"
#include "save_for_cd_dialog.h"

namespace corvel::ui {

void SaveForCd(CCorvelView& view) {
    if (!view.InstallTaskAllows()) return;
    Catalogue& catalogue = view.Model();
    if (catalogue.Count(catalogue.Root(), NodeKind::Category, false) == 0) return;
    CSaveForCdDialog dialog(catalogue, {view.Location().programFile, view.Location().folder});
    dialog.RunModal(view.Owner());
}

}  // namespace corvel::ui
