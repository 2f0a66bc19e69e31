// Runs cvxtool commands in-process against catalogue files in a temporary
// folder. Catalogue files hold code page 936 bytes; everything cvxtool prints
// is UTF-8, so the expected output below is written as UTF-8 text.
#include "cvxtool/cvxtool.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Result {
    int code = -1;
    std::string out;
    std::string err;
};

Result RunTool(const std::vector<std::string>& args) {
    Result result;
    result.code = RunCvxtool(args, result.out, result.err);
    return result;
}

std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

fs::path PathFromUtf8(std::string_view utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

// A small catalogue in exactly the form the program writes it, so that
// resaving it must reproduce it byte for byte.
const std::string kCatalogue =
    "[\xB3\xA3\xD3\xC3\xB9\xA4\xBE\xDF]\r\n"      // 常用工具
    "<Name=\xD1\xB9\xCB\xF5\xB9\xA4\xBE\xDF\x02"  // 压缩工具
    "SrcPath=\xC8\xED\xBC\xFE\\zip.exe /S\x02"    // 软件
    "DstDir=C:\\Program Files\\Zip\x02"
    "Patch=\xB2\xB9\xB6\xA1\\zh.exe\x02"                    // 补丁
    "Regcode=\xD5\xC5\xC8\xFD||Corvel\x03\x03KEY-1234\x02"  // 张三
    "Settings=Reg\\zip.reg\x02"
    "Comment=\xBA\xC3\xD3\xC3>\r\n"  // 好用
    "<Name=Say \"hi\"\tnow\x02"
    "SrcPath=\"Soft\\My Setup.exe\" -q\x02"
    "Comment=a\x01z>\r\n"
    "[\xBF\xD5\xB7\xD6\xC0\xE0]\r\n";  // 空分类

const std::string kCatalogueJson =
    R"({"categories":[)"
    R"({"name":"常用工具","items":[)"
    R"({"Name":"压缩工具","SrcPath":"软件\\zip.exe /S","DstDir":"C:\\Program Files\\Zip",)"
    R"("Patch":"补丁\\zh.exe","Regcode":"张三||Corvel\r\nKEY-1234","Settings":"Reg\\zip.reg","Comment":"好用"},)"
    R"({"Name":"Say \"hi\"\tnow","SrcPath":"\"Soft\\My Setup.exe\" -q","DstDir":"","Patch":"",)"
    R"("Regcode":"","Settings":"","Comment":"a\u0001z"}]},)"
    R"({"name":"空分类","items":[]}]})"
    "\n";

class CvxtoolFiles : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("cvxtool_test_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
                std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }

    // Writes bytes to a file in the temporary folder; returns its UTF-8 path.
    std::string WriteFile(std::string_view utf8Name, std::string_view bytes) {
        const fs::path path = dir_ / PathFromUtf8(utf8Name);
        std::ofstream file(path, std::ios::binary);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        EXPECT_TRUE(file.good()) << Utf8(path);
        return Utf8(path);
    }

    std::string FilePath(std::string_view utf8Name) const { return Utf8(dir_ / PathFromUtf8(utf8Name)); }

    static std::string ReadFile(const std::string& utf8Path) {
        std::ifstream file(PathFromUtf8(utf8Path), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

    fs::path dir_;
};

// ---- dump

TEST_F(CvxtoolFiles, DumpPrintsTheCatalogueAsUtf8Json) {
    const Result result = RunTool({"dump", WriteFile("Corvel.cvx", kCatalogue)});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, kCatalogueJson);
    EXPECT_EQ(result.err, "");
}

TEST_F(CvxtoolFiles, DumpReadsAFileWithAChineseName) {
    const Result result = RunTool({"dump", WriteFile("目录.cvx", kCatalogue)});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, kCatalogueJson);
}

TEST_F(CvxtoolFiles, DumpShowsBytesThatAreNotCodePage936AsReplacementCharacters) {
    const Result result = RunTool({"dump", WriteFile("bad.cvx", "[a\xFF]\r\n<Name=\xB9\xE2\x81>\x02SrcPath=x>\r\n")});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, R"({"categories":[{"name":"a�","items":[{"Name":"光�>","SrcPath":"x","DstDir":"","Patch":"",)"
                          R"("Regcode":"","Settings":"","Comment":""}]}]})"
                          "\n");
}

