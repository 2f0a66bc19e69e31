#include "tools/save_for_cd/cd_folder_rules.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "catalogue/catalogue_file.h"
#include "catalogue/cp936.h"
#include "catalogue/paths.h"

namespace corvel {
namespace {

#define BS_TRAIL "\x81\x5C"  // a character whose trail byte is "\"
#define A_TRAIL "\x81\x61"   // a character whose trail byte is "a"
#define UPPER_A_TRAIL "\x81\x41"

// Paths name the same entry in any letter case, as on Windows.
struct LetterCaseIgnored {
    bool operator()(const std::string& a, const std::string& b) const { return ToUpperAscii(a) < ToUpperAscii(b); }
};

// A file system in memory. Paths in failing refuse to be written.
class FakeFiles : public CdFileSystem {
public:
    bool FileExists(const std::string& path) override { return files.count(path) > 0; }
    bool FolderExists(const std::string& path) override { return folders.count(WithTrailingBackslash(path)) > 0; }
    bool CreateFolderPath(const std::string& path) override {
        if (failing.count(path)) return false;
        std::string folder = WithTrailingBackslash(path);
        for (std::size_t slash = folder.find('\\'); slash != std::string::npos; slash = folder.find('\\', slash + 1))
            folders.insert(folder.substr(0, slash + 1));
        return true;
    }
    bool CopyFileIntoFolder(const std::string& file, const std::string& folder) override {
        std::string target = WithTrailingBackslash(folder) + FileNameOf(file);
        if (!FileExists(file) || !FolderExists(folder) || failing.count(target)) return false;
        files[target] = files[file];
        return true;
    }
    // Copies the files right inside source.
    bool CopyFolderTree(const std::string& source, const std::string& target,
                        std::vector<std::string>& notCopied) override {
        if (!FolderExists(source) || !FolderExists(target) || failing.count(target)) return false;
        treesCopied.push_back(source + " > " + target);
        for (const std::string& name : NamesIn(source)) {
            std::string copy = WithTrailingBackslash(target) + name;
            if (failing.count(copy)) {
                notCopied.push_back(copy);
            } else {
                files[copy] = files[WithTrailingBackslash(source) + name];
            }
        }
        return true;
    }
    std::vector<std::string> ComponentFiles(const std::string& folder) override {
        std::vector<std::string> names;
        for (const std::string& name : NamesIn(folder))
            if (EqualsIgnoreAsciiCase(ExtensionOfPath(name), "cpn")) names.push_back(name);
        return names;
    }
    bool SaveCatalogue(const Catalogue& catalogue, const std::string& path,
                       const std::vector<const CatalogueNode*>& categories) override {
        return WriteWholeFile(path, FormatCatalogueText(catalogue, &categories));
    }
    bool WriteWholeFile(const std::string& path, std::string_view data) override {
        if (failing.count(path)) return false;
        files[path] = std::string(data);
        return true;
    }
    bool RemoveFile(const std::string& path) override { return !failing.count(path) && files.erase(path) > 0; }

    // The names of the files right inside folder.
    std::vector<std::string> NamesIn(const std::string& folder) const {
        std::string prefix = WithTrailingBackslash(folder);
        std::vector<std::string> names;
        for (const auto& [path, data] : files) {
            if (path.size() > prefix.size() && EqualsIgnoreAsciiCase(path.substr(0, prefix.size()), prefix) &&
                path.find('\\', prefix.size()) == std::string::npos)
                names.push_back(path.substr(prefix.size()));
        }
        return names;
    }

