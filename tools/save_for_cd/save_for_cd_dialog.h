// Save for CD, dialog 132: writes the program, its components, a catalogue
// of the chosen categories, ExtTools.ini and optionally AutoRun.inf into one
// folder.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue_model.h"
#include "tools/save_for_cd/cd_folder_rules.h"
#include "ui/window/dialog.h"
#include "ui/window/list_view.h"

namespace corvel::ui {

class CSaveForCdDialog : public Dialog {
public:
    // The catalogue is only read.
    CSaveForCdDialog(Catalogue& catalogue, ProgramFiles program);

protected:
    bool OnInit() override;
    bool OnButtonClicked(int id) override;

private:
    void FillCategories();
    // The icon field and its button follow the autorun box.
    void EnableIconControls();
    void Save();
    // Nothing when a typed path cannot be held; the user has been told.
    std::optional<SaveForCdRequest> ReadRequest() const;
    std::vector<const CatalogueNode*> CheckedCategories() const;

    Catalogue& catalogue_;
    ProgramFiles program_;
};

}  // namespace corvel::ui
