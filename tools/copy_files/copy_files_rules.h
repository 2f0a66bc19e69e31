// What the copy files dialog's three ways of copying and its list menu
// allow. Portable.
#pragma once

#include <cstddef>
#include <vector>

#include "copy_file_rows.h"

namespace corvel {

enum class CopyMode { PathsAsText = 1, FilesToClipboard = 2, IntoFolder = 3 };

struct CopyModeRules {
    bool folderControlsEnabled;  // target folder, chooser, overwrite, progress, status
    bool uncheckMissingFiles;    // only the text of paths can use a missing file
    bool focusTargetFolder;
};

CopyModeRules RulesOf(CopyMode mode);

// The row selections the list's menu offers.
enum class RowSelection { Installers, Patches, SettingsFiles, ExistingFiles, All, Invert };

// Which rows are selected after choosing what; selected holds the rows'
// selection before.
std::vector<bool> SelectRows(RowSelection what, const std::vector<CopyFileRow>& rows,
                             const std::vector<bool>& selected);

struct RowMenuState {
    bool selectionEnabled;  // the selection entries need rows
    bool checkEnabled;      // check and clear need a selected row
};

RowMenuState RowMenuStateFor(std::size_t rowCount, bool anySelected);

}  // namespace corvel
