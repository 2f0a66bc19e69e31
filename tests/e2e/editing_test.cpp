// Building a catalogue by hand in the running program, through its own
// dialogs and question boxes, and the file it writes at the end.
#include "tests/e2e/e2e_test_support.h"

#include <commctrl.h>

namespace corvel::e2e {
namespace {

constexpr WORD kNewCategory = 32772;
constexpr WORD kDeleteCategory = 32773;
constexpr WORD kEditCategory = 32774;
constexpr int kCategoryName = 1008;
constexpr int kItemComment = 1010;
constexpr int kItemSource = 1011;
constexpr int kItemFolder = 1012;
constexpr int kItemRegcode = 1013;

const std::wstring kNewCategoryCaption = L"\u65b0\u5efa\u5206\u7c7b";          // 新建分类
const std::wstring kEditCategoryCaption = L"\u7f16\u8f91\u5206\u7c7b";         // 编辑分类
const std::wstring kDeleteCategoryCaption = L"\u5220\u9664\u5206\u7c7b";       // 删除分类

class EditingTest : public E2eTest {
protected:
    // Runs the category dialog opened by command and types name into it.
    void NameCategory(CorvelProcess& process, const MainWindow& window, WORD command, const std::wstring& caption,
                      const std::wstring& name) {
        window.Command(command);
        HWND dialog = process.WaitForDialog(caption);
        SetControlText(dialog, kCategoryName, name);
        PressDialogButton(dialog, IDOK);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kStepTimeout)) << "the dialog stays open";
    }
    void AnswerDeleteCategory(CorvelProcess& process, int answer) {
        HWND box = process.WaitForMessageBox(kDeleteCategoryCaption);
        EXPECT_EQ(MessageBoxText(box), L"\u786e\u5b9e\u8981\u5220\u9664\u5f53\u524d\u5206\u7c7b\u5417\uff1f");
        PressDialogButton(box, answer);
        ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kStepTimeout));
    }
};

TEST_F(EditingTest, ItemEditorAddsAnEntryAndRefusesAnEmptyName) {
    const std::wstring program = LayOut();
    folder_.WriteFile(L"Corvel.cvx", Line("[Tools]"));
    auto [process, window] = StartShown(program);

    window.Command(kAddItem);
    HWND editor = process.WaitForDialog(kAddItemCaption);
    SetControlText(editor, kItemSource, L"Corvel.exe /S");
    PressDialogButton(editor, IDOK);
    HWND box = process.WaitForMessageBox(kAddItemCaption);
    EXPECT_EQ(MessageBoxText(box), L"\u56fe\u6807\u663e\u793a\u7684\u540d\u79f0\u4e0d\u80fd\u4e3a\u7a7a");
    PressDialogButton(box, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kStepTimeout));
    EXPECT_TRUE(IsWindow(editor)) << "a refused field must leave the editor open";

    SetControlText(editor, kItemName, L"  \u538b\u7f29");  // leading blanks are dropped
    SetControlText(editor, kItemComment, L"packs files");
    SetControlText(editor, kItemFolder, L"C:\\Zip");
    SetControlText(editor, kItemRegcode, L"\u7528\u6237||ABC\r\nDEF");
    PressDialogButton(editor, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(editor); }, kStepTimeout));
    EXPECT_EQ(window.ItemTexts(), std::vector<std::wstring>{L"\u538b\u7f29"});
    process.Close();

    // GBK: 压缩 = D1 B9 CB F5, 用户 = D3 C3 BB A7.
    EXPECT_EQ(folder_.ReadFile(L"Corvel.cvx"),
              Line("[Tools]") + Line("<Name=\xD1\xB9\xCB\xF5\x02SrcPath=Corvel.exe /S\x02"
                                     "DstDir=C:\\Zip\x02Regcode=\xD3\xC3\xBB\xA7||ABC\x03\x03"
                                     "DEF\x02"
                                     "Comment=packs files>"));
}

TEST_F(EditingTest, CategoriesAreCreatedRenamedAndDeletedThroughTheirDialogs) {
    const std::wstring program = LayOut();
    auto [process, window] = StartShown(program);

    NameCategory(process, window, kNewCategory, kNewCategoryCaption, L"Tools");
    NameCategory(process, window, kNewCategory, kNewCategoryCaption, L"Games");
    NameCategory(process, window, kNewCategory, kNewCategoryCaption, L"Old");
    EXPECT_EQ(window.TabTexts(), (std::vector<std::wstring>{L"Tools", L"Games", L"Old"}));
    EXPECT_EQ(window.CurrentTab(), 2);

    NameCategory(process, window, kEditCategory, kEditCategoryCaption, L"\u6e38\u620f ");  // 游戏, trailing blank kept
    EXPECT_EQ(window.TabTexts(), (std::vector<std::wstring>{L"Tools", L"Games", L"\u6e38\u620f "}));

    window.Command(kDeleteCategory);
    AnswerDeleteCategory(process, IDNO);
    EXPECT_EQ(window.TabCount(), 3);
    window.Command(kDeleteCategory);
    AnswerDeleteCategory(process, IDYES);
    EXPECT_EQ(window.TabTexts(), (std::vector<std::wstring>{L"Tools", L"Games"}));
    EXPECT_EQ(window.CurrentTab(), 1);

    // A name with two backslashes would be dropped at the next start.
    window.Command(kNewCategory);
    HWND dialog = process.WaitForDialog(kNewCategoryCaption);
    SetControlText(dialog, kCategoryName, L"a\\\\b");
    PressDialogButton(dialog, IDOK);
    HWND box = process.WaitForMessageBox(kNewCategoryCaption);
    EXPECT_EQ(MessageBoxText(box),
              L"\u5206\u7c7b\u540d\u4e2d\u4e0d\u80fd\u542b\u6709\u8fde\u7eed\u7684\u4e24\u4e2a\u53cd\u659c\u6760"
              L"\u201c\\\\\u201d");
    PressDialogButton(box, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, kStepTimeout));
    PressDialogButton(dialog, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kStepTimeout));
    process.Close();

    EXPECT_EQ(folder_.ReadFile(L"Corvel.cvx"), Line("[Tools]") + Line("[Games]"));
}

