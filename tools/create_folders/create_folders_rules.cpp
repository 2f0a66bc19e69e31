#include "tools/create_folders/create_folders_rules.h"

#include "catalogue/names.h"
#include "catalogue/paths.h"

namespace corvel {

std::vector<FolderRow> RowsFromCategoryNames(const std::vector<std::optional<std::string>>& names) {
    std::vector<FolderRow> rows;
    rows.reserve(names.size());
    for (const std::optional<std::string>& name : names) rows.push_back({name.value_or(std::string()), true});
    return rows;
}

FolderPlan PlanFolders(std::string_view typedTarget, const std::vector<FolderRow>& rows) {
    FolderPlan plan;
    if (typedTarget.empty()) return plan;
    plan.target = WithTrailingBackslash(typedTarget);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].ticked) continue;
        if (!IsValidFolderName(rows[i].name)) {
            plan.invalidRow = InvalidFolderRow{static_cast<int>(i) + 1, rows[i].name};
            plan.folders.clear();  // one bad name stops them all
            return plan;
        }
        plan.folders.push_back(plan.target + rows[i].name);
    }
    return plan;
}

std::vector<std::string> MakeFolders(const std::vector<std::string>& folders,
                                     const std::function<bool(const std::string&)>& makeFolder) {
    std::vector<std::string> notMade;
    for (const std::string& folder : folders) {
        if (!makeFolder(folder)) notMade.push_back(folder);
    }
    return notMade;
}

}  // namespace corvel
