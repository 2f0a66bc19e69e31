// The copy files dialog, dialog 135: the installer, patch and settings file
// of the chosen items go to the clipboard as paths or as files, or are
// copied into a folder.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "catalogue/catalogue_model.h"
#include "catalogue/paths.h"
#include "catalogue/unique_handle.h"
#include "tools/copy_files/copy_file_list.h"
#include "tools/copy_files/copy_file_rows.h"
#include "tools/copy_files/copy_files_rules.h"
#include "ui/window/dialog.h"

namespace corvel::ui {

class CCopyFilesDialog : public Dialog {
public:
    // With no item the dialog closes as soon as it opens.
    CCopyFilesDialog(std::vector<ItemFields> items, const PathResolver& paths);

    const std::vector<ItemFields>& Items() const { return items_; }

protected:
    bool OnInit() override;
    bool OnButtonClicked(int id) override;
    bool OnContextMenu(HWND window, POINT at) override;

private:
    void BuildMenu();
    std::optional<CopyMode> ChosenMode() const;
    void ApplyRules(CopyMode mode);
    void OnMenuCommand(int id);
    // Runs the mode; true when the dialog is to close.
    bool Run(CopyMode mode);
    void CopyPathsAsText();
    void CopyFilesToClipboard();
    // The resolved target folder, made when missing; nothing when the user
    // has been told why there is none.
    std::optional<std::string> ReadyTargetFolder() const;
    bool CopyIntoFolder();
    // Handles every waiting message; an Escape key press asks the copy to stop.
    void HandleWaitingMessages();
    // One message for the files that failed and the names that chosen files
    // share; none when both are empty.
    void ReportNotCopied(const std::vector<std::string>& notCopied, const std::vector<std::string>& sharedNames) const;

    std::vector<ItemFields> items_;
    const PathResolver& paths_;
    std::vector<CopyFileRow> rows_;
    CopyFileList list_;
    UniqueMenu menu_;
    bool copying_ = false;
    bool stopAsked_ = false;
};

}  // namespace corvel::ui
