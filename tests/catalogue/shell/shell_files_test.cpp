#include "catalogue/shell/shell_files.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "catalogue/long_path.h"
#include "catalogue/win32_text.h"

#include "tests/catalogue/shell/shell_test_support.h"

namespace corvel {
namespace {

using namespace testing;

// A GBK character whose trail byte is 0x5C, the backslash.
const std::string kTrailBackslash = "\x95\x5C";

TEST(FolderExists, DriveRootsAndShortForms) {
    EXPECT_TRUE(FolderExists("C:"));
    EXPECT_TRUE(FolderExists("c:\\"));
    for (const char* path : {"", "C", "C:x", "1:\\", "\\", "\xD6\xD0"}) EXPECT_FALSE(FolderExists(path)) << path;
}

TEST(Exists, TellsFilesFromFolders) {
    ScratchFolder scratch;
    std::string folder = scratch / ("Soft" + kChinese);
    std::string trail = scratch / ("X" + kTrailBackslash);
    std::string file = scratch / (kChinese + ".txt");
    MakeFolder(folder);
    MakeFolder(trail);
    PutFile(file, "");
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_TRUE(FolderExists(folder + "\\"));
    EXPECT_TRUE(FolderExists(trail));  // its last byte is no backslash to drop
    EXPECT_TRUE(FolderExists(trail + "\\"));
    EXPECT_FALSE(FolderExists(file));
    EXPECT_FALSE(FolderExists(scratch / "missing\\"));
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(folder));
    EXPECT_FALSE(FileExists(scratch / "missing.txt"));
    EXPECT_FALSE(FileExists(scratch / "*.txt"));  // no wildcard matching
    EXPECT_FALSE(FileExists(""));
}

TEST(FolderExists, AWidePathMayHoldWhatCodePage936Cannot) {
    ScratchFolder scratch;
    // A Korean name with an emoji: no code page 936 path can name it.
    std::wstring folder = WideFromCp936(scratch.Path()) + L"\xD55C\xAE00\xD83D\xDE00";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    std::wstring file = folder + L"\\a.txt";
    CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    EXPECT_TRUE(FolderExists(folder));
    EXPECT_TRUE(FolderExists(folder + L"\\"));
    EXPECT_FALSE(FolderExists(file));
    EXPECT_FALSE(FolderExists(folder + L"x"));
    EXPECT_TRUE(FolderExists(std::wstring(L"C:")));
    EXPECT_TRUE(FolderExists(std::wstring(L"c:\\")));
    EXPECT_FALSE(FolderExists(std::wstring()));
    // Through code page 936 the same folder is another, missing one.
    EXPECT_FALSE(FolderExists(Cp936FromWide(folder)));
}

TEST(CreateFolderPath, CreatesEveryMissingLevel) {
    ScratchFolder scratch;
    EXPECT_TRUE(CreateFolderPath(scratch / ("a\\" + kChinese + "\\c")));
    EXPECT_TRUE(Exists(scratch / ("a\\" + kChinese + "\\c")));
    EXPECT_TRUE(CreateFolderPath(scratch / "a"));
    EXPECT_TRUE(CreateFolderPath(scratch / "x\\y\\"));
    EXPECT_TRUE(Exists(scratch / "x\\y"));
    EXPECT_TRUE(CreateFolderPath(scratch / ("t" + kTrailBackslash + "\\u")));
    EXPECT_TRUE(Exists(scratch / ("t" + kTrailBackslash + "\\u")));
}

TEST(CreateFolderPath, TheLongPathPrefixIsNoDoubledBackslash) {
    // As a folder on a NAS ("\\\\nas\\share\\CD"), which Wine cannot show.
    ScratchFolder scratch;
    const std::string folder = scratch / "long\\path";
    ASSERT_TRUE(CreateFolderPath("\\\\?\\" + folder));
    EXPECT_TRUE(Exists(folder));
    EXPECT_FALSE(CreateFolderPath("\\\\?\\" + folder + "\\\\x"));
}

TEST(CreateFolderPath, Refusals) {
    ScratchFolder scratch;
    PutFile(scratch / "file", "x");
    EXPECT_FALSE(CreateFolderPath(scratch / "a\\\\b"));
    EXPECT_FALSE(Exists(scratch / "a"));
    EXPECT_FALSE(CreateFolderPath(""));
    EXPECT_FALSE(CreateFolderPath(scratch / "file\\sub"));
    EXPECT_FALSE(CreateFolderPath(scratch / "file"));
}

TEST(WholeFile, WriteTruncatesAndReadStopsAtNul) {
    ScratchFolder scratch;
    std::string file = scratch / (kChinese + ".txt");
    ASSERT_TRUE(WriteWholeFile(file, "a longer first text"));
    ASSERT_TRUE(WriteWholeFile(file, std::string("sh\0rt", 5)));
    EXPECT_EQ(GetFile(file), std::string("sh\0rt", 5));
    FileReader reader;
    const std::string* text = reader.Read(file);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(*text, "sh");
    ASSERT_TRUE(WriteWholeFile(file, "line\r\n" + kChinese));
    text = reader.Read(file);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(*text, "line\r\n" + kChinese);
}

TEST(WholeFile, Failures) {
    ScratchFolder scratch;
    MakeFolder(scratch / "sub");
    PutFile(scratch / "empty.txt", "");
    EXPECT_FALSE(WriteWholeFile(scratch / "missing\\f.txt", "x"));
    EXPECT_FALSE(WriteWholeFile(scratch / "sub", "x"));
    EXPECT_FALSE(WriteWholeFile("", "x"));
    FileReader reader;
    for (std::string path : {scratch / "empty.txt", scratch / "missing.txt", scratch / "sub", std::string()}) {
        EXPECT_EQ(reader.Read(path), nullptr) << path;
    }
}

TEST(PastMaxPath, FoldersAndWholeFilesWork) {
    ScratchFolder scratch;
    std::string folder = LongFolderPath(scratch / "deep\\");
    std::string file = folder + "\\" + kChinese + ".txt";
    ASSERT_GT(file.size(), 300u);
    EXPECT_TRUE(CreateFolderPath(folder));
    EXPECT_TRUE(FolderExists(folder + "\\"));
    ASSERT_TRUE(WriteWholeFile(file, "deep text"));
    EXPECT_TRUE(FileExists(file));
    EXPECT_EQ(GetFile(file), "deep text");
    FileReader reader;
    const std::string* text = reader.Read(file);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(*text, "deep text");
}

// Wine takes long paths without the prefix, so check that it is made right.
TEST(PastMaxPath, PrefixedOnlyWhenLongAndMadeFullFirst) {
    std::wstring level(100, L'x');
    EXPECT_EQ(WideLongPath("C:\\a\\..\\b.txt"), L"C:\\a\\..\\b.txt");
    EXPECT_EQ(LongPathFromWide(L"C:\\" + level + L"\\" + level + L"\\..\\" + level + L"\\f"),
              L"\\\\?\\C:\\" + level + L"\\" + level + L"\\f");
    EXPECT_EQ(LongPathFromWide(L"\\\\srv\\share\\" + level + L"\\" + level + L"\\" + level),
              L"\\\\?\\UNC\\srv\\share\\" + level + L"\\" + level + L"\\" + level);
}

}  // namespace
}  // namespace corvel
