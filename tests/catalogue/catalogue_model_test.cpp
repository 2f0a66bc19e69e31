#include "catalogue/catalogue_model.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace corvel {
namespace {

ItemFields Fields(std::string name, std::string srcPath = "setup.exe") {
    ItemFields fields;
    fields.Name = std::move(name);
    fields.SrcPath = std::move(srcPath);
    return fields;
}

// Names of the children of parent, walking forward; also checks that the
// backward links and parent links agree with the forward walk.
std::vector<std::string> ChildNames(const CatalogueNode* parent) {
    std::vector<std::string> names;
    const CatalogueNode* previous = nullptr;
    for (const CatalogueNode* node = parent->FirstChild(); node; node = node->NextSibling()) {
        EXPECT_EQ(node->PreviousSibling(), previous);
        EXPECT_EQ(node->Parent(), parent);
        names.emplace_back(node->Name());
        previous = node;
    }
    return names;
}

using Names = std::vector<std::string>;

TEST(CatalogueModel, RootIsCreatedOnceAndEmpty) {
    Catalogue catalogue;
    EXPECT_EQ(static_cast<const Catalogue&>(catalogue).Root(), nullptr);
    CatalogueNode* root = catalogue.Root();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(catalogue.Root(), root);
    EXPECT_EQ(root->Kind(), NodeKind::Root);
    EXPECT_TRUE(root->Name().empty());
    EXPECT_EQ(root->Parent(), nullptr);
    EXPECT_TRUE(root->StoredField(Field::Name).empty());
    EXPECT_FALSE(catalogue.IsModified());
}

TEST(CatalogueModel, RegcodeLineBreaksAreStoredAsCodeAndHandedOutAsCrLf) {
    Catalogue catalogue;
    CatalogueNode* category = catalogue.AddCategory("Tools");
    ItemFields fields = Fields("Zip");
    fields.Regcode = "first\r\nsecond";
    CatalogueNode* item = catalogue.AddItem(category, fields);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->StoredField(Field::Regcode), "first\x03\x03second");

    fields.Regcode = "AAAA\r\nBBBB";
    ASSERT_TRUE(catalogue.SetItemFields(item, fields));
    EXPECT_EQ(item->StoredField(Field::Regcode),
              "AAAA\x03\x03"
              "BBBB");
    ItemFields out;
    ASSERT_TRUE(catalogue.GetItemFields(item, out));
    EXPECT_EQ(out.Regcode, "AAAA\r\nBBBB");
    EXPECT_EQ(out.Name, "Zip");
    EXPECT_EQ(out.SrcPath, "setup.exe");

    // Only the pair is a line break; lone CR and LF stay as they are.
    EXPECT_EQ(EncodeLineBreaks("a\rb\nc\n\r"), "a\rb\nc\n\r");
    EXPECT_EQ(EncodeLineBreaks("\r\n\r\n"), "\x03\x03\x03\x03");
    EXPECT_EQ(DecodeLineBreaks("\x03\x03\x03\x03"), "\r\n\r\n");
    EXPECT_EQ(DecodeLineBreaks("x\x03y"), "x\x03y");
    EXPECT_EQ(DecodeLineBreaks(EncodeLineBreaks("\r\r\n\n")), "\r\r\n\n");
}

TEST(CatalogueModel, CategoryNameLimits) {
    Catalogue catalogue;
    EXPECT_EQ(catalogue.AddCategory(""), nullptr);
    EXPECT_EQ(catalogue.AddCategory(std::string(129, 'a')), nullptr);
    EXPECT_FALSE(catalogue.IsModified());

    CatalogueNode* exact = catalogue.AddCategory(std::string(128, 'a'));
    ASSERT_NE(exact, nullptr);
    EXPECT_EQ(exact->Name().size(), 128u);

    std::string chinese;
    for (int i = 0; i < 64; ++i) chinese += "\xD6\xD0";  // 中
    EXPECT_NE(catalogue.AddCategory(chinese), nullptr);
    EXPECT_EQ(catalogue.AddCategory(chinese + "\xD6\xD0"), nullptr);

    // Renaming checks only that the name is not empty.
    EXPECT_FALSE(catalogue.RenameCategory(exact, ""));
    EXPECT_EQ(exact->Name(), std::string(128, 'a'));
    EXPECT_TRUE(catalogue.RenameCategory(exact, std::string(300, 'b')));
    EXPECT_EQ(exact->Name(), std::string(300, 'b'));
}

