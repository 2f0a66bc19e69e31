#include "tools/create_folders/create_folders_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvel {
namespace {

std::vector<FolderRow> Rows(std::initializer_list<std::pair<const char*, bool>> rows) {
    std::vector<FolderRow> out;
    for (const auto& [name, ticked] : rows) out.push_back({name, ticked});
    return out;
}

TEST(RowsFromCategoryNames, EveryNameTickedInOrderUnreadableOnesEmpty) {
    auto rows = RowsFromCategoryNames({"Office", std::nullopt, "Tools"});
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, "Office");
    EXPECT_EQ(rows[1].name, "");
    EXPECT_EQ(rows[2].name, "Tools");
    for (const FolderRow& row : rows) EXPECT_TRUE(row.ticked);
}

TEST(PlanFolders, FirstInvalidTickedRowStopsEverything) {
    FolderPlan plan = PlanFolders("D:\\CD", Rows({{"Office", true}, {"CON", true}, {"a:b", true}}));
    ASSERT_TRUE(plan.invalidRow);
    EXPECT_EQ(plan.invalidRow->number, 2);
    EXPECT_EQ(plan.invalidRow->name, "CON");
    EXPECT_TRUE(plan.folders.empty());
    EXPECT_EQ(plan.target, "D:\\CD\\");
}

TEST(PlanFolders, UntickedRowsAreNeitherCheckedNorCreatedButStillCounted) {
    FolderPlan plan = PlanFolders(
        "D:\\CD\\", Rows({{"CON", false}, {"Office", true}, {".hidden", false}, {"Tools", true}, {"a|b", true}}));
    ASSERT_TRUE(plan.invalidRow);
    EXPECT_EQ(plan.invalidRow->number, 5);

    plan = PlanFolders("D:\\CD\\", Rows({{"CON", false}, {"Office", true}, {"Tools", true}}));
    EXPECT_FALSE(plan.invalidRow);
    EXPECT_EQ(plan.folders, (std::vector<std::string>{"D:\\CD\\Office", "D:\\CD\\Tools"}));

    // The name check looks past leading blanks; the folder keeps its text.
    EXPECT_EQ(PlanFolders("D:\\", Rows({{" abc", true}})).folders, std::vector<std::string>{"D:\\ abc"});
    EXPECT_EQ(PlanFolders("D:\\", Rows({{"A", true}, {" \t", true}})).invalidRow->number, 2);
}

TEST(PlanFolders, TargetGetsOneBackslashAndEmptyTargetPlansNothing) {
    EXPECT_EQ(PlanFolders("out", Rows({{"A", true}})).folders, std::vector<std::string>{"out\\A"});
    EXPECT_EQ(PlanFolders("C:\\", Rows({{"A", true}})).folders, std::vector<std::string>{"C:\\A"});
    // A double-byte character whose trail byte is 0x5C is no backslash.
    EXPECT_EQ(PlanFolders("D:\\\x81\x5C", {}).target, "D:\\\x81\x5C\\");

    FolderPlan empty = PlanFolders("", Rows({{"A", true}}));
    EXPECT_EQ(empty.target, "");
    EXPECT_TRUE(empty.folders.empty());
    EXPECT_FALSE(empty.invalidRow);
}

TEST(MakeFolders, EveryFolderIsTriedAndTheFailedOnesAreListedInOrder) {
    std::vector<std::string> tried;
    auto makeAllButTools = [&](const std::string& folder) {
        tried.push_back(folder);
        return folder.find("Tools") == std::string::npos;
    };
    const std::vector<std::string> folders = {"D:\\CD\\Tools", "D:\\CD\\Office", "D:\\CD\\Tools2", "D:\\CD\\Games"};
    EXPECT_EQ(MakeFolders(folders, makeAllButTools), (std::vector<std::string>{"D:\\CD\\Tools", "D:\\CD\\Tools2"}));
    EXPECT_EQ(tried, folders);

    EXPECT_TRUE(MakeFolders(folders, [](const std::string&) { return true; }).empty());
    EXPECT_EQ(MakeFolders(folders, [](const std::string&) { return false; }), folders);
    EXPECT_TRUE(MakeFolders({}, [](const std::string&) { return false; }).empty());
}

}  // namespace
}  // namespace corvel
