// The category commands on the real frame and view, with the category
// dialog and the question box answered by the test.
#include <gtest/gtest.h>
#include <windows.h>

#include <optional>

#include "tests/ui/frame_test.h"
#include "tests/ui/shown_message.h"
#include "ui/category_dialog/category_dialog.h"
#include "ui/item_editor/item_editor_dialog.h"
#include "ui/main/resource.h"

namespace corvel::ui {
namespace {

std::string Item(const std::string& name) {
    return "<Name=" + name + "\x02SrcPath=C:\\windows\\notepad.exe\x02>\r\n";
}

const std::string kThree = "[One]\r\n" + Item("a") + "[Two]\r\n" + Item("b") + Item("c") + "[Three]\r\n" + Item("d");

class CategoryCommandsTest : public FrameTest {
protected:
    // The dialog answers OK with this name, or Cancel when it is unset.
    void AnswerDialogWith(std::optional<std::string> name) {
        dialogScript_ = [this, name](Dialog& dialog) -> INT_PTR {
            auto& categoryDialog = dynamic_cast<CCategoryDialog&>(dialog);
            seenName_ = categoryDialog.Name();
            seenNew_ = categoryDialog.IsNewCategory();
            if (!name) return IDCANCEL;
            categoryDialog.Name() = *name;
            return IDOK;
        };
    }
    std::string seenName_;
    bool seenNew_ = false;