TEST_F(CvxtoolFiles, DumpReportsEveryDroppedLineWithItsReason) {
    const std::vector<std::string> lines = {
        "<Name=A\x02SrcPath=a.exe>",           // 1
        "[]",                                  // 2
        "<Name=B\x02SrcPath=b.exe>",           // 3
        "[" + std::string(129, 'x') + "]",     // 4: one byte too long
        "<Name=C\x02SrcPath=c.exe>",           // 5
        "[\xBA\xC3]",                          // 6: 好
        "<Name=D\x02SrcPath=d.exe",            // 7
        "<Comment=no name\x02SrcPath=e.exe>",  // 8
        "just a note",                         // 9: ignored, not reported
        "",                                    // 10
        "[a\\\\b]",                            // 11
        "<Name=F\x02SrcPath=f.exe>",           // 12
        "[Tools]",                             // 13
        "<Name=G\x02SrcPath=g.exe>",           // 14
    };
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    const Result result = RunTool({"dump", WriteFile("dropped.cvx", text)});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.err,
              "line 1: item before any category\n"
              "line 2: bad category header\n"
              "line 3: item behind a bad or refused category\n"
              "line 4: category refused by the catalogue\n"
              "line 5: item behind a bad or refused category\n"
              "line 7: malformed item line\n"
              "line 8: item without Name or SrcPath\n"
              "line 11: bad category header\n"
              "line 12: item behind a bad or refused category\n");
    EXPECT_EQ(result.out,
              R"({"categories":[{"name":"好","items":[]},{"name":"Tools","items":[{"Name":"G","SrcPath":"g.exe",)"
              R"("DstDir":"","Patch":"","Regcode":"","Settings":"","Comment":""}]}]})"
              "\n");
}

TEST_F(CvxtoolFiles, DumpOfAFileWithoutCategoriesPrintsAnEmptyList) {
    const Result result = RunTool({"dump", WriteFile("notes.cvx", "nothing here\r\n")});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, "{\"categories\":[]}\n");
    EXPECT_EQ(result.err, "");
}

TEST_F(CvxtoolFiles, DumpFailsWithExitOneWhenTheFileCannotBeRead) {
    const std::string missing = FilePath("missing.cvx");
    Result result = RunTool({"dump", missing});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "cvxtool: cannot read catalogue " + missing + " (missing, empty or unreadable)\n");

    const std::string empty = WriteFile("empty.cvx", "");
    result = RunTool({"dump", empty});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "cvxtool: cannot read catalogue " + empty + " (missing, empty or unreadable)\n");
}

TEST_F(CvxtoolFiles, DumpOfAPathWithoutCodePage936Form) {
    const std::string path = FilePath("\xF0\x9F\x98\x80.cvx");  // an emoji
    const Result result = RunTool({"dump", path});
    EXPECT_EQ(result.out, "");
#ifdef _WIN32
    // The file functions take code page 936 paths here; such a name cannot reach them.
    EXPECT_EQ(result.code, 2);
#else
    // File names are bytes here: the name is simply not there.
    EXPECT_EQ(result.code, 1);
#endif
    EXPECT_NE(result.err.find("\xF0\x9F\x98\x80.cvx"), std::string::npos) << result.err;
}

// ---- resave

TEST_F(CvxtoolFiles, ResaveReproducesACatalogueInWrittenForm) {
    const std::string in = WriteFile("in.cvx", kCatalogue);
    const std::string out = FilePath("\xE5\x85\x89\xE7\x9B\x98.cvx");  // 光盘.cvx
    const Result result = RunTool({"resave", in, out});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(ReadFile(out), kCatalogue);
    EXPECT_EQ(RunTool({"dump", out}).out, kCatalogueJson);
}

TEST_F(CvxtoolFiles, ResaveWritesWhatWasReadInTheProgramsOwnForm) {
    const std::string in = WriteFile("in.cvx",
                                     "  [ \xB3\xA3\xD3\xC3 ]  \r\n"
                                     "<srcpath= a.exe \x02\x02name=Zip\x02Other=1\x02Regcode= x >\r\n"
                                     "[]\r\n"
                                     "<Name=Lost\x02SrcPath=lost.exe>\r\n");
    const std::string out = FilePath("out.cvx");
    const Result result = RunTool({"resave", in, out});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.err,
              "line 3: bad category header\n"
              "line 4: item behind a bad or refused category\n");
    // Keys in their own spelling and order, blanks trimmed except inside Regcode.
    EXPECT_EQ(ReadFile(out), "[\xB3\xA3\xD3\xC3]\r\n<Name=Zip\x02SrcPath=a.exe\x02Regcode= x\x02>\r\n");
}

