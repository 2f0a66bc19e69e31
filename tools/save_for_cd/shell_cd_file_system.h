// The file system of Save for CD: the shell helpers. Windows builds only.
#pragma once

#include "tools/save_for_cd/cd_folder_rules.h"

namespace corvel {

class ShellCdFileSystem final : public CdFileSystem {
public:
    bool FileExists(const std::string& path) override;
    bool FolderExists(const std::string& path) override;
    bool CreateFolderPath(const std::string& path) override;
    bool CopyFileIntoFolder(const std::string& file, const std::string& folder) override;
    bool CopyFolderTree(const std::string& source, const std::string& target,
                        std::vector<std::string>& notCopied) override;
    std::vector<std::string> ComponentFiles(const std::string& folder) override;
    bool SaveCatalogue(const Catalogue& catalogue, const std::string& path,
                       const std::vector<const CatalogueNode*>& categories) override;
    bool WriteWholeFile(const std::string& path, std::string_view data) override;
    bool RemoveFile(const std::string& path) override;
};

}  // namespace corvel