    std::map<std::string, std::string, LetterCaseIgnored> files;
    std::set<std::string, LetterCaseIgnored> folders;  // each with a trailing backslash
    std::set<std::string, LetterCaseIgnored> failing;
    std::vector<std::string> treesCopied;
};

TEST(AutoRunText, SectionOpenAndIconLinesInCrLf) {
    EXPECT_EQ(AutoRunText("Setup", "disc.ico"), "[AUTORUN]\r\nOpen=Setup.exe\r\nIcon=disc.ico\r\n");
    EXPECT_EQ(AutoRunText("Setup", ""), "[AUTORUN]\r\nOpen=Setup.exe\r\n");
    // Names are code page 936 bytes and pass through unchanged.
    EXPECT_EQ(AutoRunText("\xD6\xD0", "\xCD\xBC.ico"), "[AUTORUN]\r\nOpen=\xD6\xD0.exe\r\nIcon=\xCD\xBC.ico\r\n");
}

TEST(IsSameFolder, LetterCaseAndTrailingBackslashDoNotCount) {
    EXPECT_TRUE(IsSameFolder("D:\\CD", "d:\\cd\\"));
    EXPECT_TRUE(IsSameFolder("D:\\CD\\", "D:\\CD"));
    EXPECT_TRUE(IsSameFolder("D:\\\xD6\xD0Soft\\", "d:\\\xD6\xD0soft"));
    EXPECT_FALSE(IsSameFolder("D:\\CD", "D:\\CD2"));
    // A relative spelling is not resolved.
    EXPECT_FALSE(IsSameFolder("D:\\CD\\..\\CD", "D:\\CD"));
}

TEST(IsSameFolder, TrailBytesAreNeitherLettersNorBackslashes) {
    EXPECT_FALSE(IsSameFolder("D:\\" A_TRAIL, "D:\\" UPPER_A_TRAIL));
    // A trailing trail byte 0x5C is part of a character, so a backslash is still added.
    EXPECT_TRUE(IsSameFolder("D:\\" BS_TRAIL, "D:\\" BS_TRAIL "\\"));
    EXPECT_FALSE(IsSameFolder("D:\\X" BS_TRAIL, "D:\\X\x81"));
}

TEST(IconNames, ExtensionAndNameAfterLastBackslash) {
    EXPECT_TRUE(IsIconPath("D:\\art\\disc.Ico"));
    EXPECT_TRUE(IsIconPath("disc.ICO"));
    EXPECT_FALSE(IsIconPath("D:\\art\\disc.bmp"));
    EXPECT_FALSE(IsIconPath("D:\\art.ico\\disc"));
    EXPECT_EQ(FileNameOf("D:\\art\\disc.ico"), "disc.ico");
    EXPECT_EQ(FileNameOf("disc.ico"), "disc.ico");
    EXPECT_EQ(FileNameOf("D:\\art\\" BS_TRAIL ".ico"), BS_TRAIL ".ico");
    EXPECT_EQ(BaseNameOf("D:\\tools.v2\\Setup.exe"), "Setup");
    EXPECT_EQ(BaseNameOf("D:\\tools\\Setup"), "Setup");
}

class SaveForCd : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"Office", "Tools", "Games"}) {
            CatalogueNode* category = catalogue.AddCategory(name);
            ItemFields fields;
            fields.Name = std::string(name) + " one";
            fields.SrcPath = "Soft\\one.exe";
            catalogue.AddItem(category, fields);
            fields.Name = std::string(name) + " two";
            catalogue.AddItem(category, fields);
            categories.push_back(category);
        }
        catalogue.SetModified(false);
        files.files[program.file] = "MZ";
        files.files["C:\\Prog\\ExtTools.ini"] = "tool=a.exe";
        files.files["D:\\art\\disc.ico"] = "icon";
        files.folders = {"C:\\Prog\\", "C:\\Prog\\Components\\", "D:\\art\\"};
        request.folderText = "E:\\CD";
        request.categories = {categories[0], categories[2]};
    }

    SaveForCdCheck Check() { return CheckSaveForCd(request, program.folder, files); }
    std::vector<std::string> Save() {
        SaveForCdCheck check = Check();
        EXPECT_TRUE(check.Accepted());
        return RunCdSteps(PlanCdSteps(request, check.saveFolder, program, catalogue, files));
    }

    Catalogue catalogue;
    std::vector<const CatalogueNode*> categories;
    ProgramFiles program{"C:\\Prog\\Corvel.exe", "C:\\Prog\\"};
    FakeFiles files;
    SaveForCdRequest request;
};

TEST_F(SaveForCd, ChecksRunInOrderAndCreateComponentsOnTheWay) {
    request.folderText = "";
    EXPECT_EQ(Check().refusal, SaveForCdRefusal::FolderEmpty);

    request.folderText = "c:\\PROG";
    EXPECT_EQ(Check().refusal, SaveForCdRefusal::ProgramFolder);
    EXPECT_EQ(files.folders.size(), 3u);

    request.folderText = "E:\\CD";
    files.failing.insert("E:\\CD\\Components");
    EXPECT_EQ(Check().refusal, SaveForCdRefusal::FolderNotCreated);
    files.failing.clear();

    request.autorun = true;
    request.iconText = "D:\\art\\disc.bmp";
    EXPECT_EQ(Check().refusal, SaveForCdRefusal::NotAnIcon);
    EXPECT_TRUE(files.FolderExists("E:\\CD\\Components"));
    request.iconText = "D:\\art\\other.Ico";
    EXPECT_EQ(Check().refusal, SaveForCdRefusal::IconMissing);

    request.iconText = "D:\\art\\disc.Ico";
    request.categories.clear();
    EXPECT_EQ(Check().refusal, SaveForCdRefusal::NoCategory);
}

TEST_F(SaveForCd, IconIsCheckedOnlyWithAutorunAndWhenGiven) {
    request.iconText = "D:\\art\\disc.bmp";
    EXPECT_TRUE(Check().Accepted());
    request.autorun = true;
    request.iconText = "";
    EXPECT_TRUE(Check().Accepted());
}