TEST(CatalogueModel, CategoryCountLimitCountsBeforeAdding) {
    Catalogue catalogue;
    CatalogueNode* root = catalogue.Root();
    // Items kept directly in the root do not count as categories.
    ASSERT_NE(catalogue.AddItem(root, Fields("loose")), nullptr);
    for (int i = 0; i < 10000; ++i) ASSERT_NE(catalogue.AddCategory("c" + std::to_string(i)), nullptr) << i;
    CatalogueNode* last = catalogue.AddCategory("the 10001st");
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(catalogue.Count(root, NodeKind::Category, false), 10001);
    EXPECT_EQ(catalogue.AddCategory("the 10002nd"), nullptr);
    EXPECT_EQ(catalogue.Count(root, NodeKind::Category, false), 10001);
    EXPECT_EQ(root->FirstChild()->NextSibling()->Name(), "c0");

    ASSERT_TRUE(catalogue.DeleteCategory(last));
    EXPECT_NE(catalogue.AddCategory("again the 10001st"), nullptr);
    EXPECT_EQ(catalogue.AddCategory("again the 10002nd"), nullptr);
}

TEST(CatalogueModel, AddItemChecksParentAndRequiredFields) {
    Catalogue catalogue;
    CatalogueNode* category = catalogue.AddCategory("Tools");
    catalogue.SetModified(false);

    ItemFields full;
    full.Name = "Zip";
    full.DstDir = "C:\\Zip";
    full.Patch = "patch.exe";
    full.Regcode = "code";
    full.Settings = "zip.reg";
    full.Comment = "comment";
    EXPECT_EQ(catalogue.AddItem(category, full), nullptr);  // no SrcPath
    EXPECT_EQ(catalogue.AddItem(category, Fields("", "setup.exe")), nullptr);
    EXPECT_EQ(catalogue.AddItem(nullptr, Fields("Zip")), nullptr);
    EXPECT_EQ(catalogue.Count(category, NodeKind::Item, false), 0);
    EXPECT_FALSE(catalogue.IsModified());

    CatalogueNode* item = catalogue.AddItem(category, Fields("Zip"));
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(catalogue.IsModified());
    EXPECT_EQ(item->Kind(), NodeKind::Item);
    EXPECT_EQ(item->Parent(), category);
    EXPECT_EQ(item->FirstChild(), nullptr);
    EXPECT_EQ(catalogue.AddItem(item, Fields("child of an item")), nullptr);

    CatalogueNode* loose = catalogue.AddItem(catalogue.Root(), Fields("loose"));
    ASSERT_NE(loose, nullptr);
    EXPECT_EQ(loose->Parent(), catalogue.Root());

    // Two items of one name are both kept, in order.
    ASSERT_NE(catalogue.AddItem(category, Fields("Zip")), nullptr);
    EXPECT_EQ(ChildNames(category), (Names{"Zip", "Zip"}));
    EXPECT_EQ(category->FirstChild()->NextSibling()->NextSibling(), nullptr);
}

TEST(CatalogueModel, ItemFieldChangesKeepNameAndNodeEqual) {
    Catalogue catalogue;
    CatalogueNode* category = catalogue.AddCategory("Tools");
    CatalogueNode* item = catalogue.AddItem(category, Fields("Zip"));
    catalogue.SetModified(false);

    EXPECT_FALSE(catalogue.SetItemFields(item, Fields("Zip", "")));
    EXPECT_FALSE(catalogue.SetItemFields(item, Fields("", "a.exe")));
    EXPECT_FALSE(catalogue.SetItemFields(category, Fields("Zip")));
    EXPECT_FALSE(catalogue.RenameItem(item, ""));
    EXPECT_FALSE(catalogue.RenameItem(category, "x"));
    EXPECT_FALSE(catalogue.RenameCategory(item, "x"));
    EXPECT_FALSE(catalogue.IsModified());
    EXPECT_EQ(item->Name(), "Zip");

    ItemFields fields = Fields("7-Zip", "7z.exe /S");
    fields.Comment = "archiver";
    ASSERT_TRUE(catalogue.SetItemFields(item, fields));
    EXPECT_TRUE(catalogue.IsModified());
    EXPECT_EQ(item->Name(), "7-Zip");

    catalogue.SetModified(false);
    ASSERT_TRUE(catalogue.RenameItem(item, "\xD1\xB9\xCB\xF5"));
    EXPECT_TRUE(catalogue.IsModified());
    ItemFields out;
    ASSERT_TRUE(catalogue.GetItemFields(item, out));
    EXPECT_EQ(out.Name, "\xD1\xB9\xCB\xF5");
    EXPECT_EQ(item->Name(), out.Name);
    EXPECT_EQ(out.SrcPath, "7z.exe /S");
    EXPECT_EQ(out.Comment, "archiver");

    EXPECT_FALSE(catalogue.GetItemFields(category, out));
    EXPECT_FALSE(catalogue.GetItemFields(nullptr, out));
}

