// The same cases run natively (glibc iconv) and under Wine (the system
// converter), so a passing pair of runs means both platforms agree.
#include "catalogue/text_codec.h"

#include <gtest/gtest.h>

#include <string>

using corvel::Cp936ToUtf8;
using corvel::Utf8ToCp936;

namespace {

// Code page 936 bytes and UTF-8 of the same texts.
constexpr const char* kChineseGbk = "\xD6\xD0\xCE\xC4";           // 中文
constexpr const char* kChineseUtf8 = "\xE4\xB8\xAD\xE6\x96\x87";  // 中文
const std::string kFffd = "\xEF\xBF\xBD";

}  // namespace

TEST(TextCodec, AsciiPassesThroughUnchangedBothWays) {
    const std::string ascii = "Soft\\setup.exe /S\t\r\n\x01\x7F";
    EXPECT_EQ(Cp936ToUtf8(ascii), ascii);
    EXPECT_EQ(Utf8ToCp936(ascii), ascii);

    const std::string withNul("a\0b", 3);
    EXPECT_EQ(Cp936ToUtf8(withNul), withNul);
    EXPECT_EQ(Utf8ToCp936(withNul), withNul);

    EXPECT_EQ(Cp936ToUtf8(""), "");
    EXPECT_EQ(Utf8ToCp936(""), "");
}

TEST(TextCodec, ChineseConvertsBothWays) {
    EXPECT_EQ(Cp936ToUtf8(kChineseGbk), kChineseUtf8);
    EXPECT_EQ(Utf8ToCp936(kChineseUtf8), kChineseGbk);

    // Mixed with ASCII, and a trail byte equal to "\" (0x5C) kept inside its pair.
    const std::string gbk = std::string("D:\\") + kChineseGbk + "\\\x95\x5C" + ".exe";  // 昞 is 0x955C
    const std::string utf8 = std::string("D:\\") + kChineseUtf8 + "\\\xE6\x98\x9E.exe";
    EXPECT_EQ(Cp936ToUtf8(gbk), utf8);
    EXPECT_EQ(Utf8ToCp936(utf8), gbk);
}

TEST(TextCodec, CharactersWhereGbkTablesDifferFollowCodePage936) {
    // 0x80 is the euro sign in code page 936 (plain GBK has no such byte).
    EXPECT_EQ(Cp936ToUtf8("\x80"), "\xE2\x82\xAC");
    EXPECT_EQ(Utf8ToCp936("\xE2\x82\xAC"), "\x80");
    // Middle dot and em dash.
    EXPECT_EQ(Cp936ToUtf8("\xA1\xA4"), "\xC2\xB7");
    EXPECT_EQ(Cp936ToUtf8("\xA1\xAA"), "\xE2\x80\x94");
    EXPECT_EQ(Utf8ToCp936("\xC2\xB7"), "\xA1\xA4");
    EXPECT_EQ(Utf8ToCp936("\xE2\x80\x94"), "\xA1\xAA");
    // Fullwidth space.
    EXPECT_EQ(Cp936ToUtf8("\xA1\xA1"), "\xE3\x80\x80");
}

TEST(TextCodec, InvalidCp936BytesBecomeReplacementCharacters) {
    EXPECT_EQ(Cp936ToUtf8("\xFF"), kFffd);
    EXPECT_EQ(Cp936ToUtf8("a\xFF!"), "a" + kFffd + "!");

    // A lead byte alone at the end.
    EXPECT_EQ(Cp936ToUtf8("a\x81"), "a" + kFffd);
    EXPECT_EQ(Cp936ToUtf8(std::string(kChineseGbk) + "\xD6"), std::string(kChineseUtf8) + kFffd);

    // A lead byte whose partner does not make a pair loses only itself; the
    // partner is read again as the start of the next character.
    EXPECT_EQ(Cp936ToUtf8("\x81 A"), kFffd + " A");
    EXPECT_EQ(Cp936ToUtf8("\x81\x7F"), kFffd + "\x7F");
    EXPECT_EQ(Cp936ToUtf8("\x81\xFF"), kFffd + kFffd);
}