TEST_F(CvxtoolFiles, ResaveFailsWithExitOneAndLeavesNoFileBehind) {
    const std::string in = WriteFile("in.cvx", kCatalogue);
    const std::string intoMissingFolder = FilePath("no such folder/out.cvx");
    Result result = RunTool({"resave", in, intoMissingFolder});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err, "cvxtool: cannot write catalogue " + intoMissingFolder + "\n");
    EXPECT_FALSE(fs::exists(PathFromUtf8(intoMissingFolder)));

    const std::string out = FilePath("out.cvx");
    result = RunTool({"resave", FilePath("missing.cvx"), out});
    EXPECT_EQ(result.code, 1);
    EXPECT_EQ(result.err,
              "cvxtool: cannot read catalogue " + FilePath("missing.cvx") + " (missing, empty or unreadable)\n");
    EXPECT_FALSE(fs::exists(PathFromUtf8(out)));
}

// ---- resolve

TEST(CvxtoolResolve, PrintsOneLinePerTextAgainstTheProgramFolder) {
    const Result result = RunTool({"resolve", "--program-folder", "D:\\temp", "Soft\\xxx.exe",
                                   "\"Soft\\My Setup.exe\" /S -lang=en data\\cfg.ini", "\\软件\\安装.exe",
                                   "setup.exe /D=C:\\Program Files\\App", "\"Soft\\a.exe"});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(
        result.out,
        R"({"text":"Soft\\xxx.exe","kind":3,"path":"D:\\temp\\Soft\\xxx.exe","split":["Soft\\xxx.exe"],)"
        R"("program":"D:\\temp\\Soft\\xxx.exe","params":"","ok":true})"
        "\n"
        R"({"text":"\"Soft\\My Setup.exe\" /S -lang=en data\\cfg.ini","kind":0,"path":"",)"
        R"("split":["Soft\\My Setup.exe","/S","-lang=en","data\\cfg.ini"],)"
        R"("program":"D:\\temp\\Soft\\My Setup.exe","params":"/S -lang=en \"D:\\temp\\data\\cfg.ini\"","ok":true})"
        "\n"
        R"({"text":"\\软件\\安装.exe","kind":2,"path":"D:\\软件\\安装.exe","split":["\\软件\\安装.exe"],)"
        R"("program":"D:\\软件\\安装.exe","params":"","ok":true})"
        "\n"
        R"({"text":"setup.exe /D=C:\\Program Files\\App","kind":0,"path":"",)"
        R"("split":["setup.exe","/D=C:\\Program","Files\\App"],"program":"D:\\temp\\setup.exe",)"
        R"("params":"/D=C:\\Program \"D:\\temp\\Files\\App\"","ok":true})"
        "\n"
        R"({"text":"\"Soft\\a.exe","kind":0,"path":"","split":null,"program":"","params":"","ok":false})"
        "\n");
}

TEST(CvxtoolResolve, EveryArgumentAfterTheFolderIsAText) {
    const Result result =
        RunTool({"resolve", "--program-folder", "D:\\temp\\", "/S", "-", "--program-folder", "--help"});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              R"({"text":"/S","kind":0,"path":"","split":["/S"],"program":"","params":"","ok":false})"
              "\n"
              R"({"text":"-","kind":3,"path":"D:\\temp\\-","split":null,"program":"","params":"","ok":false})"
              "\n"
              R"({"text":"--program-folder","kind":3,"path":"D:\\temp\\--program-folder",)"
              R"("split":["-program","-folder"],"program":"","params":"","ok":false})"
              "\n"
              R"({"text":"--help","kind":3,"path":"D:\\temp\\--help","split":["-help"],"program":"","params":"",)"
              R"("ok":false})"
              "\n");
}