TEST_F(SaveForCd, MessageIcons) {
    EXPECT_EQ(IconFor(SaveForCdRefusal::FolderEmpty), MessageIcon::Exclamation);
    EXPECT_EQ(IconFor(SaveForCdRefusal::NoCategory), MessageIcon::Exclamation);
    for (SaveForCdRefusal refusal : {SaveForCdRefusal::ProgramFolder, SaveForCdRefusal::FolderNotCreated,
                                     SaveForCdRefusal::NotAnIcon, SaveForCdRefusal::IconMissing})
        EXPECT_EQ(IconFor(refusal), MessageIcon::Stop);
}

TEST_F(SaveForCd, WithAndWithoutTrailingBackslashTheSameFolderIsFilled) {
    for (const char* folder : {"E:\\CD", "E:\\CD\\"}) {
        files.files.erase("E:\\CD\\Corvel.cvx");
        request.folderText = folder;
        SaveForCdCheck check = Check();
        EXPECT_EQ(check.saveFolder, "E:\\CD\\");
        EXPECT_TRUE(RunCdSteps(PlanCdSteps(request, check.saveFolder, program, catalogue, files)).empty());
        EXPECT_TRUE(files.FileExists("E:\\CD\\Corvel.cvx")) << folder;
    }
}

TEST_F(SaveForCd, WritesEverythingTheCdNeeds) {
    request.autorun = true;
    request.iconText = "D:\\art\\disc.ico";
    EXPECT_TRUE(Save().empty());

    EXPECT_EQ(files.files["E:\\CD\\Corvel.exe"], "MZ");
    EXPECT_EQ(files.treesCopied, std::vector<std::string>{"C:\\Prog\\Components > E:\\CD\\Components"});
    EXPECT_EQ(files.files["E:\\CD\\ExtTools.ini"], "tool=a.exe");
    EXPECT_EQ(files.files["E:\\CD\\disc.ico"], "icon");
    EXPECT_EQ(files.files["E:\\CD\\AutoRun.inf"], "[AUTORUN]\r\nOpen=Corvel.exe\r\nIcon=disc.ico\r\n");

    // The chosen categories with all their items; the open catalogue stays as it was.
    Catalogue written;
    ParseCatalogueText(written, files.files["E:\\CD\\Corvel.cvx"]);
    std::vector<std::string> names;
    written.Enumerate(written.Root(), NodeKind::Category, [&](NodeKind, CatalogueNode* category) {
        names.emplace_back(category->Name());
        EXPECT_EQ(written.Count(category, NodeKind::Item, false), 2);
    });
    EXPECT_EQ(names, (std::vector<std::string>{"Office", "Games"}));
    EXPECT_EQ(catalogue.Count(catalogue.Root(), NodeKind::Category, false), 3);
    EXPECT_FALSE(catalogue.IsModified());
}

TEST_F(SaveForCd, NoExtToolsNoIconNoAutorunWritesLess) {
    files.files.erase("C:\\Prog\\ExtTools.ini");
    request.autorun = true;
    EXPECT_TRUE(Save().empty());
    EXPECT_FALSE(files.FileExists("E:\\CD\\ExtTools.ini"));
    EXPECT_EQ(files.files["E:\\CD\\AutoRun.inf"], "[AUTORUN]\r\nOpen=Corvel.exe\r\n");
}

TEST_F(SaveForCd, AnOldAutoRunGoesWhenAutorunIsOff) {
    files.files["E:\\CD\\AutoRun.inf"] = "[AUTORUN]\r\nOpen=Old.exe\r\n";
    EXPECT_TRUE(Save().empty());
    EXPECT_FALSE(files.FileExists("E:\\CD\\AutoRun.inf"));

    files.files["E:\\CD\\AutoRun.inf"] = "[AUTORUN]\r\nOpen=Old.exe\r\n";
    files.failing.insert("E:\\CD\\AutoRun.inf");
    EXPECT_EQ(Save(), std::vector<std::string>{"E:\\CD\\AutoRun.inf"});
}

TEST_F(SaveForCd, AnIconAlreadyInTheSaveFolderIsNotCopiedOntoItself) {
    files.folders.insert("E:\\CD\\");
    files.files["E:\\CD\\disc.ico"] = "icon";
    files.failing.insert("E:\\CD\\disc.ico");  // a copy onto itself fails
    request.autorun = true;
    request.iconText = "e:\\cd\\disc.ico";
    EXPECT_TRUE(Save().empty());
    EXPECT_EQ(files.files["E:\\CD\\AutoRun.inf"], "[AUTORUN]\r\nOpen=Corvel.exe\r\nIcon=disc.ico\r\n");
}

