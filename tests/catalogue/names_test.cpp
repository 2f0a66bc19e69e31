#include "catalogue/names.h"

#include <gtest/gtest.h>

#include <string>

namespace corvel {
namespace {

#define BS_TRAIL "\x81\x5C"
#define BAR_TRAIL "\x81\x7C"

TEST(MatchesDeviceName, CutAtFirstDotAnyCase) {
    for (std::string_view name : kDeviceNames) {
        std::string lower(name);
        for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        EXPECT_TRUE(MatchesDeviceName(name)) << name;
        EXPECT_TRUE(MatchesDeviceName(lower)) << lower;
        EXPECT_TRUE(MatchesDeviceName(lower + ".txt")) << lower;
    }
    for (const char* name : {"con", "Con.txt", "LPT1.log", "cLoCk$", "nUl.", "aux.a.b", "Com9"}) {
        EXPECT_TRUE(MatchesDeviceName(name)) << name;
    }
    for (const char* name :
         {"CON1", "COM10", "console", "AUX_1", "COM0", "LPT", "CLOCK", "", ".con", " con", "con ", "c.on",
          "\x81"
          "con",
          "con" BS_TRAIL}) {
        EXPECT_FALSE(MatchesDeviceName(name)) << name;
    }
}

TEST(IsValidFolderName, NameCheck) {
    for (const char* bad : {"CON", "con.txt", "Lpt9", "clock$", "nul.", "cOm1.dir", ".hidden", ".", "...", "", "   ",
                            " \t\r\n\v\f", " con", "\r\nCON", " .x"}) {
        EXPECT_FALSE(IsValidFolderName(bad)) << bad;
    }
    for (const char* good : {"CON1", "COM10", "conx", "my con", "a.", "a..b", " abc", "\t\r\n\v\fabc", "abc  "}) {
        EXPECT_TRUE(IsValidFolderName(good)) << good;
    }
    for (const char* bad : {"a:b", "a\\b", "a|b", "a\tb", "a\"b", "a*b", "a/b", "a<b", "a>b", "a?b", "ab\\", "|"}) {
        EXPECT_FALSE(IsValidFolderName(bad)) << bad;
    }
    // Whole characters: trail bytes 0x5C and 0x7C belong to their character.
    EXPECT_TRUE(IsValidFolderName(BS_TRAIL));
    EXPECT_TRUE(IsValidFolderName("a" BAR_TRAIL "b"));
    EXPECT_TRUE(IsValidFolderName(BS_TRAIL BAR_TRAIL ".dir"));
    EXPECT_FALSE(IsValidFolderName(BS_TRAIL "\\"));
    EXPECT_FALSE(IsValidFolderName(BAR_TRAIL "|"));
    // A lead byte as the last byte is one character of its own.
    EXPECT_TRUE(IsValidFolderName("abc\x81"));
    EXPECT_FALSE(IsValidFolderName("a|\x81"));
}

TEST(CheckDisplayNameEdit, Verdicts) {
    EXPECT_EQ(CheckDisplayNameEdit(std::nullopt), DisplayNameEdit::Cancelled);
    EXPECT_EQ(CheckDisplayNameEdit(""), DisplayNameEdit::Empty);
    EXPECT_EQ(CheckDisplayNameEdit(" abc"), DisplayNameEdit::LeadingBlank);
    EXPECT_EQ(CheckDisplayNameEdit("\tabc"), DisplayNameEdit::LeadingBlank);
    EXPECT_EQ(CheckDisplayNameEdit("\nabc"), DisplayNameEdit::LeadingBlank);
    EXPECT_EQ(CheckDisplayNameEdit(" "), DisplayNameEdit::LeadingBlank);
    // The leading-blank test comes before the reserved-byte test.
    EXPECT_EQ(CheckDisplayNameEdit(" a\x02"), DisplayNameEdit::LeadingBlank);
    EXPECT_EQ(CheckDisplayNameEdit("a\x02"
                                   "b"),
              DisplayNameEdit::ReservedCharacter);
    EXPECT_EQ(CheckDisplayNameEdit("\x02"), DisplayNameEdit::ReservedCharacter);
    EXPECT_EQ(CheckDisplayNameEdit("ab\x02"), DisplayNameEdit::ReservedCharacter);

    EXPECT_EQ(CheckDisplayNameEdit("My Setup"), DisplayNameEdit::Accept);
    EXPECT_EQ(CheckDisplayNameEdit("abc "), DisplayNameEdit::Accept);
    // Other white space at the front is kept, as long as a name follows.
    EXPECT_EQ(CheckDisplayNameEdit("\vabc"), DisplayNameEdit::Accept);
    EXPECT_EQ(CheckDisplayNameEdit("\fa b"), DisplayNameEdit::Accept);
    // Display names may hold anything but 0x02, devices and dots included.
    EXPECT_EQ(CheckDisplayNameEdit("CON"), DisplayNameEdit::Accept);
    EXPECT_EQ(CheckDisplayNameEdit(".a|b\\c:*?"), DisplayNameEdit::Accept);
    EXPECT_EQ(CheckDisplayNameEdit(BS_TRAIL BAR_TRAIL), DisplayNameEdit::Accept);

    EXPECT_EQ(IconFor(DisplayNameEdit::Empty), MessageIcon::Stop);
    EXPECT_EQ(IconFor(DisplayNameEdit::LeadingBlank), MessageIcon::Exclamation);
    EXPECT_EQ(IconFor(DisplayNameEdit::ReservedCharacter), MessageIcon::Stop);
}

TEST(CheckDisplayNameEdit, RefusesWhatTheCatalogueReaderWouldDropOrSplit) {
    // Only white space as the reader trims it reads back as no name at all.
    for (const char* blank : {"\v", "\f", "\r", "\v\f\v", "\r\n", "\f \t"}) {
        EXPECT_EQ(CheckDisplayNameEdit(blank), DisplayNameEdit::Empty) << static_cast<int>(blank[0]);
    }
    // A line break anywhere splits the item's line.
    for (const char* broken : {"A\r\nB", "A\rB", "A\nB", "AB\r", "AB\n", "\rAB", "\x81\x40\n"}) {
        EXPECT_EQ(CheckDisplayNameEdit(broken), DisplayNameEdit::ReservedCharacter) << broken;
    }
    // The old refusals keep their messages.
    EXPECT_EQ(CheckDisplayNameEdit(" \r"), DisplayNameEdit::LeadingBlank);
    EXPECT_EQ(CheckDisplayNameEdit("\n"), DisplayNameEdit::LeadingBlank);
    // Vertical tab and form feed inside a name split nothing.
    EXPECT_EQ(CheckDisplayNameEdit("A\vB\f"), DisplayNameEdit::Accept);
}

TEST(CheckFolderNameEdit, Verdicts) {
    EXPECT_EQ(CheckFolderNameEdit(std::nullopt), FolderNameEdit::Cancelled);
    EXPECT_EQ(CheckFolderNameEdit(""), FolderNameEdit::Empty);
    // The name check alone would accept " abc"; the edit refuses it first.
    ASSERT_TRUE(IsValidFolderName(" abc"));
    EXPECT_EQ(CheckFolderNameEdit(" abc"), FolderNameEdit::LeadingBlank);
    EXPECT_EQ(CheckFolderNameEdit("\tabc"), FolderNameEdit::LeadingBlank);
    EXPECT_EQ(CheckFolderNameEdit("\nabc"), FolderNameEdit::LeadingBlank);
    EXPECT_EQ(CheckFolderNameEdit(" con"), FolderNameEdit::LeadingBlank);
    // Other white space reaches the name check, which skips it.
    EXPECT_EQ(CheckFolderNameEdit("\rabc"), FolderNameEdit::Accept);
    EXPECT_EQ(CheckFolderNameEdit("\r"), FolderNameEdit::InvalidName);

    for (const char* bad : {"a:b", "a\\b", "a|b", "a\tb", "CON", "con.txt", "Lpt9", ".hidden", "nul.", "\rcon"}) {
        EXPECT_EQ(CheckFolderNameEdit(bad), FolderNameEdit::InvalidName) << bad;
    }
    for (const char* good : {"abc", "my con", "a.", "COM10", BS_TRAIL, "x" BAR_TRAIL}) {
        EXPECT_EQ(CheckFolderNameEdit(good), FolderNameEdit::Accept) << good;
    }

    EXPECT_EQ(IconFor(FolderNameEdit::Empty), MessageIcon::Stop);
    EXPECT_EQ(IconFor(FolderNameEdit::LeadingBlank), MessageIcon::Exclamation);
    EXPECT_EQ(IconFor(FolderNameEdit::InvalidName), MessageIcon::Stop);
}

}  // namespace
}  // namespace corvel
