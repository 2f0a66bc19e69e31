#include "ui/item_editor/item_checks.h"

#include <gtest/gtest.h>

#include <string>

namespace corvel {
namespace {

// Passes every step; each case spoils one field.
ItemFields Good(std::string ItemFields::*field = nullptr, std::string text = {}) {
    ItemFields fields;
    fields.Name = "WinRAR";
    fields.SrcPath = "Soft\\wrar.exe";
    if (field) fields.*field = std::move(text);
    return fields;
}

ItemCheck Check(const ItemFields& typed) {
    ItemFields record;
    return CheckItemFields(typed, record);
}

TEST(CheckItemFields, EveryFaultHasItsStepAndIcon) {
    struct Case {
        std::string ItemFields::*field;
        const char* text;
        int step;
    };
    const Case cases[] = {
        {&ItemFields::Name, " \t\r\n\v\f", 1},
        {&ItemFields::Name, "Win\x02RAR", 2},
        {&ItemFields::SrcPath, "  ", 3},
        {&ItemFields::SrcPath, "a.exe /S\x02", 4},
        {&ItemFields::SrcPath, "Soft/a.exe", 5},
        {&ItemFields::DstDir, "C:\\App\x02", 6},
        {&ItemFields::DstDir, "C:App", 7},
        {&ItemFields::Regcode, "user\x02", 8},
        {&ItemFields::Regcode, "12\x03\x03zz", 8},
        {&ItemFields::Regcode, "12\x03\r\nzz", 8},
        {&ItemFields::Comment, "\x02", 9},
        {&ItemFields::Patch, "\x02p.exe", 10},
        {&ItemFields::Patch, "..\\p.exe", 11},
        {&ItemFields::Settings, "a.reg\x02", 12},
        {&ItemFields::Settings, "Soft\\con\\a.reg", 13},
    };
    for (const Case& c : cases) {
        ItemCheck result = Check(Good(c.field, c.text));
        EXPECT_EQ(result.step, c.step) << c.text;
        EXPECT_FALSE(result.Passed());
        // Only a missing mandatory field is an exclamation; the rest are refusals.
        EXPECT_EQ(result.icon, c.step == 1 || c.step == 3 ? MessageIcon::Exclamation : MessageIcon::Stop) << c.step;
    }
    EXPECT_EQ(Check(Good()).step, kItemChecksPassed);
}

TEST(CheckItemFields, FirstFaultWins) {
    EXPECT_EQ(Check(ItemFields()).step, 1);  // empty name and empty installer path
    // The comment is checked after the registration code.
    ItemFields typed = Good(&ItemFields::Comment, "\x02");
    typed.Regcode = "\x02";
    typed.Settings = "/S";
    EXPECT_EQ(Check(typed).step, 8);
}

TEST(CheckItemFields, OnlyLeadingWhiteSpaceIsRemovedAndOnlyFromPathsAndName) {
    ItemFields typed;
    typed.Name = " abc ";
    typed.SrcPath = "\t\r\n Soft\\a.exe /S";
    typed.DstDir = "  C:\\App ";
    typed.Regcode = " code\r\n";
    typed.Comment = "  note";
    typed.Patch = " \xB2\xB9\xB6\xA1\\p.exe";  // begins with a Chinese word
    typed.Settings = " \r\n";
    // One object as input and output: the trimmed text is taken from itself.
    ASSERT_TRUE(CheckItemFields(typed, typed).Passed());
    EXPECT_EQ(typed.Name, "abc ");
    EXPECT_EQ(typed.SrcPath, "Soft\\a.exe /S");
    EXPECT_EQ(typed.DstDir, "C:\\App ");
    EXPECT_EQ(typed.Regcode, " code\r\n");
    EXPECT_EQ(typed.Comment, "  note");
    EXPECT_EQ(typed.Patch, "\xB2\xB9\xB6\xA1\\p.exe");
    EXPECT_EQ(typed.Settings, "");
}

TEST(CheckItemFields, CommandsAreJudgedByTheirProgramPathOnly) {
    for (const char* good : {"\"Soft\\My Setup.exe\" /S -lang=en data\\cfg.ini", "setup.exe /D=C:\\Program Files\\App",
                             "Soft\\a.exe x|y", "\\Soft\\a.exe", "a.exe", "E:\\a.exe"}) {
        ItemFields typed = Good(&ItemFields::SrcPath, good);
        typed.Patch = typed.Settings = good;
        EXPECT_TRUE(Check(typed).Passed()) << good;
    }
    // Only a switch, or an unmatched quote: there is no program path.
    for (const char* bad : {"/S", "-silent", "/S Soft\\a.exe", "\"Soft\\a.exe", "a.exe \"/S", "\"\""}) {
        EXPECT_EQ(Check(Good(&ItemFields::SrcPath, bad)).step, 5) << bad;
        EXPECT_EQ(Check(Good(&ItemFields::Patch, bad)).step, 11) << bad;
        EXPECT_EQ(Check(Good(&ItemFields::Settings, bad)).step, 13) << bad;
    }
    // The install folder is one plain path: relative is fine, quotes are not.
    EXPECT_TRUE(Check(Good(&ItemFields::DstDir, "Program Files\\App")).Passed());
    EXPECT_EQ(Check(Good(&ItemFields::DstDir, "\"C:\\Program Files\"")).step, 7);
}

TEST(CheckItemFields, EmptyOptionalFieldsPassAndAreWrittenEmpty) {
    ItemFields record;
    record.DstDir = record.Regcode = record.Comment = record.Patch = record.Settings = "old";
    ASSERT_TRUE(CheckItemFields(Good(), record).Passed());
    EXPECT_EQ(record.Name, "WinRAR");
    for (const std::string* field : {&record.DstDir, &record.Patch, &record.Regcode, &record.Settings, &record.Comment})
        EXPECT_EQ(*field, "");
}

TEST(CheckItemFields, FieldsAfterAFaultStayUntouched) {
    ItemFields typed = Good(&ItemFields::DstDir, "C:");
    typed.Regcode = "x";
    ItemFields record;
    record.Regcode = "before";
    EXPECT_EQ(CheckItemFields(typed, record).step, 7);
    EXPECT_EQ(record.DstDir, "C:");
    EXPECT_EQ(record.Regcode, "before");
}

}  // namespace
}  // namespace corvel
