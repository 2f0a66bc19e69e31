// The catalogue view's install item commands: add, edit, delete, rename,
// move to another category, select, and show an item's files. The view
// ends a running install task first, on the user's word, for all but the
// two selection commands.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <string>

#include "ui/main/command_context.h"

namespace corvel::ui {

// Posted to the list to reopen a refused label edit once the old edit is gone.
inline constexpr UINT kRestartRenameMessage = WM_APP + 1;

class ItemCommands {
public:
    explicit ItemCommands(const CommandContext& context) : context_(context) {}

    void Add();
    void Edit();
    void Delete();
    void Rename();
    // The list's label edit ended; the label changes only through the rename.
    void EndRename(const NMLVDISPINFOW& edit);
    // Opens the label edit again after a refusal, holding the refused text.
    void RestartRename(int entry);
    void MoveTo(int category);
    void SelectAll();
    void InvertSelection();
    // which: the step kind of the item's file.
    void ViewFile(int which);
    void ShowProperties(int which);

private:
    // There is a current category and a selected entry in it.
    bool HasCurrentSelection() const;
    // The resolved path of one file of the first selected item, or empty
    // after a missing file was reported with caption.
    std::string ExistingFileOfSelectionOrReport(int which, UINT caption) const;
    void Report(UINT text, UINT caption, UINT icon) const;
    // Reopens the label edit of entry, once the ended one is gone, with the
    // text the user typed.
    void ReopenRename(int entry, const wchar_t* typed);

    const CommandContext& context_;
    std::wstring refusedName_;
};

}  // namespace corvel::ui
