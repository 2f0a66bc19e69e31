#include "ui/main/external_tools_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvel {
namespace {

const SystemFolders kFolders{"C:\\WINNT\\system32", "C:\\WINNT"};
const PathResolver kPaths("D:\\CD\\");

TEST(ParseToolLines, SplitsAtFirstEqualsTrimsAndSkipsEverythingElse) {
    const std::string name = "\xB9\xA4\xBE\xDF";  // 工具
    auto tools = ParseToolLines(
        "; header\r\n   ;indented=comment.exe\r\n\r\nno equals here\r\n=nameless.exe\r\nEmpty=   \r\n"
        "  Zip Tool  =  zip.exe /a=b  \r\n" +
        name + "=a.exe\r\n" + name + "=b.exe");
    ASSERT_EQ(tools.size(), 3u);
    EXPECT_EQ(tools[0].name, "Zip Tool");
    EXPECT_EQ(tools[0].command, "zip.exe /a=b");
    EXPECT_EQ(tools[1].name, name);
    EXPECT_EQ(tools[2].name, name);
    EXPECT_EQ(tools[2].command, "b.exe");
}

TEST(ParseToolLines, OnlyCrLfBreaksLinesAndAZeroByteEndsTheText) {
    // A file with LF line ends is one line: its first "=" makes one tool.
    auto tools = ParseToolLines("A=a.exe\nB=b.exe\rC=c.exe");
    ASSERT_EQ(tools.size(), 1u);
    EXPECT_EQ(tools[0].command, "a.exe\nB=b.exe\rC=c.exe");

    std::string text("A=a.exe\r\nB=b", 12);
    text += '\0';
    text += ".exe\r\nC=c.exe\r\n";
    tools = ParseToolLines(text);
    ASSERT_EQ(tools.size(), 2u);
    EXPECT_EQ(tools[1].command, "b");
}

TEST(ReplaceToolVariables, UpperCaseOnlyEveryOccurrenceOnePass) {
    EXPECT_EQ(ReplaceToolVariables("%SYSDIR%\\a.exe %WINDIR%\\x %SYSDIR%\\y", kFolders),
              "C:\\WINNT\\system32\\a.exe C:\\WINNT\\x C:\\WINNT\\system32\\y");
    EXPECT_EQ(ReplaceToolVariables("%sysdir%\\a.exe %WinDir%", kFolders), "%sysdir%\\a.exe %WinDir%");
    EXPECT_EQ(ReplaceToolVariables("%SYSDIR%WINDIR%", kFolders), "C:\\WINNT\\system32WINDIR%");
    // A folder holding a variable's text is taken as it stands.
    EXPECT_EQ(ReplaceToolVariables("%WINDIR%", {"S", "C:\\%SYSDIR%"}), "C:\\%SYSDIR%");
}

TEST(ToolEntries, ResolveProgramsAndSkipCommandsWithoutOne) {
    auto entries = ToolEntries(
        "Rel=Tools\\t.exe -q data\\in.txt\r\nSwitch=/x t.exe\r\nQuote=\"t.exe\r\nDrive=\\Bin\\b.exe\r\n"
        "Win=%WINDIR%\\notepad.exe\r\nLower=%windir%\\notepad.exe\r\n",
        kFolders, kPaths);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].name, "Rel");
    EXPECT_EQ(entries[0].command, "Tools\\t.exe -q data\\in.txt");
    EXPECT_EQ(entries[0].program, "D:\\CD\\Tools\\t.exe");
    // The skipped lines take no place: Drive follows Rel directly.
    EXPECT_EQ(entries[1].name, "Drive");
    EXPECT_EQ(entries[1].program, "D:\\Bin\\b.exe");
    EXPECT_EQ(entries[2].command, "C:\\WINNT\\notepad.exe");
    EXPECT_EQ(entries[2].program, "C:\\WINNT\\notepad.exe");
    EXPECT_EQ(entries[3].program, "D:\\CD\\%windir%\\notepad.exe");
}

TEST(ExternalToolsHeader, ThirteenCrLfLinesInCodePage936) {
    std::string header = ExternalToolsHeader();
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < header.size();) {
        std::size_t end = header.find("\r\n", start);
        ASSERT_NE(end, std::string::npos) << "every line ends with CR LF";
        lines.push_back(header.substr(start, end - start));
        start = end + 2;
    }
    ASSERT_EQ(lines.size(), 13u);
    const std::string rule = ";" + std::string(100, '-');
    EXPECT_EQ(lines[0], rule);
    EXPECT_EQ(lines[9], rule);
    for (int empty : {1, 8, 10, 12}) EXPECT_EQ(lines[empty], "") << empty;
    EXPECT_EQ(lines[2], "\x3b\xcd\xe2\xb2\xbf\xb9\xa4\xbe\xdf\xc5\xe4\xd6\xc3\xce\xc4\xbc\xfe\xcb\xb5\xc3\xf7\xa3\xba");
    EXPECT_NE(lines[7].find("\xa1\xb0"
                            "Corvel"
                            "\xa1\xb1"),
              std::string::npos);
    for (int comment = 2; comment <= 7; ++comment) EXPECT_EQ(lines[comment][0], ';') << comment;
    EXPECT_EQ(lines[11][0], ';');
    EXPECT_EQ(header.size(), 737u);  // counted with iconv
    EXPECT_TRUE(ToolEntries(header, kFolders, kPaths).empty());
}

}  // namespace
}  // namespace corvel
