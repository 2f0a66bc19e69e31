#include "catalogue/catalogue_document.h"

#include "catalogue/file_io.h"

namespace corvel {

namespace {

std::string FreeKeptCopyPath(const std::string& path) {
    std::string candidate = path + ".kept";
    for (int n = 2; PathExists(candidate); ++n) candidate = path + ".kept" + std::to_string(n);
    return candidate;
}

// The file as it is now goes to backup; a file gone meanwhile needs none.
bool BackUp(const std::string& path, const std::string& backup) {
    std::optional<std::string> bytes = ReadWholeFile(path);
    if (!bytes) return !PathExists(path);
    return ReplaceFileContents(backup, *bytes);
}

}  // namespace

CatalogueOpening CatalogueDocument::Load(Catalogue& catalogue, const DroppedLineCallback& onDropped) {
    bool savesAsRead = true;
    if (LoadCatalogue(catalogue, path_, onDropped, &savesAsRead)) {
        opening_ = CatalogueOpening::Read;
        backupDue_ = !savesAsRead;
    } else {
        std::optional<std::string> bytes = ReadWholeFile(path_);
        bool empty = bytes && bytes->empty();
        opening_ = (empty || !PathExists(path_)) ? CatalogueOpening::Absent : CatalogueOpening::Unreadable;
    }
    return opening_;
}

CatalogueSave CatalogueDocument::Save(const Catalogue& catalogue) {
    if (opening_ == CatalogueOpening::Unreadable) {
        if (keptCopy_.empty()) keptCopy_ = FreeKeptCopyPath(path_);
        return SaveCatalogue(catalogue, keptCopy_) ? CatalogueSave::KeptBeside : CatalogueSave::Failed;
    }
    if (backupDue_ && !BackUp(path_, BackupPath())) return CatalogueSave::Failed;
    if (!SaveCatalogue(catalogue, path_)) return CatalogueSave::Failed;
    backupDue_ = false;  // the file now holds what this run wrote
    return CatalogueSave::Replaced;
}

}  // namespace corvel
