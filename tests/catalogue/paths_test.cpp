#include "catalogue/paths.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvel {
namespace {

// Two GBK characters whose trail bytes share their codes with "\" and "|".
// Literals are split after them so the next character is not read as hex.
#define BS_TRAIL "\x81\x5C"
#define BAR_TRAIL "\x81\x7C"

using Tokens = std::vector<std::string>;

Tokens Split(std::string_view text, bool* ok = nullptr) {
    Tokens tokens;
    bool result = SplitCommand(text, tokens);
    if (ok) *ok = result;
    return tokens;
}

TEST(ClassifyPath, Kinds) {
    EXPECT_EQ(ClassifyPath("E:\\Soft\\a.exe"), PathKind::Absolute);
    EXPECT_EQ(ClassifyPath("e:\\"), PathKind::Absolute);
    EXPECT_EQ(ClassifyPath("\\Soft\\a.exe"), PathKind::DriveRelative);
    EXPECT_EQ(ClassifyPath("\\"), PathKind::DriveRelative);
    EXPECT_EQ(ClassifyPath("Soft\\a.exe"), PathKind::FolderRelative);
    EXPECT_EQ(ClassifyPath("Soft\\"), PathKind::FolderRelative);
    EXPECT_EQ(ClassifyPath("Soft\\My Setup.exe"), PathKind::FolderRelative);
    EXPECT_EQ(ClassifyPath("a..b\\c"), PathKind::FolderRelative);

    // Every kind of leading white space goes; trailing white space stays.
    EXPECT_EQ(ClassifyPath(" \t\r\n\v\fE:\\a.exe"), PathKind::Absolute);
    EXPECT_EQ(ClassifyPath("\r\\a.exe"), PathKind::DriveRelative);
    EXPECT_EQ(ClassifyPath("a.exe \r\n"), PathKind::FolderRelative);

    // The drive colon.
    EXPECT_EQ(ClassifyPath("C:"), PathKind::Invalid);
    EXPECT_EQ(ClassifyPath("C:x.exe"), PathKind::Invalid);
    EXPECT_EQ(ClassifyPath("a:b"), PathKind::Invalid);
    EXPECT_EQ(ClassifyPath("1:\\x.exe"), PathKind::Invalid);
    EXPECT_EQ(ClassifyPath("E:\\a:b"), PathKind::Invalid);
    EXPECT_EQ(ClassifyPath(":\\x"), PathKind::Invalid);
    EXPECT_EQ(ClassifyPath("\\:x"), PathKind::Invalid);
}

TEST(ClassifyPath, RefusedCharactersAndDots) {
    EXPECT_EQ(ClassifyPath(""), PathKind::Invalid);
    EXPECT_EQ(ClassifyPath(" \t "), PathKind::Invalid);
    EXPECT_EQ(ClassifyPath(".\\x.exe"), PathKind::Invalid);
    EXPECT_EQ(ClassifyPath("..\\x.exe"), PathKind::Invalid);
    EXPECT_EQ(ClassifyPath("  .x"), PathKind::Invalid);
    for (const char* bad : {"a\tb", "a\"b", "a*b", "Soft/x.exe", "a<b", "a>b", "x?.exe", "a|b"}) {
        EXPECT_EQ(ClassifyPath(bad), PathKind::Invalid) << bad;
    }
    EXPECT_EQ(ClassifyPath("Soft\\..\\x.exe"), PathKind::Invalid);
    EXPECT_EQ(ClassifyPath("Soft\\.x"), PathKind::Invalid);
    EXPECT_EQ(ClassifyPath("Soft\\ x.exe"), PathKind::Invalid);
    EXPECT_EQ(ClassifyPath("\\\\server\\share\\x.exe"), PathKind::Invalid);
    EXPECT_EQ(ClassifyPath("E:\\\\x"), PathKind::Invalid);
    EXPECT_EQ(ClassifyPath("Soft\\\\"), PathKind::Invalid);
}

TEST(ClassifyPath, DeviceNameComponents) {
    for (const char* bad : {"Soft\\con\\x.exe", "Soft\\Aux.txt", "lpt1.log", "E:\\NUL", "\\prn.txt\\a.exe", "cOm3",
                            "Soft\\CLOCK$", "Soft\\nul.", "  con"}) {
        EXPECT_EQ(ClassifyPath(bad), PathKind::Invalid) << bad;
    }
    EXPECT_EQ(ClassifyPath("Soft\\con1.exe"), PathKind::FolderRelative);
    EXPECT_EQ(ClassifyPath("Soft\\com10.exe"), PathKind::FolderRelative);
    EXPECT_EQ(ClassifyPath("console\\aux_1"), PathKind::FolderRelative);
    EXPECT_EQ(ClassifyPath("E:\\my con\\lpt"), PathKind::Absolute);
    // Trailing white space is part of the component, so it is no device.
    EXPECT_EQ(ClassifyPath("con "), PathKind::FolderRelative);
}

TEST(ClassifyPath, DoubleByteCharacters) {
    // The character tests see single bytes: trail byte 0x7C is a "|", and
    // trail byte 0x5C is a "\" when a blank, a dot or a backslash follows.
    EXPECT_EQ(ClassifyPath("Soft\\" BAR_TRAIL ".exe"), PathKind::Invalid);
    EXPECT_EQ(ClassifyPath("Soft\\" BS_TRAIL " x.exe"), PathKind::Invalid);
    EXPECT_EQ(ClassifyPath("Soft\\" BS_TRAIL ".exe"), PathKind::Invalid);
    EXPECT_EQ(ClassifyPath(BS_TRAIL "\\a.exe"), PathKind::Invalid);
    // Followed by anything else it passes.
    EXPECT_EQ(ClassifyPath("Soft\\" BS_TRAIL "a.exe"), PathKind::FolderRelative);
    EXPECT_EQ(ClassifyPath("E:\\" BS_TRAIL "\x81\x40\\a.exe"), PathKind::Absolute);
    // A leading character with trail byte 0x5C is no leading backslash.
    EXPECT_EQ(ClassifyPath(BS_TRAIL "a.exe"), PathKind::FolderRelative);

    // The device step splits at whole characters: the trail byte does not
    // start a new component, so "con" is not a component of its own here.
    EXPECT_EQ(ClassifyPath("Soft\\" BS_TRAIL "con"), PathKind::FolderRelative);
    EXPECT_EQ(ClassifyPath("Soft\\" BS_TRAIL "con\\x.exe"), PathKind::FolderRelative);
    EXPECT_EQ(ClassifyPath("Soft\\" BS_TRAIL "a\\con"), PathKind::Invalid);

    // A lead byte as the very last byte is an ordinary character.
    EXPECT_EQ(ClassifyPath("Soft\\a\x81"), PathKind::FolderRelative);
    EXPECT_EQ(ClassifyPath("\\\x81"), PathKind::DriveRelative);
    EXPECT_EQ(ClassifyPath("\x81"), PathKind::FolderRelative);
}

TEST(ResolvePath, AgainstProgramFolder) {
    const PathResolver r("D:\\temp\\");
    EXPECT_EQ(r.ResolvePath("Soft\\xxx.exe"), "D:\\temp\\Soft\\xxx.exe");
    EXPECT_EQ(r.ResolvePath("\\Soft\\xxx.exe"), "D:\\Soft\\xxx.exe");
    EXPECT_EQ(r.ResolvePath("E:\\Soft\\x.exe"), "E:\\Soft\\x.exe");
    EXPECT_EQ(r.ResolvePath("  Soft\\x.exe"), "D:\\temp\\Soft\\x.exe");
    EXPECT_EQ(r.ResolvePath(" \t\n E:\\x.exe"), "E:\\x.exe");
    EXPECT_EQ(r.ResolvePath("Soft\\con1.exe"), "D:\\temp\\Soft\\con1.exe");
    EXPECT_EQ(r.ResolvePath("Soft\\com10.exe"), "D:\\temp\\Soft\\com10.exe");
    EXPECT_EQ(r.ResolvePath("Soft\\"), "D:\\temp\\Soft\\");
    EXPECT_EQ(r.ResolvePath("Soft\\My Setup.exe"), "D:\\temp\\Soft\\My Setup.exe");
    EXPECT_EQ(r.ResolvePath("Soft\\x.exe  "), "D:\\temp\\Soft\\x.exe  ");
    // Only blanks, tabs and LF are skipped; a leading CR passes the
    // classifier but stays in the text.
    EXPECT_EQ(r.ResolvePath("\rSoft\\x.exe"), "D:\\temp\\\rSoft\\x.exe");
    EXPECT_EQ(r.ResolvePath("Soft\\" BS_TRAIL "a.exe"), "D:\\temp\\Soft\\" BS_TRAIL "a.exe");
    EXPECT_EQ(r.ResolvePath("\\" BS_TRAIL "con"), "D:\\" BS_TRAIL "con");

    for (const char* bad : {"", "   ", ".\\x.exe", "Soft\\..\\x.exe", "Soft\\ x.exe", "\\\\server\\share\\x.exe",
                            "Soft/x.exe", "C:x.exe", "C:", "a:b", "x?.exe", "Soft\\con\\x.exe", "Soft\\Aux.txt",
                            "lpt1.log", "Soft\\" BAR_TRAIL ".exe", "Soft\\" BS_TRAIL " x.exe"}) {
        EXPECT_EQ(r.ResolvePath(bad), "") << bad;
    }

    const PathResolver noFolder("");
    EXPECT_EQ(noFolder.ResolvePath("E:\\x.exe"), "");
    EXPECT_EQ(noFolder.ResolvePath("Soft\\x.exe"), "");
}

TEST(ResolvePath, NetworkProgramFolder) {
    const PathResolver r("\\\\srv\\share\\");
    EXPECT_EQ(r.ResolvePath("Soft\\x.exe"), "\\\\srv\\share\\Soft\\x.exe");
    // The "drive" of a share is its two leading backslashes.
    EXPECT_EQ(r.ResolvePath("\\Soft\\x.exe"), "\\\\\\Soft\\x.exe");
    EXPECT_EQ(r.ResolvePath("E:\\x.exe"), "E:\\x.exe");
    EXPECT_EQ(r.FolderOfPath("\\x.exe"), "\\\\");
}

TEST(SplitCommand, Tokens) {
    bool ok = false;
    EXPECT_EQ(Split("\"Soft\\My Setup.exe\" /S -lang=en data\\cfg.ini", &ok),
              (Tokens{"Soft\\My Setup.exe", "/S", "-lang=en", "data\\cfg.ini"}));
    EXPECT_TRUE(ok);
    EXPECT_EQ(Split("setup.exe /D=C:\\Program Files\\App"), (Tokens{"setup.exe", "/D=C:\\Program", "Files\\App"}));
    EXPECT_EQ(Split("a.exe \"/D=C:\\Program Files\""), (Tokens{"a.exe", "/D=C:\\Program Files"}));

    // Blanks, tabs and LF separate tokens; only blanks end a plain token.
    EXPECT_EQ(Split(" \t\n a.exe \t\n/S \n"), (Tokens{"a.exe", "/S"}));
    EXPECT_EQ(Split("a.exe\tb\nc d"), (Tokens{"a.exe\tb\nc", "d"}));
    EXPECT_EQ(Split("a-b/c.exe"), (Tokens{"a-b/c.exe"}));

    // A flag ends at a dash, slash, quote or blank, but not at a tab or LF.
    EXPECT_EQ(Split("x /a-b"), (Tokens{"x", "/a", "-b"}));
    EXPECT_EQ(Split("x --x"), (Tokens{"x", "-x"}));
    EXPECT_EQ(Split("x //y -/z"), (Tokens{"x", "/y", "/z"}));
    EXPECT_EQ(Split("x /S\tq"), (Tokens{"x", "/S\tq"}));
    EXPECT_EQ(Split("x /S\t-q"), (Tokens{"x", "/S\t", "-q"}));
    EXPECT_EQ(Split("x /D=\"C:\\a b\""), (Tokens{"x", "/D=", "C:\\a b"}));

    // Empty, "-" and "/" tokens are dropped, quoted or not.
    EXPECT_EQ(Split("a.exe \"\" - / \"-\" \"/\" b"), (Tokens{"a.exe", "b"}));
    // Quotes end a plain token and need no blank around them.
    EXPECT_EQ(Split("a\"b c\"d"), (Tokens{"a", "b c", "d"}));
    EXPECT_EQ(Split("\"a\"\"b\""), (Tokens{"a", "b"}));

    // Double-byte characters whose trail bytes look like "\" or "|" stay
    // inside their token; a quote after a stray lead byte still closes.
    EXPECT_EQ(Split(BS_TRAIL BAR_TRAIL ".exe /S"), (Tokens{BS_TRAIL BAR_TRAIL ".exe", "/S"}));
    EXPECT_EQ(Split("\"a\x81\" b\x81"), (Tokens{"a\x81", "b\x81"}));
}

TEST(SplitCommand, Failures) {
    bool ok = true;
    EXPECT_TRUE(Split("", &ok).empty());
    EXPECT_FALSE(ok);
    ok = true;
    Split(" \t\n", &ok);
    EXPECT_FALSE(ok);
    ok = true;
    Split("\"\" - / --", &ok);
    EXPECT_FALSE(ok);
    ok = true;
    Split("\"\"", &ok);
    EXPECT_FALSE(ok);

    // An unclosed quote fails the whole split and leaves no tokens behind,
    // even ones read before it or held by the caller.
    Tokens tokens{"stale"};
    EXPECT_FALSE(SplitCommand("a.exe /S \"Soft\\a.exe", tokens));
    EXPECT_TRUE(tokens.empty());
    EXPECT_FALSE(SplitCommand("\"Soft\\a.exe", tokens));
    tokens = {"stale"};
    EXPECT_TRUE(SplitCommand("b.exe", tokens));
    EXPECT_EQ(tokens, (Tokens{"b.exe"}));
}

TEST(ProgramPathOfCommand, FirstToken) {
    const PathResolver r("D:\\temp\\");
    EXPECT_EQ(r.ProgramPathOfCommand("\"Soft\\My Setup.exe\" /S", false), "Soft\\My Setup.exe");
    EXPECT_EQ(r.ProgramPathOfCommand("\"Soft\\My Setup.exe\" /S", true), "D:\\temp\\Soft\\My Setup.exe");
    EXPECT_EQ(r.ProgramPathOfCommand("\\Soft\\a.exe x.ini", true), "D:\\Soft\\a.exe");
    // Unresolved, an invalid path comes back for the caller to classify.
    EXPECT_EQ(r.ProgramPathOfCommand("Soft/a.exe", false), "Soft/a.exe");
    EXPECT_EQ(r.ProgramPathOfCommand("Soft/a.exe", true), "");
    // Leading empty tokens and lone dashes are skipped before the first one.
    EXPECT_EQ(r.ProgramPathOfCommand("\"\" - a.exe", false), "a.exe");

    EXPECT_EQ(r.ProgramPathOfCommand("/S a.exe", false), "");
    EXPECT_EQ(r.ProgramPathOfCommand("-x", true), "");
    EXPECT_EQ(r.ProgramPathOfCommand("\"/S\" a.exe", false), "");
    EXPECT_EQ(r.ProgramPathOfCommand("\"Soft\\a.exe", false), "");
    EXPECT_EQ(r.ProgramPathOfCommand("", false), "");
}

struct CommandCase {
    const char* command;
    bool ok;
    const char* program;
    const char* params;
};

void ExpectResolved(const PathResolver& resolver, std::initializer_list<CommandCase> cases) {
    for (const CommandCase& c : cases) {
        ResolvedCommand resolved = resolver.ResolveCommand(c.command);
        EXPECT_EQ(resolved.ok, c.ok) << c.command;
        EXPECT_EQ(resolved.program, c.program) << c.command;
        EXPECT_EQ(resolved.params, c.params) << c.command;
    }
}

TEST(ResolveCommand, ProgramAndParameters) {
    ExpectResolved(PathResolver("D:\\temp\\"),
                   {
                       {"\"Soft\\My Setup.exe\" /S -lang=en data\\cfg.ini", true, "D:\\temp\\Soft\\My Setup.exe",
                        "/S -lang=en \"D:\\temp\\data\\cfg.ini\""},
                       {"setup.exe /D=C:\\Program Files\\App", true, "D:\\temp\\setup.exe",
                        "/D=C:\\Program \"D:\\temp\\Files\\App\""},
                       // A quoted flag is copied without its quotes.
                       {"setup.exe \"/D=C:\\Program Files\"", true, "D:\\temp\\setup.exe", "/D=C:\\Program Files"},
                       // Drive-relative and absolute parameters; blanks collapse to one.
                       {"\\bin\\a.exe   \\data\\x.ini \t E:\\y.reg   /q", true, "D:\\bin\\a.exe",
                        "\"D:\\data\\x.ini\" \"E:\\y.reg\" /q"},
                       // A tab inside a flag stays there.
                       {"a.exe /S\t-q", true, "D:\\temp\\a.exe", "/S\t -q"},
                       // An invalid parameter becomes two quotes; an invalid program still
                       // succeeds with an empty program path.
                       {"a.exe Soft\\..\\x.ini /S con", true, "D:\\temp\\a.exe", "\"\" /S \"\""},
                       {"Soft\\con\\a.exe /S", true, "", "/S"},
                       {"  a.exe  ", true, "D:\\temp\\a.exe", ""},
                       {BS_TRAIL "a.exe " BAR_TRAIL ".ini", true, "D:\\temp\\" BS_TRAIL "a.exe", "\"\""},
                   });
}

TEST(ResolveCommand, Failures) {
    const PathResolver r("D:\\temp\\");
    for (const char* bad :
         {"", "   ", "\"Soft\\a.exe", "a.exe \"x", "/S", "/S a.exe", "-x a.exe", "\"-x\" a.exe", "\"\" - /"}) {
        ResolvedCommand c = r.ResolveCommand(bad);
        EXPECT_FALSE(c.ok) << bad;
        EXPECT_EQ(c.program, "") << bad;
        EXPECT_EQ(c.params, "") << bad;
    }

    // Without a program folder every path resolves to empty, yet the
    // command itself is well formed.
    ExpectResolved(PathResolver(""), {{"a.exe x.ini /S", true, "", "\"\" /S"}});
    ExpectResolved(PathResolver("\\\\srv\\share\\"),
                   {{"\\tools\\a.exe \\d\\c.ini", true, "\\\\\\tools\\a.exe", "\"\\\\\\d\\c.ini\""}});
}

TEST(FolderOfPath, CutsAtLastBackslash) {
    const PathResolver r("D:\\temp\\");
    EXPECT_EQ(r.FolderOfPath("Soft\\x.exe"), "D:\\temp\\Soft");
    EXPECT_EQ(r.FolderOfPath("Soft\\"), "D:\\temp\\Soft");
    EXPECT_EQ(r.FolderOfPath("x.exe"), "D:\\temp");
    // A program at a drive's root starts there, not in the drive's current folder.
    EXPECT_EQ(r.FolderOfPath("\\x.exe"), "D:\\");
    EXPECT_EQ(r.FolderOfPath("E:\\x.exe"), "E:\\");
    EXPECT_EQ(r.FolderOfPath("  E:\\a\\b c\\x.exe"), "E:\\a\\b c");
    EXPECT_EQ(r.FolderOfPath("Soft\\..\\x.exe"), "");
    EXPECT_EQ(r.FolderOfPath(""), "");
    // Whole characters: a trail byte 0x5C is no backslash here.
    EXPECT_EQ(r.FolderOfPath("E:\\" BS_TRAIL "x.exe"), "E:\\");
    EXPECT_EQ(r.FolderOfPath("E:\\a\\" BS_TRAIL), "E:\\a");
    EXPECT_EQ(r.FolderOfPath("E:\\a\\b\x81"), "E:\\a");

    // A path resolved already is taken as it is: resolving it again would
    // refuse a share's path and a name that begins with "." or a blank.
    EXPECT_EQ(FolderOfResolvedPath("\\\\srv\\share\\Tools\\x.exe"), "\\\\srv\\share\\Tools");
    EXPECT_EQ(FolderOfResolvedPath("D:\\.tools\\x.exe"), "D:\\.tools");
    EXPECT_EQ(FolderOfResolvedPath("D:\\ a\\x.exe"), "D:\\ a");
    EXPECT_EQ(FolderOfResolvedPath("E:\\x.exe"), "E:\\");
    EXPECT_EQ(r.FolderOfPath("\\\\srv\\share\\Tools\\x.exe"), "");

    // A folder without a backslash leaves a resolved path that has none.
    const PathResolver bare("D:");
    EXPECT_EQ(bare.ResolvePath("x.exe"), "D:x.exe");
    EXPECT_EQ(bare.FolderOfPath("x.exe"), "");
    EXPECT_EQ(bare.FolderOfPath("a\\x.exe"), "D:a");
}

TEST(PathText, ExtensionOfPath) {
    EXPECT_EQ(ExtensionOfPath("D:\\a.b\\setup"), "");
    EXPECT_EQ(ExtensionOfPath("setup.EXE"), "EXE");
    EXPECT_EQ(ExtensionOfPath("D:\\a.b\\data.tar.gz"), "gz");
    EXPECT_EQ(ExtensionOfPath("a."), "");
    EXPECT_EQ(ExtensionOfPath(".reg"), "reg");
    EXPECT_EQ(ExtensionOfPath("D:\\dir\\"), "");
    EXPECT_EQ(ExtensionOfPath(""), "");
    EXPECT_EQ(ExtensionOfPath("a.\x81\x40"), "\x81\x40");
    // Single bytes: a trail byte 0x5C ends the last component.
    EXPECT_EQ(ExtensionOfPath("a.txt" BS_TRAIL "b"), "");
    EXPECT_EQ(ExtensionOfPath("a." BS_TRAIL), "");
}

TEST(PathText, TrailingBackslashAndProgramFolder) {
    EXPECT_EQ(WithTrailingBackslash(""), "");
    EXPECT_EQ(WithTrailingBackslash("D:\\temp"), "D:\\temp\\");
    EXPECT_EQ(WithTrailingBackslash("D:\\temp\\"), "D:\\temp\\");
    EXPECT_EQ(WithTrailingBackslash("D:"), "D:\\");
    // A trailing double-byte character with trail byte 0x5C is no backslash.
    EXPECT_EQ(WithTrailingBackslash("D:\\" BS_TRAIL), "D:\\" BS_TRAIL "\\");
    EXPECT_EQ(WithTrailingBackslash("D:\\" BS_TRAIL "\\"), "D:\\" BS_TRAIL "\\");
    EXPECT_EQ(WithTrailingBackslash("D:\\a\x81"), "D:\\a\x81\\");

    EXPECT_EQ(ProgramFolderFromModulePath("D:\\temp\\Corvel.exe"), "D:\\temp\\");
    EXPECT_EQ(ProgramFolderFromModulePath("\\\\srv\\share\\Corvel.exe"), "\\\\srv\\share\\");
    EXPECT_EQ(ProgramFolderFromModulePath("Corvel.exe"), "");
    EXPECT_EQ(ProgramFolderFromModulePath(""), "");
    // Folder and file names holding a character with trail byte 0x5C.
    EXPECT_EQ(ProgramFolderFromModulePath("D:\\" BS_TRAIL "\\Corvel.exe"), "D:\\" BS_TRAIL "\\");
    EXPECT_EQ(ProgramFolderFromModulePath("D:\\temp\\" BS_TRAIL "Corvel.exe"), "D:\\temp\\");
    EXPECT_EQ(ProgramFolderFromModulePath("D:\\temp\\a\x81"), "D:\\temp\\");
}

TEST(PathText, DoubledBackslashesPastANetworkOrLongPathPrefix) {
    EXPECT_TRUE(HasDoubledBackslash("D:\\a\\\\b"));
    EXPECT_TRUE(HasDoubledBackslash("D:\\a\\\\"));
    EXPECT_FALSE(HasDoubledBackslash("D:\\a\\b\\"));
    // A folder on a NAS, and the long path forms.
    EXPECT_FALSE(HasDoubledBackslash("\\\\nas\\share\\CD"));
    EXPECT_FALSE(HasDoubledBackslash("\\\\?\\D:\\CD"));
    EXPECT_FALSE(HasDoubledBackslash("\\\\?\\UNC\\nas\\share\\CD"));
    // Past the prefix the rule holds, a third backslash included.
    EXPECT_TRUE(HasDoubledBackslash("\\\\nas\\share\\\\CD"));
    EXPECT_TRUE(HasDoubledBackslash("\\\\\\nas\\share"));
    EXPECT_TRUE(HasDoubledBackslash("\\\\?\\\\D:\\CD"));
    EXPECT_TRUE(HasDoubledBackslash("\\\\?\\D:\\\\CD"));
    // A trail byte 0x5C before a backslash is no backslash.
    EXPECT_FALSE(HasDoubledBackslash("D:\\" BS_TRAIL "\\x"));

    EXPECT_TRUE(IsNetworkPath("\\\\nas\\share"));
    for (const char* text : {"\\nas\\share", "\\\\", "\\\\\\nas", "D:\\nas", ""})
        EXPECT_FALSE(IsNetworkPath(text)) << text;
}

}  // namespace
}  // namespace corvel
