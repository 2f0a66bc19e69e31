#include "catalogue/shell/shell_copy.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/shell/shell_files.h"
#include "catalogue/win32_text.h"
#include "tests/catalogue/shell/shell_test_support.h"

namespace corvel {
namespace {

using namespace testing;

TEST(CopyFileIntoFolder, KeepsTheNameAndHonoursFailIfExists) {
    ScratchFolder scratch;
    MakeFolder(scratch / "x");
    MakeFolder(scratch / "out");
    std::string source = scratch / ("x\\" + kChinese + ".txt");
    PutFile(source, "new");
    EXPECT_TRUE(CopyFileIntoFolder(source, scratch / "out\\", false));
    EXPECT_EQ(GetFile(scratch / ("out\\" + kChinese + ".txt")), "new");
    PutFile(scratch / ("out\\" + kChinese + ".txt"), "old");
    EXPECT_FALSE(CopyFileIntoFolder(source, scratch / "out", true));
    EXPECT_EQ(GetFile(scratch / ("out\\" + kChinese + ".txt")), "old");
    EXPECT_TRUE(CopyFileIntoFolder(source, scratch / "out", false));
    EXPECT_EQ(GetFile(scratch / ("out\\" + kChinese + ".txt")), "new");
}

DWORD Attributes(const std::string& path) {
    return GetFileAttributesW(WideFromCp936(path).c_str());
}

void SetAttributes(const std::string& path, DWORD attributes) {
    ASSERT_TRUE(SetFileAttributesW(WideFromCp936(path).c_str(), attributes)) << path;
}

TEST(CopyFileIntoFolder, OverwritesHiddenSystemAndReadOnlyTargetsOnlyWhenAsked) {
    constexpr DWORD kBlockers = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;
    const std::pair<const char*, DWORD> targets[] = {
        {"AutoRun.inf", FILE_ATTRIBUTE_HIDDEN},
        {"settings.ini", FILE_ATTRIBUTE_READONLY},
        {"boot.sys", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY},
    };
    ScratchFolder scratch;
    MakeFolder(scratch / "cd");
    MakeFolder(scratch / "out");
    for (const auto& [name, attributes] : targets) {
        SCOPED_TRACE(name);
        std::string source = scratch / "cd\\" + name;
        std::string target = scratch / "out\\" + name;
        PutFile(source, "new");
        PutFile(target, "old");
        SetAttributes(target, attributes);

        EXPECT_FALSE(CopyFileIntoFolder(source, scratch / "out", true));
        EXPECT_EQ(GetFile(target), "old");
        EXPECT_EQ(Attributes(target) & kBlockers, attributes) << "not overwriting leaves the file as it was";

        EXPECT_TRUE(CopyFileIntoFolder(source, scratch / "out", false));
        EXPECT_EQ(GetFile(target), "new");
        EXPECT_EQ(Attributes(target) & kBlockers, 0u);
    }
}

TEST(CopyFileIntoFolder, ATargetThatStillCannotBeReplacedKeepsItsAttributes) {
    ScratchFolder scratch;
    MakeFolder(scratch / "out");
    PutFile(scratch / "AutoRun.inf", "new");
    std::string target = scratch / "out\\AutoRun.inf";
    PutFile(target, "old");
    SetAttributes(target, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    // Held open by another program that shares nothing.
    HANDLE held = CreateFileW(WideFromCp936(target).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    HANDLE second = CreateFileW(WideFromCp936(target).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    if (second != INVALID_HANDLE_VALUE) {
        CloseHandle(second);
        CloseHandle(held);
        GTEST_SKIP() << "this file system does not keep a file to the one that opened it";
    }
    EXPECT_FALSE(CopyFileIntoFolder(scratch / "AutoRun.inf", scratch / "out", false));
    CloseHandle(held);
    EXPECT_EQ(GetFile(target), "old");
    EXPECT_EQ(Attributes(target) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    SetAttributes(target, FILE_ATTRIBUTE_NORMAL);
}

TEST(MakeFileWritable, ClearsOnlyTheReadOnlyAttribute) {
    ScratchFolder scratch;
    PutFile(scratch / "app.ini", "x");
    SetAttributes(scratch / "app.ini", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(MakeFileWritable(scratch / "app.ini"));
    EXPECT_EQ(Attributes(scratch / "app.ini") & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(MakeFileWritable(scratch / "app.ini")) << "a writable file stays writable";
    EXPECT_FALSE(MakeFileWritable(scratch / "missing.ini"));
    MakeFolder(scratch / "folder");
    EXPECT_FALSE(MakeFileWritable(scratch / "folder"));
}

TEST(CopyFileIntoFolder, ReportsProgressWhileALargeFileCopies) {
    ScratchFolder scratch;
    MakeFolder(scratch / "out");
    std::string content(8 << 20, 'x');
    for (std::size_t i = 0; i < content.size(); i += 4096) content[i] = static_cast<char>(i >> 12);
    PutFile(scratch / "big.iso", content);
    int reports = 0;
    EXPECT_TRUE(CopyFileIntoFolder(scratch / "big.iso", scratch / "out", true, [&] { ++reports; }));
    EXPECT_TRUE(GetFile(scratch / "out\\big.iso") == content);
    const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    if (reports == 0 && wine) GTEST_SKIP() << "Wine's CopyFileEx calls no progress routine";
    EXPECT_GT(reports, 1) << "no report between the start and the end of the file";
}

TEST(CopyFileIntoFolder, NeedsAnExistingFileAndFolder) {
    ScratchFolder scratch;
    MakeFolder(scratch / "out");
    PutFile(scratch / "f.txt", "x");
    EXPECT_FALSE(CopyFileIntoFolder(scratch / "missing.txt", scratch / "out", false));
    EXPECT_FALSE(CopyFileIntoFolder(scratch / "out", scratch / "out", false));
    EXPECT_FALSE(CopyFileIntoFolder(scratch / "f.txt", scratch / "missing", false));
    EXPECT_FALSE(CopyFileIntoFolder(scratch / "f.txt", scratch / "f.txt", false));
}

TEST(CopyFolderTree, CopiesEverything) {
    ScratchFolder scratch;
    std::string src = scratch / "src\\";
    MakeFolder(src);
    MakeFolder(src + kChinese);
    MakeFolder(src + kChinese + "\\inner");
    MakeFolder(src + "empty");
    PutFile(src + kChinese + "\\inner\\" + kChinese + ".bin", std::string("\0\1", 2));
    PutFile(src + "hidden.sys", "hs");
    SetFileAttributesW(WideFromCp936(src + "hidden.sys").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    // A name that code page 936 cannot hold.
    HANDLE korean =
        CreateFileW((WideFromCp936(src) + L"\xD55C.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(korean, INVALID_HANDLE_VALUE);
    CloseHandle(korean);
    std::string dst = scratch / "dst\\";
    MakeFolder(dst);

    ASSERT_TRUE(CopyFolderTree(src, dst, false));
    EXPECT_EQ(GetFile(dst + kChinese + "\\inner\\" + kChinese + ".bin"), std::string("\0\1", 2));
    EXPECT_EQ(GetFile(dst + "hidden.sys"), "hs");
    EXPECT_TRUE(Exists(dst + "empty"));
    EXPECT_NE(GetFileAttributesW((WideFromCp936(dst) + L"\xD55C.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(CopyFolderTree, FailuresInsideDoNotStopTheCopy) {
    ScratchFolder scratch;
    MakeFolder(scratch / "src");
    MakeFolder(scratch / "src\\sub");
    MakeFolder(scratch / "src\\blocked");
    PutFile(scratch / "src\\a.txt", "new a");
    PutFile(scratch / "src\\b.txt", "new b");
    PutFile(scratch / "src\\sub\\c.txt", "new c");
    PutFile(scratch / "src\\blocked\\d.txt", "d");
    MakeFolder(scratch / "dst");
    MakeFolder(scratch / "dst\\sub");
    PutFile(scratch / "dst\\a.txt", "old a");
    PutFile(scratch / "dst\\sub\\c.txt", "old c");
    PutFile(scratch / "dst\\blocked", "a file in the way");

    std::vector<std::string> notCopied;
    ASSERT_TRUE(CopyFolderTree(scratch / "src", scratch / "dst", true, &notCopied));
    EXPECT_EQ(GetFile(scratch / "dst\\a.txt"), "old a");
    EXPECT_EQ(GetFile(scratch / "dst\\b.txt"), "new b");
    EXPECT_EQ(GetFile(scratch / "dst\\sub\\c.txt"), "old c");
    EXPECT_EQ(GetFile(scratch / "dst\\blocked"), "a file in the way");
    std::sort(notCopied.begin(), notCopied.end());
    EXPECT_EQ(notCopied, (std::vector<std::string>{scratch / "dst\\a.txt", scratch / "dst\\blocked",
                                                   scratch / "dst\\sub\\c.txt"}));

    notCopied.clear();
    ASSERT_TRUE(CopyFolderTree(scratch / "src", scratch / "dst", false, &notCopied));
    EXPECT_EQ(GetFile(scratch / "dst\\sub\\c.txt"), "new c");
    EXPECT_EQ(notCopied, std::vector<std::string>{scratch / "dst\\blocked"});
}

TEST(CopyFolderTree, RefusesMissingFoldersAndCopiesIntoItself) {
    ScratchFolder scratch;
    MakeFolder(scratch / "src");
    MakeFolder(scratch / "src\\sub");
    MakeFolder(scratch / "src\\sub\\deeper");
    PutFile(scratch / "src\\a.txt", "a");
    EXPECT_FALSE(CopyFolderTree(scratch / "src", scratch / "missing", false));
    EXPECT_FALSE(CopyFolderTree(scratch / "missing", scratch / "src", false));
    EXPECT_FALSE(CopyFolderTree(scratch / "src", scratch / "src\\a.txt", false));
    EXPECT_FALSE(CopyFolderTree(scratch / "src", scratch / "src\\", false));
    EXPECT_FALSE(CopyFolderTree(scratch / "src\\", scratch / "SRC\\sub", false));
    EXPECT_FALSE(CopyFolderTree(scratch / "src", scratch / "src\\sub\\deeper", false));
    EXPECT_FALSE(Exists(scratch / "src\\sub\\a.txt"));
    // A sibling whose name starts with the source's, and the parent, are fine.
    MakeFolder(scratch / "src2");
    EXPECT_TRUE(CopyFolderTree(scratch / "src", scratch / "src2", false));
    EXPECT_EQ(GetFile(scratch / "src2\\a.txt"), "a");
    EXPECT_TRUE(CopyFolderTree(scratch / "src\\sub", scratch / "src", false));
    EXPECT_TRUE(Exists(scratch / "src\\deeper"));
}

// Puts what the file system tells about folders back at the end of a test.
class FolderFactsEdit {
public:
    explicit FolderFactsEdit(std::function<void(const std::wstring&, FolderFacts&)> edit) {
        SetFolderFactsEditForTesting(std::move(edit));
    }
    ~FolderFactsEdit() { SetFolderFactsEditForTesting(nullptr); }
};

// src holds a.txt, sub\b.txt, sub\deeper\c.txt and an empty folder.
void LayOutSource(const ScratchFolder& scratch) {
    MakeFolder(scratch / "src");
    MakeFolder(scratch / "src\\sub");
    MakeFolder(scratch / "src\\sub\\deeper");
    MakeFolder(scratch / "src\\empty");
    PutFile(scratch / "src\\a.txt", "a");
    PutFile(scratch / "src\\sub\\b.txt", "b");
    PutFile(scratch / "src\\sub\\deeper\\c.txt", "c");
}

void ExpectCopied(const std::string& target) {
    EXPECT_EQ(GetFile(target + "\\a.txt"), "a");
    EXPECT_EQ(GetFile(target + "\\sub\\b.txt"), "b");
    EXPECT_EQ(GetFile(target + "\\sub\\deeper\\c.txt"), "c");
    EXPECT_TRUE(Exists(target + "\\empty"));
}

void ExpectOnlyRealSelfCopiesRefused(const ScratchFolder& scratch) {
    EXPECT_FALSE(CopyFolderTree(scratch / "src", scratch / "src", false));
    EXPECT_FALSE(CopyFolderTree(scratch / "src\\", scratch / "SRC\\sub\\..\\sub\\deeper", false));
    EXPECT_FALSE(Exists(scratch / "src\\sub\\deeper\\a.txt"));
    MakeFolder(scratch / "src2");
    EXPECT_TRUE(CopyFolderTree(scratch / "src", scratch / "src2", false));
    ExpectCopied(scratch / "src2");
    EXPECT_TRUE(CopyFolderTree(scratch / "src\\sub", scratch / "src", false));
    EXPECT_EQ(GetFile(scratch / "src\\b.txt"), "b");
}

TEST(CopyFolderTree, WhatTheFileSystemCannotTellFallsBackToPaths) {
    const std::pair<const char*, std::function<void(const std::wstring&, FolderFacts&)>> cases[] = {
        // Some network and RAM-disk drivers give every folder the index 0.
        {"no file index", [](const std::wstring&, FolderFacts& facts) { facts.index = 0; }},
        {"no final path", [](const std::wstring&, FolderFacts& facts) { facts.finalPath.clear(); }},
        {"nothing", [](const std::wstring&, FolderFacts& facts) { facts = {}; }},
    };
    for (const auto& [what, edit] : cases) {
        SCOPED_TRACE(what);
        FolderFactsEdit facts(edit);
        ScratchFolder scratch;
        LayOutSource(scratch);
        MakeFolder(scratch / "dst");
        ASSERT_TRUE(CopyFolderTree(scratch / "src", scratch / "dst", false));
        ExpectCopied(scratch / "dst");
        ExpectOnlyRealSelfCopiesRefused(scratch);
    }
}

TEST(CopyFolderTree, AShortNameOfTheSourceIsTheSourceWithoutFileIdentities) {
    FolderFactsEdit nothing([](const std::wstring&, FolderFacts& facts) { facts = {}; });
    ScratchFolder scratch;
    MakeFolder(scratch / "long folder name");
    MakeFolder(scratch / "long folder name\\inner");
    wchar_t shortName[MAX_PATH] = {};
    GetShortPathNameW(WideFromCp936(scratch / "long folder name").c_str(), shortName, MAX_PATH);
    std::string shortPath = Cp936FromWide(shortName);
    if (shortPath.empty() || shortPath == scratch / "long folder name") GTEST_SKIP() << "no short names here";
    EXPECT_FALSE(CopyFolderTree(scratch / "long folder name", shortPath + "\\inner", false));
}

TEST(CopyFolderTree, LinkedFoldersAreNotEntered) {
    ScratchFolder scratch;
    MakeFolder(scratch / "src");
    MakeFolder(scratch / "dst");
    PutFile(scratch / "src\\a.txt", "a");
    const DWORD flags = SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE;
    std::wstring loop = WideFromCp936(scratch / "src\\loop");
    std::wstring toTarget = WideFromCp936(scratch / "src\\to_dst");
    CreateSymbolicLinkW(loop.c_str(), WideFromCp936(scratch / "src").c_str(), flags);
    CreateSymbolicLinkW(toTarget.c_str(), WideFromCp936(scratch / "dst").c_str(), flags);
    // Wine 8 answers TRUE and makes nothing; Windows may refuse without rights.
    if (GetFileAttributesW(loop.c_str()) == INVALID_FILE_ATTRIBUTES ||
        GetFileAttributesW(toTarget.c_str()) == INVALID_FILE_ATTRIBUTES) {
        GTEST_SKIP() << "no symbolic links here";
    }
    EXPECT_TRUE(CopyFolderTree(scratch / "src", scratch / "dst", false));
    EXPECT_EQ(GetFile(scratch / "dst\\a.txt"), "a");
    EXPECT_FALSE(Exists(scratch / "dst\\loop"));
    EXPECT_FALSE(Exists(scratch / "dst\\to_dst"));
    // The target reached through a link is still the source's own sub-folder.
    EXPECT_FALSE(CopyFolderTree(scratch / "dst", scratch / "src\\to_dst", false));
}

TEST(PastMaxPath, CopiesWork) {
    ScratchFolder scratch;
    std::string deep = LongFolderPath(scratch / "src\\");
    ASSERT_TRUE(CreateFolderPath(deep));
    PutFile(scratch / "f.txt", "x");
    ASSERT_TRUE(CopyFileIntoFolder(scratch / "f.txt", deep, false));
    MakeFolder(scratch / "dst");
    ASSERT_TRUE(CopyFolderTree(scratch / "src", scratch / "dst", false));
    EXPECT_EQ(GetFile(scratch / "dst" + deep.substr(scratch.Path().size() + 3) + "\\f.txt"), "x");
}

}  // namespace
}  // namespace corvel