// Types text into a label edit of the list other than `previous` and
// presses Enter, as a user would; returns that edit.
HWND TypeLabel(const MainWindow& window, const std::wstring& text, HWND previous = nullptr) {
    HWND edit = nullptr;
    WaitUntil(
        [&] {
            edit = reinterpret_cast<HWND>(SendMessageW(window.Control(kItemListId), LVM_GETEDITCONTROL, 0, 0));
            return edit != nullptr && edit != previous;
        },
        kStepTimeout);
    if (!edit || edit == previous) throw HarnessError("no label edit opened");
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
    return edit;
}

TEST_F(EditingTest, RenameRefusesALeadingBlankAndReopensTheEdit) {
    constexpr WORD kRenameItem = 32782;
    const std::wstring program = LayOut();
    folder_.WriteFile(L"Corvel.cvx", Line("[Tools]") + ItemLine("Zip") + ItemLine("Pad"));
    auto [process, window] = StartShown(program);
    SetForegroundWindow(window.Frame());
    window.SelectItem(1);
    window.Command(kRenameItem);
    // Wine's list reports an emptied label as a cancelled edit, so the
    // empty-name refusal is tested in-process only.
    HWND first = TypeLabel(window, L" Notes");
    HWND box = process.WaitForMessageBox(L"\u91cd\u547d\u540d");  // 重命名
    EXPECT_EQ(MessageBoxText(box),
              L"\u663e\u793a\u540d\u79f0\u7684\u7b2c\u4e00\u4e2a\u5b57\u6bcd\u4e0d\u80fd"
              L"\u662f\u7a7a\u683c\u6216\u5236\u8868\u7b26");
    PressDialogButton(box, IDOK);
    TypeLabel(window, L"Notes", first);
    EXPECT_TRUE(WaitUntil(
        [&] {
            return window.ItemTexts() == std::vector<std::wstring>{L"Zip", L"Notes"};
        },
        kStepTimeout))
        << "the entry keeps its old label";
    process.Close();
    EXPECT_EQ(folder_.ReadFile(L"Corvel.cvx"), Line("[Tools]") + ItemLine("Zip") + ItemLine("Notes"));
}

TEST_F(EditingTest, RenameRefusesWhatTheReaderWouldLoseOrTheCodePageCannotHoldAndReopensWithIt) {
    constexpr WORD kRenameItem = 32782;
    const std::wstring program = LayOut();
    const std::string before = Line("[Tools]") + ItemLine("Zip") + ItemLine("Pad");
    folder_.WriteFile(L"Corvel.cvx", before);
    auto [process, window] = StartShown(program);
    SetForegroundWindow(window.Frame());
    window.SelectItem(1);
    window.Command(kRenameItem);
    struct Refusal {
        std::wstring typed;
        std::wstring message;
    };
    const Refusal refusals[] = {
        {L"A\r\nB", L"显示名称中不能含有软件的保留字符"},
        {L"\v\f", L"必须键入显示的名称"},
        {L"办公\xD83D\xDE00", L"“显示名称”中有 GBK（代码页 936）无法保存的字符，请删去或换用其他字符。"},
    };
    HWND edit = nullptr;
    for (const Refusal& refusal : refusals) {
        edit = TypeLabel(window, refusal.typed, edit);
        HWND box = process.WaitForMessageBox(L"重命名");
        EXPECT_EQ(MessageBoxText(box), refusal.message);
        PressDialogButton(box, IDOK);
        // The edit opens again with what was typed.
        HWND reopened = nullptr;
        EXPECT_TRUE(WaitUntil(
            [&] {
                reopened = reinterpret_cast<HWND>(SendMessageW(window.Control(kItemListId), LVM_GETEDITCONTROL, 0, 0));
                return reopened != nullptr && reopened != edit;
            },
            kStepTimeout));
        EXPECT_EQ(ControlText(reopened), refusal.typed);
    }
    TypeLabel(window, L"Notes", edit);
    EXPECT_TRUE(WaitUntil([&] { return window.ItemTexts() == std::vector<std::wstring>{L"Zip", L"Notes"}; },
                          kStepTimeout));
    process.Close();
    EXPECT_EQ(folder_.ReadFile(L"Corvel.cvx"), Line("[Tools]") + ItemLine("Zip") + ItemLine("Notes"));
}

}  // namespace
}  // namespace corvel::e2e