    std::vector<int> HighlightedTabs() {
        std::vector<int> highlighted;
        for (int i = 0, count = Controls().TabCount(); i < count; ++i) {
            TCITEMW item{};
            item.mask = TCIF_STATE;
            item.dwStateMask = TCIS_HIGHLIGHTED;
            SendMessageW(Controls().Tabs(), TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
            if (item.dwState & TCIS_HIGHLIGHTED) highlighted.push_back(i);
        }
        return highlighted;
    }
};

TEST_F(CategoryCommandsTest, NewAppendsATabAndMakesItCurrent) {
    WriteCatalogue(kThree);
    Start();
    AnswerDialogWith("Two");
    Command(ID_CATEGORY_NEW);
    EXPECT_EQ(dialogs_, std::vector<int>{IDD_CATEGORY});
    EXPECT_TRUE(seenNew_);
    EXPECT_EQ(seenName_, "");
    // A second category of the same name is allowed.
    EXPECT_EQ(TabTexts(), (std::vector<std::wstring>{L"One", L"Two", L"Three", L"Two"}));
    EXPECT_EQ(Controls().CurrentTab(), 3);
    EXPECT_EQ(Controls().EntryCount(), 0);

    // Cancel, and a name the catalogue refuses, add nothing and say nothing.
    AnswerDialogWith(std::nullopt);
    Command(ID_CATEGORY_NEW);
    AnswerDialogWith(std::string(129, 'x'));
    Command(ID_CATEGORY_NEW);
    EXPECT_EQ(Controls().TabCount(), 4);
    EXPECT_EQ(Controls().CurrentTab(), 3);
    EXPECT_TRUE(shown_.empty());
}

TEST_F(CategoryCommandsTest, DeleteAsksAndMovesToTheLeftNeighbour) {
    struct Case {
        int current;
        std::vector<std::wstring> left;
        int newCurrent;
        std::vector<std::string> entries;
    };
    const Case cases[] = {
        {0, {L"Two", L"Three"}, 0, {"b", "c"}},
        {1, {L"One", L"Three"}, 0, {"a"}},
        {2, {L"One", L"Two"}, 1, {"b", "c"}},
    };
    for (const Case& c : cases) {
        WriteCatalogue(kThree);
        Start();
        SendMessageW(List(), 1988, c.current, 0);
        shown_.clear();
        answers_ = {IDYES};
        Command(ID_CATEGORY_DELETE);
        ASSERT_EQ(shown_.size(), 1u);
        ExpectMessage(shown_[0], L"确实要删除当前分类吗？", L"删除分类", MB_YESNO | MB_ICONQUESTION);
        EXPECT_EQ(TabTexts(), c.left) << "deleting " << c.current;
        EXPECT_EQ(Controls().CurrentTab(), c.newCurrent);
        EXPECT_EQ(HighlightedTabs(), std::vector<int>{c.newCurrent});
        EXPECT_EQ(EntryNames(), c.entries);
        EXPECT_EQ(Model().Count(Model().Root(), NodeKind::Item, true), c.current == 1 ? 2 : 3);
    }
}

TEST_F(CategoryCommandsTest, DeletingTheOnlyCategoryLeavesNoTabAndNoEntry) {
    WriteCatalogue("[Only]\r\n" + Item("a"));
    Start();
    answers_ = {IDNO};
    Command(ID_CATEGORY_DELETE);
    EXPECT_EQ(Controls().TabCount(), 1);
    EXPECT_FALSE(Model().IsModified());

    answers_ = {IDYES};
    Command(ID_CATEGORY_DELETE);
    EXPECT_EQ(Controls().TabCount(), 0);
    EXPECT_EQ(Controls().EntryCount(), 0);
    EXPECT_EQ(Model().Count(Model().Root(), NodeKind::Category, false), 0);

    shown_.clear();
    Command(ID_CATEGORY_DELETE);  // nothing left to delete: no question
    EXPECT_TRUE(shown_.empty());
}

TEST_F(CategoryCommandsTest, EditRenamesTheCurrentTabWithoutRefillingTheList) {
    WriteCatalogue(kThree);
    Start();
    SendMessageW(List(), 1988, 1, 0);
    SelectEntry(1);
    AnswerDialogWith("\xB9\xA4\xBE\xDF ");  // 工具 with a trailing blank
    Command(ID_CATEGORY_EDIT);
    EXPECT_FALSE(seenNew_);
    EXPECT_EQ(seenName_, "Two");
    EXPECT_EQ(TabTexts(), (std::vector<std::wstring>{L"One", L"工具 ", L"Three"}));
    EXPECT_EQ(Controls().CategoryOfTab(1)->Name(), "\xB9\xA4\xBE\xDF ");
    EXPECT_EQ(Controls().CurrentTab(), 1);
    EXPECT_TRUE(Controls().IsSelected(1)) << "the list was refilled";

    AnswerDialogWith(std::nullopt);
    Command(ID_CATEGORY_EDIT);
    EXPECT_EQ(Controls().CategoryOfTab(1)->Name(), "\xB9\xA4\xBE\xDF ");
}

TEST_F(CategoryCommandsTest, SwitchToIgnoresTheCurrentAndUnknownIndices) {
    WriteCatalogue(kThree);
    Start();
    SelectEntry(0);
    for (int index : {0, -1, 3}) SendMessageW(List(), 1988, static_cast<WPARAM>(index), 0);
    EXPECT_EQ(Controls().CurrentTab(), 0);
    EXPECT_TRUE(Controls().IsSelected(0)) << "the list was refilled";
    EXPECT_EQ(HighlightedTabs(), std::vector<int>{0});
    SendMessageW(List(), 1988, 2, 0);
    EXPECT_EQ(Controls().CurrentTab(), 1 + 1);
    EXPECT_EQ(EntryNames(), std::vector<std::string>{"d"});
    SendMessageW(List(), 1988, 1, 0);
    EXPECT_EQ(HighlightedTabs(), std::vector<int>{1});
}

TEST_F(CategoryCommandsTest, ACatalogueBuiltByHandIsWrittenAtTheEnd) {
    Start();
    AnswerDialogWith("Tools");
    Command(ID_CATEGORY_NEW);
    AnswerDialogWith("Games");
    Command(ID_CATEGORY_NEW);
    dialogScript_ = [](Dialog& dialog) -> INT_PTR {
        auto* editor = dynamic_cast<CItemEditorDialog*>(&dialog);
        if (!editor) return IDCANCEL;
        editor->Record() = {"Pad", "C:\\windows\\notepad.exe", "D:\\Pad", "", "x||y\r\nz", "", ""};
        return IDOK;
    };
    Command(ID_ITEM_ADD);
    SelectEntry(0);
    SendMessageW(List(), 1997, 0, 0);  // move Pad to Tools
    Close();
    EXPECT_EQ(ReadCatalogue(),
              "[Tools]\r\n<Name=Pad\x02SrcPath=C:\\windows\\notepad.exe\x02"
              "DstDir=D:\\Pad\x02Regcode=x||y\x03\x03z\x02>\r\n[Games]\r\n");
}

}  // namespace
}  // namespace corvel::ui
