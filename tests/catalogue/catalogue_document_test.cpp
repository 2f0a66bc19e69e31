#include "catalogue/catalogue_document.h"

#include <gtest/gtest.h>

#include "tests/catalogue/disk_files.h"

namespace corvel {
namespace {

using namespace corvel::disk;
using Names = std::vector<std::string>;

const std::string kTwoCategories = "[Tools]\r\n<Name=Zip\x02SrcPath=zip.exe\x02>\r\n[Games]\r\n";

TEST(CatalogueDocument, MissingOrEmptyFileIsCreatedBySave) {
    for (bool empty : {false, true}) {
        TempFolder folder;
        CatalogueDocument document(folder.File("Corvel.cvx"));
        if (empty) WriteBytes(document.Path(), "");
        Catalogue catalogue;
        EXPECT_EQ(document.Load(catalogue), CatalogueOpening::Absent);
        catalogue.AddCategory("New");
        EXPECT_EQ(document.Save(catalogue), CatalogueSave::Replaced);
        EXPECT_EQ(ReadBytes(document.Path()), "[New]\r\n");
        EXPECT_EQ(FolderEntries(folder.Path()), Names{"Corvel.cvx"});
    }
}

TEST(CatalogueDocument, FileThatCouldNotBeReadIsNeverReplaced) {
    // A folder of the catalogue's name stands for any file that is there
    // but cannot be read; the run's catalogue goes beside it, every save of
    // the run to the same place, and an earlier run's kept copy stays.
    TempFolder folder;
    CatalogueDocument document(folder.File("Corvel.cvx"));
    fs::create_directory(document.Path());
    WriteBytes(document.Path() + ".kept", "[Earlier]\r\n");
    Catalogue catalogue;
    EXPECT_EQ(document.Load(catalogue), CatalogueOpening::Unreadable);
    catalogue.AddCategory("Added");
    EXPECT_EQ(document.Save(catalogue), CatalogueSave::KeptBeside);
    EXPECT_EQ(document.KeptCopyPath(), document.Path() + ".kept2");
    catalogue.AddCategory("Later");
    EXPECT_EQ(document.Save(catalogue), CatalogueSave::KeptBeside);
    EXPECT_EQ(ReadBytes(document.KeptCopyPath()), "[Added]\r\n[Later]\r\n");
    EXPECT_EQ(ReadBytes(document.Path() + ".kept"), "[Earlier]\r\n");
    EXPECT_TRUE(fs::is_directory(document.Path()));
}

TEST(CatalogueDocument, FileWithDroppedLinesIsBackedUpOnceBeforeItIsReplaced) {
    TempFolder folder;
    CatalogueDocument document(folder.File("Corvel.cvx"));
    const std::string handMade = kTwoCategories + "; my notes\r\n<Name=NoPath>\r\n";
    WriteBytes(document.Path(), handMade);
    Catalogue catalogue;
    EXPECT_EQ(document.Load(catalogue), CatalogueOpening::Read);
    catalogue.AddCategory("Added");
    EXPECT_EQ(document.Save(catalogue), CatalogueSave::Replaced);
    EXPECT_EQ(ReadBytes(document.BackupPath()), handMade);
    const std::string saved = kTwoCategories + "[Added]\r\n";
    EXPECT_EQ(ReadBytes(document.Path()), saved);

    // The second save of the run replaces its own file: the backup stays.
    catalogue.AddCategory("Again");
    EXPECT_EQ(document.Save(catalogue), CatalogueSave::Replaced);
    EXPECT_EQ(ReadBytes(document.BackupPath()), handMade);
}

TEST(CatalogueDocument, FileWrittenByCorvelNeedsNoBackup) {
    TempFolder folder;
    CatalogueDocument document(folder.File("Corvel.cvx"));
    WriteBytes(document.Path(), kTwoCategories);
    Catalogue catalogue;
    EXPECT_EQ(document.Load(catalogue), CatalogueOpening::Read);
    catalogue.AddCategory("Added");
    EXPECT_EQ(document.Save(catalogue), CatalogueSave::Replaced);
    EXPECT_EQ(FolderEntries(folder.Path()), Names{"Corvel.cvx"});
}

TEST(CatalogueDocument, NoBackupNoReplacement) {
    // The backup's name is taken by a folder: the file is not replaced.
    TempFolder folder;
    CatalogueDocument document(folder.File("Corvel.cvx"));
    const std::string handMade = "\xEF\xBB\xBF" + kTwoCategories;
    WriteBytes(document.Path(), handMade);
    fs::create_directory(document.BackupPath() + ".corvel-tmp");
    Catalogue catalogue;
    EXPECT_EQ(document.Load(catalogue), CatalogueOpening::Read);
    EXPECT_EQ(document.Save(catalogue), CatalogueSave::Failed);
    EXPECT_EQ(ReadBytes(document.Path()), handMade);
}

}  // namespace
}  // namespace corvel
