// Fennick's one dialog: maps a folder to a free drive letter, so that a CD
// laid out on the hard disk can be tried from a drive root, and removes
// such mappings.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>

#include "catalogue/unique_handle.h"
#include "testdrive/testdrive_rules.h"
#include "ui/window/dialog.h"

namespace corvel::testdrive {

class CFennickDialog : public ui::Dialog {
public:
    CFennickDialog();

protected:
    bool OnInit() override;
    bool OnCommand(int id, int notifyCode, HWND control) override;
    bool OnButtonClicked(int id) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The title bar's and the task bar's icons, drawn for dpi.
    void SetIcons(UINT dpi);
    void Refresh();
    void ShowMappedFolder();
    void EnableItems(std::initializer_list<int> ids, bool enable) const;
    void Create();
    void Delete();
    // The chosen entry of a letter list, nullopt when none is chosen.
    std::optional<std::wstring> ChosenLetter(int list) const;
    void ReportResult(ResultMessage message) const;
    void Report(UINT text, UINT icon) const { Tell(text, MB_OK | icon); }

    // Freed with the dialog object, once its window is gone.
    UniqueIcon bigIcon_;
    UniqueIcon smallIcon_;
};

// What the device table answers for a drive letter ("X:"), read with a
// buffer that grows until the whole target fits; nullopt when nothing.
std::optional<std::wstring> QueryDriveTarget(const std::wstring& letterText);

}  // namespace corvel::testdrive