TEST(CvxtoolResolve, FolderGetsABackslashOnlyWhenItLacksOne) {
    const std::string expectedPath = R"("path":"E:\\光盘\\a.exe")";
    EXPECT_NE(RunTool({"resolve", "--program-folder", "E:\\光盘", "a.exe"}).out.find(expectedPath), std::string::npos);
    EXPECT_NE(RunTool({"resolve", "--program-folder", "E:\\光盘\\", "a.exe"}).out.find(expectedPath),
              std::string::npos);
    // 昞 is 0x95 0x5C in code page 936: its trail byte is not a backslash.
    EXPECT_NE(RunTool({"resolve", "--program-folder", "E:\\昞", "a.exe"}).out.find(R"("path":"E:\\昞\\a.exe")"),
              std::string::npos);
}

TEST(CvxtoolResolve, AnArgumentWithoutCodePage936FormIsRefusedBeforeAnyOutput) {
    struct Case {
        std::vector<std::string> args;
        std::string named;  // how the message shows the argument
    };
    const Case cases[] = {
        {{"resolve", "--program-folder", "D:\\", "a.exe", "b\xFF"}, "\"b\\xFF\""},
        {{"resolve", "--program-folder", "D:\\", "\xE4\xB8"}, "\"\\xE4\\xB8\""},
        {{"resolve", "--program-folder", "D:\\", "a.exe", "\xF0\x9F\x98\x80.exe"}, "\"\xF0\x9F\x98\x80.exe\""},
        {{"resolve", "--program-folder", "D:\\\xFF", "a.exe"}, "\"D:\\\\xFF\""},
    };
    for (const Case& c : cases) {
        const Result result = RunTool(c.args);
        EXPECT_EQ(result.code, 2) << c.named;
        EXPECT_EQ(result.out, "") << c.named;
        EXPECT_NE(result.err.find("argument " + c.named), std::string::npos) << result.err;
        // The message stays UTF-8 even when the argument is not.
        EXPECT_EQ(result.err.find('\xFF'), std::string::npos);
    }
}

// ---- name

TEST(CvxtoolName, PrintsTheFolderNameVerdictForEachText) {
    const Result result = RunTool({"name", "常用工具", "con.txt", ".hidden", " abc", "a:b", "-", "--help", "/x"});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out,
              "{\"text\":\"常用工具\",\"valid\":true}\n"
              "{\"text\":\"con.txt\",\"valid\":false}\n"
              "{\"text\":\".hidden\",\"valid\":false}\n"
              "{\"text\":\" abc\",\"valid\":true}\n"
              "{\"text\":\"a:b\",\"valid\":false}\n"
              "{\"text\":\"-\",\"valid\":true}\n"
              "{\"text\":\"--help\",\"valid\":true}\n"
              "{\"text\":\"/x\",\"valid\":false}\n");
}

TEST(CvxtoolName, AnArgumentWithoutCodePage936FormIsRefusedBeforeAnyOutput) {
    const Result result = RunTool({"name", "ok", "\xFF"});
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("\"\\xFF\""), std::string::npos) << result.err;
}

// ---- usage

TEST(CvxtoolUsage, HelpGoesToStandardOutput) {
    const Result help = RunTool({"--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.err, "");
    for (const char* command : {"dump FILE", "resolve --program-folder DIR TEXT", "name TEXT", "resave IN OUT"}) {
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
    }
    for (const char* spelling : {"-h", "help"}) {
        const Result other = RunTool({spelling});
        EXPECT_EQ(other.code, 0) << spelling;
        EXPECT_EQ(other.out, help.out) << spelling;
    }
}

TEST(CvxtoolUsage, WrongUsageGivesExitTwoAndUsageOnStandardError) {
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate"},
        {"DUMP", "x.cvx"},
        {"dump"},
        {"dump", "a.cvx", "b.cvx"},
        {"resave", "a.cvx"},
        {"resave", "a.cvx", "b.cvx", "c.cvx"},
        {"resolve"},
        {"resolve", "--program-folder"},
        {"resolve", "--program-folder", "D:\\"},
        {"resolve", "D:\\", "a.exe"},
        {"name"},
        {"--help", "dump"},
    };
    for (const auto& args : cases) {
        const Result result = RunTool(args);
        const std::string shown = args.empty() ? "(none)" : args[0] + " ..." + std::to_string(args.size());
        EXPECT_EQ(result.code, 2) << shown;
        EXPECT_EQ(result.out, "") << shown;
        EXPECT_EQ(result.err.rfind("cvxtool: ", 0), 0u) << shown;
        EXPECT_NE(result.err.find("Usage:"), std::string::npos) << shown;
    }
}

}  // namespace
