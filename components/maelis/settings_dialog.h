// The settings dialog, dialog 9000: imports a registry export through
// regedit or copies a data file into a folder. Ends with the component answer.
#pragma once

#include <string>

#include "dialog.h"
#include "maelis_rules.h"

namespace corvel::maelis {

class CSettingsDialog : public ui::Dialog {
public:
    // Texts are code page 936.
    CSettingsDialog(std::string itemName, std::string filePath, std::string installFolder);

protected:
    bool OnInit() override;
    bool OnCommand(int id, int notifyCode, HWND control) override;

private:
    void SetMode(Mode mode);
    void OnOk();
    void OnBrowse();
    void OnAbandonAll();
    bool CopyIntoTarget(const std::string& folder) const;
    bool StartRegedit() const;
    int Say(UINT textId, UINT flags) const;
    // Log-off reaches no dialog procedure of ours; a subclass catches it.
    static LRESULT CALLBACK SessionEndHook(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                           DWORD_PTR self);

    std::string itemName_;
    std::string filePath_;
    std::string installFolder_;
};

}  // namespace corvel::maelis
