#include "ui/category_dialog/category_name_check.h"

#include <gtest/gtest.h>

#include <string>

#include "catalogue/catalogue_file.h"
#include "catalogue/catalogue_model.h"

namespace corvel {
namespace {

const std::string kZhong = "\xD6\xD0";  // 中, two bytes
#define BS_TRAIL "\x81\x5C"             // a character whose trail byte is "\"

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

// Saves a catalogue holding one category of that name with one item, and
// reads it back: whether the category and its item come through.
bool SurvivesSaveAndLoad(const std::string& name) {
    Catalogue written;
    CatalogueNode* category = written.AddCategory(name);
    if (!category) return false;
    ItemFields fields;
    fields.Name = "Zip";
    fields.SrcPath = "zip.exe";
    written.AddItem(category, fields);
    Catalogue read;
    ParseCatalogueText(read, FormatCatalogueText(written));
    const CatalogueNode* first = read.Root() ? read.Root()->FirstChild() : nullptr;
    return first && first->Kind() == NodeKind::Category && first->FirstChild();
}

TEST(CheckCategoryName, LeadingWhiteSpaceGoesTrailingStays) {
    for (const char* typed : {"Tools", "  Tools", "\t\r\n\v\fTools"}) {
        CategoryNameCheck check = CheckCategoryName(typed);
        EXPECT_TRUE(check.Accepted()) << typed;
        EXPECT_EQ(check.name, "Tools") << typed;
    }
    CategoryNameCheck check = CheckCategoryName(" " + kZhong + " a \t");
    EXPECT_TRUE(check.Accepted());
    EXPECT_EQ(check.name, kZhong + " a \t");
}

TEST(CheckCategoryName, WhiteSpaceAloneIsEmpty) {
    for (const char* typed : {"", " ", "   ", "\t", " \r\n ", "\v\f"}) {
        CategoryNameCheck check = CheckCategoryName(typed);
        EXPECT_EQ(check.verdict, CategoryNameVerdict::Empty) << '"' << typed << '"';
        EXPECT_EQ(check.name, "");
    }
    EXPECT_EQ(IconFor(CategoryNameVerdict::Empty), MessageIcon::Exclamation);
}

TEST(CheckCategoryName, AtMost128BytesAfterTheLeadingWhiteSpace) {
    const std::string sixtyFour = Repeat(kZhong, 64);
    ASSERT_EQ(sixtyFour.size(), kMaxCategoryNameBytes);
    EXPECT_TRUE(CheckCategoryName(sixtyFour).Accepted());
    EXPECT_TRUE(CheckCategoryName(Repeat("a", 128)).Accepted());
    EXPECT_TRUE(CheckCategoryName("  \t" + sixtyFour).Accepted());

    for (const std::string& typed : {sixtyFour + "a", Repeat("a", 129), sixtyFour + " ", " " + sixtyFour + kZhong}) {
        CategoryNameCheck check = CheckCategoryName(typed);
        EXPECT_EQ(check.verdict, CategoryNameVerdict::TooLong) << typed.size();
    }
    EXPECT_EQ(IconFor(CategoryNameVerdict::TooLong), MessageIcon::Stop);
}

TEST(CheckCategoryName, TwoBackslashCharactersInARow) {
    for (const char* typed : {"a\\\\b", "\\\\", "ab\\\\", "\\\\ab", "a\\\\\\b", BS_TRAIL "\\\\", "  \\\\"}) {
        EXPECT_EQ(CheckCategoryName(typed).verdict, CategoryNameVerdict::DoubleBackslash) << typed;
    }
    // A trail byte 0x5C is part of its character, not a backslash.
    for (const char* typed :
         {"a\\b\\c", "\\", "a\\", BS_TRAIL "\\", BS_TRAIL BS_TRAIL, "\\" BS_TRAIL, BS_TRAIL "\\a"}) {
        EXPECT_TRUE(CheckCategoryName(typed).Accepted()) << typed;
    }
    EXPECT_EQ(IconFor(CategoryNameVerdict::DoubleBackslash), MessageIcon::Stop);
}

TEST(CheckCategoryName, RefusesExactlyWhatTheCatalogueFileDrops) {
    for (const char* typed : {"a\\b", "a\\\\b", BS_TRAIL "\\", BS_TRAIL "\\\\", "\\" BS_TRAIL "\\", "x\\", "x\\\\",
                              "\\\\x", "[a]", "a]", "ab\x81", "Tools  "}) {
        CategoryNameCheck check = CheckCategoryName(typed);
        EXPECT_EQ(check.Accepted(), SurvivesSaveAndLoad(check.name)) << typed;
    }
}

TEST(CheckCategoryName, EmptyBeforeLengthBeforeBackslashes) {
    // White space beyond the limit is still only white space.
    EXPECT_EQ(CheckCategoryName(Repeat(" ", 200)).verdict, CategoryNameVerdict::Empty);
    EXPECT_EQ(CheckCategoryName(Repeat("a", 127) + "\\\\").verdict, CategoryNameVerdict::TooLong);
    EXPECT_EQ(CheckCategoryName(Repeat("a", 126) + "\\\\").verdict, CategoryNameVerdict::DoubleBackslash);
}

}  // namespace
}  // namespace corvel
