// The rows of the copy files dialog, what each way of copying takes from
// them, and the list menu's selections.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "tools/copy_files/copy_files_rules.h"
#include "tools/copy_files/copy_file_rows.h"

namespace corvel {
namespace {

const PathResolver kPaths("D:\\temp\\");

ItemFields Item(std::string name, std::string installer, std::string patch = {}, std::string settings = {}) {
    ItemFields fields;
    fields.Name = std::move(name);
    fields.SrcPath = std::move(installer);
    fields.Patch = std::move(patch);
    fields.Settings = std::move(settings);
    return fields;
}

std::vector<CopyFileRow> Rows(const std::vector<ItemFields>& items, std::set<std::string> existing = {}) {
    return BuildCopyFileRows(items, kPaths, [&](const std::string& path) { return existing.count(path) > 0; });
}

TEST(CopyFileRows, UpToThreeRowsPerItemInItemOrder) {
    std::vector<CopyFileRow> rows =
        Rows({Item("Editor", "\"Soft\\My Setup.exe\" /S", "\\Patch\\fix.exe -q", "E:\\cfg\\editor.reg"),
              Item("Tool", "tool.exe")},
             {"D:\\temp\\Soft\\My Setup.exe", "E:\\cfg\\editor.reg"});
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].itemName, "Editor");
    EXPECT_EQ(rows[0].path, "D:\\temp\\Soft\\My Setup.exe");
    EXPECT_EQ(rows[0].kind, CopyFileKind::Installer);
    EXPECT_TRUE(rows[0].exists);
    EXPECT_EQ(rows[1].path, "D:\\Patch\\fix.exe");
    EXPECT_EQ(rows[1].kind, CopyFileKind::Patch);
    EXPECT_FALSE(rows[1].exists);
    EXPECT_EQ(rows[2].path, "E:\\cfg\\editor.reg");
    EXPECT_EQ(rows[2].kind, CopyFileKind::Settings);
    EXPECT_TRUE(rows[2].exists);
    EXPECT_EQ(rows[3].itemName, "Tool");
    EXPECT_EQ(rows[3].path, "D:\\temp\\tool.exe");
    EXPECT_EQ(rows[3].kind, CopyFileKind::Installer);
}

TEST(CopyFileRows, CommandsThatNameNoPathGiveNoRow) {
    // A flag alone, an unclosed quote, an invalid path, an empty field.
    std::vector<CopyFileRow> rows = Rows(
        {Item("A", "a.exe", "/S", "-x cfg.reg"), Item("B", "\"b.exe", "..\\p.exe"), Item("C", "c.exe", "", "s.reg")});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].path, "D:\\temp\\a.exe");
    EXPECT_EQ(rows[1].path, "D:\\temp\\c.exe");
    EXPECT_EQ(rows[2].path, "D:\\temp\\s.reg");
    EXPECT_EQ(rows[2].kind, CopyFileKind::Settings);

    // Without a name, or without a program folder to resolve against.
    EXPECT_TRUE(Rows({Item("", "a.exe", "p.exe")}).empty());
    EXPECT_TRUE(
        BuildCopyFileRows({Item("A", "a.exe")}, PathResolver(""), [](const std::string&) { return true; }).empty());
    EXPECT_TRUE(Rows({}).empty());
}

TEST(CopyFileRows, TextTakesEveryCheckedRowAndListsOnlyExistingOnes) {
    std::vector<CopyFileRow> rows =
        Rows({Item("A", "E:\\a.exe", "E:\\p.exe", "E:\\s.reg")}, {"E:\\a.exe", "E:\\s.reg"});
    EXPECT_EQ(CheckedPathsText(rows, {true, true, false}), "E:\\a.exe\r\nE:\\p.exe\r\n");
    EXPECT_EQ(CheckedPathsText(rows, {false, false, false}), "");
    EXPECT_EQ(CheckedExistingPaths(rows, {true, true, true}), (std::vector<std::string>{"E:\\a.exe", "E:\\s.reg"}));
    EXPECT_TRUE(CheckedExistingPaths(rows, {false, true, false}).empty());
}

TEST(CopyFilesRules, OnlyTheFolderModeEnablesItsControlsAndNotTheTextModeDropsMissingFiles) {
    CopyModeRules text = RulesOf(CopyMode::PathsAsText);
    CopyModeRules clipboard = RulesOf(CopyMode::FilesToClipboard);
    CopyModeRules folder = RulesOf(CopyMode::IntoFolder);
    EXPECT_FALSE(text.folderControlsEnabled || text.uncheckMissingFiles || text.focusTargetFolder);
    EXPECT_FALSE(clipboard.folderControlsEnabled || clipboard.focusTargetFolder);
    EXPECT_TRUE(clipboard.uncheckMissingFiles);
    EXPECT_TRUE(folder.folderControlsEnabled && folder.uncheckMissingFiles && folder.focusTargetFolder);
}

TEST(CopyFilesRules, MenuSelectionsPickExactlyTheirRows) {
    std::vector<CopyFileRow> rows =
        Rows({Item("A", "E:\\a.exe", "E:\\p.exe", "E:\\s.reg"), Item("B", "E:\\b.exe")}, {"E:\\p.exe", "E:\\b.exe"});
    const std::vector<bool> before = {true, false, true, false};
    using Selected = std::vector<bool>;
    EXPECT_EQ(SelectRows(RowSelection::Installers, rows, before), (Selected{true, false, false, true}));
    EXPECT_EQ(SelectRows(RowSelection::Patches, rows, before), (Selected{false, true, false, false}));
    EXPECT_EQ(SelectRows(RowSelection::SettingsFiles, rows, before), (Selected{false, false, true, false}));
    EXPECT_EQ(SelectRows(RowSelection::ExistingFiles, rows, before), (Selected{false, true, false, true}));
    EXPECT_EQ(SelectRows(RowSelection::All, rows, before), (Selected{true, true, true, true}));
    EXPECT_EQ(SelectRows(RowSelection::Invert, rows, before), (Selected{false, true, false, true}));
    EXPECT_TRUE(SelectRows(RowSelection::All, {}, {}).empty());
}

