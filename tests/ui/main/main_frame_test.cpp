// The real frame and view, created inside this test program: menu states,
// the filled submenus and the end of the program, which another process
// cannot see under Wine.
#include "ui/main/main_frame.h"

#include "tests/ui/frame_test.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "catalogue/win32_text.h"
#include "ui/main/resource.h"
#include "ui/window/dialog.h"
#include "ui/window/message_box.h"

namespace corvel::ui {
namespace {

namespace fs = std::filesystem;

constexpr int kCategoryMenu = 1;
constexpr int kItemMenu = 2;

class MainFrameTest : public FrameTest {
protected:
    bool Enabled(HMENU popup, UINT id) {
        for (const Entry& entry : Open(popup)) {
            if (entry.id == id) return entry.enabled;
        }
        ADD_FAILURE() << "no menu entry " << id;
        return false;
    }
    bool ToolbarEnabled(int id) {
        frame_->OnIdle();
        return SendMessageW(GetDlgItem(frame_->Handle(), IDC_TOOLBAR), TB_ISBUTTONENABLED, id, 0) != 0;
    }
};

const std::string kTwoCategories =
    "[Tools]\r\n<Name=Zip\x02SrcPath=C:\\windows\\notepad.exe\x02"
    "Comment=packs files>\r\n"
    "<Name=Pad\x02SrcPath=C:\\windows\\regedit.exe\x02>\r\n[Games]\r\n";

TEST_F(MainFrameTest, EmptyCatalogueEnablesOnlyWhatNeedsNoCategory) {
    Start();
    EXPECT_TRUE(shown_.empty());
    EXPECT_EQ(frame_->Text(), L"CorvelV4.0 - Quarro组件版");

    HMENU file = GetSubMenu(GetMenu(frame_->Handle()), 0);
    HMENU category = GetSubMenu(GetMenu(frame_->Handle()), kCategoryMenu);
    HMENU item = GetSubMenu(GetMenu(frame_->Handle()), kItemMenu);
    HMENU tools = GetSubMenu(GetMenu(frame_->Handle()), 3);
    EXPECT_FALSE(Enabled(file, ID_FILE_SAVE_AS));
    EXPECT_TRUE(Enabled(file, ID_APP_EXIT));
    EXPECT_TRUE(Enabled(category, ID_CATEGORY_NEW));
    EXPECT_FALSE(Enabled(category, ID_CATEGORY_DELETE));
    EXPECT_FALSE(Enabled(category, ID_CATEGORY_EDIT));
    for (UINT id : {ID_ITEM_INSTALL, ID_ITEM_ADD, ID_ITEM_DELETE, ID_ITEM_SELECT_ALL, ID_ITEM_COPY})
        EXPECT_FALSE(Enabled(item, id)) << id;
    EXPECT_FALSE(Enabled(tools, ID_TOOLS_CHECK_PATHS));
    EXPECT_TRUE(Enabled(tools, ID_TOOLS_EDIT));

    for (int id : {ID_ITEM_ADD, ID_ITEM_DELETE, ID_ITEM_EDIT, ID_ITEM_INSTALL, ID_ITEM_REGCODE})
        EXPECT_FALSE(ToolbarEnabled(id));
    EXPECT_TRUE(ToolbarEnabled(ID_APP_ABOUT));

    for (HMENU submenu : {Submenu(kCategoryMenu, 3), Submenu(kItemMenu, 9), Submenu(3, 3)}) {
        auto entries = Open(submenu);
        ASSERT_EQ(entries.size(), 1u);
        EXPECT_EQ(entries[0].text, L"(空)");
        EXPECT_EQ(entries[0].id, 33000u);
        EXPECT_FALSE(entries[0].enabled);
    }
}

TEST_F(MainFrameTest, FilledCatalogueFollowsCategoryAndSelection) {
    WriteCatalogue(kTwoCategories);
    Start();
    Binder& controls = frame_->View().Controls();
    ASSERT_EQ(controls.TabCount(), 2);
    EXPECT_EQ(controls.CurrentTab(), 0);
    ASSERT_EQ(controls.EntryCount(), 2);

    HMENU item = GetSubMenu(GetMenu(frame_->Handle()), kItemMenu);
    EXPECT_TRUE(Enabled(item, ID_ITEM_ADD));
    EXPECT_TRUE(Enabled(item, ID_ITEM_SELECT_ALL));
    EXPECT_FALSE(Enabled(item, ID_ITEM_INSTALL));
    EXPECT_TRUE(ToolbarEnabled(ID_ITEM_ADD));
    EXPECT_FALSE(ToolbarEnabled(ID_ITEM_EDIT));

    // Switch-to lists every category with the current one greyed.
    auto switchTo = Open(Submenu(kCategoryMenu, 3));
    ASSERT_EQ(switchTo.size(), 2u);
    EXPECT_EQ(switchTo[0].text, L"Tools");
    EXPECT_FALSE(switchTo[0].enabled);
    EXPECT_EQ(switchTo[1].text, L"Games");
    EXPECT_TRUE(switchTo[1].enabled);
    EXPECT_EQ(switchTo[1].id, 33001u);

    // Move-to stays empty without a selection.
    auto moveTo = Open(Submenu(kItemMenu, 9));
    ASSERT_EQ(moveTo.size(), 1u);
    EXPECT_EQ(moveTo[0].text, L"(空)");

    SelectEntry(1);
    EXPECT_TRUE(Enabled(item, ID_ITEM_INSTALL));
    EXPECT_TRUE(ToolbarEnabled(ID_ITEM_EDIT));
    moveTo = Open(Submenu(kItemMenu, 9));
    ASSERT_EQ(moveTo.size(), 2u);
    EXPECT_FALSE(moveTo[0].enabled);
    EXPECT_TRUE(moveTo[1].enabled);

    // The prompt of a greyed switch-to entry, and of a plain command.
    SendMessageW(frame_->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(Submenu(kCategoryMenu, 3)), 0);
    SendMessageW(frame_->Handle(), WM_MENUSELECT, MAKEWPARAM(33000, MF_GRAYED),
                 reinterpret_cast<LPARAM>(Submenu(kCategoryMenu, 3)));
    EXPECT_EQ(frame_->StatusText(), L"不能切换分类");
    SendMessageW(frame_->Handle(), WM_MENUSELECT, MAKEWPARAM(ID_ITEM_ADD, 0), reinterpret_cast<LPARAM>(item));
    EXPECT_EQ(frame_->StatusText(), L"添加安装项目到当前的分类下");
}

// A menu reads a lone "&" as a mnemonic: names are given it doubled, so
// that they show as written.
TEST_F(MainFrameTest, CategoryNamesInTheSubmenusShowTheirAmpersands) {
    WriteCatalogue("[Tom & Jerry]\r\n<Name=Pad\x02SrcPath=C:\\windows\\notepad.exe\x02>\r\n[A&B]\r\n");
    Start();
    auto switchTo = Open(Submenu(kCategoryMenu, 3));
    ASSERT_EQ(switchTo.size(), 2u);
    EXPECT_EQ(switchTo[0].text, L"Tom && Jerry");
    EXPECT_EQ(switchTo[1].text, L"A&&B");
    SelectEntry(0);
    auto moveTo = Open(Submenu(kItemMenu, 9));
    ASSERT_EQ(moveTo.size(), 2u);
    EXPECT_EQ(moveTo[1].text, L"A&&B");
}

TEST_F(MainFrameTest, SelectionShowsCommentAndSelectAllAndInvertWork) {
    WriteCatalogue(kTwoCategories);
    Start();
    Binder& controls = frame_->View().Controls();
    SelectEntry(0);
    EXPECT_TRUE(controls.IsSelected(0));
    EXPECT_EQ(frame_->StatusText(), L"packs files");
    ListView_SetItemState(frame_->View().Handle(), 0, 0, LVIS_SELECTED);
    EXPECT_EQ(frame_->StatusText(), L"");

    SendMessageW(frame_->Handle(), WM_COMMAND, ID_ITEM_SELECT_ALL, 0);
    EXPECT_TRUE(controls.IsSelected(0));
    EXPECT_TRUE(controls.IsSelected(1));
    ListView_SetItemState(frame_->View().Handle(), 1, 0, LVIS_SELECTED);
    SendMessageW(frame_->Handle(), WM_COMMAND, ID_ITEM_INVERT, 0);
    EXPECT_FALSE(controls.IsSelected(0));
    EXPECT_TRUE(controls.IsSelected(1));
}

TEST_F(MainFrameTest, ItemWithoutResolvableInstallerHasNoEntry) {
    WriteCatalogue(
        "[Tools]\r\n<Name=Flag\x02SrcPath=/S setup.exe\x02>\r\n<Name=Bad\x02SrcPath=..\\x.exe\x02>\r\n"
        "<Name=Good\x02SrcPath=setup.exe /S\x02>\r\n");
    Start();
    Binder& controls = frame_->View().Controls();
    ASSERT_EQ(controls.EntryCount(), 1);
    EXPECT_EQ(controls.ItemOfEntry(0)->Name(), "Good");
    EXPECT_EQ(frame_->View().Model().Count(controls.CategoryOfTab(0), NodeKind::Item, false), 3);
}

TEST_F(MainFrameTest, InstallerIconsArriveWhileIdle) {
    // This test program carries the program icon, so copies of it are
    // installers with icons of their own.
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    fs::create_directories(folder_ / "Soft");
    for (const char* name : {"a.exe", "b.exe"}) fs::copy_file(self, folder_ / "Soft" / name);
    WriteCatalogue(
        "[Tools]\r\n<Name=A\x02SrcPath=Soft\\a.exe /S\x02>\r\n<Name=B\x02SrcPath=Soft\\b.exe\x02>\r\n"
        "<Name=C\x02SrcPath=Soft\\missing.exe\x02>\r\n<Name=D\x02SrcPath=Soft\\a.exe\x02>\r\n");
    Start();
    auto image = [this](int index) {
        LVITEMW entry{};
        entry.mask = LVIF_IMAGE;
        entry.iItem = index;
        ListView_GetItem(frame_->View().Handle(), &entry);
        return entry.iImage;
    };
    ASSERT_EQ(frame_->View().Controls().EntryCount(), 4);
    int shared = image(2);
    EXPECT_EQ(image(0), shared);
    EXPECT_EQ(image(1), shared);

    int turns = 0;
    while (frame_->OnIdle()) ASSERT_LT(++turns, 100);
    EXPECT_NE(image(0), shared);
    EXPECT_NE(image(1), shared);
    EXPECT_NE(image(0), image(1));
    EXPECT_EQ(image(2), shared);
    // The same installer file: one image for both entries.
    EXPECT_EQ(image(3), image(0));
    EXPECT_EQ(ImageList_GetImageCount(ListView_GetImageList(frame_->View().Handle(), LVSIL_NORMAL)), 3);
}

// The list keeps no entries of its own: names, searches and range
// selections are answered from the catalogue.
TEST_F(MainFrameTest, TheListAsksTheViewForNamesSearchesAndRanges) {
    WriteCatalogue(
        "[Tools]\r\n<Name=Alpha\x02SrcPath=a.exe\x02>\r\n<Name=beta\x02SrcPath=b.exe\x02"
        "Comment=second>\r\n"
        "<Name=\xD3\xCE\xCF\xB7\x02SrcPath=c.exe\x02>\r\n<Name=Bee\x02SrcPath=d.exe\x02"
        "Comment=last>\r\n");
    Start();
    HWND list = frame_->View().Handle();
    ASSERT_EQ(ListView_GetItemCount(list), 4);
    wchar_t label[16];
    ListView_GetItemText(list, 2, 0, label, 16);
    EXPECT_STREQ(label, L"游戏");
    // A short buffer gets the name cut, never overrun.
    wchar_t shortLabel[4] = {L'x', L'x', L'x', L'x'};
    ListView_GetItemText(list, 0, 0, shortLabel, 3);
    EXPECT_STREQ(shortLabel, L"Al");

    auto find = [list](int start, const wchar_t* text, UINT flags) {
        LVFINDINFOW what{};
        what.flags = flags;
        what.psz = text;
        return ListView_FindItem(list, start, &what);
    };
    // The search begins with the start entry itself, as the list's own
    // type-ahead search asks it to.
    EXPECT_EQ(find(-1, L"B", LVFI_PARTIAL | LVFI_STRING), 1);  // any case
    EXPECT_EQ(find(2, L"b", LVFI_PARTIAL | LVFI_STRING), 3);
    EXPECT_EQ(find(1, L"a", LVFI_PARTIAL | LVFI_STRING | LVFI_WRAP), 0);
    EXPECT_EQ(find(1, L"a", LVFI_PARTIAL | LVFI_STRING), -1);
    EXPECT_EQ(find(-1, L"游", LVFI_PARTIAL | LVFI_STRING), 2);
    EXPECT_EQ(find(-1, L"Be", LVFI_STRING), -1);  // whole names only
    EXPECT_EQ(find(-1, L"bee", LVFI_STRING), 3);
    // Typing a letter moves the selection to the next entry it begins.
    SelectEntry(0);
    SendMessageW(list, WM_CHAR, L'b', 1);  // a repeat count of one
    EXPECT_EQ(frame_->View().Controls().FirstSelectedEntry(), 1);
    EXPECT_EQ(frame_->StatusText(), L"second");

    // A range reported at once shows the comment of its last entry.
    NMLVODSTATECHANGE range{};
    range.hdr.hwndFrom = list;
    range.hdr.idFrom = IDC_ITEM_LIST;
    range.hdr.code = LVN_ODSTATECHANGED;
    range.iFrom = 0;
    range.iTo = 3;
    range.uNewState = LVIS_SELECTED;
    SendMessageW(frame_->Handle(), WM_NOTIFY, IDC_ITEM_LIST, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(frame_->StatusText(), L"last");
    range.uNewState = 0;
    SendMessageW(frame_->Handle(), WM_NOTIFY, IDC_ITEM_LIST, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(frame_->StatusText(), L"");
}

TEST_F(MainFrameTest, TabsAreAsWideAsTheirNamesAfterStartUp) {
    const std::vector<std::wstring> names = {L"A", L"Office and writing", L"游戏", L"Tools"};
    std::string catalogue;
    for (const std::wstring& name : names) catalogue.append("[").append(Cp936FromWide(name)).append("]\r\n");
    WriteCatalogue(catalogue);
    Start();
    HWND tabs = frame_->View().Controls().Tabs();
    ASSERT_EQ(TabCtrl_GetItemCount(tabs), static_cast<int>(names.size()));
    // The same names added one by one to a strip of the same style and font.
    RECT size;
    GetClientRect(tabs, &size);
    HWND reference = CreateWindowExW(0, WC_TABCONTROLW, L"", WS_CHILD | TCS_FOCUSNEVER, 0, 0, size.right, size.bottom,
                                     frame_->Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(reference, WM_SETFONT, SendMessageW(tabs, WM_GETFONT, 0, 0), FALSE);
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::wstring text = names[i];
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text.data();
        SendMessageW(reference, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    EXPECT_FALSE(GetWindowLongPtrW(tabs, GWL_STYLE) & TCS_FIXEDWIDTH);
    for (int i = 0; i < static_cast<int>(names.size()); ++i) {
        RECT shown, expected;
        TabCtrl_GetItemRect(tabs, i, &shown);
        TabCtrl_GetItemRect(reference, i, &expected);
        EXPECT_EQ(shown.right - shown.left, expected.right - expected.left) << "tab " << i;
    }
    DestroyWindow(reference);
}

TEST_F(MainFrameTest, HotKeyIsHeldWhileTheWindowLivesAndAboutOpensItsDialog) {
    Start();
    HWND view = frame_->View().Handle();
    EXPECT_FALSE(RegisterHotKey(view, 1080, MOD_CONTROL, 'R')) << "Ctrl+R should already be registered";

    std::vector<int> dialogs;
    SetModalDialogHookForTesting([&](Dialog& dialog) {
        dialogs.push_back(dialog.ResourceId());
        return static_cast<INT_PTR>(IDOK);
    });
    SendMessageW(frame_->Handle(), WM_COMMAND, ID_APP_ABOUT, 0);
    SetModalDialogHookForTesting(nullptr);
    EXPECT_EQ(dialogs, std::vector<int>{IDD_ABOUTBOX});

    // The close request ends the window, and with it the hot key.
    SendMessageW(frame_->Handle(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(view));
    HWND probe = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(RegisterHotKey(probe, 1080, MOD_CONTROL, 'R'));
    UnregisterHotKey(probe, 1080);
    DestroyWindow(probe);
}

// Records the view requests that reach the view window.
// Records the view's requests and keeps them from the view: these tests
// check where commands go, and an install request would really start the
// selected item's program through Quarro (a program left running holds
// the test's output open after the test has ended).
LRESULT CALLBACK RecordRequests(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (message < 1984 || message > 2004) return DefSubclassProc(hwnd, message, wParam, lParam);
    reinterpret_cast<std::vector<std::pair<UINT, WPARAM>>*>(data)->emplace_back(message, wParam);
    return 0;
}

TEST_F(MainFrameTest, EveryCommandReachesItsViewRequest) {
    WriteCatalogue(kTwoCategories);
    Start();
    std::vector<std::pair<UINT, WPARAM>> requests;
    ASSERT_TRUE(SetWindowSubclass(frame_->View().Handle(), RecordRequests, 99, reinterpret_cast<DWORD_PTR>(&requests)));
    const std::vector<std::pair<int, std::pair<UINT, WPARAM>>> expected = {
        {ID_FILE_SAVE_AS, {1984, 0}},
        {ID_CATEGORY_NEW, {1985, 0}},
        {ID_CATEGORY_DELETE, {1986, 0}},
        {ID_CATEGORY_EDIT, {1987, 0}},
        {ID_ITEM_INSTALL, {1989, 0}},
        {ID_ITEM_REGCODE, {1990, 0}},
        {ID_ITEM_PATCH, {1991, 0}},
        {ID_ITEM_SETTINGS, {1992, 0}},
        {ID_ITEM_ADD, {1993, 0}},
        {ID_ITEM_DELETE, {1994, 0}},
        {ID_ITEM_EDIT, {1995, 0}},
        {ID_ITEM_RENAME, {1996, 0}},
        {ID_ITEM_COPY, {1998, 0}},
        {ID_ITEM_SELECT_ALL, {1999, 0}},
        {ID_ITEM_INVERT, {2000, 0}},
        {ID_VIEW_INSTALLER, {2001, 1}},
        {ID_VIEW_PATCH, {2001, 2}},
        {ID_VIEW_SETTINGS, {2001, 4}},
        {ID_PROPERTIES_INSTALLER, {2002, 1}},
        {ID_PROPERTIES_PATCH, {2002, 2}},
        {ID_PROPERTIES_SETTINGS, {2002, 4}},
        {ID_TOOLS_CHECK_PATHS, {2003, 0}},
        {ID_TOOLS_CREATE_FOLDERS, {2004, 0}},
    };
    for (const auto& [command, request] : expected) {
        requests.clear();
        SendMessageW(frame_->Handle(), WM_COMMAND, command, 0);
        EXPECT_EQ(requests, (std::vector<std::pair<UINT, WPARAM>>{request})) << "command " << command;
    }

    // A switch-to entry goes by position, once the submenu has been opened.
    Open(Submenu(kCategoryMenu, 3));
    requests.clear();
    SendMessageW(frame_->Handle(), WM_COMMAND, 33001, 0);
    EXPECT_EQ(requests, (std::vector<std::pair<UINT, WPARAM>>{{1988, 1}}));
    requests.clear();
    SendMessageW(frame_->Handle(), WM_COMMAND, 33002, 0);  // beyond the tabs: ignored
    EXPECT_TRUE(requests.empty());
    RemoveWindowSubclass(frame_->View().Handle(), RecordRequests, 99);
}

TEST_F(MainFrameTest, DoubleClickEnterAndDeleteKeyNeedASelection) {
    WriteCatalogue(kTwoCategories);
    Start();
    HWND list = frame_->View().Handle();
    std::vector<std::pair<UINT, WPARAM>> requests;
    ASSERT_TRUE(SetWindowSubclass(list, RecordRequests, 99, reinterpret_cast<DWORD_PTR>(&requests)));
    auto doubleClick = [&] {
        NMITEMACTIVATE click{};
        click.hdr = {list, IDC_ITEM_LIST, static_cast<UINT>(NM_DBLCLK)};
        SendMessageW(frame_->Handle(), WM_NOTIFY, IDC_ITEM_LIST, reinterpret_cast<LPARAM>(&click));
    };
    auto enter = [&] {
        NMLVKEYDOWN key{};
        key.hdr = {list, IDC_ITEM_LIST, static_cast<UINT>(LVN_KEYDOWN)};
        key.wVKey = VK_RETURN;
        SendMessageW(frame_->Handle(), WM_NOTIFY, IDC_ITEM_LIST, reinterpret_cast<LPARAM>(&key));
    };
    auto deleteKey = [&] { SendMessageW(list, WM_KEYUP, VK_DELETE, 0); };

    doubleClick();
    enter();
    deleteKey();
    EXPECT_TRUE(requests.empty());

    SelectEntry(1);
    doubleClick();
    enter();
    deleteKey();
    EXPECT_EQ(requests, (std::vector<std::pair<UINT, WPARAM>>{{1989, 0}, {1989, 0}, {1994, 0}}));
    RemoveWindowSubclass(list, RecordRequests, 99);
}

TEST_F(MainFrameTest, MissingComponentsAreReportedAndCloseIsRequested) {
    fs::remove_all(folder_ / "Components");
    Start();
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].caption, L"Corvel");
    EXPECT_EQ(shown_[0].text, L"初始化组件对象时出错或没有任何的组件对象，程序即将退出");
    EXPECT_EQ(shown_[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, frame_->Handle(), WM_CLOSE, WM_CLOSE, PM_REMOVE));
}

TEST_F(MainFrameTest, FailedSaveAtTheEndIsReported) {
    std::string unwritable = (folder_ / "missing folder" / "Corvel.cvx").string();
    Start(unwritable);
    ASSERT_NE(frame_->View().Model().AddCategory("New"), nullptr);
    DestroyWindow(frame_->Handle());
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].caption, L"Corvel");
    EXPECT_EQ(shown_[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    EXPECT_NE(shown_[0].text.find(WideFromCp936(unwritable)), std::wstring::npos);
}

TEST_F(MainFrameTest, ChangedCatalogueIsSavedAtTheEndAndUnchangedOneIsNot) {
    WriteCatalogue(kTwoCategories + "<orphan line>\r\n");
    auto before = fs::last_write_time(folder_ / "Corvel.cvx");
    Start();
    DestroyWindow(frame_->Handle());
    EXPECT_EQ(fs::last_write_time(folder_ / "Corvel.cvx"), before);

    Start();
    frame_->View().Model().AddCategory("Added");
    DestroyWindow(frame_->Handle());
    std::ifstream saved(folder_ / "Corvel.cvx", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    EXPECT_NE(bytes.find("[Added]\r\n"), std::string::npos);
    EXPECT_EQ(bytes.find("orphan"), std::string::npos);
    EXPECT_TRUE(shown_.empty());
}

TEST_F(MainFrameTest, TheListHoldsTheKeyboardWheneverTheFrameHasIt) {
    WriteCatalogue(kTwoCategories);
    Start();
    ShowWindow(frame_->Handle(), SW_SHOW);
    SetFocus(frame_->Handle());
    EXPECT_EQ(GetFocus(), List());
    SetFocus(GetDlgItem(frame_->Handle(), IDC_STATUS_BAR));
    SetFocus(frame_->Handle());  // as after a message box or Alt+Tab
    EXPECT_EQ(GetFocus(), List());
}

// Counts the pop-up menus that open on the frame.
LRESULT CALLBACK CountPopups(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (message == WM_INITMENUPOPUP) ++*reinterpret_cast<int*>(data);
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR, DWORD) {
    EndMenu();
}

TEST_F(MainFrameTest, OnlyTheListAndTheTabsHaveContextMenus) {
    WriteCatalogue(kTwoCategories);
    Start();
    ShowWindow(frame_->Handle(), SW_SHOW);
    int popups = 0;
    ASSERT_TRUE(SetWindowSubclass(frame_->Handle(), CountPopups, 98, reinterpret_cast<DWORD_PTR>(&popups)));
    auto rightClick = [&](HWND target) {
        // A menu that opens is closed again from inside its own loop.
        UINT_PTR timer = SetTimer(nullptr, 0, 100, CloseMenu);
        RECT rect;
        GetWindowRect(target, &rect);
        SendMessageW(frame_->Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(target),
                     MAKELPARAM(rect.left + 5, rect.top + 5));
        KillTimer(nullptr, timer);
    };
    rightClick(List());
    EXPECT_EQ(popups, 1);
    rightClick(GetDlgItem(GetDlgItem(frame_->Handle(), IDC_BAND_ROW), IDC_CATEGORY_TABS));
    EXPECT_EQ(popups, 2);
    rightClick(GetDlgItem(frame_->Handle(), IDC_STATUS_BAR));
    rightClick(GetDlgItem(frame_->Handle(), IDC_TOOLBAR));
    EXPECT_EQ(popups, 2);
    RemoveWindowSubclass(frame_->Handle(), CountPopups, 98);
}

TEST_F(MainFrameTest, AnEndingSessionSavesTheRunsChanges) {
    WriteCatalogue(kTwoCategories);
    Start();
    Model().AddCategory("Late");
    SendMessageW(frame_->Handle(), WM_ENDSESSION, FALSE, 0);  // log-off cancelled
    EXPECT_EQ(ReadCatalogue().find("[Late]"), std::string::npos);
    SendMessageW(frame_->Handle(), WM_ENDSESSION, TRUE, 0);
    EXPECT_NE(ReadCatalogue().find("[Games]\r\n[Late]\r\n"), std::string::npos);
    EXPECT_TRUE(shown_.empty());
}

}  // namespace
}  // namespace corvel::ui
