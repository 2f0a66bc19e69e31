// The install item commands on the real frame and view, with the item
// editor and the message boxes answered by the test.
#include <gtest/gtest.h>
#include <windows.h>

#include <shellapi.h>

#include <utility>

#include "ui/main/item_commands.h"
#include "catalogue/shell/shell_launch.h"
#include "catalogue/win32_text.h"
#include "components/component_interface.h"
#include "tests/support/unstorable_text.h"
#include "tests/ui/frame_test.h"
#include "tests/ui/shown_message.h"
#include "ui/item_editor/item_editor_dialog.h"
#include "ui/main/resource.h"

namespace corvel::ui {
namespace {

using corvel::testing::kUnstorableTexts;
using corvel::testing::UnstorableMessage;

// C:\windows\notepad.exe exists in every Wine prefix.
std::string Item(const std::string& name, const std::string& more = {}) {
    return "<Name=" + name + "\x02SrcPath=C:\\windows\\notepad.exe\x02" + more + ">\r\n";
}

const std::string kFiveItems = "[Tools]\r\n" + Item("A", "Comment=first\x02") + Item("B") + Item("C") + Item("D") +
                               Item("E") + "[Games]\r\n" + Item("F") + "[Empty]\r\n";

using ItemCommandsTest = FrameTest;

TEST_F(ItemCommandsTest, AddAppendsTheEditedItemAtTheEndOfTheCurrentCategory) {
    WriteCatalogue(kFiveItems);
    Start();
    SendMessageW(List(), 1988, 1, 0);  // switch to Games
    ItemEditorMode mode{};
    dialogScript_ = [&](Dialog& dialog) -> INT_PTR {
        auto& editor = dynamic_cast<CItemEditorDialog&>(dialog);
        mode = editor.Mode();
        EXPECT_EQ(editor.Record().Name, "");
        editor.Record() = {"New", "C:\\windows\\regedit.exe /s", "", "", "one\r\ntwo", "", "note"};
        return IDOK;
    };
    Command(ID_ITEM_ADD);
    EXPECT_EQ(dialogs_, std::vector<int>{IDD_ITEM_EDITOR});
    EXPECT_EQ(mode, ItemEditorMode::Add);
    EXPECT_EQ(ItemNamesOf(1), (std::vector<std::string>{"F", "New"}));
    EXPECT_EQ(EntryNames(), (std::vector<std::string>{"F", "New"}));
    EXPECT_EQ(Controls().ItemOfEntry(1)->StoredField(Field::Regcode), "one\x03\x03two");
    EXPECT_TRUE(Model().IsModified());

    // Cancel adds nothing; without a category there is nothing to add to.
    dialogScript_ = nullptr;
    Command(ID_ITEM_ADD);
    EXPECT_EQ(ItemNamesOf(1).size(), 2u);
}

TEST_F(ItemCommandsTest, AddNeedsACategoryAndCancelLeavesTheCatalogueUnchanged) {
    Start();
    Command(ID_ITEM_ADD);
    EXPECT_TRUE(dialogs_.empty());

    WriteCatalogue(kFiveItems);
    Start();
    Command(ID_ITEM_ADD);
    EXPECT_EQ(dialogs_.size(), 1u);
    EXPECT_EQ(ItemNamesOf(0).size(), 5u);
    EXPECT_FALSE(Model().IsModified());
}

TEST_F(ItemCommandsTest, EditStoresAllFieldsOfTheFirstSelectedEntry) {
    WriteCatalogue(kFiveItems);
    Start();
    Command(ID_ITEM_EDIT);  // nothing selected
    EXPECT_TRUE(dialogs_.empty());

    SelectEntry(3);
    SelectEntry(1);
    ItemFields seen;
    dialogScript_ = [&](Dialog& dialog) -> INT_PTR {
        auto& editor = dynamic_cast<CItemEditorDialog&>(dialog);
        EXPECT_EQ(editor.Mode(), ItemEditorMode::Edit);
        seen = editor.Record();
        editor.Record().Name = "Bee";
        editor.Record().Comment = "changed";
        return IDOK;
    };
    Command(ID_ITEM_EDIT);
    EXPECT_EQ(seen.Name, "B");
    EXPECT_EQ(seen.SrcPath, "C:\\windows\\notepad.exe");
    EXPECT_EQ(EntryNames(), (std::vector<std::string>{"A", "Bee", "C", "D", "E"}));
    ItemFields stored;
    ASSERT_TRUE(Model().GetItemFields(Controls().ItemOfEntry(1), stored));
    EXPECT_EQ(stored.Comment, "changed");

    dialogScript_ = [&](Dialog& dialog) -> INT_PTR {
        dynamic_cast<CItemEditorDialog&>(dialog).Record().Name = "Lost";
        return IDCANCEL;
    };
    Command(ID_ITEM_EDIT);
    EXPECT_EQ(Controls().ItemOfEntry(1)->Name(), "Bee");
}

TEST_F(ItemCommandsTest, DeleteAsksThenRemovesExactlyTheSelectedEntries) {
    WriteCatalogue(kFiveItems);
    Start();
    for (int i : {0, 2, 4}) SelectEntry(i);
    answers_ = {IDNO};
    Command(ID_ITEM_DELETE);
    ASSERT_EQ(shown_.size(), 1u);
    ExpectMessage(shown_[0], L"确实要删除当前选择的安装程序吗？", L"删除安装程序", MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(EntryNames().size(), 5u);

    auto place = [this](int index) {
        POINT position{};
        ListView_GetItemPosition(List(), index, &position);
        return std::pair(position.x, position.y);
    };
    const auto firstPlace = place(0), secondPlace = place(1);
    ASSERT_NE(firstPlace, secondPlace);

    answers_ = {IDYES};
    Command(ID_ITEM_DELETE);
    EXPECT_EQ(EntryNames(), (std::vector<std::string>{"B", "D"}));
    EXPECT_EQ(ItemNamesOf(0), (std::vector<std::string>{"B", "D"}));
    EXPECT_EQ(frame_->StatusText(), L"");
    // Closed up: the remaining entries stand where A and B stood.
    EXPECT_EQ(place(0), firstPlace);
    EXPECT_EQ(place(1), secondPlace);

    // The Delete key asks too, and only with a selection.
    shown_.clear();
    SendMessageW(List(), WM_KEYUP, VK_DELETE, 0);
    EXPECT_TRUE(shown_.empty());
}

// Ends a label edit as the list reports it to the frame; nullptr cancels.
void EndLabelEdit(HWND frame, HWND list, int entry, const wchar_t* text) {
    NMLVDISPINFOW edit{};
    edit.hdr = {list, IDC_ITEM_LIST, static_cast<UINT>(LVN_ENDLABELEDITW)};
    edit.item.iItem = entry;
    edit.item.pszText = const_cast<wchar_t*>(text);
    EXPECT_EQ(SendMessageW(frame, WM_NOTIFY, IDC_ITEM_LIST, reinterpret_cast<LPARAM>(&edit)), FALSE);
}

TEST_F(ItemCommandsTest, RenameRefusalsReportAndReopenTheEdit) {
    WriteCatalogue(kFiveItems);
    Start();
    struct Case {
        const wchar_t* text;
        const wchar_t* message;
        UINT icon;
    };
    const Case refusals[] = {
        {L"", L"必须键入显示的名称", MB_ICONSTOP},
        {L" lead", L"显示名称的第一个字母不能是空格或制表符", MB_ICONEXCLAMATION},
        {L"\tlead", L"显示名称的第一个字母不能是空格或制表符", MB_ICONEXCLAMATION},
        {L"a\x02"
         L"b",
         L"显示名称中不能含有软件的保留字符", MB_ICONSTOP},
    };
    for (const Case& refusal : refusals) {
        shown_.clear();
        EndLabelEdit(frame_->Handle(), List(), 2, refusal.text);
        ASSERT_EQ(shown_.size(), 1u);
        ExpectMessageIcon(shown_[0], refusal.message, L"重命名", refusal.icon);
        MSG restart;
        ASSERT_TRUE(PeekMessageW(&restart, List(), kRestartRenameMessage, kRestartRenameMessage, PM_REMOVE));
        EXPECT_EQ(restart.wParam, 2u);
        EXPECT_EQ(Controls().ItemOfEntry(2)->Name(), "C");
    }
    EXPECT_FALSE(Model().IsModified());

    shown_.clear();
    EndLabelEdit(frame_->Handle(), List(), 2, nullptr);   // cancelled
    EndLabelEdit(frame_->Handle(), List(), 2, L"新 名");  // a blank inside is fine
    EXPECT_TRUE(shown_.empty());
    EXPECT_EQ(Controls().ItemOfEntry(2)->Name(), "\xD0\xC2 \xC3\xFB");
    wchar_t label[32] = {};
    ListView_GetItemText(List(), 2, 0, label, 32);
    EXPECT_STREQ(label, L"新 名");
    EXPECT_TRUE(Model().IsModified());

    // An entry that no longer exists cannot be renamed.
    EndLabelEdit(frame_->Handle(), List(), 9, L"Gone");
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].text, L"重命名安装程序时遇到错误");
}

TEST_F(ItemCommandsTest, RenamesTheCatalogueWouldLoseOrCannotHoldAreRefusedAndReopenWithTheTypedText) {
    WriteCatalogue(kFiveItems);
    Start();
    const std::wstring empty = L"必须键入显示的名称", reserved = L"显示名称中不能含有软件的保留字符";
    struct Case {
        std::wstring text;
        std::wstring message;
    };
    // Only white space as the reader trims it would read back as no name;
    // a line break would split the item's line.
    std::vector<Case> refusals = {
        {L"\v", empty},        {L"\f\f", empty},    {L"\r", empty},      {L"\v\r\n\f", empty},
        {L"A\r\nB", reserved}, {L"A\nB", reserved}, {L"A\rB", reserved}, {L"AB\r\n", reserved},
    };
    for (const wchar_t* bad : kUnstorableTexts) refusals.push_back({bad, UnstorableMessage(L"显示名称")});
    for (std::size_t i = 0; i < refusals.size(); ++i) {
        const Case& refusal = refusals[i];
        SCOPED_TRACE(i);
        shown_.clear();
        EndLabelEdit(frame_->Handle(), List(), 2, refusal.text.c_str());
        ASSERT_EQ(shown_.size(), 1u);
        ExpectMessage(shown_[0], refusal.message, L"重命名", MB_OK | MB_ICONSTOP);
        EXPECT_EQ(Controls().ItemOfEntry(2)->Name(), "C");

        // The edit opens again on the row, holding what was typed.
        MSG restart;
        ASSERT_TRUE(PeekMessageW(&restart, List(), kRestartRenameMessage, kRestartRenameMessage, PM_REMOVE));
        EXPECT_EQ(restart.wParam, 2u);
        DispatchMessageW(&restart);
        HWND field = ListView_GetEditControl(List());
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(Window(field).Text(), refusal.text);
        ListView_CancelEditLabel(List());
    }
    EXPECT_FALSE(Model().IsModified());
    EXPECT_EQ(EntryNames(), (std::vector<std::string>{"A", "B", "C", "D", "E"}));

    // Vertical tab and form feed inside a name split nothing.
    shown_.clear();
    EndLabelEdit(frame_->Handle(), List(), 2, L"A\vB\f");
    EXPECT_TRUE(shown_.empty());
    EXPECT_EQ(Controls().ItemOfEntry(2)->Name(), "A\vB\f");
}

TEST_F(ItemCommandsTest, MoveMakesTheTargetCurrentWithTheItemsAtItsEndInOrder) {
    WriteCatalogue(kFiveItems);
    Start();
    SelectEntry(3);
    SelectEntry(0);
    SendMessageW(List(), 1997, 1, 0);
    EXPECT_EQ(Controls().CurrentTab(), 1);
    EXPECT_EQ(EntryNames(), (std::vector<std::string>{"F", "A", "D"}));
    EXPECT_EQ(ItemNamesOf(0), (std::vector<std::string>{"B", "C", "E"}));

    // Out of range or without a selection nothing moves.
    SendMessageW(List(), 1997, 7, 0);
    SelectEntry(0);
    SendMessageW(List(), 1997, 7, 0);
    EXPECT_EQ(EntryNames(), (std::vector<std::string>{"F", "A", "D"}));
}

// Records what would be handed to the shell instead of starting Explorer.
std::vector<std::wstring> g_shellCalls;
BOOL WINAPI RecordShellExecute(SHELLEXECUTEINFOW* info) {
    g_shellCalls.push_back(std::wstring(info->lpVerb ? info->lpVerb : L"") + L"|" +
                           (info->lpFile ? info->lpFile : L"") + L"|" +
                           (info->lpParameters ? info->lpParameters : L""));
    return TRUE;
}

TEST_F(ItemCommandsTest, ViewFileAndPropertiesReportMissingFilesAndPassExistingOnes) {
    WriteCatalogue("[Tools]\r\n<Name=Zip\x02SrcPath=C:\\windows\\notepad.exe /x\x02Patch=Soft\\fix.exe -q\x02>\r\n");
    Start();
    g_shellCalls.clear();
    SetShellExecuteForTesting(RecordShellExecute);
    SelectEntry(0);

    SendMessageW(List(), 2001, kPatchStep, 0);
    SendMessageW(List(), 2002, kPatchStep, 0);
    ASSERT_EQ(shown_.size(), 2u);
    std::wstring missing = WideFromCp936(folder_.string()) + L"\\Soft\\fix.exe";
    ExpectMessageIcon(shown_[0], L"“Zip”的补钉程序“" + missing + L"”不存在，请检查文件的路径是否正确", L"查看",
                      MB_ICONSTOP);
    EXPECT_EQ(shown_[1].caption, L"属性");

    shown_.clear();
    SendMessageW(List(), 2001, kSettingsStep, 0);  // empty field: silent
    SendMessageW(List(), 2001, 3, 0);              // no such file kind
    EXPECT_TRUE(shown_.empty());
    EXPECT_TRUE(g_shellCalls.empty());

    SendMessageW(List(), 2001, kInstallerStep, 0);
    SendMessageW(List(), 2002, kInstallerStep, 0);
    SetShellExecuteForTesting(nullptr);
    EXPECT_TRUE(shown_.empty());
    ASSERT_EQ(g_shellCalls.size(), 2u);
    EXPECT_NE(g_shellCalls[0].find(L"/select,\"C:\\windows\\notepad.exe\""), std::wstring::npos) << g_shellCalls[0];
    EXPECT_EQ(g_shellCalls[1], L"properties|C:\\windows\\notepad.exe|");
}

TEST_F(ItemCommandsTest, StatusBarFollowsEveryStateChangeOfAnEntry) {
    WriteCatalogue(kFiveItems);
    Start();
    SelectEntry(0);
    EXPECT_EQ(frame_->StatusText(), L"first");
    // A change of focus alone on an unselected entry clears it.
    ListView_SetItemState(List(), 1, LVIS_FOCUSED, LVIS_FOCUSED);
    EXPECT_EQ(frame_->StatusText(), L"");
    ListView_SetItemState(List(), 0, LVIS_FOCUSED, LVIS_FOCUSED);
    EXPECT_EQ(frame_->StatusText(), L"first");
}

}  // namespace
}  // namespace corvel::ui
