// The catalogue file of one run: read at the start, written back at the
// close (and before anything risky). It is never replaced by less than it
// held: a file that could not be read is left alone, and a file that a
// save would not write back as it was gets a backup first.
#pragma once

#include <string>

#include "catalogue/catalogue_file.h"
#include "catalogue/catalogue_model.h"

namespace corvel {

enum class CatalogueOpening {
    Read,        // the file was read
    Absent,      // no file, or an empty one: a save creates it
    Unreadable,  // the file is there but could not be read
};

enum class CatalogueSave {
    Replaced,    // the catalogue file holds the catalogue
    KeptBeside,  // the file was not read, so the catalogue went to KeptCopyPath
    Failed,      // nothing was written
};

class CatalogueDocument {
public:
    explicit CatalogueDocument(std::string path) : path_(std::move(path)) {}

    // Reads the file into an empty catalogue.
    CatalogueOpening Load(Catalogue& catalogue, const DroppedLineCallback& onDropped = {});
    // Writes the whole catalogue; the modified flag is left alone.
    CatalogueSave Save(const Catalogue& catalogue);

    const std::string& Path() const { return path_; }
    CatalogueOpening Opening() const { return opening_; }
    // Where the file as it was goes before the first save that would lose
    // what the reader dropped.
    std::string BackupPath() const { return path_ + ".bak"; }
    // Where the run's catalogue goes when the file could not be read: the
    // first of "NAME.kept", "NAME.kept2", ... that no earlier run left,
    // chosen at the first such save.
    const std::string& KeptCopyPath() const { return keptCopy_; }

private:
    std::string path_;
    CatalogueOpening opening_ = CatalogueOpening::Absent;
    bool backupDue_ = false;
    std::string keptCopy_;
};

}  // namespace corvel
