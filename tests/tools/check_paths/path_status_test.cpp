#include "tools/check_paths/path_status.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace corvel {
namespace {

class PathStatusTest : public ::testing::Test {
protected:
    unsigned Status(CheckedField field, std::string_view text) {
        return PathStatusOf(field, text, paths_, [this](const std::string& path) {
            asked_.push_back(path);
            return files_.count(path) > 0;
        });
    }

    PathResolver paths_{"D:\\temp\\"};
    std::set<std::string> files_ = {"D:\\temp\\Soft\\a.exe", "D:\\Soft\\b.exe", "E:\\c.exe", "D:\\temp\\My Setup.exe"};
    std::vector<std::string> asked_;
};

TEST_F(PathStatusTest, CommandsAreCheckedThroughTheirProgramPathForEveryKind) {
    for (CheckedField field : {CheckedField::Installer, CheckedField::Patch, CheckedField::Settings}) {
        asked_.clear();
        EXPECT_EQ(Status(field, "Soft\\a.exe /S"), kPathRelative | kPathExists);
        EXPECT_EQ(Status(field, "\\Soft\\b.exe"), kPathRelative | kPathExists);
        EXPECT_EQ(Status(field, "E:\\c.exe data\\x.ini"), kPathAbsolute | kPathExists);
        EXPECT_EQ(Status(field, "\"My Setup.exe\" -q"), kPathRelative | kPathExists);
        EXPECT_EQ(Status(field, "Soft\\gone.exe"), kPathRelative | kPathMissing);
        EXPECT_EQ(Status(field, "\\gone.exe"), kPathRelative | kPathMissing);
        EXPECT_EQ(Status(field, "E:\\gone.exe"), kPathAbsolute | kPathMissing);
        // Resolved before the check; an absolute path is checked as written.
        EXPECT_EQ(asked_, (std::vector<std::string>{"D:\\temp\\Soft\\a.exe", "D:\\Soft\\b.exe", "E:\\c.exe",
                                                    "D:\\temp\\My Setup.exe", "D:\\temp\\Soft\\gone.exe",
                                                    "D:\\gone.exe", "E:\\gone.exe"}));
    }
}

TEST_F(PathStatusTest, EmptyAndInvalidStandAloneAndAreNeverLookedFor) {
    for (CheckedField field : kCheckedFields) {
        EXPECT_EQ(Status(field, ""), kPathEmpty);
        EXPECT_EQ(Status(field, ".\\a.exe"), kPathInvalid);
        EXPECT_EQ(Status(field, "Soft/a.exe"), kPathInvalid);
        EXPECT_EQ(Status(field, "C:"), kPathInvalid);
        EXPECT_EQ(Status(field, "Soft\\con\\a.exe"), kPathInvalid);
    }
    // A first token that is a flag, or a quote left open, leaves no program.
    EXPECT_EQ(Status(CheckedField::Installer, "/S setup.exe"), kPathInvalid);
    EXPECT_EQ(Status(CheckedField::Patch, "-q"), kPathInvalid);
    EXPECT_EQ(Status(CheckedField::Settings, "\"Soft\\a.exe"), kPathInvalid);
    EXPECT_TRUE(asked_.empty());
}

TEST_F(PathStatusTest, TheInstallFolderIsAPlainPathThatIsOnlyClassified) {
    EXPECT_EQ(Status(CheckedField::InstallFolder, "C:\\Program Files\\App"), kPathAbsolute);
    EXPECT_EQ(Status(CheckedField::InstallFolder, "Soft\\a.exe"), kPathRelative);  // a file there changes nothing
    EXPECT_EQ(Status(CheckedField::InstallFolder, "\\Apps"), kPathRelative);
    EXPECT_TRUE(asked_.empty());
    // Blanks are part of a plain path, not a split between tokens.
    EXPECT_EQ(Status(CheckedField::InstallFolder, "C:\\a b\\c"), kPathAbsolute);
    EXPECT_EQ(Status(CheckedField::InstallFolder, "/D=C:\\x"), kPathInvalid);
}

TEST_F(PathStatusTest, WithoutAProgramFolderARelativeProgramIsMissing) {
    paths_ = PathResolver("");
    EXPECT_EQ(Status(CheckedField::Installer, "Soft\\a.exe"), kPathRelative | kPathMissing);
    EXPECT_EQ(Status(CheckedField::Installer, "E:\\c.exe"), kPathAbsolute | kPathExists);
}

TEST(PathFilterTest, EachModeLetsThroughItsStatuses) {
    const unsigned statuses[] = {kPathEmpty,
                                 kPathInvalid,
                                 kPathRelative | kPathExists,
                                 kPathRelative | kPathMissing,
                                 kPathAbsolute | kPathExists,
                                 kPathAbsolute | kPathMissing,
                                 kPathRelative,
                                 kPathAbsolute};
    struct Expected {
        PathFilter filter;
        std::vector<bool> passes;
    };
    const Expected expected[] = {
        {PathFilter::All, {false, true, true, true, true, true, true, true}},
        {PathFilter::Faulty, {false, true, false, true, false, true, false, false}},
        {PathFilter::Relative, {false, false, true, true, false, false, true, false}},
        {PathFilter::Absolute, {false, false, false, false, true, true, false, true}},
    };
    for (const Expected& mode : expected) {
        for (std::size_t i = 0; i < std::size(statuses); ++i)
            EXPECT_EQ(PassesFilter(statuses[i], mode.filter), mode.passes[i])
                << "mode " << static_cast<int>(mode.filter) << " status " << statuses[i];
    }
}

TEST(PathFilterTest, AnItemIsShownWhenOneOfItsPathsPasses) {
    const PathStatuses allEmpty = {kPathEmpty, kPathEmpty, kPathEmpty, kPathEmpty};
    for (PathFilter filter : {PathFilter::All, PathFilter::Faulty, PathFilter::Relative, PathFilter::Absolute})
        EXPECT_FALSE(AnyPasses(allEmpty, filter));
    const PathStatuses absoluteInstaller = {kPathAbsolute | kPathExists, kPathEmpty, kPathEmpty, kPathEmpty};
    EXPECT_FALSE(AnyPasses(absoluteInstaller, PathFilter::Relative));
    EXPECT_FALSE(AnyPasses(absoluteInstaller, PathFilter::Faulty));
    EXPECT_TRUE(AnyPasses(absoluteInstaller, PathFilter::Absolute));
    const PathStatuses relativeSettings = {kPathAbsolute | kPathExists, kPathAbsolute, kPathEmpty,
                                           kPathRelative | kPathMissing};
    EXPECT_TRUE(AnyPasses(relativeSettings, PathFilter::Relative));
    EXPECT_TRUE(AnyPasses(relativeSettings, PathFilter::Faulty));
}

TEST(PathStatusesOfTest, ReadsTheFourPathFieldsOfAnItem) {
    Catalogue catalogue;
    CatalogueNode* category = catalogue.AddCategory("Tools");
    ItemFields fields{"Zip", "Soft\\a.exe /S", "C:\\Zip", "", "Soft\\reg", "/s x.reg", "note"};
    CatalogueNode* item = catalogue.AddItem(category, fields);
    ASSERT_NE(item, nullptr);
    PathStatuses statuses = PathStatusesOf(*item, PathResolver("D:\\temp\\"),
                                           [](const std::string& path) { return path == "D:\\temp\\Soft\\a.exe"; });
    EXPECT_EQ(statuses, (PathStatuses{kPathRelative | kPathExists, kPathAbsolute, kPathEmpty, kPathInvalid}));
    EXPECT_EQ(StoredText(*item, CheckedField::Settings), "/s x.reg");
}

TEST(ResolvedLineTest, CommandsShowTheirProgramAndRebuiltParameters) {
    PathResolver paths("D:\\temp\\");
    ResolvedLine line = ResolvedLineOf(CheckedField::Settings, "\"Soft\\My Setup.exe\" /S -lang=en data\\cfg.ini",
                                       kPathRelative | kPathMissing, paths);
    EXPECT_FALSE(line.invalid);
    EXPECT_EQ(line.path, "D:\\temp\\Soft\\My Setup.exe");
    EXPECT_EQ(line.parameters, "/S -lang=en \"D:\\temp\\data\\cfg.ini\"");

    line = ResolvedLineOf(CheckedField::Installer, "E:\\a.exe", kPathAbsolute | kPathExists, paths);
    EXPECT_EQ(line.path, "E:\\a.exe");
    EXPECT_EQ(line.parameters, "");

    // An invalid program keeps the parameters that follow it.
    line = ResolvedLineOf(CheckedField::Patch, ".\\p.exe /q", kPathInvalid, paths);
    EXPECT_TRUE(line.invalid);
    EXPECT_EQ(line.path, "");
    EXPECT_EQ(line.parameters, "/q");
    line = ResolvedLineOf(CheckedField::Installer, "/S setup.exe", kPathInvalid, paths);
    EXPECT_TRUE(line.invalid);
    EXPECT_EQ(line.parameters, "");
}

TEST(ResolvedLineTest, TheInstallFolderResolvesAsAWholeWithoutParameters) {
    PathResolver paths("D:\\temp\\");
    ResolvedLine line = ResolvedLineOf(CheckedField::InstallFolder, "Apps\\My App", kPathRelative, paths);
    EXPECT_EQ(line.path, "D:\\temp\\Apps\\My App");
    EXPECT_EQ(line.parameters, "");
    EXPECT_TRUE(ResolvedLineOf(CheckedField::InstallFolder, "a:b", kPathInvalid, paths).invalid);
}

TEST(StatusColourTest, InvalidPurpleExistingGreenMissingRedElseBlack) {
    EXPECT_EQ(StatusColour(kPathInvalid), 0x800080u);
    EXPECT_EQ(StatusColour(kPathRelative | kPathExists), 0x008000u);
    EXPECT_EQ(StatusColour(kPathAbsolute | kPathMissing), 0x0000FFu);
    EXPECT_EQ(StatusColour(kPathAbsolute), 0u);  // an install folder
    EXPECT_EQ(StatusColour(kPathRelative), 0u);
}

}  // namespace
}  // namespace corvel
