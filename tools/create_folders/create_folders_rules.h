// What the create folders dialog decides: its rows and, on OK, the folders
// to make or the row that stops it. Portable.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvel {

struct FolderRow {
    std::string name;  // code page 936
    bool ticked = true;
};

// One ticked row per category name in the given order; a name that could
// not be read (nullopt) gives an empty row.
std::vector<FolderRow> RowsFromCategoryNames(const std::vector<std::optional<std::string>>& names);

struct InvalidFolderRow {
    int number;  // counted from 1 among all rows
    std::string name;
};

struct FolderPlan {
    std::string target;  // with a trailing backslash; empty when none was typed
    // The first ticked row, from the top, that fails the name check.
    std::optional<InvalidFolderRow> invalidRow;
    // target + name of every ticked row, top to bottom.
    std::vector<std::string> folders;
};

FolderPlan PlanFolders(std::string_view typedTarget, const std::vector<FolderRow>& rows);

// Makes every folder in turn, going on past a failure; makeFolder answers
// whether the folder is there afterwards. The folders that neither existed
// nor could be made, in order: the user must hear of them.
std::vector<std::string> MakeFolders(const std::vector<std::string>& folders,
                                     const std::function<bool(const std::string&)>& makeFolder);

}  // namespace corvel