TEST(CatalogueModel, MoveItem) {
    Catalogue catalogue;
    CatalogueNode* tools = catalogue.AddCategory("Tools");
    CatalogueNode* games = catalogue.AddCategory("Games");
    CatalogueNode* a = catalogue.AddItem(tools, Fields("a"));
    CatalogueNode* b = catalogue.AddItem(tools, Fields("b"));
    CatalogueNode* c = catalogue.AddItem(tools, Fields("c"));
    catalogue.AddItem(games, Fields("x"));
    catalogue.SetModified(false);

    // To its own category: refused, the item keeps its place.
    EXPECT_FALSE(catalogue.MoveItem(b, tools));
    EXPECT_FALSE(catalogue.MoveItem(b, catalogue.Root()));
    EXPECT_FALSE(catalogue.MoveItem(b, c));
    EXPECT_FALSE(catalogue.MoveItem(b, nullptr));
    EXPECT_FALSE(catalogue.MoveItem(tools, games));
    EXPECT_FALSE(catalogue.IsModified());
    EXPECT_EQ(ChildNames(tools), (Names{"a", "b", "c"}));

    // From the middle, the front and the end: each goes last in the target.
    ASSERT_TRUE(catalogue.MoveItem(b, games));
    EXPECT_TRUE(catalogue.IsModified());
    ASSERT_TRUE(catalogue.MoveItem(a, games));
    EXPECT_EQ(ChildNames(tools), (Names{"c"}));
    ASSERT_TRUE(catalogue.MoveItem(c, games));
    EXPECT_EQ(ChildNames(tools), Names{});
    EXPECT_EQ(tools->FirstChild(), nullptr);
    EXPECT_EQ(ChildNames(games), (Names{"x", "b", "a", "c"}));
    EXPECT_EQ(c->NextSibling(), nullptr);
    EXPECT_EQ(catalogue.Count(tools, NodeKind::Item, false), 0);
    EXPECT_EQ(catalogue.Count(games, NodeKind::Item, false), 4);

    // An emptied category appends correctly again.
    ASSERT_TRUE(catalogue.MoveItem(b, tools));
    ASSERT_NE(catalogue.AddItem(tools, Fields("d")), nullptr);
    EXPECT_EQ(ChildNames(tools), (Names{"b", "d"}));
}

TEST(CatalogueModel, DeleteKeepsNeighboursInOrder) {
    Catalogue catalogue;
    CatalogueNode* first = catalogue.AddCategory("first");
    CatalogueNode* middle = catalogue.AddCategory("middle");
    CatalogueNode* last = catalogue.AddCategory("last");
    for (const char* name : {"a", "b", "c", "d"}) catalogue.AddItem(middle, Fields(name));
    catalogue.AddItem(first, Fields("kept"));
    catalogue.SetModified(false);

    EXPECT_FALSE(catalogue.DeleteCategory(nullptr));
    EXPECT_FALSE(catalogue.DeleteCategory(catalogue.Root()));
    EXPECT_FALSE(catalogue.DeleteCategory(first->FirstChild()));
    EXPECT_FALSE(catalogue.DeleteItem(nullptr));
    EXPECT_FALSE(catalogue.DeleteItem(middle));
    EXPECT_FALSE(catalogue.IsModified());

    // Items: from the middle, the front and the end.
    CatalogueNode* b = middle->FirstChild()->NextSibling();
    ASSERT_TRUE(catalogue.DeleteItem(b));
    EXPECT_TRUE(catalogue.IsModified());
    EXPECT_EQ(ChildNames(middle), (Names{"a", "c", "d"}));
    ASSERT_TRUE(catalogue.DeleteItem(middle->FirstChild()));
    EXPECT_EQ(ChildNames(middle), (Names{"c", "d"}));
    ASSERT_TRUE(catalogue.DeleteItem(middle->FirstChild()->NextSibling()));
    EXPECT_EQ(ChildNames(middle), (Names{"c"}));
    ASSERT_NE(catalogue.AddItem(middle, Fields("e")), nullptr);
    EXPECT_EQ(ChildNames(middle), (Names{"c", "e"}));

    // A category goes with its items; the others keep their order and items.
    catalogue.SetModified(false);
    ASSERT_TRUE(catalogue.DeleteCategory(middle));
    EXPECT_TRUE(catalogue.IsModified());
    EXPECT_EQ(ChildNames(catalogue.Root()), (Names{"first", "last"}));
    EXPECT_EQ(catalogue.Count(catalogue.Root(), NodeKind::Item, true), 1);
    EXPECT_EQ(ChildNames(first), (Names{"kept"}));
    ASSERT_TRUE(catalogue.DeleteCategory(last));
    ASSERT_NE(catalogue.AddCategory("new"), nullptr);
    EXPECT_EQ(ChildNames(catalogue.Root()), (Names{"first", "new"}));
    ASSERT_TRUE(catalogue.DeleteCategory(first));
    EXPECT_EQ(ChildNames(catalogue.Root()), (Names{"new"}));
}