TEST(TextCodec, UserDefinedAreasAreNotConvertible) {
    // Windows maps these cells into the private use area, glibc refuses
    // them; both platforms must give the same answer.
    EXPECT_EQ(Cp936ToUtf8("\xAA\xA1"), kFffd + kFffd);                                // user-defined area 1
    EXPECT_EQ(Cp936ToUtf8("\xF8\xA1"), kFffd + kFffd);                                // user-defined area 2
    EXPECT_EQ(Cp936ToUtf8("\xA1\x40"), kFffd + "@");                                  // user-defined area 3
    EXPECT_EQ(Cp936ToUtf8(std::string("\xAA") + kChineseGbk), kFffd + kChineseUtf8);  // 0xAAD6 is user-defined
    EXPECT_EQ(Utf8ToCp936("\xEE\x80\x80"), std::nullopt);                             // U+E000
    EXPECT_EQ(Utf8ToCp936("\xEF\xA3\xB5"), std::nullopt);                             // U+F8F5
}

TEST(TextCodec, CharactersWithoutCp936FormGiveNothing) {
    EXPECT_EQ(Utf8ToCp936("\xF0\x9F\x98\x80"), std::nullopt);  // emoji U+1F600
    EXPECT_EQ(Utf8ToCp936(std::string(kChineseUtf8) + "\xF0\x9F\x98\x80"), std::nullopt);
    EXPECT_EQ(Utf8ToCp936("\xEA\xB0\x80"), std::nullopt);  // Hangul U+AC00
    EXPECT_EQ(Utf8ToCp936("\xC2\xA0"), std::nullopt);      // no-break space
    EXPECT_EQ(Utf8ToCp936("\xEF\xBF\xBD"), std::nullopt);  // U+FFFD itself
}

TEST(TextCodec, InvalidUtf8GivesNothing) {
    EXPECT_EQ(Utf8ToCp936("\xFF"), std::nullopt);
    EXPECT_EQ(Utf8ToCp936("a\x80"), std::nullopt);             // stray continuation byte
    EXPECT_EQ(Utf8ToCp936("\xE4\xB8"), std::nullopt);          // cut short at the end
    EXPECT_EQ(Utf8ToCp936("\xE4\xB8!"), std::nullopt);         // cut short in the middle
    EXPECT_EQ(Utf8ToCp936("\xC0\x80"), std::nullopt);          // overlong NUL
    EXPECT_EQ(Utf8ToCp936("\xC1\x81"), std::nullopt);          // overlong "A"
    EXPECT_EQ(Utf8ToCp936("\xED\xA0\x80"), std::nullopt);      // encoded surrogate
    EXPECT_EQ(Utf8ToCp936("\xF4\x90\x80\x80"), std::nullopt);  // beyond U+10FFFF
    // A code page 936 text is not UTF-8.
    EXPECT_EQ(Utf8ToCp936(kChineseGbk), std::nullopt);
}

TEST(TextCodec, EveryConvertiblePairRoundTrips) {
    int convertible = 0;
    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            const std::string utf8 = Cp936ToUtf8(pair);
            if (utf8.find(kFffd) != std::string::npos) continue;
            ++convertible;
            ASSERT_EQ(Utf8ToCp936(utf8), pair) << std::hex << lead << ' ' << trail;
        }
    }
    // The size of the table both platforms share.
    EXPECT_EQ(convertible, 21791);
}

TEST(TextCodec, NativePathForm) {
#ifdef _WIN32
    EXPECT_EQ(corvel::Utf8ToNativePath(std::string("C:\\") + kChineseUtf8), std::string("C:\\") + kChineseGbk);
    EXPECT_EQ(corvel::Utf8ToNativePath("C:\\\xF0\x9F\x98\x80"), std::nullopt);
    EXPECT_EQ(corvel::Utf8ToNativePath("\xFF"), std::nullopt);
#else
    // File names are bytes: even bytes that are not UTF-8 pass unchanged.
    EXPECT_EQ(corvel::Utf8ToNativePath(std::string("/tmp/") + kChineseUtf8), std::string("/tmp/") + kChineseUtf8);
    EXPECT_EQ(corvel::Utf8ToNativePath("/tmp/\xFF"), "/tmp/\xFF");
#endif
}