TEST(CopyFilesRules, MenuNeedsRowsToSelectAndASelectionToCheck) {
    EXPECT_FALSE(RowMenuStateFor(0, false).selectionEnabled);
    EXPECT_FALSE(RowMenuStateFor(0, false).checkEnabled);
    EXPECT_TRUE(RowMenuStateFor(3, false).selectionEnabled);
    EXPECT_FALSE(RowMenuStateFor(3, false).checkEnabled);
    EXPECT_TRUE(RowMenuStateFor(3, true).checkEnabled);
}

// The verdict and folder of a typed target, printed together for a failure.
std::string TargetOf(std::string_view typed) {
    const CopyTarget target = CopyTargetOf(typed, kPaths);
    switch (target.verdict) {
        case CopyTarget::Verdict::Empty:
            return "(empty)";
        case CopyTarget::Verdict::Invalid:
            return "(invalid)";
        default:
            return target.folder;
    }
}

TEST(CopyTarget, ResolvedAgainstTheProgramFolderLikeEveryPath) {
    EXPECT_EQ(TargetOf("CD"), "D:\\temp\\CD");
    EXPECT_EQ(TargetOf("\\CD\\out"), "D:\\CD\\out");
    EXPECT_EQ(TargetOf("E:\\CD\\"), "E:\\CD\\");
    EXPECT_EQ(TargetOf("  CD"), "D:\\temp\\CD");
    // What the path rules refuse is no folder to copy into.
    for (const char* typed : {"..\\CD", "CD\\con", "a|b", "C:", "E:\\CD\\.."})
        EXPECT_EQ(TargetOf(typed), "(invalid)") << typed;
}

TEST(CopyTarget, AFolderOnANasIsTakenAsItIs) {
    EXPECT_EQ(TargetOf("\\\\nas\\share\\CD"), "\\\\nas\\share\\CD");
    EXPECT_EQ(TargetOf("\\\\nas\\share\\CD. "), "\\\\nas\\share\\CD");
    // Past its start it follows the rules of every path.
    for (const char* typed :
         {"\\\\nas\\share\\\\CD", "\\\\\\nas\\share", "\\\\nas\\share\\..\\CD", "\\\\nas\\share\\con", "\\\\nas\\a|b"})
        EXPECT_EQ(TargetOf(typed), "(invalid)") << typed;
}

TEST(CopyTarget, BlanksAndDotsAtTheEndAreDroppedAsTheSystemDropsThem) {
    const std::pair<const char*, const char*> cases[] = {
        {"E:\\CD ", "E:\\CD"},
        {"E:\\CD. . ", "E:\\CD"},
        {"E:\\CD\\ ", "E:\\CD\\"},
        {"CD.", "D:\\temp\\CD"},
        // Inside the text they stay.
        {"E:\\My CD.1\\x", "E:\\My CD.1\\x"},
        // 光 before the blank: its bytes are no blank or dot.
        {"E:\\\xB9\xE2 ", "E:\\\xB9\xE2"},
        // Only blanks is as good as nothing typed; a dot is a name to refuse.
        {"", "(empty)"},
        {"   ", "(empty)"},
        {"  . ", "(invalid)"},
    };
    for (const auto& [typed, expected] : cases) EXPECT_EQ(TargetOf(typed), expected) << typed;
}

TEST(CopyTarget, FileLandsInTheFolderUnderItsOwnName) {
    EXPECT_EQ(CopyTargetPath("D:\\Soft\\setup.exe", "E:\\CD"), "E:\\CD\\setup.exe");
    EXPECT_EQ(CopyTargetPath("D:\\Soft\\setup.exe", "E:\\CD\\"), "E:\\CD\\setup.exe");
    // The trail byte 0x5C of a double-byte character is no backslash.
    EXPECT_EQ(CopyTargetPath("D:\\Soft\\a\x81\x5C.exe", "E:\\"), "E:\\a\x81\x5C.exe");
}

TEST(SharedFileNames, EachNameTwoPathsShareOnceInFirstOrder) {
    EXPECT_EQ(SharedFileNames({"D:\\a\\setup.exe", "D:\\b\\tool.exe", "D:\\c\\SETUP.EXE", "D:\\d\\setup.exe",
                               "D:\\e\\tool.exe", "D:\\f\\only.reg"}),
              (std::vector<std::string>{"setup.exe", "tool.exe"}));
    EXPECT_TRUE(SharedFileNames({"D:\\a\\setup.exe", "D:\\a\\setup1.exe", "D:\\setup.exe.bak"}).empty());
    EXPECT_TRUE(SharedFileNames({}).empty());
    // Double-byte names compare byte for byte, never as letters.
    EXPECT_TRUE(SharedFileNames({"D:\\a\\\x81\x5C", "D:\\b\\\x81\x5D"}).empty());
    EXPECT_EQ(SharedFileNames({"D:\\a\\\x81\x5C", "E:\\\x81\x5C"}), std::vector<std::string>{"\x81\x5C"});
}

}  // namespace
}  // namespace corvel
