#include "catalogue/cp936.h"

#include <gtest/gtest.h>

#include <string>

namespace corvel {
namespace {

constexpr auto npos = std::string_view::npos;

TEST(Cp936, LeadBytesAndCharacterLength) {
    EXPECT_FALSE(IsLeadByte(0x00));
    EXPECT_FALSE(IsLeadByte(0x7F));
    EXPECT_FALSE(IsLeadByte(0x80));
    EXPECT_TRUE(IsLeadByte(0x81));
    EXPECT_TRUE(IsLeadByte(0xFE));
    EXPECT_FALSE(IsLeadByte(0xFF));

    EXPECT_EQ(CharLength("a\x81\x5C", 0), 1u);
    EXPECT_EQ(CharLength("a\x81\x5C", 1), 2u);
    EXPECT_EQ(CharLength("\xFE\x40", 0), 2u);
    EXPECT_EQ(CharLength("\xFF\x40", 0), 1u);
    EXPECT_EQ(CharLength("\x80\x40", 0), 1u);
    // A lead byte at the very end stands alone.
    EXPECT_EQ(CharLength("a\x81", 1), 1u);
}

TEST(Cp936, SearchesSkipTrailBytes) {
    // "\x81\x5C" is one character; its trail byte is not a backslash.
    EXPECT_EQ(FindChars("\x81\x5C\\", "\\"), 2u);
    EXPECT_EQ(FindChars("\x81\x5C", "\\"), npos);
    EXPECT_EQ(FindChars("a\\b\\c", "\\"), 1u);
    EXPECT_EQ(FindChars("a\\b\\c", "\\", 2), 3u);
    EXPECT_EQ(FindChars("a\\b", "\\", 3), npos);
    // Starting inside a character moves on to the next boundary.
    EXPECT_EQ(FindChars("\x81\x5C\x81\x5C", "\x5C", 1), npos);
    EXPECT_EQ(FindChars("x\x81\x41"
                        "A",
                        "\x41"),
              3u);
    EXPECT_EQ(FindChars("ab\x81\x40"
                        "cd",
                        "\x81\x40"
                        "c"),
              2u);
    EXPECT_EQ(FindChars("abc", "cd"), npos);
    EXPECT_EQ(FindChars("abc", "", 1), 1u);
    EXPECT_EQ(FindChars("abc", "", 4), npos);
    // Pairs are counted from the start: the third 0x81 is a lead byte again.
    EXPECT_EQ(FindChars("\x81\x81\x81\x5C\\", "\\"), 4u);

    EXPECT_EQ(FindLastChar("a\\b\\c", '\\'), 3u);
    EXPECT_EQ(FindLastChar("a\\"
                           "\x81\x5C",
                           '\\'),
              1u);
    EXPECT_EQ(FindLastChar("\x81\x7C", '|'), npos);
    EXPECT_EQ(FindLastChar("", '\\'), npos);
    EXPECT_EQ(FindLastChar("ab\x81", '\x81'), 2u);

    EXPECT_TRUE(EndsWithChar("a\\", '\\'));
    EXPECT_TRUE(EndsWithChar("\\", '\\'));
    EXPECT_TRUE(EndsWithChar("\x81\x5C\\", '\\'));
    EXPECT_TRUE(EndsWithChar("a\x81\x81\x5C", '\\'));
    EXPECT_FALSE(EndsWithChar("a\x81\x5C", '\\'));
    EXPECT_FALSE(EndsWithChar("\x81\x81\x81\x5C", '\\'));
    EXPECT_FALSE(EndsWithChar("", '\\'));
    EXPECT_FALSE(EndsWithChar("a\\b", '\\'));
}

TEST(Cp936, CaseFolding) {
    EXPECT_EQ(ToUpperAscii("con.txt"), "CON.TXT");
    EXPECT_EQ(ToUpperAscii("a\x81\x61z"), "A\x81\x61Z");
    EXPECT_EQ(ToUpperAscii("z\x81"), "Z\x81");
    EXPECT_EQ(ToUpperAscii("[`{@]"), "[`{@]");

    EXPECT_TRUE(EqualsIgnoreAsciiCase("Con", "cON"));
    EXPECT_TRUE(EqualsIgnoreAsciiCase("", ""));
    EXPECT_TRUE(
        EqualsIgnoreAsciiCase("a\x81\x41"
                              "b",
                              "A\x81\x41"
                              "B"));
    EXPECT_TRUE(EqualsIgnoreAsciiCase("x\x81", "X\x81"));
    EXPECT_FALSE(EqualsIgnoreAsciiCase("con", "con "));
    EXPECT_FALSE(EqualsIgnoreAsciiCase("[", "{"));
    // Trail bytes that look like letters are distinct characters.
    EXPECT_FALSE(EqualsIgnoreAsciiCase("\x81\x41", "\x81\x61"));
    EXPECT_FALSE(EqualsIgnoreAsciiCase("a\x81\x5A", "A\x81\x7A"));
    EXPECT_FALSE(EqualsIgnoreAsciiCase("\x81\x41", "a\x81"));
}

TEST(Cp936, Trimming) {
    EXPECT_EQ(TrimLeft(" \t\r\n\v\fa b \t", kWhiteSpace), "a b \t");
    EXPECT_EQ(TrimRight(" a b \t\r\n\v\f", kWhiteSpace), " a b");
    EXPECT_EQ(Trim("\t a b \n", kWhiteSpace), "a b");
    EXPECT_EQ(Trim(" \t\r\n\v\f", kWhiteSpace), "");
    EXPECT_EQ(TrimLeft("", kWhiteSpace), "");
    // The narrow set keeps CR, VT and FF.
    EXPECT_EQ(TrimLeft(" \t\n\ra", kBlankTabLf), "\ra");
    EXPECT_EQ(TrimRight("a\v \t\n", kBlankTabLf), "a\v");
    EXPECT_EQ(TrimLeft("\x81\x40 ", kWhiteSpace), "\x81\x40 ");
}

TEST(Cp936, TrimWhiteSpaceTrimsExactlyTheWhiteSpaceSet) {
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        const std::string text = std::string(2, c) + "a" + c + "b" + std::string(2, c);
        EXPECT_EQ(IsWhiteSpace(c), kWhiteSpace.find(c) != std::string_view::npos) << byte;
        EXPECT_EQ(TrimWhiteSpace(text), Trim(text, kWhiteSpace)) << byte;
    }
    EXPECT_EQ(TrimWhiteSpace(" \t\r\n\v\f"), "");
    EXPECT_EQ(TrimWhiteSpace(""), "");
}

}  // namespace
}  // namespace corvel
