// The create folders dialog, dialog 137: one row per category name, ticked
// rows become folders inside the target folder on OK.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "catalogue/unique_handle.h"
#include "tools/create_folders/create_folders_rules.h"
#include "ui/window/dialog.h"
#include "ui/window/list_view.h"

namespace corvel::ui {

class CCreateFoldersDialog : public Dialog {
public:
    // programFolder ends with a backslash.
    CCreateFoldersDialog(std::vector<FolderRow> rows, std::string programFolder);

    const std::vector<FolderRow>& InitialRows() const { return initialRows_; }
    // The folder list's context menu, its entries enabled for the list as
    // it is now.
    HMENU PreparedContextMenu();

protected:
    bool OnInit() override;
    bool OnButtonClicked(int id) override;
    LRESULT OnNotify(NMHDR* header) override;
    bool OnContextMenu(HWND window, POINT at) override;

private:
    void AddRows();
    void BuildContextMenu();
    std::vector<FolderRow> ListedRows() const;
    void TickAll(bool ticked);
    void RenameFirstSelected();
    // Whether the list may take the edited text.
    bool EndLabelEdit(const NMLVDISPINFOW& edit);
    void CreateFolders();

    std::vector<FolderRow> initialRows_;
    std::string programFolder_;
    ListView list_;
    UniqueMenu contextMenu_;
};

}  // namespace corvel::ui
