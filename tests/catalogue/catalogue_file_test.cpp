#include "catalogue/catalogue_file.h"

#include <gtest/gtest.h>

#include "tests/catalogue/disk_files.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

namespace corvel {
namespace {

namespace fs = std::filesystem;
using namespace corvel::disk;
using namespace std::string_literals;

const std::string kWorkedExample =
    "[Tools]\r\n"
    "<Name=Zip\x02SrcPath=Soft\\zip.exe /S\x02Regcode=first\x03\x03second\x02>\r\n"
    "[Games]\r\n";

struct Dropped {
    std::size_t line;
    DroppedLine reason;
    bool operator==(const Dropped&) const = default;
};

void PrintTo(const Dropped& dropped, std::ostream* os) {
    *os << "{line " << dropped.line << ", reason " << static_cast<int>(dropped.reason) << "}";
}

std::vector<Dropped> Parse(Catalogue& catalogue, std::string_view text) {
    std::vector<Dropped> dropped;
    ParseCatalogueText(catalogue, text, [&](std::size_t line, DroppedLine reason) {
        dropped.push_back({line, reason});
    });
    return dropped;
}

std::vector<std::string> CategoryNames(const Catalogue& catalogue) {
    std::vector<std::string> names;
    if (!catalogue.Root()) return names;
    for (const CatalogueNode* node = catalogue.Root()->FirstChild(); node; node = node->NextSibling())
        names.emplace_back(node->Name());
    return names;
}

ItemFields StoredFieldsOf(const CatalogueNode* item) {
    ItemFields fields;
    std::string* targets[] = {&fields.Name,    &fields.SrcPath,  &fields.DstDir, &fields.Patch,
                              &fields.Regcode, &fields.Settings, &fields.Comment};
    for (std::size_t i = 0; i < kFieldCount; ++i) *targets[i] = item->StoredField(static_cast<Field>(i));
    return fields;
}

// Stored fields of the items of the category at index.
std::vector<ItemFields> Items(const Catalogue& catalogue, std::size_t index) {
    std::vector<ItemFields> items;
    const CatalogueNode* category = catalogue.Root() ? catalogue.Root()->FirstChild() : nullptr;
    for (std::size_t i = 0; category && i < index; ++i) category = category->NextSibling();
    if (!category) return items;
    for (const CatalogueNode* node = category->FirstChild(); node; node = node->NextSibling())
        items.push_back(StoredFieldsOf(node));
    return items;
}

// The category names of text read into a catalogue of its own.
std::vector<std::string> CategoriesRead(std::string_view text) {
    Catalogue catalogue;
    ParseCatalogueText(catalogue, text);
    return CategoryNames(catalogue);
}

std::size_t TotalItems(Catalogue& catalogue) {
    return catalogue.Count(catalogue.Root(), NodeKind::Item, true);
}

using Names = std::vector<std::string>;

ItemFields Fields(std::string name, std::string srcPath) {
    ItemFields fields;
    fields.Name = std::move(name);
    fields.SrcPath = std::move(srcPath);
    return fields;
}

TEST(CatalogueFile, WorkedExampleRoundTripsByteForByte) {
    Catalogue written;
    CatalogueNode* tools = written.AddCategory("Tools");
    ItemFields zip = Fields("Zip", "Soft\\zip.exe /S");
    zip.Regcode = "first\r\nsecond";
    ASSERT_NE(written.AddItem(tools, zip), nullptr);
    ASSERT_NE(written.AddCategory("Games"), nullptr);
    EXPECT_EQ(FormatCatalogueText(written), kWorkedExample);

    Catalogue read;
    EXPECT_TRUE(Parse(read, kWorkedExample).empty());
    EXPECT_FALSE(read.IsModified());
    EXPECT_EQ(CategoryNames(read), (Names{"Tools", "Games"}));
    const CatalogueNode* item = read.Root()->FirstChild()->FirstChild();
    ASSERT_NE(item, nullptr);
    ItemFields out;
    ASSERT_TRUE(read.GetItemFields(item, out));
    EXPECT_EQ(out.Name, "Zip");
    EXPECT_EQ(out.SrcPath, "Soft\\zip.exe /S");
    EXPECT_EQ(out.Regcode, "first\r\nsecond");
    EXPECT_TRUE(out.DstDir.empty() && out.Patch.empty() && out.Settings.empty() && out.Comment.empty());
    EXPECT_EQ(read.Root()->FirstChild()->NextSibling()->FirstChild(), nullptr);
    EXPECT_EQ(FormatCatalogueText(read), kWorkedExample);
}

TEST(CatalogueFile, WriterLayout) {
    Catalogue catalogue;
    CatalogueNode* category = catalogue.AddCategory("All ");  // trailing blank kept on write
    ItemFields every;
    every.Name = "N";
    every.SrcPath = "S";
    every.DstDir = "D";
    every.Patch = "P";
    every.Regcode = "R";
    every.Settings = "T";
    every.Comment = "C";
    catalogue.AddItem(category, every);
    ItemFields noComment = Fields("N ", "S");
    noComment.Settings = "T";
    catalogue.AddItem(category, noComment);
    catalogue.AddItem(catalogue.Root(), Fields("loose", "x.exe"));  // not a category: not written
    catalogue.AddCategory("Empty");

    EXPECT_EQ(FormatCatalogueText(catalogue),
              "[All ]\r\n"
              "<Name=N\x02SrcPath=S\x02"
              "DstDir=D\x02Patch=P\x02Regcode=R\x02Settings=T\x02"
              "Comment=C>\r\n"
              "<Name=N \x02SrcPath=S\x02Settings=T\x02>\r\n"
              "[Empty]\r\n");

    // Blanks written at the end of names and values are gone after reading.
    Catalogue read;
    ParseCatalogueText(read, FormatCatalogueText(catalogue));
    EXPECT_EQ(CategoryNames(read), (Names{"All", "Empty"}));
    ASSERT_EQ(Items(read, 0).size(), 2u);
    EXPECT_EQ(Items(read, 0)[1].Name, "N");
    EXPECT_EQ(Items(read, 0)[0].Comment, "C");
    EXPECT_TRUE(Items(read, 1).empty());

    Catalogue nothing;
    EXPECT_EQ(FormatCatalogueText(nothing), "");
}

TEST(CatalogueFile, WriterWithListOfCategories) {
    Catalogue catalogue;
    CatalogueNode* a = catalogue.AddCategory("A");
    CatalogueNode* b = catalogue.AddCategory("B");
    CatalogueNode* c = catalogue.AddCategory("C");
    catalogue.AddItem(a, Fields("a1", "a.exe"));
    CatalogueNode* c1 = catalogue.AddItem(c, Fields("c1", "c.exe"));
    catalogue.AddItem(c, Fields("c2", "c.exe"));

    std::vector<const CatalogueNode*> list{c, a};
    EXPECT_EQ(FormatCatalogueText(catalogue, &list),
              "[C]\r\n<Name=c1\x02SrcPath=c.exe\x02>\r\n<Name=c2\x02SrcPath=c.exe\x02>\r\n"
              "[A]\r\n<Name=a1\x02SrcPath=a.exe\x02>\r\n");

    // Entries that are not categories of this catalogue are skipped.
    Catalogue other;
    CatalogueNode* foreign = other.AddCategory("Foreign");
    std::vector<const CatalogueNode*> odd{nullptr, c1, catalogue.Root(), foreign, b};
    EXPECT_EQ(FormatCatalogueText(catalogue, &odd), "[B]\r\n");
    std::vector<const CatalogueNode*> none;
    EXPECT_EQ(FormatCatalogueText(catalogue, &none), "");
}

TEST(CatalogueFile, CategoryHeaders) {
    Catalogue catalogue;
    auto dropped = Parse(catalogue,
                         "[ Tools ]\r\n"                  // 1 good, trimmed
                         "[]\r\n"                         // 2 bad
                         "<Name=a\x02SrcPath=a.exe>\r\n"  // 3 dropped
                         "[Tools\r\n"                     // 4 bad
                         "<Name=b\x02SrcPath=b.exe>\r\n"  // 5 dropped
                         "[\r\n"                          // 6 bad
                         "[ \t ]\r\n"                     // 7 bad
                         "[a\\\\b]\r\n"                   // 8 bad: double backslash
                         "<Name=c\x02SrcPath=c.exe>\r\n"  // 9 dropped
                         "  \t[Games]\t  \r\n"            // 10 good
                         "<Name=d\x02SrcPath=d.exe>\r\n"  // 11 kept
                         "[Tools]\r\n"                    // 12 same name again: a second category
                         "[a\\b\\c]\r\n"                  // 13 good: single backslashes
                         "[[x]]\r\n");                    // 14 good: brackets inside the name
    EXPECT_EQ(CategoryNames(catalogue), (Names{"Tools", "Games", "Tools", "a\\b\\c", "[x]"}));
    EXPECT_EQ(TotalItems(catalogue), 1u);
    ASSERT_EQ(Items(catalogue, 1).size(), 1u);
    EXPECT_EQ(Items(catalogue, 1)[0].Name, "d");
    EXPECT_EQ(dropped, (std::vector<Dropped>{{2, DroppedLine::BadCategoryHeader},
                                             {3, DroppedLine::ItemBehindBadCategory},
                                             {4, DroppedLine::BadCategoryHeader},
                                             {5, DroppedLine::ItemBehindBadCategory},
                                             {6, DroppedLine::BadCategoryHeader},
                                             {7, DroppedLine::BadCategoryHeader},
                                             {8, DroppedLine::BadCategoryHeader},
                                             {9, DroppedLine::ItemBehindBadCategory}}));
}

TEST(CatalogueFile, DoubleByteCharactersWithBracketOrBackslashTrailBytes) {
    Catalogue catalogue;
    // "\x81\x5C" followed by "\" is one character and one backslash, not two
    // backslashes. The closing bracket is the last byte, so a name that ends
    // in a stray lead byte reads back as it was written.
    auto dropped = Parse(catalogue,
                         "[\x81\x5C\\x]\r\n"    // 1 good
                         "[ab\x81]\r\n"         // 2 good: name "ab\x81"
                         "[ab\x81]]\r\n"        // 3 good: name "ab\x81]"
                         "[\x81\x5C\\\\x]\r\n"  // 4 bad: a real double backslash follows
                         "[?\x8D\n]\r\n");      // 5 good: the LF is trimmed, leaving "?\x8D"
    EXPECT_EQ(CategoryNames(catalogue), (Names{"\x81\x5C\\x", "ab\x81", "ab\x81]", "?\x8D"}));
    EXPECT_EQ(dropped, (std::vector<Dropped>{{4, DroppedLine::BadCategoryHeader}}));
    Catalogue reread;
    EXPECT_TRUE(Parse(reread, FormatCatalogueText(catalogue)).empty());
    EXPECT_EQ(CategoryNames(reread), CategoryNames(catalogue));

    // Names and paths holding such characters survive writing and reading.
    Catalogue written;
    CatalogueNode* category = written.AddCategory("\x81\x5C\x81\x7C");
    ItemFields fields = Fields("\x81\x7C|\x81\x5C", "D:\\\x81\x5C\\setup.exe /dir=\x81\x7C");
    fields.DstDir = "C:\\\x81\x5C";
    fields.Comment = "\x81\x5C";
    written.AddItem(category, fields);
    written.AddCategory("\x81\x5D");
    const std::string text = FormatCatalogueText(written);
    Catalogue read;
    EXPECT_TRUE(Parse(read, text).empty());
    EXPECT_EQ(CategoryNames(read), (Names{"\x81\x5C\x81\x7C", "\x81\x5D"}));
    ASSERT_EQ(Items(read, 0).size(), 1u);
    EXPECT_EQ(Items(read, 0)[0].Name, fields.Name);
    EXPECT_EQ(Items(read, 0)[0].SrcPath, fields.SrcPath);
    EXPECT_EQ(Items(read, 0)[0].DstDir, fields.DstDir);
    EXPECT_EQ(Items(read, 0)[0].Comment, fields.Comment);
    EXPECT_EQ(FormatCatalogueText(read), text);
}

TEST(CatalogueFile, ItemLines) {
    Catalogue catalogue;
    auto dropped = Parse(catalogue,
                         "[Tools]\r\n"
                         "<Name=Zip\x02SrcPath=a.exe\x02>\r\n"  // final separator
                         "<name=Zip\x02srcpath=a.exe>\r\n"      // none; keys in any case
                         "<NAME=k\x02sRcPaTh=a.exe\x02 DstDir=C:\\x\x02"
                         "dstdir =C:\\y>\r\n"  // blank around a key: ignored
                         "<Name=c\x02SrcPath=a.exe\x02"
                         "Comment=  hello  \x02Regcode=  AB  \x02>\r\n"
                         "<Name=v\x02SrcPath=a.exe\x02"
                         "Comment=a=b<c>[d]\x02>\r\n"  // value with = < > [ ]
                         "<Name=first\x02SrcPath=a.exe\x02Name=second>\r\n"
                         "<\x02\x02Name=e\x02\x02junk\x02Other=1\x02SrcPath=a.exe\x02\x02>\r\n"
                         "<Name=Zip\x02"
                         "DstDir=C:\\x>\r\n"  // 9: no SrcPath
                         "<SrcPath=a.exe\x02Name=\x02"
                         "Comment=x>\r\n"                              // 10: empty Name
                         "<Name=Zip\x02SrcPath=  \x02>\r\n"            // 11: blank SrcPath
                         "<Name=a\x02SrcPath=b.exe\x02Name=>\r\n"      // 12: later empty Name wins
                         "< \t Name=t\x02SrcPath=t.exe \t >\r\n"       // inner trimmed
                         "<Name=Zip\x02SrcPath=a.exe\r\n"              // 14: no ">"
                         "<>\r\n"                                      // 15
                         "<  >\r\n"                                    // 16
                         "<\r\n"                                       // 17
                         "<Name=Zip\x02SrcPath=a.exe> trailing\r\n");  // 18
    EXPECT_EQ(dropped, (std::vector<Dropped>{{9, DroppedLine::ItemWithoutNameOrSrcPath},
                                             {10, DroppedLine::ItemWithoutNameOrSrcPath},
                                             {11, DroppedLine::ItemWithoutNameOrSrcPath},
                                             {12, DroppedLine::ItemWithoutNameOrSrcPath},
                                             {14, DroppedLine::MalformedItem},
                                             {15, DroppedLine::MalformedItem},
                                             {16, DroppedLine::MalformedItem},
                                             {17, DroppedLine::MalformedItem},
                                             {18, DroppedLine::MalformedItem}}));
    std::vector<ItemFields> items = Items(catalogue, 0);
    ASSERT_EQ(items.size(), 8u);
    EXPECT_EQ(items[0].Name, "Zip");
    EXPECT_EQ(items[0].SrcPath, "a.exe");
    EXPECT_EQ(items[1].Name, "Zip");
    EXPECT_EQ(items[1].SrcPath, "a.exe");
    EXPECT_EQ(items[2].Name, "k");
    EXPECT_TRUE(items[2].DstDir.empty());
    EXPECT_EQ(items[3].Comment, "hello");
    EXPECT_EQ(items[3].Regcode, "  AB  ");
    EXPECT_EQ(items[4].Comment, "a=b<c>[d]");
    EXPECT_EQ(items[5].Name, "second");
    EXPECT_EQ(items[6].Name, "e");
    EXPECT_EQ(items[6].SrcPath, "a.exe");
    EXPECT_EQ(items[7].Name, "t");
    EXPECT_EQ(items[7].SrcPath, "t.exe");
}

// text with each "|" turned into the field separator.
std::string WithSeparators(std::string text) {
    std::replace(text.begin(), text.end(), '|', kFieldSeparator);
    return text;
}

// Each line read is written back the way the writer puts its fields,
// whether or not the file had it so.
TEST(CatalogueFile, ItemLinesAreWrittenInTheWritersForm) {
    const std::vector<std::pair<std::string, std::string>> lines = {
        {"<Name=a|SrcPath=b|>", "<Name=a|SrcPath=b|>"},
        {"<Name=a|SrcPath=b|Comment=c>", "<Name=a|SrcPath=b|Comment=c>"},
        {"<Name=a|SrcPath=b|Regcode= r |>", "<Name=a|SrcPath=b|Regcode= r |>"},
        {"  <Name=a|SrcPath=b|>\t", "<Name=a|SrcPath=b|>"},
        {"<name=a|SrcPath=b|>", "<Name=a|SrcPath=b|>"},
        {"<Name=a|SrcPath=b|comment=c>", "<Name=a|SrcPath=b|Comment=c>"},
        {"<SrcPath=b|Name=a|>", "<Name=a|SrcPath=b|>"},
        {"<Name=x|Name=a|SrcPath=b|>", "<Name=a|SrcPath=b|>"},
        {"<Name=a|SrcPath=x|DstDir=d|SrcPath=b|>", "<Name=a|SrcPath=b|DstDir=d|>"},
        {"<Name= a|SrcPath=b|>", "<Name=a|SrcPath=b|>"},
        {"<Name=a |SrcPath=b|>", "<Name=a|SrcPath=b|>"},
        {"< Name=a|SrcPath=b|>", "<Name=a|SrcPath=b|>"},
        {"<Name=a|SrcPath=b| >", "<Name=a|SrcPath=b|>"},
        {"<Name=a|SrcPath=b>", "<Name=a|SrcPath=b|>"},
        {"<Name=a|SrcPath=b|Comment=c|>", "<Name=a|SrcPath=b|Comment=c>"},
        {"<Name=a|SrcPath=b||>", "<Name=a|SrcPath=b|>"},
        {"<Name=a||SrcPath=b|>", "<Name=a|SrcPath=b|>"},
        {"<Name=a|SrcPath=b|Other=1|>", "<Name=a|SrcPath=b|>"},
        {"<Name=a|SrcPath=b|DstDir=|>", "<Name=a|SrcPath=b|>"},
        {"<Name=a|SrcPath=b|Comment=c|Patch=p>", "<Name=a|SrcPath=b|Patch=p|Comment=c>"},
    };
    std::string text = "[T]\r\n";
    std::string expected = text;
    for (const auto& [line, written] : lines) {
        text += WithSeparators(line) + "\r\n";
        expected += WithSeparators(written) + "\r\n";
    }
    Catalogue catalogue;
    EXPECT_TRUE(Parse(catalogue, text).empty());
    EXPECT_EQ(FormatCatalogueText(catalogue), expected);
}

TEST(CatalogueFile, ChangedItemsAreWrittenFromTheirNewFields) {
    Catalogue catalogue;
    ParseCatalogueText(catalogue, WithSeparators("[A]\r\n"
                                                 "<Name=a|SrcPath=a.exe|Comment=one>\r\n"
                                                 "<Name=b|SrcPath=b.exe|>\r\n"
                                                 "<Name=c|SrcPath=c.exe|>\r\n"
                                                 "[B]\r\n"));
    CatalogueNode* a = catalogue.Root()->FirstChild();
    CatalogueNode* first = a->FirstChild();
    ItemFields fields;
    ASSERT_TRUE(catalogue.GetItemFields(first, fields));
    fields.Comment = "two";
    fields.Regcode = "r1\r\nr2";
    ASSERT_TRUE(catalogue.SetItemFields(first, fields));
    ASSERT_TRUE(catalogue.RenameItem(first->NextSibling(), "renamed"));
    ASSERT_TRUE(catalogue.MoveItem(first->NextSibling()->NextSibling(), a->NextSibling()));
    ASSERT_TRUE(catalogue.RenameCategory(a, "A2"));
    EXPECT_EQ(FormatCatalogueText(catalogue),
              WithSeparators("[A2]\r\n"
                             "<Name=a|SrcPath=a.exe|Regcode=r1\x03\x03r2|Comment=two>\r\n"
                             "<Name=renamed|SrcPath=b.exe|>\r\n"
                             "[B]\r\n"
                             "<Name=c|SrcPath=c.exe|>\r\n"));
}

TEST(CatalogueFile, WhatIsReadOutlivesTheTextItWasReadFrom) {
    Catalogue catalogue;
    {
        std::string text = kWorkedExample;
        ParseCatalogueText(catalogue, text);
        text.assign(text.size(), '#');
    }
    {
        std::string more = "[More]\r\n<Name=m\x02SrcPath=m.exe\x02>\r\n";
        ParseCatalogueText(catalogue, more);
        more.assign(more.size(), '#');
    }
    EXPECT_EQ(CategoryNames(catalogue), (Names{"Tools", "Games", "More"}));
    ItemFields out;
    ASSERT_TRUE(catalogue.GetItemFields(catalogue.Root()->FirstChild()->FirstChild(), out));
    EXPECT_EQ(out.Name, "Zip");
    EXPECT_EQ(out.Regcode, "first\r\nsecond");
    // Renaming keeps the other fields, wherever they are stored.
    ASSERT_TRUE(catalogue.RenameItem(catalogue.Root()->FirstChild()->FirstChild(), "Zip2"));
    EXPECT_EQ(FormatCatalogueText(catalogue),
              "[Tools]\r\n"
              "<Name=Zip2\x02SrcPath=Soft\\zip.exe /S\x02Regcode=first\x03\x03second\x02>\r\n"
              "[Games]\r\n"
              "[More]\r\n"
              "<Name=m\x02SrcPath=m.exe\x02>\r\n");
}

TEST(CatalogueFile, DroppedLinesAndTheirReasons) {
    Catalogue catalogue;
    const std::string longName(129, 'n');
    auto dropped = Parse(catalogue,
                         "<Name=a\x02SrcPath=a.exe>\r\n"  // 1 before any header
                         "<Name=a>\r\n"                   // 2 incomplete comes first
                         "<Name=a\x02SrcPath=a.exe\r\n"   // 3 malformed comes first
                         "just text\r\n"                  // 4 ignored, not reported
                         "\r\n"                           // 5 empty
                         "   \t\r\n"                      // 6 blank
                         "[" +
                             longName +
                             "]\r\n"                          // 7 refused
                             "<Name=b\x02SrcPath=b.exe>\r\n"  // 8 behind refused header
                             "[Good]\r\n"                     // 9
                             "<Name=c\x02SrcPath=c.exe>\r\n"  // 10 kept
                             "; comment line\r\n"             // 11 ignored
                             "<Name=d\x02SrcPath=d.exe>\r\n"  // 12 kept
                             "[]\r\n"                         // 13 bad
                             "<Name=e\x02SrcPath=e.exe>\r\n"  // 14 behind bad header
                             "<Name=f>\r\n");                 // 15 incomplete comes first
    EXPECT_EQ(dropped, (std::vector<Dropped>{{1, DroppedLine::ItemBeforeCategory},
                                             {2, DroppedLine::ItemWithoutNameOrSrcPath},
                                             {3, DroppedLine::MalformedItem},
                                             {7, DroppedLine::CategoryRefused},
                                             {8, DroppedLine::ItemBehindBadCategory},
                                             {13, DroppedLine::BadCategoryHeader},
                                             {14, DroppedLine::ItemBehindBadCategory},
                                             {15, DroppedLine::ItemWithoutNameOrSrcPath}}));
    EXPECT_EQ(CategoryNames(catalogue), (Names{"Good"}));
    ASSERT_EQ(Items(catalogue, 0).size(), 2u);
    EXPECT_EQ(Items(catalogue, 0)[1].Name, "d");

    // Without a callback the same text reads the same way.
    Catalogue quiet;
    ParseCatalogueText(quiet, "<Name=a\x02SrcPath=a.exe>\r\n[]\r\n[G]\r\n<Name=c\x02SrcPath=c.exe>\r\n");
    EXPECT_EQ(CategoryNames(quiet), (Names{"G"}));
    EXPECT_EQ(TotalItems(quiet), 1u);
}

TEST(CatalogueFile, ByteOrderMarkAtTheStartIsSkipped) {
    // Small and large texts (read behind their copy) alike; only at the
    // very start, and only the whole mark.
    std::string large = "[A]\r\n";
    for (int i = 0; i < 40000; ++i) large += "<Name=n" + std::to_string(i) + "\x02SrcPath=s.exe\x02>\r\n";
    for (const std::string& text : {kWorkedExample, large}) {
        Catalogue catalogue;
        EXPECT_EQ(Parse(catalogue, "\xEF\xBB\xBF" + text), std::vector<Dropped>{});
        EXPECT_EQ(FormatCatalogueText(catalogue), text);
    }
    EXPECT_EQ(CategoriesRead(" \xEF\xBB\xBF[A]\r\n[B]\r\n"), (Names{"B"}));  // behind a blank
    EXPECT_EQ(CategoriesRead("\xEF\xBB[A]\r\n[B]\r\n"), (Names{"B"}));       // half a mark
    EXPECT_EQ(CategoriesRead("\xEF\xBB\xBF"), Names{});                      // only the mark
}

TEST(CatalogueFile, LineEnds) {
    {  // The last line needs no CR LF.
        Catalogue catalogue;
        ParseCatalogueText(catalogue, "[A]\r\n<Name=a\x02SrcPath=a.exe>");
        EXPECT_EQ(CategoryNames(catalogue), (Names{"A"}));
        EXPECT_EQ(TotalItems(catalogue), 1u);
    }
    {  // The text ends at the first NUL.
        Catalogue catalogue;
        ParseCatalogueText(catalogue, "[A]\r\n<Name=a\x02SrcPath=a\0.exe>\r\n[B]\r\n"s);
        EXPECT_EQ(CategoryNames(catalogue), (Names{"A"}));
        EXPECT_EQ(TotalItems(catalogue), 0u);
        EXPECT_EQ(CategoriesRead("[A\0]\r\n"s), Names{});
        EXPECT_EQ(CategoriesRead("\0[A]\r\n"s), Names{});
    }
    {  // A lone LF is not a line end: LF-only text is one line.
        Catalogue catalogue;
        auto dropped = Parse(catalogue, "[A]\n<Name=a\x02SrcPath=a.exe>\n[B]\n");
        EXPECT_EQ(CategoryNames(catalogue), (Names{"A]\n<Name=a\x02SrcPath=a.exe>\n[B"}));
        EXPECT_EQ(TotalItems(catalogue), 0u);
        EXPECT_TRUE(dropped.empty());
        Catalogue item;
        EXPECT_EQ(Parse(item, "<Name=a\x02SrcPath=a.exe>\n<Name=b\x02SrcPath=b.exe>\n"),
                  (std::vector<Dropped>{{1, DroppedLine::ItemBeforeCategory}}));
    }
    // Nor is a lone CR; CR CR LF ends a line whose trailing CR is trimmed.
    EXPECT_EQ(CategoriesRead("[A]\r[B]\r\n[C]\r\r\n\r[D]\n\r\n\n\r\n[E]"), (Names{"A]\r[B", "C", "D", "E"}));
    {  // In an item line, a lone CR or LF belongs to its piece or to the
       // white space around it; a NUL ends the line and the text.
        Catalogue catalogue;
        auto dropped = Parse(catalogue,
                             "[A]\r\n\n\r <Name=a\rb\x02SrcPath=a.exe\r\x02"
                             "Comment=c\n>\r\n"
                             "<Name=x\x02SrcPath=y\0>\r\n"s);
        EXPECT_EQ(dropped, (std::vector<Dropped>{{3, DroppedLine::MalformedItem}}));
        std::vector<ItemFields> items = Items(catalogue, 0);
        ASSERT_EQ(items.size(), 1u);
        EXPECT_EQ(items[0].Name, "a\rb");
        EXPECT_EQ(items[0].SrcPath, "a.exe");
        EXPECT_EQ(items[0].Comment, "c");
        Catalogue open;
        EXPECT_EQ(Parse(open, "[A]\r\n<  \r\n<Name=a\x02SrcPath=b"),
                  (std::vector<Dropped>{{2, DroppedLine::MalformedItem}, {3, DroppedLine::MalformedItem}}));
    }
    {  // Line numbers count CR LF only.
        Catalogue catalogue;
        EXPECT_EQ(Parse(catalogue, "x\ny\r\n\r\n[]\r\n"), (std::vector<Dropped>{{3, DroppedLine::BadCategoryHeader}}));
    }
    {  // Empty text, or only line ends.
        Catalogue catalogue;
        catalogue.SetModified(true);
        ParseCatalogueText(catalogue, "");
        ParseCatalogueText(catalogue, "\r\n\r\n");
        EXPECT_EQ(CategoryNames(catalogue), Names{});
        EXPECT_FALSE(catalogue.IsModified());
    }
}

TEST(CatalogueFile, ReadingAddsBehindExistingContentAndClearsModified) {
    Catalogue catalogue;
    CatalogueNode* old = catalogue.AddCategory("Old");
    catalogue.AddItem(old, Fields("o", "o.exe"));
    ASSERT_TRUE(catalogue.IsModified());
    ParseCatalogueText(catalogue, kWorkedExample);
    EXPECT_FALSE(catalogue.IsModified());
    EXPECT_EQ(CategoryNames(catalogue), (Names{"Old", "Tools", "Games"}));
    // Items go to the category of the text, not to the one already there.
    EXPECT_EQ(Items(catalogue, 0).size(), 1u);
    EXPECT_EQ(Items(catalogue, 1).size(), 1u);
}

TEST(CatalogueFile, LongLinesAndFields) {
    const std::string big(1 << 20, 'x');
    Catalogue written;
    CatalogueNode* category = written.AddCategory("Big");
    ItemFields fields = Fields(big, "y" + big);
    fields.Regcode = big + "\r\n" + big;
    fields.Comment = "z" + big;
    written.AddItem(category, fields);
    const std::string text = FormatCatalogueText(written);

    Catalogue read;
    EXPECT_TRUE(Parse(read, text).empty());
    ASSERT_EQ(Items(read, 0).size(), 1u);
    ItemFields out;
    ASSERT_TRUE(read.GetItemFields(read.Root()->FirstChild()->FirstChild(), out));
    EXPECT_EQ(out.Name, fields.Name);
    EXPECT_EQ(out.SrcPath, fields.SrcPath);
    EXPECT_EQ(out.Regcode, fields.Regcode);
    EXPECT_EQ(out.Comment, fields.Comment);
    EXPECT_EQ(FormatCatalogueText(read), text);

    // A 1 MB header is refused by the catalogue; its items go with it.
    Catalogue refused;
    EXPECT_EQ(Parse(refused, "[" + big + "]\r\n<Name=a\x02SrcPath=a.exe>\r\n[" + big + "\r\n"),
              (std::vector<Dropped>{{1, DroppedLine::CategoryRefused},
                                    {2, DroppedLine::ItemBehindBadCategory},
                                    {3, DroppedLine::BadCategoryHeader}}));
}

// Texts of several hundred kilobytes, with line ends falling at every
// offset, read as a whole: line numbers run on and a NUL ends the text
// wherever it is.
TEST(CatalogueFile, LargeTextsReadWhole) {
    for (std::size_t padding = 0; padding < 4; ++padding) {
        std::string text = "[A]\r\n";
        for (int i = 0; i < 4000; ++i) {
            text += "<Name=" + std::to_string(i) + std::string(i % 7 + padding, 'n') + "\x02SrcPath=s.exe\x02>\r\n";
        }
        text += "<bad\r\n";
        const std::size_t badLine = 4002;
        Catalogue catalogue;
        EXPECT_EQ(Parse(catalogue, text), (std::vector<Dropped>{{badLine, DroppedLine::MalformedItem}}));
        EXPECT_EQ(TotalItems(catalogue), 4000u);
        EXPECT_EQ(FormatCatalogueText(catalogue), text.substr(0, text.size() - 6));

        const std::size_t nul = text.size() / 2 + padding;
        Catalogue before;
        Parse(before, text.substr(0, nul));
        text[nul] = '\0';
        Catalogue cut;
        Parse(cut, text);
        EXPECT_EQ(FormatCatalogueText(cut), FormatCatalogueText(before));
        EXPECT_GT(TotalItems(cut), 1000u);
        EXPECT_LT(TotalItems(cut), 3000u);
    }
}

TEST(CatalogueFile, CategoryLimitWhileReading) {
    std::string text;
    for (int i = 1; i <= 10002; ++i) text += "[c" + std::to_string(i) + "]\r\n";
    text += "<Name=a\x02SrcPath=a.exe>\r\n";
    Catalogue catalogue;
    auto dropped = Parse(catalogue, text);
    EXPECT_EQ(catalogue.Count(catalogue.Root(), NodeKind::Category, false), 10001);
    EXPECT_EQ(CategoryNames(catalogue).back(), "c10001");
    EXPECT_EQ(dropped, (std::vector<Dropped>{{10002, DroppedLine::CategoryRefused},
                                             {10003, DroppedLine::ItemBehindBadCategory}}));
}

TEST(CatalogueFile, CatalogueFilePath) {
    EXPECT_EQ(CatalogueFilePath("C:\\Corvel\\", "Corvel.exe"), "C:\\Corvel\\Corvel.cvx");
    EXPECT_EQ(CatalogueFilePath("D:\\", "my.tool.exe"), "D:\\my.tool.cvx");
    EXPECT_EQ(CatalogueFilePath("D:\\", "NoExtension"), "D:\\NoExtension.cvx");
    EXPECT_EQ(CatalogueFilePath("E:\\\x81\x5C\\", "\x81\x5C.exe"), "E:\\\x81\x5C\\\x81\x5C.cvx");
    EXPECT_EQ(CatalogueFilePath("C:\\a\\", "C:\\a.b\\Corvel"), "C:\\a\\Corvel.cvx");
}

TEST(CatalogueFile, LoadFromDisk) {
    TempFolder folder;
    Catalogue catalogue;
    EXPECT_FALSE(LoadCatalogue(catalogue, ""));
    EXPECT_FALSE(LoadCatalogue(catalogue, folder.File("missing.cvx")));
    WriteBytes(folder.File("empty.cvx"), "");
    EXPECT_FALSE(LoadCatalogue(catalogue, folder.File("empty.cvx")));
    EXPECT_EQ(std::as_const(catalogue).Root(), nullptr);

    // Any readable content counts, even content that yields nothing.
    WriteBytes(folder.File("zero.cvx"), "\0[A]\r\n"s);
    EXPECT_TRUE(LoadCatalogue(catalogue, folder.File("zero.cvx")));
    EXPECT_EQ(CategoryNames(catalogue), Names{});

    WriteBytes(folder.File("c.cvx"), kWorkedExample + "<Name=x>\r\n");
    catalogue.SetModified(true);
    std::vector<Dropped> dropped;
    EXPECT_TRUE(LoadCatalogue(catalogue, folder.File("c.cvx"), [&](std::size_t line, DroppedLine reason) {
        dropped.push_back({line, reason});
    }));
    EXPECT_FALSE(catalogue.IsModified());
    EXPECT_EQ(CategoryNames(catalogue), (Names{"Tools", "Games"}));
    EXPECT_EQ(dropped, (std::vector<Dropped>{{4, DroppedLine::ItemWithoutNameOrSrcPath}}));

    // A folder cannot be read; a file of several megabytes is read whole.
    fs::create_directory(folder.Path() / "Folder.cvx");
    EXPECT_FALSE(LoadCatalogue(catalogue, folder.File("Folder.cvx")));
    std::string large;
    for (int c = 0; c < 50; ++c) {
        large += "[C" + std::to_string(c) + "]\r\n";
        for (int i = 0; i < 1000; ++i)
            large += "<Name=n" + std::to_string(i) + "\x02SrcPath=Soft\\setup.exe /S\x02>\r\n";
    }
    WriteBytes(folder.File("large.cvx"), large);
    Catalogue whole;
    EXPECT_TRUE(LoadCatalogue(whole, folder.File("large.cvx")));
    EXPECT_EQ(TotalItems(whole), 50000u);
    EXPECT_TRUE(FormatCatalogueText(whole) == large);  // not printed: megabytes

    // What a save cut short left beside the catalogue goes; the catalogue stays.
    WriteBytes(folder.File("c.cvx.corvel-tmp"), "[Tor");
    Catalogue again;
    EXPECT_TRUE(LoadCatalogue(again, folder.File("c.cvx")));
    EXPECT_EQ(CategoryNames(again), (Names{"Tools", "Games"}));
    EXPECT_FALSE(fs::exists(folder.File("c.cvx.corvel-tmp")));
}

TEST(CatalogueFile, LoneTemporaryFileIsTheOnlyCopyLeft) {
    // The catalogue went with the rename that was to replace it: a whole
    // temporary file takes its place and is read.
    TempFolder folder;
    const std::string path = folder.File("Corvel.cvx");
    WriteBytes(path + ".corvel-tmp", kWorkedExample);
    Catalogue catalogue;
    EXPECT_TRUE(LoadCatalogue(catalogue, path));
    EXPECT_EQ(CategoryNames(catalogue), (Names{"Tools", "Games"}));
    EXPECT_EQ(ReadBytes(path), kWorkedExample);
    EXPECT_EQ(FolderEntries(folder.Path()), (Names{"Corvel.cvx"}));

    // One cut off inside a line is no catalogue, but it is not deleted.
    fs::remove(path);
    WriteBytes(path + ".corvel-tmp", "[Tools]\r\n<Name=Zip");
    Catalogue cut;
    EXPECT_FALSE(LoadCatalogue(cut, path));
    EXPECT_EQ(FolderEntries(folder.Path()), (Names{"Corvel.cvx.corvel-tmp"}));
}

TEST(CatalogueFile, TellsWhetherASaveWouldWriteTheFileBack) {
    TempFolder folder;
    const std::string path = folder.File("c.cvx");
    auto savesAsRead = [&](const std::string& bytes) {
        WriteBytes(path, bytes);
        Catalogue catalogue;
        bool same = false;
        EXPECT_TRUE(LoadCatalogue(catalogue, path, {}, &same));
        return same;
    };
    EXPECT_TRUE(savesAsRead(kWorkedExample));
    EXPECT_FALSE(savesAsRead(kWorkedExample + "<Name=x>\r\n"));               // a dropped line
    EXPECT_FALSE(savesAsRead("[Tools]\n[Games]\n"));                          // LF-only lines
    EXPECT_FALSE(savesAsRead("\xEF\xBB\xBF" + kWorkedExample));               // a byte-order mark
    EXPECT_FALSE(savesAsRead("[ Tools ]\r\n"));                               // trimmed
    EXPECT_FALSE(savesAsRead("[Tools]\r\n<name=Zip\x02SrcPath=a.exe>\r\n"));  // respelt
    EXPECT_FALSE(savesAsRead(kWorkedExample + "\0tail"s));                    // behind a NUL
}

TEST(CatalogueFile, FolderNearThePathLimit) {
    // A folder of 240 characters can be made the plain way, but the file's
    // temporary name beside it runs past 260.
    TempFolder folder;
    fs::path deep = folder.Path();
    const std::size_t length = deep.native().size();
    if (length < 230) deep /= std::string(239 - length, 'd');
    ASSERT_TRUE(fs::create_directory(deep));
    const std::string path = (deep / "Corvel.cvx").string();
    Catalogue catalogue;
    catalogue.AddCategory("Tools");
    ASSERT_TRUE(SaveCatalogue(catalogue, path));
    Catalogue reread;
    ASSERT_TRUE(LoadCatalogue(reread, path));
    EXPECT_EQ(CategoryNames(reread), Names{"Tools"});
}

TEST(CatalogueFile, SaveToDisk) {
    TempFolder folder;
    Catalogue catalogue;
    CatalogueNode* tools = catalogue.AddCategory("Tools");
    ItemFields zip = Fields("Zip", "Soft\\zip.exe /S");
    zip.Regcode = "first\r\nsecond";
    catalogue.AddItem(tools, zip);
    CatalogueNode* games = catalogue.AddCategory("Games");

    // Saving leaves the modified flag alone.
    const std::string path = folder.File("Corvel.cvx");
    ASSERT_TRUE(SaveCatalogue(catalogue, path));
    EXPECT_TRUE(catalogue.IsModified());
    EXPECT_EQ(ReadBytes(path), kWorkedExample);
    catalogue.SetModified(false);
    std::vector<const CatalogueNode*> list{games};
    ASSERT_TRUE(SaveCatalogue(catalogue, folder.File("Games.cvx"), &list));
    EXPECT_FALSE(catalogue.IsModified());
    EXPECT_EQ(ReadBytes(folder.File("Games.cvx")), "[Games]\r\n");

    // Replacing a longer file leaves none of its old bytes and no temporary file.
    WriteBytes(path, std::string(100000, 'o'));
    ASSERT_TRUE(SaveCatalogue(catalogue, path));
    EXPECT_EQ(ReadBytes(path), kWorkedExample);
    EXPECT_EQ(FolderEntries(folder.Path()), (Names{"Corvel.cvx", "Games.cvx"}));

    Catalogue reread;
    ASSERT_TRUE(LoadCatalogue(reread, path));
    EXPECT_EQ(FormatCatalogueText(reread), kWorkedExample);

    // Saves that cannot write fail; one of the existing file itself leaves
    // it alone (its temporary file's name is taken by a folder).
    fs::create_directory(folder.Path() / "Folder.cvx");
    EXPECT_FALSE(SaveCatalogue(catalogue, folder.File("Folder.cvx")));
    EXPECT_FALSE(SaveCatalogue(catalogue, folder.File("missing/Corvel.cvx")));
    EXPECT_FALSE(SaveCatalogue(catalogue, ""));
    EXPECT_TRUE(fs::is_directory(folder.Path() / "Folder.cvx"));
    fs::create_directory(folder.Path() / "Corvel.cvx.corvel-tmp");
    Catalogue other;
    other.AddCategory("Other");
    EXPECT_FALSE(SaveCatalogue(other, path));
    EXPECT_EQ(ReadBytes(path), kWorkedExample);
    fs::remove(folder.Path() / "Corvel.cvx.corvel-tmp");
    EXPECT_EQ(FolderEntries(folder.Path()), (Names{"Corvel.cvx", "Folder.cvx", "Games.cvx"}));

    // An empty catalogue writes an empty file.
    Catalogue empty;
    ASSERT_TRUE(SaveCatalogue(empty, path));
    EXPECT_EQ(fs::file_size(path), 0u);
}

}  // namespace
}  // namespace corvel
