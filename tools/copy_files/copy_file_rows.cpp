#include "tools/copy_files/copy_file_rows.h"

namespace corvel {

std::vector<CopyFileRow> BuildCopyFileRows(const std::vector<ItemFields>& items, const PathResolver& paths,
                                           const std::function<bool(const std::string&)>& fileExists) {
    std::vector<CopyFileRow> rows;
    for (const ItemFields& item : items) {
        const std::pair<const std::string*, CopyFileKind> files[] = {{&item.SrcPath, CopyFileKind::Installer},
                                                                     {&item.Patch, CopyFileKind::Patch},
                                                                     {&item.Settings, CopyFileKind::Settings}};
        for (const auto& [command, kind] : files) {
            std::string path = paths.ProgramPathOfCommand(*command, true);
            if (item.Name.empty() || path.empty()) continue;
            const bool exists = fileExists(path);
            rows.push_back({item.Name, std::move(path), kind, exists});
        }
    }
    return rows;
}

std::string CheckedPathsText(const std::vector<CopyFileRow>& rows, const std::vector<bool>& checked) {
    std::string text;
    for (std::size_t i = 0; i < rows.size() && i < checked.size(); ++i) {
        if (checked[i]) text += rows[i].path + "\r\n";
    }
    return text;
}

std::vector<std::string> CheckedExistingPaths(const std::vector<CopyFileRow>& rows, const std::vector<bool>& checked) {
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < rows.size() && i < checked.size(); ++i) {
        if (checked[i] && rows[i].exists) paths.push_back(rows[i].path);
    }
    return paths;
}

}  // namespace corvel