TEST(CatalogueModel, ManyItemsInOneCategory) {
    // Deleting and destroying must not recurse once per sibling; this many
    // siblings overflow the stack of a recursive free.
    constexpr int kItems = 250000;
    Catalogue catalogue;
    CatalogueNode* big = catalogue.AddCategory("big");
    CatalogueNode* other = catalogue.AddCategory("other");
    for (int i = 0; i < kItems; ++i) ASSERT_NE(catalogue.AddItem(big, Fields("item")), nullptr);
    for (int i = 0; i < 3; ++i) ASSERT_NE(catalogue.AddItem(other, Fields("item")), nullptr);
    EXPECT_EQ(catalogue.Count(big, NodeKind::Item, false), kItems);
    EXPECT_EQ(catalogue.Count(catalogue.Root(), NodeKind::Item, true), kItems + 3);
    EXPECT_TRUE(catalogue.DeleteCategory(big));
    EXPECT_EQ(catalogue.Count(catalogue.Root(), NodeKind::Item, true), 3);
}

TEST(CatalogueModel, CountAndEnumerate) {
    Catalogue catalogue;
    CatalogueNode* root = catalogue.Root();
    CatalogueNode* tools = catalogue.AddCategory("Tools");
    CatalogueNode* games = catalogue.AddCategory("Games");
    catalogue.AddItem(tools, Fields("a"));
    catalogue.AddItem(tools, Fields("b"));
    catalogue.AddItem(games, Fields("c"));
    catalogue.AddItem(root, Fields("loose"));
    catalogue.SetModified(false);

    EXPECT_EQ(catalogue.Count(root, NodeKind::Category, false), 2);
    EXPECT_EQ(catalogue.Count(root, NodeKind::Category, true), 2);
    EXPECT_EQ(catalogue.Count(root, NodeKind::Item, false), 1);
    EXPECT_EQ(catalogue.Count(root, NodeKind::Item, true), 4);
    EXPECT_EQ(catalogue.Count(tools, NodeKind::Item, true), 2);
    EXPECT_EQ(catalogue.Count(tools, NodeKind::Category, false), 0);
    EXPECT_EQ(catalogue.Count(root, NodeKind::Root, false), 0);
    EXPECT_EQ(catalogue.Count(tools->FirstChild(), NodeKind::Item, true), 0);
    EXPECT_EQ(catalogue.Count(nullptr, NodeKind::Item, true), 0);

    std::vector<std::pair<NodeKind, std::string>> seen;
    auto record = [&](NodeKind kind, CatalogueNode* node) { seen.emplace_back(kind, node->Name()); };
    ASSERT_TRUE(catalogue.Enumerate(root, NodeKind::Category, record));
    EXPECT_EQ(seen, (std::vector<std::pair<NodeKind, std::string>>{{NodeKind::Category, "Tools"},
                                                                   {NodeKind::Category, "Games"}}));
    seen.clear();
    ASSERT_TRUE(catalogue.Enumerate(tools, NodeKind::Item, record));
    EXPECT_EQ(seen, (std::vector<std::pair<NodeKind, std::string>>{{NodeKind::Item, "a"}, {NodeKind::Item, "b"}}));
    seen.clear();
    ASSERT_TRUE(catalogue.Enumerate(root, NodeKind::Item, record));
    EXPECT_EQ(seen, (std::vector<std::pair<NodeKind, std::string>>{{NodeKind::Item, "loose"}}));

    seen.clear();
    EXPECT_FALSE(catalogue.Enumerate(root, NodeKind::Category, Catalogue::EnumerateCallback()));
    EXPECT_FALSE(catalogue.Enumerate(root, NodeKind::Root, record));
    EXPECT_FALSE(catalogue.Enumerate(tools->FirstChild(), NodeKind::Item, record));
    EXPECT_FALSE(catalogue.Enumerate(nullptr, NodeKind::Item, record));
    EXPECT_TRUE(seen.empty());

    // A receiver may delete the node it is handed.
    ASSERT_TRUE(
        catalogue.Enumerate(tools, NodeKind::Item, [&](NodeKind, CatalogueNode* node) { catalogue.DeleteItem(node); }));
    EXPECT_EQ(tools->FirstChild(), nullptr);
    catalogue.SetModified(false);

    // Reading never marks the catalogue modified.
    ItemFields out;
    catalogue.GetItemFields(games->FirstChild(), out);
    catalogue.Count(root, NodeKind::Item, true);
    catalogue.Enumerate(root, NodeKind::Category, record);
    EXPECT_FALSE(catalogue.IsModified());
}

