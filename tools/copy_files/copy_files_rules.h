// What the copy files dialog's three ways of copying and its list menu
// allow. Portable.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/paths.h"
#include "tools/copy_files/copy_file_rows.h"

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

// The folder that copying into a folder writes to, from the typed text.
struct CopyTarget {
    enum class Verdict { Empty, Invalid, Folder };
    Verdict verdict;
    std::string folder;  // full path, when a folder
};

// Blanks and dots that end the text are dropped, as the system drops them
// from a folder it makes, so that the copies go where the folder is; then
// the text is resolved as every path of the program is. A last name of
// only dots ("." or "..") is left to the path check, which refuses it.
CopyTarget CopyTargetOf(std::string_view typed, const PathResolver& paths);

// Where copying file into folder puts it: folder, a backslash, the file's
// own name.
std::string CopyTargetPath(std::string_view file, std::string_view folder);

// The file names that two or more of paths share, each once, in the order
// they first appear: copied into one folder, only one of each can stay.
// Names that differ only in ASCII case are shared, as the file system
// takes them for one.
std::vector<std::string> SharedFileNames(const std::vector<std::string>& paths);

}  // namespace corvel
