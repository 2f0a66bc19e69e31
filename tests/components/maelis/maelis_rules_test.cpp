// Maelis's decisions: which steps it takes, registry exports, the copy's
// destination and the target folder check.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "components/maelis/maelis_rules.h"

namespace {

using namespace corvel::maelis;
using corvel::kFailed;
using corvel::kNotMine;

// A two-byte character whose trail byte is a backslash.
const std::string kTrailBackslash = "\x95\x5C";

TEST(MaelisOpen, TakesOnlySettingsStepsAndFailsWithoutOwnerOrFile) {
    EXPECT_EQ(AnswerBeforeDialog(1, true, true), kNotMine);
    EXPECT_EQ(AnswerBeforeDialog(2, true, true), kNotMine);
    // Not mine wins over the failures: the next component must be asked.
    EXPECT_EQ(AnswerBeforeDialog(1, false, false), kNotMine);
    EXPECT_EQ(AnswerBeforeDialog(4, false, true), kFailed);
    EXPECT_EQ(AnswerBeforeDialog(4, true, false), kFailed);
    EXPECT_EQ(AnswerBeforeDialog(4, true, true), kRunDialog);
    // The bit decides, not the whole value.
    EXPECT_EQ(AnswerBeforeDialog(7, true, true), kRunDialog);
    EXPECT_EQ(AnswerBeforeDialog(3, true, true), kNotMine);
}

TEST(MaelisExtension, RegistryExportsInAnyCase) {
    EXPECT_TRUE(IsRegistryFile("D:\\cd\\app.reg"));
    EXPECT_TRUE(IsRegistryFile("D:\\cd\\app.REG"));
    EXPECT_TRUE(IsRegistryFile("app.Reg"));
    EXPECT_TRUE(IsRegistryFile("D:\\a.b\\x.y.reg"));
    EXPECT_FALSE(IsRegistryFile("D:\\cd\\app.ini"));
    EXPECT_FALSE(IsRegistryFile("D:\\cd\\app.reg.bak"));
    EXPECT_FALSE(IsRegistryFile("D:\\cd\\app.regx"));
    EXPECT_FALSE(IsRegistryFile("D:\\cd.reg\\app"));
    EXPECT_FALSE(IsRegistryFile("D:\\cd\\reg"));
    EXPECT_FALSE(IsRegistryFile(""));
    EXPECT_EQ(SettingsExtension("D:\\cd\\app."), "");
    EXPECT_EQ(SettingsExtension("D:\\cd\\设置.dat"), "dat");
    // A trail byte 0x5C does not start the file name.
    EXPECT_EQ(SettingsExtension("D:\\x.reg" + kTrailBackslash + "y"), "reg" + kTrailBackslash + "y");
    EXPECT_EQ(InitialMode("C:\\s\\app.REG"), Mode::Registry);
    EXPECT_EQ(InitialMode("C:\\s\\app.ini"), Mode::DataFile);
}

TEST(MaelisDestination, OneBackslashBetweenFolderAndName) {
    EXPECT_EQ(DestinationPath("E:\\out", "D:\\x\\f.txt"), "E:\\out\\f.txt");
    EXPECT_EQ(DestinationPath("E:\\out\\", "D:\\x\\f.txt"), "E:\\out\\f.txt");
    EXPECT_EQ(DestinationPath("E:\\", "D:\\x\\f.txt"), "E:\\f.txt");
    EXPECT_EQ(DestinationPath("E:\\软件", "D:\\设置\\配置.ini"), "E:\\软件\\配置.ini");
    // A folder ending in a trail byte 0x5C still needs its backslash.
    EXPECT_EQ(DestinationPath("E:\\" + kTrailBackslash, "D:\\f.txt"), "E:\\" + kTrailBackslash + "\\f.txt");
    EXPECT_EQ(FileNamePart("D:\\x\\" + kTrailBackslash + ".ini"), kTrailBackslash + ".ini");
    EXPECT_EQ(FileNamePart("f.txt"), "f.txt");
    EXPECT_EQ(RegeditParameters("D:\\my settings\\app.reg"), "/s \"D:\\my settings\\app.reg\"");
}

TEST(MaelisRegedit, TheNativeEditorOfTheWindowsFolderOnlyUnderWow64) {
    EXPECT_EQ(RegeditProgram("C:\\Windows", true), "C:\\Windows\\regedit.exe");
    EXPECT_EQ(RegeditProgram("C:\\Windows\\", true), "C:\\Windows\\regedit.exe");
    EXPECT_EQ(RegeditProgram("C:\\Windows", false), "regedit.exe");
    // Without the Windows folder it cannot be named.
    EXPECT_EQ(RegeditProgram("", true), "regedit.exe");
}

TEST(MaelisTargetFolder, EmptyMissingOrExistingWithoutTrailingBackslash) {
    std::set<std::string> asked;
    auto exists = [&](const std::string& folder) {
        asked.insert(folder);
        return folder == "E:\\out" || folder == "C:";
    };
    EXPECT_EQ(CheckTargetFolder("", exists), FolderVerdict::Empty);
    EXPECT_TRUE(asked.empty()) << "an empty folder is never looked up";
    EXPECT_EQ(CheckTargetFolder("E:\\out", exists), FolderVerdict::Ok);
    EXPECT_EQ(CheckTargetFolder("E:\\out\\", exists), FolderVerdict::Ok);
    EXPECT_EQ(asked, std::set<std::string>{"E:\\out"}) << "looked up without its trailing backslash";
    EXPECT_EQ(CheckTargetFolder("C:\\", exists), FolderVerdict::Ok);
    EXPECT_EQ(CheckTargetFolder("E:\\out\\\\", exists), FolderVerdict::Missing) << "only one backslash is dropped";
    EXPECT_EQ(CheckTargetFolder("\\", exists), FolderVerdict::Missing);
    EXPECT_EQ(CheckTargetFolder("E:\\gone", exists), FolderVerdict::Missing);
}

TEST(MaelisOk, OutcomeFollowsModeFileAndFolder) {
    auto exists = [](const std::string& folder) { return folder == "E:\\out"; };
    // The file is checked first, in both modes.
    EXPECT_EQ(DecideOk(Mode::Registry, "D:\\a.reg", false, "", exists), OkOutcome::FileMissing);
    EXPECT_EQ(DecideOk(Mode::DataFile, "D:\\a.ini", false, "", exists), OkOutcome::FileMissing);
    // Registry mode ignores the folder field.
    EXPECT_EQ(DecideOk(Mode::Registry, "D:\\a.REG", true, "", exists), OkOutcome::Import);
    EXPECT_EQ(DecideOk(Mode::Registry, "D:\\a.ini", true, "E:\\out", exists), OkOutcome::ImportRefused);
    // A registry export switched to data-file mode is copied.
    EXPECT_EQ(DecideOk(Mode::DataFile, "D:\\a.reg", true, "E:\\out\\", exists), OkOutcome::Copy);
    EXPECT_EQ(DecideOk(Mode::DataFile, "D:\\a.ini", true, "", exists), OkOutcome::FolderEmpty);
    EXPECT_EQ(DecideOk(Mode::DataFile, "D:\\a.ini", true, "E:\\gone", exists), OkOutcome::FolderMissing);
}

TEST(MaelisModes, EachModeEnablesOnlyItsOwnControls) {
    ModeControls registry = ControlsFor(Mode::Registry);
    EXPECT_TRUE(registry.registryChecked);
    EXPECT_FALSE(registry.dataFileChecked);
    EXPECT_TRUE(registry.importLabelEnabled);
    EXPECT_FALSE(registry.copyControlsEnabled);
    ModeControls data = ControlsFor(Mode::DataFile);
    EXPECT_FALSE(data.registryChecked);
    EXPECT_TRUE(data.dataFileChecked);
    EXPECT_FALSE(data.importLabelEnabled);
    EXPECT_TRUE(data.copyControlsEnabled);
}

}  // namespace