TEST(CatalogueModel, NodesOfAnotherCatalogueAreRefused) {
    Catalogue mine;
    Catalogue theirs;
    CatalogueNode* myCategory = mine.AddCategory("mine");
    CatalogueNode* myItem = mine.AddItem(myCategory, Fields("my item"));
    CatalogueNode* category = theirs.AddCategory("theirs");
    CatalogueNode* item = theirs.AddItem(category, Fields("their item"));
    mine.SetModified(false);
    theirs.SetModified(false);

    ItemFields out;
    EXPECT_EQ(mine.AddItem(category, Fields("x")), nullptr);
    EXPECT_EQ(mine.AddItem(theirs.Root(), Fields("x")), nullptr);
    EXPECT_EQ(mine.AddStoredItem(category, ViewsOf(Fields("x"))), nullptr);
    EXPECT_FALSE(mine.DeleteCategory(category));
    EXPECT_FALSE(mine.RenameCategory(category, "x"));
    EXPECT_FALSE(mine.DeleteItem(item));
    EXPECT_FALSE(mine.SetItemFields(item, Fields("x")));
    EXPECT_FALSE(mine.GetItemFields(item, out));
    EXPECT_FALSE(mine.RenameItem(item, "x"));
    EXPECT_FALSE(mine.MoveItem(item, myCategory));
    EXPECT_FALSE(mine.MoveItem(myItem, category));
    EXPECT_EQ(mine.Count(theirs.Root(), NodeKind::Category, false), 0);
    EXPECT_FALSE(mine.Enumerate(category, NodeKind::Item, [](NodeKind, CatalogueNode*) {}));

    EXPECT_FALSE(mine.IsModified());
    EXPECT_FALSE(theirs.IsModified());
    EXPECT_EQ(category->Name(), "theirs");
    EXPECT_EQ(item->Parent(), category);
    EXPECT_EQ(myItem->Parent(), myCategory);
    EXPECT_EQ(item->Name(), "their item");

    // A catalogue without a root yet owns nothing.
    Catalogue empty;
    EXPECT_FALSE(empty.DeleteItem(item));
    EXPECT_EQ(empty.Count(category, NodeKind::Item, false), 0);
}

TEST(CatalogueModel, ReadersNeverSeeAHalfRenamedItem) {
    Catalogue catalogue;
    CatalogueNode* item = catalogue.AddItem(catalogue.AddCategory("Tools"), Fields("x"));
    // Long enough to live on the heap, so a torn read would show.
    const std::string first(100, 'a');
    const std::string second(200, 'b');
    ASSERT_TRUE(catalogue.RenameItem(item, first));

    std::atomic<bool> done{false};
    std::atomic<int> bad{0};
    std::thread worker([&] {
        ItemFields out;
        while (!done.load()) {
            if (!catalogue.GetItemFields(item, out) || (out.Name != first && out.Name != second)) ++bad;
        }
    });
    for (int i = 0; i < 20000; ++i) {
        catalogue.RenameItem(item, (i % 2) ? first : second);
        if (i % 100 == 0) catalogue.SetItemFields(item, Fields(second));
    }
    done = true;
    worker.join();
    EXPECT_EQ(bad.load(), 0);
}

}  // namespace
}  // namespace corvel
