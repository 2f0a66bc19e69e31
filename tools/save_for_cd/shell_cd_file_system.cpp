#include "tools/save_for_cd/shell_cd_file_system.h"

#include <windows.h>

#include "catalogue/catalogue_file.h"
#include "catalogue/long_path.h"
#include "catalogue/shell/component_files.h"
#include "catalogue/shell/shell_copy.h"
#include "catalogue/shell/shell_files.h"

namespace corvel {

bool ShellCdFileSystem::FileExists(const std::string& path) {
    return corvel::FileExists(path);
}

bool ShellCdFileSystem::FolderExists(const std::string& path) {
    return corvel::FolderExists(path);
}

bool ShellCdFileSystem::CreateFolderPath(const std::string& path) {
    return corvel::CreateFolderPath(path);
}

bool ShellCdFileSystem::CopyFileIntoFolder(const std::string& file, const std::string& folder) {
    return corvel::CopyFileIntoFolder(file, folder, false);
}

bool ShellCdFileSystem::CopyFolderTree(const std::string& source, const std::string& target,
                                       std::vector<std::string>& notCopied) {
    return corvel::CopyFolderTree(source, target, false, &notCopied);
}

std::vector<std::string> ShellCdFileSystem::ComponentFiles(const std::string& folder) {
    return corvel::ComponentFiles(folder);
}

bool ShellCdFileSystem::SaveCatalogue(const Catalogue& catalogue, const std::string& path,
                                      const std::vector<const CatalogueNode*>& categories) {
    return corvel::SaveCatalogue(catalogue, path, &categories);
}

bool ShellCdFileSystem::WriteWholeFile(const std::string& path, std::string_view data) {
    return corvel::WriteWholeFile(path, data);
}

bool ShellCdFileSystem::RemoveFile(const std::string& path) {
    std::wstring wide = WideLongPath(path);
    return !wide.empty() && DeleteFileW(wide.c_str()) != 0;
}

}  // namespace corvel