TEST_F(SaveForCd, AFailedProgramCopyLeavesOutEverythingAfterIt) {
    request.autorun = true;
    request.iconText = "D:\\art\\disc.ico";
    files.failing.insert("E:\\CD\\Corvel.exe");
    EXPECT_EQ(Save(), (std::vector<std::string>{"E:\\CD\\Corvel.exe", "E:\\CD\\Components", "E:\\CD\\Corvel.cvx",
                                                "E:\\CD\\ExtTools.ini", "E:\\CD\\disc.ico", "E:\\CD\\AutoRun.inf"}));
    EXPECT_TRUE(files.treesCopied.empty());
    EXPECT_FALSE(files.FileExists("E:\\CD\\Corvel.cvx"));
}

TEST_F(SaveForCd, MissingComponentsLeaveOutTheCatalogueAndTheRest) {
    files.folders.erase("C:\\Prog\\Components\\");
    EXPECT_EQ(Save(), (std::vector<std::string>{"E:\\CD\\Components", "E:\\CD\\Corvel.cvx", "E:\\CD\\ExtTools.ini"}));
    EXPECT_TRUE(files.FileExists("E:\\CD\\Corvel.exe"));
    EXPECT_FALSE(files.FileExists("E:\\CD\\Corvel.cvx"));
    EXPECT_FALSE(files.FileExists("E:\\CD\\ExtTools.ini"));
}

TEST_F(SaveForCd, LaterFailuresAreListedAndTheOtherStepsStillRun) {
    request.autorun = true;
    files.failing = {"E:\\CD\\Corvel.cvx", "E:\\CD\\ExtTools.ini"};
    EXPECT_EQ(Save(), (std::vector<std::string>{"E:\\CD\\Corvel.cvx", "E:\\CD\\ExtTools.ini"}));
    EXPECT_TRUE(files.FileExists("E:\\CD\\AutoRun.inf"));
}

TEST_F(SaveForCd, AComponentThatCannotBeCopiedIsListedAndTheRestIsStillWritten) {
    files.files["C:\\Prog\\Components\\Tobrin.cpn"] = "tobrin";
    files.files["C:\\Prog\\Components\\Maelis.cpn"] = "maelis";
    files.failing.insert("E:\\CD\\Components\\Tobrin.cpn");
    EXPECT_EQ(Save(), std::vector<std::string>{"E:\\CD\\Components\\Tobrin.cpn"});
    EXPECT_EQ(files.files["E:\\CD\\Components\\Maelis.cpn"], "maelis");
    EXPECT_TRUE(files.FileExists("E:\\CD\\Corvel.cvx"));
    EXPECT_TRUE(files.FileExists("E:\\CD\\ExtTools.ini"));
}

TEST_F(SaveForCd, ComponentsAnEarlierSaveLeftAreFoundWhateverTheLetterCase) {
    files.files["C:\\Prog\\Components\\Tobrin.cpn"] = "tobrin";
    files.files["C:\\Prog\\Components\\Maelis.cpn"] = "maelis";
    // An earlier save of the Quarro edition, with its own spelling.
    files.folders.insert("E:\\CD\\");
    files.folders.insert("E:\\CD\\Components\\");
    files.files["E:\\CD\\Components\\Quarro.cpn"] = "quarro";
    files.files["E:\\CD\\Components\\TOBRIN.CPN"] = "old tobrin";
    files.files["E:\\CD\\Components\\readme.txt"] = "not loaded";
    EXPECT_TRUE(Save().empty());
    EXPECT_EQ(LeftoverComponents("E:\\CD\\", program, files),
              std::vector<std::string>{"E:\\CD\\Components\\Quarro.cpn"});
}

TEST_F(SaveForCd, NoLeftoverComponentsInANewOrMatchingSaveFolder) {
    files.files["C:\\Prog\\Components\\Quarro.cpn"] = "quarro";
    EXPECT_TRUE(LeftoverComponents("E:\\CD\\", program, files).empty()) << "nothing saved yet";
    EXPECT_TRUE(Save().empty());
    EXPECT_TRUE(LeftoverComponents("E:\\CD\\", program, files).empty());
}

TEST_F(SaveForCd, AFailedIconCopyLeavesOutAutoRun) {
    request.autorun = true;
    request.iconText = "D:\\art\\disc.ico";
    files.failing.insert("E:\\CD\\disc.ico");
    EXPECT_EQ(Save(), (std::vector<std::string>{"E:\\CD\\disc.ico", "E:\\CD\\AutoRun.inf"}));
    EXPECT_FALSE(files.FileExists("E:\\CD\\AutoRun.inf"));
}

}  // namespace
}  // namespace corvel
