// The settings dialog, dialog 9000: imports a registry export through
// regedit or copies a data file into a folder. Ends with the component answer.
#pragma once

#include <string>

#include "components/maelis/maelis_rules.h"
#include "ui/window/dialog.h"

namespace corvel::maelis {

class CSettingsDialog : public ui::Dialog {
public:
    // Texts are code page 936.
    CSettingsDialog(std::string itemName, std::string filePath, std::string installFolder);

protected:
    bool OnInit() override;
    bool OnButtonClicked(int id) override;
    bool OnQueryEndSession() override;

private:
    void SetMode(Mode mode);
    void OnOk();
    void OnAbandonAll();
    bool CopyIntoTarget(const std::string& folder) const;
    bool StartRegedit() const;

    std::string itemName_;
    std::string filePath_;
    std::string installFolder_;
};

}  // namespace corvel::maelis
