// The create folders dialog run for real in this process, and the view's
// create folders command in the real frame.
#include "tools/create_folders/create_folders_dialog.h"

#include "tests/ui/dialog_script.h"
#include "tests/ui/frame_test.h"
#include "tests/ui/keyboard_check.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "catalogue/win32_text.h"
#include "tests/ui/shown_message.h"
#include "ui/main/resource.h"

namespace corvel::ui {
namespace {

namespace fs = std::filesystem;

const std::wstring kUnstorableName = L"“目录名称”中有 GBK（代码页 936）无法保存的字符，请删去或换用其他字符。";
const std::wstring kUnstorableTarget =
    L"“在以下的目标目录下开始创建”中有 GBK（代码页 936）无法保存的字符，请删去或换用其他字符。";

std::vector<FolderRow> Rows(std::initializer_list<const char*> names) {
    std::vector<FolderRow> rows;
    for (const char* name : names) rows.push_back({name, true});
    return rows;
}

class CreateFoldersDialogTest : public DialogScriptTest {
protected:
    void SetUp() override {
        DialogScriptTest::SetUp();
        base_ = fs::temp_directory_path() / ("corvel-folders-" + std::to_string(GetCurrentProcessId()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(base_);
        fs::create_directories(base_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(base_, ignored);
        DialogScriptTest::TearDown();
    }

    static HWND List(HWND dialog) { return GetDlgItem(dialog, IDC_CREATE_FOLDERS_LIST); }
    static void SetTarget(HWND dialog, const std::wstring& text) {
        SetDlgItemTextW(dialog, IDC_CREATE_FOLDERS_TARGET, text.c_str());
    }
    static std::wstring Target(HWND dialog) {
        wchar_t text[512] = {};
        GetDlgItemTextW(dialog, IDC_CREATE_FOLDERS_TARGET, text, 512);
        return text;
    }
    static std::wstring RowText(HWND dialog, int row) {
        wchar_t text[256] = {};
        ListView_GetItemText(List(dialog), row, 0, text, 256);
        return text;
    }
    static std::vector<bool> Ticks(HWND dialog) {
        std::vector<bool> ticks;
        for (int i = 0; i < ListView_GetItemCount(List(dialog)); ++i)
            ticks.push_back(ListView_GetCheckState(List(dialog), i) != FALSE);
        return ticks;
    }
    static bool MenuEnabled(HMENU menu, UINT id) {
        return !(GetMenuState(menu, id, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED));
    }
    std::wstring Base() const { return WideFromCp936(base_.string()); }

    fs::path base_;
};

TEST_F(CreateFoldersDialogTest, StartsTickedWithTheTargetFocusedAndItsMenuFollowsTheList) {
    CCreateFoldersDialog dialog(Rows({"Office", "Tools", "\xB9\xA4\xBE\xDF"}), "C:\\CD\\");  // 工具
    INT_PTR result = Run(dialog, [&](HWND hwnd) {
        EXPECT_EQ(GetFocus(), GetDlgItem(hwnd, IDC_CREATE_FOLDERS_TARGET));
        EXPECT_EQ(Target(hwnd), L"");
        ASSERT_EQ(ListView_GetItemCount(List(hwnd)), 3);
        EXPECT_EQ(RowText(hwnd, 0), L"Office");
        EXPECT_EQ(RowText(hwnd, 2), L"工具");
        EXPECT_EQ(Ticks(hwnd), (std::vector<bool>{true, true, true}));
        EXPECT_TRUE(ListView_GetExtendedListViewStyle(List(hwnd)) & LVS_EX_FULLROWSELECT);
        RECT client;
        GetClientRect(List(hwnd), &client);
        EXPECT_EQ(ListView_GetColumnWidth(List(hwnd), 0), client.right);

        HMENU menu = dialog.PreparedContextMenu();
        ASSERT_EQ(GetMenuItemCount(menu), 4);
        EXPECT_TRUE(GetMenuState(menu, 1, MF_BYPOSITION) & MF_SEPARATOR);
        EXPECT_FALSE(MenuEnabled(menu, ID_CREATE_FOLDERS_RENAME));
        EXPECT_TRUE(MenuEnabled(menu, ID_CREATE_FOLDERS_TICK_ALL));
        EXPECT_TRUE(MenuEnabled(menu, ID_CREATE_FOLDERS_UNTICK_ALL));
        ListView_SetItemState(List(hwnd), 1, LVIS_SELECTED, LVIS_SELECTED);
        EXPECT_TRUE(MenuEnabled(dialog.PreparedContextMenu(), ID_CREATE_FOLDERS_RENAME));

        SendMessageW(hwnd, WM_COMMAND, ID_CREATE_FOLDERS_UNTICK_ALL, 0);
        EXPECT_EQ(Ticks(hwnd), (std::vector<bool>{false, false, false}));
        ListView_SetCheckState(List(hwnd), 2, TRUE);
        SendMessageW(hwnd, WM_COMMAND, ID_CREATE_FOLDERS_TICK_ALL, 0);
        EXPECT_EQ(Ticks(hwnd), (std::vector<bool>{true, true, true}));

        ListView_DeleteAllItems(List(hwnd));
        menu = dialog.PreparedContextMenu();
        for (UINT id : {ID_CREATE_FOLDERS_RENAME, ID_CREATE_FOLDERS_TICK_ALL, ID_CREATE_FOLDERS_UNTICK_ALL})
            EXPECT_FALSE(MenuEnabled(menu, id)) << id;

        Press(hwnd, IDC_CREATE_FOLDERS_CURRENT);
        EXPECT_EQ(Target(hwnd), L"C:\\CD\\");
        Press(hwnd, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);

    CCreateFoldersDialog none({}, "C:\\CD\\");
    EXPECT_EQ(Run(none, std::vector<Stage>{}), IDCANCEL);  // closes at once
}

// Shift+F10 or the menu key in the list: WM_CONTEXTMENU at (-1, -1) opens
// the same menu as a right click, below the focused row.
bool menuWasOpen = false;
void CALLBACK CloseOpenMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND popup = FindWindowW(L"#32768", nullptr);
    menuWasOpen = popup && IsWindowVisible(popup);
    EndMenu();
}

TEST_F(CreateFoldersDialogTest, TheMenuKeyOpensTheListsMenu) {
    CCreateFoldersDialog dialog(Rows({"Office", "Tools"}), "C:\\CD\\");
    menuWasOpen = false;
    Run(dialog, [&](HWND hwnd) {
        SetFocus(List(hwnd));
        SetTimer(nullptr, 0, 200, CloseOpenMenu);
        SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(List(hwnd)), MAKELPARAM(0xFFFF, 0xFFFF));
        EXPECT_TRUE(menuWasOpen);
        Press(hwnd, IDCANCEL);
    });
}

// Renames row 1 through the context menu's command, typing text.
void RenameRow1(HWND dialog, const wchar_t* text) {
    HWND list = GetDlgItem(dialog, IDC_CREATE_FOLDERS_LIST);
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
    ListView_SetItemState(list, 1, LVIS_SELECTED, LVIS_SELECTED);
    SendMessageW(dialog, WM_COMMAND, ID_CREATE_FOLDERS_RENAME, 0);
    HWND edit = ListView_GetEditControl(list);
    ASSERT_NE(edit, nullptr);
    SetWindowTextW(edit, text);
    SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
}

// Ends a label edit of row 1 as the list reports it; the list's verdict.
bool EndEditOfRow1(HWND dialog, const wchar_t* text) {
    NMLVDISPINFOW edit{};
    edit.hdr = {GetDlgItem(dialog, IDC_CREATE_FOLDERS_LIST), IDC_CREATE_FOLDERS_LIST,
                static_cast<UINT>(LVN_ENDLABELEDITW)};
    edit.item.iItem = 1;
    edit.item.pszText = const_cast<wchar_t*>(text);
    SendMessageW(dialog, WM_NOTIFY, IDC_CREATE_FOLDERS_LIST, reinterpret_cast<LPARAM>(&edit));
    return GetWindowLongPtrW(dialog, DWLP_MSGRESULT) != FALSE;
}

TEST_F(CreateFoldersDialogTest, RenamingTakesOnlyValidFolderNames) {
    CCreateFoldersDialog dialog(Rows({"Office", "Tools"}), "C:\\CD\\");
    Run(dialog, [&](HWND hwnd) {
        struct Refusal {
            const wchar_t* text;
            const wchar_t* message;
            UINT icon;
        };
        const Refusal refusals[] = {{L"a:b", L"无效的目录名称", MB_ICONSTOP},
                                    {L" abc", L"目录名称的第一个字母不能是空格或制表符", MB_ICONEXCLAMATION}};
        for (const Refusal& refusal : refusals) {
            shown_.clear();
            RenameRow1(hwnd, refusal.text);
            ASSERT_EQ(shown_.size(), 1u) << refusal.message;
            ExpectMessageIcon(shown_[0], refusal.message, L"创建目录", refusal.icon);
            EXPECT_EQ(RowText(hwnd, 1), L"Tools");
        }
        shown_.clear();
        RenameRow1(hwnd, L"新 工具");
        EXPECT_TRUE(shown_.empty());
        EXPECT_EQ(RowText(hwnd, 1), L"新 工具");

        EXPECT_FALSE(EndEditOfRow1(hwnd, nullptr));  // cancelled: nothing said
        EXPECT_TRUE(shown_.empty());
        EXPECT_FALSE(EndEditOfRow1(hwnd, L""));
        ASSERT_EQ(shown_.size(), 1u);
        EXPECT_EQ(shown_[0].text, L"必须键入目录名称");
        EXPECT_EQ(shown_[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
        // A character code page 936 cannot hold is refused as such.
        for (const wchar_t* unstorable : {L"a\x0E3F"
                                          L"b",
                                          L"\xD83D\xDE00"}) {
            shown_.clear();
            EXPECT_FALSE(EndEditOfRow1(hwnd, unstorable));
            ASSERT_EQ(shown_.size(), 1u);
            ExpectMessageIcon(shown_[0], kUnstorableName, L"创建目录", MB_ICONSTOP);
        }
        shown_.clear();
        RenameRow1(hwnd, L"\x0E3F");
        EXPECT_EQ(shown_.size(), 1u);
        EXPECT_EQ(RowText(hwnd, 1), L"新 工具");
        EXPECT_TRUE(EndEditOfRow1(hwnd, L"Good"));
        Press(hwnd, IDCANCEL);
    });
}

TEST_F(CreateFoldersDialogTest, AnInvalidTickedNameCreatesNothingUntilItIsUnticked) {
    CCreateFoldersDialog dialog(Rows({"Office", "CON", "Tools"}), "C:\\CD\\");
    const fs::path target = base_ / "cd";
    INT_PTR result =
        Run(dialog, std::vector<Stage>{
                        [&](HWND hwnd) {
                            SetTarget(hwnd, WideFromCp936(target.string()));  // no trailing backslash
                            Press(hwnd, IDOK);
                            ASSERT_EQ(shown_.size(), 1u);
                            ExpectMessageIcon(shown_[0], L"第2行，名称为“CON”的目录名无效", L"创建目录", MB_ICONSTOP);
                            EXPECT_TRUE(fs::is_directory(target));  // the target stays
                            EXPECT_FALSE(fs::exists(target / "Office"));
                            EXPECT_FALSE(Ended(hwnd));
                            ListView_SetCheckState(List(hwnd), 1, FALSE);
                            Press(hwnd, IDOK);
                            EXPECT_TRUE(Ended(hwnd));
                        },
                    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(shown_.size(), 1u);
    EXPECT_TRUE(fs::is_directory(target / "Office"));
    EXPECT_TRUE(fs::is_directory(target / "Tools"));
    EXPECT_FALSE(fs::exists(target / "CON"));
}

TEST_F(CreateFoldersDialogTest, TargetMustBeGivenAndCreatable) {
    CCreateFoldersDialog dialog(Rows({"Office"}), "C:\\CD\\");
    Run(dialog, [&](HWND hwnd) {
        Press(hwnd, IDOK);
        SetTarget(hwnd, Base() + L"\\a\\\\b");
        Press(hwnd, IDOK);
        // Best fit would make another folder than the one typed.
        const std::wstring unstorable = Base() + L"\\a\x0E3F";
        SetTarget(hwnd, unstorable);
        SetFocus(GetDlgItem(hwnd, IDOK));
        Press(hwnd, IDOK);
        EXPECT_EQ(Target(hwnd), unstorable);
        EXPECT_EQ(GetFocus(), GetDlgItem(hwnd, IDC_CREATE_FOLDERS_TARGET));
        ASSERT_EQ(shown_.size(), 3u);
        ExpectMessageIcon(shown_[2], kUnstorableTarget, L"创建目录", MB_ICONSTOP);
        EXPECT_EQ(shown_[0].text, L"目标目录不能为空");
        EXPECT_EQ(shown_[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONEXCLAMATION));
        EXPECT_EQ(shown_[1].text, L"创建目标目录失败，请检查目标目录的路径是否正确");
        EXPECT_EQ(shown_[1].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
        EXPECT_FALSE(Ended(hwnd));
        EXPECT_TRUE(fs::is_empty(base_));
        Press(hwnd, IDCANCEL);
    });
}

// A file of a row's name in the target stands for a target that cannot be
// written: Wine runs as root and makes folders inside read-only ones.
TEST_F(CreateFoldersDialogTest, FoldersThatCouldNotBeMadeAreListedBeforeClosing) {
    const fs::path target = base_ / "cd";
    fs::create_directories(target);
    std::ofstream(target / "Tools") << "a file";
    std::ofstream(target / "Games") << "a file";
    CCreateFoldersDialog dialog(Rows({"Tools", "Office", "Games"}), "C:\\CD\\");
    INT_PTR result = Run(dialog, [&](HWND hwnd) {
        SetTarget(hwnd, WideFromCp936(target.string()));
        Press(hwnd, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(shown_.size(), 1u);
    const std::wstring folder = WideFromCp936(target.string()) + L"\\";
    ExpectMessageIcon(shown_[0], L"以下目录没有创建成功：\n" + folder + L"Tools\n" + folder + L"Games", L"创建目录",
                      MB_ICONSTOP);
    EXPECT_TRUE(fs::is_directory(target / "Office"));
    EXPECT_TRUE(fs::is_regular_file(target / "Tools"));
}

TEST_F(CreateFoldersDialogTest, CurrentFolderTargetAndASecondRunOverExistingFolders) {
    const std::string program = base_.string() + "\\";
    fs::create_directories(base_ / "Tools");
    std::ofstream(base_ / "Tools" / "kept.txt") << "kept";
    for (int run = 0; run < 2; ++run) {
        CCreateFoldersDialog dialog(Rows({"Office", "Tools"}), program);
        INT_PTR result = Run(dialog, [&](HWND hwnd) {
            Press(hwnd, IDC_CREATE_FOLDERS_CURRENT);
            Press(hwnd, IDOK);
        });
        EXPECT_EQ(result, IDOK) << run;
    }
    EXPECT_TRUE(shown_.empty());
    EXPECT_TRUE(fs::is_directory(base_ / "Office"));
    EXPECT_TRUE(fs::exists(base_ / "Tools" / "kept.txt"));
}

class CreateFoldersCommandTest : public FrameTest {};

TEST_F(CreateFoldersCommandTest, OpensOnTheCategoryNamesInTabOrder) {
    WriteCatalogue("[Office]\r\n[CON]\r\n[Tools]\r\n");
    Start();
    std::vector<std::string> names;
    dialogScript_ = [&](Dialog& dialog) -> INT_PTR {
        for (const FolderRow& row : dynamic_cast<CCreateFoldersDialog&>(dialog).InitialRows()) {
            EXPECT_TRUE(row.ticked);
            names.push_back(row.name);
        }
        return IDCANCEL;
    };
    Command(ID_TOOLS_CREATE_FOLDERS);
    EXPECT_EQ(dialogs_, std::vector<int>{IDD_CREATE_FOLDERS});
    EXPECT_EQ(names, (std::vector<std::string>{"Office", "CON", "Tools"}));
    EXPECT_FALSE(Model().IsModified());
}

TEST_F(CreateFoldersCommandTest, DoesNothingWithoutACategory) {
    Start();
    SendMessageW(List(), 2004, 0, 0);
    EXPECT_TRUE(dialogs_.empty());
}

TEST_F(CreateFoldersDialogTest, TheKeyboardReachesEveryControlAndSpaceTicksTheFocusedRow) {
    using namespace corvel::testing;
    CCreateFoldersDialog dialog(Rows({"Office", "Tools"}), Cp936FromWide(Base()) + "\\");
    INT_PTR result = Run(dialog, [&](HWND window) {
        ExpectKeyboardUsable(window);
        ExpectTextsFit(window);
        PressMnemonic(window, L'L');
        ASSERT_EQ(GetFocus(), List(window));
        const int row = ListView_GetNextItem(List(window), -1, LVNI_FOCUSED);
        ASSERT_EQ(row, 0) << "the first row does not have the focus";
        PressKey(window, VK_SPACE, L' ');
        EXPECT_EQ(Ticks(window), (std::vector<bool>{false, true}));
        PressKey(window, VK_DOWN);
        PressKey(window, VK_SPACE, L' ');
        PressKey(window, VK_UP);
        PressKey(window, VK_SPACE, L' ');
        EXPECT_EQ(Ticks(window), (std::vector<bool>{true, false}));

        PressMnemonic(window, L'C');  // the program's folder as the target
        PressMnemonic(window, L'T');
        EXPECT_EQ(GetFocus(), GetDlgItem(window, IDC_CREATE_FOLDERS_TARGET));
        EXPECT_EQ(Target(window), Base() + L"\\");
        PressKey(window, VK_RETURN);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(fs::is_directory(base_ / "Office"));
    EXPECT_FALSE(fs::exists(base_ / "Tools"));
}

}  // namespace
}  // namespace corvel::ui
