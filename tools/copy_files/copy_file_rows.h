// The rows of the copy files dialog and what each way of copying takes from
// them. Portable.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "catalogue/catalogue_model.h"
#include "catalogue/paths.h"

namespace corvel {

enum class CopyFileKind { Installer = 1, Patch = 2, Settings = 4 };

struct CopyFileRow {
    std::string itemName;
    std::string path;  // resolved full path
    CopyFileKind kind;
    bool exists;  // an existing file, not a folder
};

// Installer, patch and settings file of each item in turn; a file whose
// command names no path (empty, or only a flag) gives no row, nor does an
// item without a name.
std::vector<CopyFileRow> BuildCopyFileRows(const std::vector<ItemFields>& items, const PathResolver& paths,
                                           const std::function<bool(const std::string&)>& fileExists);

// The path of every checked row, each followed by CR LF.
std::string CheckedPathsText(const std::vector<CopyFileRow>& rows, const std::vector<bool>& checked);

// The paths of the checked rows whose file exists, top to bottom.
std::vector<std::string> CheckedExistingPaths(const std::vector<CopyFileRow>& rows, const std::vector<bool>& checked);

}  // namespace corvel
