// The real copy files dialog in this process: its list, its three ways of
// copying with the clipboard read back as another program would, the copy
// into a folder and its stopping; and the view command that opens it.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "catalogue/win32_text.h"
#include "tests/support/clipboard_text.h"
#include "tests/ui/dialog_script.h"
#include "tests/ui/frame_test.h"
#include "tests/ui/keyboard_check.h"
#include "tests/ui/shown_message.h"
#include "tools/copy_files/copy_files_dialog.h"
#include "ui/main/resource.h"

namespace corvel::ui {
namespace {

namespace fs = std::filesystem;

const std::wstring kCaption = L"复制文件";

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

class CopyFilesDialogTest : public DialogScriptTest {
protected:
    void SetUp() override {
        DialogScriptTest::SetUp();
        folder_ = fs::temp_directory_path() / ("corvel-copy-" + std::to_string(GetCurrentProcessId()) + "-" +
                                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "Soft");
        paths_ = std::make_unique<PathResolver>(Cp936FromWide(folder_.wstring()) + "\\");
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
        DialogScriptTest::TearDown();
    }

    void PutFile(const std::wstring& name, const std::string& content) {
        std::ofstream(folder_ / name, std::ios::binary) << content;
    }
    std::wstring Full(const std::wstring& name) const { return (folder_ / name).wstring(); }

    // Editor: installer and settings file there, patch missing; Viewer: its
    // installer there, a patch field holding only a flag.
    std::vector<ItemFields> TwoItems() {
        PutFile(L"Soft\\setup.exe", "setup");
        PutFile(L"Soft\\编辑器设置.reg", "REGEDIT4");
        PutFile(L"Soft\\viewer.exe", "viewer");
        ItemFields editor{
            "Editor", "Soft\\setup.exe /S", "", "Soft\\fix.exe -q", "", Cp936FromWide(L"Soft\\编辑器设置.reg"), ""};
        ItemFields viewer{"Viewer", "Soft\\viewer.exe", "", "/quiet", "", "", ""};
        return {editor, viewer};
    }

    static HWND List(HWND dialog) { return GetDlgItem(dialog, IDC_COPY_FILE_LIST); }
    static std::wstring Cell(HWND dialog, int row, int column) {
        wchar_t text[512] = {};
        ListView_GetItemText(List(dialog), row, column, text, 512);
        return text;
    }
    static std::vector<bool> Checks(HWND dialog) {
        std::vector<bool> checks;
        for (int i = 0; i < ListView_GetItemCount(List(dialog)); ++i)
            checks.push_back(ListView_GetCheckState(List(dialog), i) != 0);
        return checks;
    }
    static void Check(HWND dialog, int row, bool checked) { ListView_SetCheckState(List(dialog), row, checked); }
    static void Select(HWND dialog, int row) { ListView_SetItemState(List(dialog), row, LVIS_SELECTED, LVIS_SELECTED); }
    static std::vector<bool> Selection(HWND dialog) {
        std::vector<bool> selected;
        for (int i = 0; i < ListView_GetItemCount(List(dialog)); ++i)
            selected.push_back(ListView_GetItemState(List(dialog), i, LVIS_SELECTED) != 0);
        return selected;
    }
    static void Menu(HWND dialog, int command) { SendMessageW(dialog, WM_COMMAND, command, 0); }
    static bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
    static void Type(HWND dialog, const std::wstring& folder) {
        SetDlgItemTextW(dialog, IDC_COPY_TARGET_FOLDER, folder.c_str());
    }
    static std::wstring Text(HWND dialog, int id) { return Window(GetDlgItem(dialog, id)).Text(); }

    fs::path folder_;
    std::unique_ptr<PathResolver> paths_;
};

TEST_F(CopyFilesDialogTest, RowsShowEachFileCheckedWhenItExistsAndGhostedWhenMissing) {
    CCopyFilesDialog dialog(TwoItems(), *paths_);
    INT_PTR result = Run(dialog, [&](HWND window) {
        EXPECT_EQ(Window(window).Text(), kCaption);
        HWND list = List(window);
        ASSERT_EQ(ListView_GetItemCount(list), 4);
        const std::wstring expected[4][3] = {
            {L"Editor", Full(L"Soft\\setup.exe"), L"安装程序"},
            {L"Editor", Full(L"Soft\\fix.exe"), L"补钉程序"},
            {L"Editor", Full(L"Soft\\编辑器设置.reg"), L"设置文件"},
            {L"Viewer", Full(L"Soft\\viewer.exe"), L"安装程序"},
        };
        for (int row = 0; row < 4; ++row) {
            for (int column = 0; column < 3; ++column) EXPECT_EQ(Cell(window, row, column), expected[row][column]);
        }
        EXPECT_EQ(Checks(window), (std::vector<bool>{true, false, true, true}));
        EXPECT_EQ(ListView_GetItemState(list, 1, LVIS_CUT), static_cast<UINT>(LVIS_CUT));
        EXPECT_EQ(ListView_GetItemState(list, 0, LVIS_CUT), 0u);

        RECT client{};
        GetClientRect(list, &client);
        EXPECT_EQ(ListView_GetColumnWidth(list, 0), 120);
        EXPECT_EQ(ListView_GetColumnWidth(list, 1), client.right - 200);
        EXPECT_EQ(ListView_GetColumnWidth(list, 2), 80);
        DWORD styles = ListView_GetExtendedListViewStyle(list);
        EXPECT_EQ(styles & (LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP),
                  static_cast<DWORD>(LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP));

        // Paths as text at the start: the folder's controls are off.
        EXPECT_EQ(IsDlgButtonChecked(window, IDC_COPY_PATHS_AS_TEXT), BST_CHECKED);
        EXPECT_EQ(IsDlgButtonChecked(window, IDC_COPY_OVERWRITE), BST_UNCHECKED);
        for (int id :
             {IDC_COPY_TARGET_FOLDER, IDC_COPY_CHOOSE_FOLDER, IDC_COPY_OVERWRITE, IDC_COPY_PROGRESS, IDC_COPY_STATUS})
            EXPECT_FALSE(Enabled(window, id)) << id;
        Press(window, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(shown_.empty());
}

TEST_F(CopyFilesDialogTest, WithoutItemsItClosesAtOnce) {
    CCopyFilesDialog dialog({}, *paths_);
    EXPECT_EQ(Run(dialog, std::vector<Stage>{}), IDCANCEL);
}

TEST_F(CopyFilesDialogTest, ModesSwitchTheFolderControlsAndDropMissingFiles) {
    CCopyFilesDialog dialog(TwoItems(), *paths_);
    Run(dialog, [&](HWND window) {
        Check(window, 1, true);  // the missing patch, by hand
        Press(window, IDC_COPY_INTO_FOLDER);
        EXPECT_EQ(Checks(window), (std::vector<bool>{true, false, true, true}));
        for (int id :
             {IDC_COPY_TARGET_FOLDER, IDC_COPY_CHOOSE_FOLDER, IDC_COPY_OVERWRITE, IDC_COPY_PROGRESS, IDC_COPY_STATUS})
            EXPECT_TRUE(Enabled(window, id)) << id;
        EXPECT_EQ(GetFocus(), GetDlgItem(window, IDC_COPY_TARGET_FOLDER));

        Type(window, L"D:\\CD");
        Press(window, IDC_COPY_PATHS_AS_TEXT);
        EXPECT_FALSE(Enabled(window, IDC_COPY_TARGET_FOLDER));
        Check(window, 1, true);
        Press(window, IDC_COPY_INTO_FOLDER);
        DWORD start = 0, end = 0;
        SendDlgItemMessageW(window, IDC_COPY_TARGET_FOLDER, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                            reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, 5u);

        Check(window, 1, true);
        Press(window, IDC_COPY_FILES_TO_CLIPBOARD);
        EXPECT_EQ(Checks(window), (std::vector<bool>{true, false, true, true}));
        EXPECT_FALSE(Enabled(window, IDC_COPY_TARGET_FOLDER));
        EXPECT_FALSE(Enabled(window, IDC_COPY_PROGRESS));
        Press(window, IDCANCEL);
    });
}

TEST_F(CopyFilesDialogTest, MenuSelectsRowsAndChecksOrClearsTheSelectedOnes) {
    CCopyFilesDialog dialog(TwoItems(), *paths_);
    Run(dialog, [&](HWND window) {
        using Rows = std::vector<bool>;
        Select(window, 1);
        Menu(window, ID_COPY_SELECT_INSTALLERS);
        EXPECT_EQ(Selection(window), (Rows{true, false, false, true}));
        Menu(window, ID_COPY_SELECT_PATCHES);
        EXPECT_EQ(Selection(window), (Rows{false, true, false, false}));
        Menu(window, ID_COPY_SELECT_SETTINGS);
        EXPECT_EQ(Selection(window), (Rows{false, false, true, false}));
        Menu(window, ID_COPY_INVERT_SELECTION);
        EXPECT_EQ(Selection(window), (Rows{true, true, false, true}));
        Menu(window, ID_COPY_SELECT_ALL);
        EXPECT_EQ(Selection(window), (Rows{true, true, true, true}));
        Menu(window, ID_COPY_UNCHECK);
        EXPECT_EQ(Checks(window), (Rows{false, false, false, false}));

        // Existing files, then check: exactly those gain a mark; the others keep theirs.
        Check(window, 1, true);
        Check(window, 3, false);
        Menu(window, ID_COPY_SELECT_EXISTING);
        EXPECT_EQ(Selection(window), (Rows{true, false, true, true}));
        Menu(window, ID_COPY_CHECK);
        EXPECT_EQ(Checks(window), (Rows{true, true, true, true}));
        Check(window, 1, false);
        Menu(window, ID_COPY_CHECK);
        EXPECT_EQ(Checks(window), (Rows{true, false, true, true}));
        Press(window, IDCANCEL);
    });
}

// The menu is open while the script looks at it: its entries follow the
// list's rows and selection.
TEST_F(CopyFilesDialogTest, ContextMenuEnablesItsEntriesByRowsAndSelection) {
    CCopyFilesDialog dialog(TwoItems(), *paths_);
    std::vector<UINT> states;
    auto openMenu = [](HWND window) {
        SendMessageW(window, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(List(window)), MAKELPARAM(10, 10));
    };
    auto readMenu = [&](HWND) {
        states.clear();
        HWND popup = FindWindowW(L"#32768", nullptr);
        HMENU menu = popup ? reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0)) : nullptr;
        EXPECT_NE(menu, nullptr) << "no menu open";
        if (menu) {
            EXPECT_EQ(GetMenuItemCount(menu), 10);
            for (int id = ID_COPY_SELECT_INSTALLERS; id <= ID_COPY_UNCHECK; ++id)
                states.push_back(GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED);
        }
        EndMenu();  // always: an open menu would hold the test for ever
    };
    Run(dialog, std::vector<Stage>{[&](HWND window) { openMenu(window); }, readMenu,
                                   [&](HWND window) {
                                       EXPECT_EQ(states, (std::vector<UINT>{0, 0, 0, 0, 0, 0, MF_GRAYED, MF_GRAYED}));
                                       Select(window, 2);
                                       openMenu(window);
                                   },
                                   readMenu,
                                   [&](HWND window) {
                                       EXPECT_EQ(states, (std::vector<UINT>(8, 0)));
                                       Press(window, IDCANCEL);
                                   }});
}

TEST_F(CopyFilesDialogTest, PathsAsTextTakeEveryCheckedRowInBothTextFormats) {
    CCopyFilesDialog dialog(TwoItems(), *paths_);
    INT_PTR result = Run(dialog, [&](HWND window) {
        Check(window, 1, true);
        Check(window, 3, false);
        Press(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(shown_.empty());
    const std::wstring expected =
        Full(L"Soft\\setup.exe") + L"\r\n" + Full(L"Soft\\fix.exe") + L"\r\n" + Full(L"Soft\\编辑器设置.reg") + L"\r\n";
    EXPECT_EQ(testing::ClipboardBytes(), Cp936FromWide(expected));
    EXPECT_EQ(testing::ClipboardUnicode(), expected);

    // Nothing checked empties the clipboard, without a message.
    CCopyFilesDialog again(TwoItems(), *paths_);
    EXPECT_EQ(Run(again,
                  [&](HWND window) {
                      for (int row = 0; row < 4; ++row) Check(window, row, false);
                      Press(window, IDOK);
                  }),
              IDOK);
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_TRUE(shown_.empty());
}

TEST_F(CopyFilesDialogTest, FilesOnTheClipboardAreTheCheckedExistingOnesWithTheCopyEffect) {
    CCopyFilesDialog dialog(TwoItems(), *paths_);
    EXPECT_EQ(Run(dialog,
                  [&](HWND window) {
                      Press(window, IDC_COPY_FILES_TO_CLIPBOARD);
                      Check(window, 1, true);  // missing: never on the clipboard
                      Press(window, IDOK);
                  }),
              IDOK);
    EXPECT_TRUE(shown_.empty());

    ASSERT_TRUE(OpenClipboard(nullptr));
    std::vector<std::wstring> files;
    if (HANDLE drop = GetClipboardData(CF_HDROP)) {
        auto* header = static_cast<DROPFILES*>(GlobalLock(drop));
        ASSERT_NE(header, nullptr);
        EXPECT_EQ(header->pFiles, 20u);
        EXPECT_TRUE(header->fWide);
        GlobalUnlock(drop);
        UINT count = DragQueryFileW(static_cast<HDROP>(drop), 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            wchar_t name[MAX_PATH] = {};
            DragQueryFileW(static_cast<HDROP>(drop), i, name, MAX_PATH);
            files.push_back(name);
        }
    }
    DWORD effect = 0;
    if (HANDLE block = GetClipboardData(RegisterClipboardFormatW(L"Preferred DropEffect"))) {
        effect = *static_cast<DWORD*>(GlobalLock(block));
        GlobalUnlock(block);
    }
    CloseClipboard();
    EXPECT_EQ(files, (std::vector<std::wstring>{Full(L"Soft\\setup.exe"), Full(L"Soft\\编辑器设置.reg"),
                                                Full(L"Soft\\viewer.exe")}));
    EXPECT_EQ(effect, 1u);
}

// A name from the user-defined area of code page 936 (bytes AA A1) is a
// private-use character to the file system: the list must name the file
// that was found, not a replacement character.
TEST_F(CopyFilesDialogTest, FilesOnTheClipboardAreNamedAsTheirExistenceWasChecked) {
    const std::wstring userDefined = WideFromCp936("\xAA\xA1");
    ASSERT_EQ(userDefined.size(), 1u);
    PutFile(L"Soft\\" + userDefined + L".exe", "private");
    std::vector<ItemFields> items = {{"Private", "Soft\\\xAA\xA1.exe", "", "", "", "", ""}};
    CCopyFilesDialog dialog(std::move(items), *paths_);
    Run(dialog, [&](HWND window) {
        EXPECT_EQ(Checks(window), std::vector<bool>{true});  // found
        Press(window, IDC_COPY_FILES_TO_CLIPBOARD);
        Press(window, IDOK);
    });
    EXPECT_TRUE(shown_.empty());
    ASSERT_TRUE(OpenClipboard(nullptr));
    std::vector<std::wstring> files;
    if (HANDLE drop = GetClipboardData(CF_HDROP)) {
        wchar_t name[MAX_PATH] = {};
        if (DragQueryFileW(static_cast<HDROP>(drop), 0xFFFFFFFF, nullptr, 0) == 1) {
            DragQueryFileW(static_cast<HDROP>(drop), 0, name, MAX_PATH);
            files.push_back(name);
        }
    }
    CloseClipboard();
    EXPECT_EQ(files, std::vector<std::wstring>{Full(L"Soft\\" + userDefined + L".exe")});
    ASSERT_EQ(files.size(), 1u);
    EXPECT_NE(GetFileAttributesW(files[0].c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(CopyFilesDialogTest, FilesOnTheClipboardNeedACheckedExistingFile) {
    CCopyFilesDialog dialog(TwoItems(), *paths_);
    EXPECT_EQ(Run(dialog,
                  [&](HWND window) {
                      Press(window, IDC_COPY_FILES_TO_CLIPBOARD);
                      for (int row : {0, 2, 3}) Check(window, row, false);
                      Check(window, 1, true);
                      Press(window, IDOK);
                  }),
              IDOK);
    ASSERT_EQ(shown_.size(), 1u);
    ExpectMessage(shown_[0], L"将文件复制到剪贴板时出错", kCaption, MB_OK | MB_ICONSTOP);
}

TEST_F(CopyFilesDialogTest, IntoFolderCreatesTheTargetAndCopiesTheCheckedExistingFiles) {
    CCopyFilesDialog dialog(TwoItems(), *paths_);
    PutFile(L"taken", "a file where a folder should go");
    INT_PTR result = Run(dialog, [&](HWND window) {
        Press(window, IDC_COPY_INTO_FOLDER);
        Check(window, 1, true);
        Check(window, 3, false);
        Press(window, IDOK);  // no target
        Type(window, Full(L"taken\\sub"));
        Press(window, IDOK);  // cannot be made
        EXPECT_FALSE(Ended(window));
        EXPECT_TRUE(Enabled(window, IDOK));
        Type(window, Full(L"光盘\\new\\deep"));
        Press(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(shown_.size(), 2u);
    EXPECT_EQ(shown_[0].text, L"目标目录不能为空");
    EXPECT_EQ(shown_[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    ExpectMessage(shown_[1], L"创建目标目录失败！请检查目录路径是否有效", kCaption, MB_OK | MB_ICONSTOP);

    std::vector<std::wstring> copied;
    for (const auto& entry : fs::directory_iterator(folder_ / L"光盘\\new\\deep"))
        copied.push_back(entry.path().filename());
    std::sort(copied.begin(), copied.end());
    EXPECT_EQ(copied, (std::vector<std::wstring>{L"setup.exe", L"编辑器设置.reg"}));
    EXPECT_EQ(ReadFile(folder_ / L"光盘\\new\\deep\\setup.exe"), "setup");
}

TEST_F(CopyFilesDialogTest, IntoFolderReplacesAFileOfTheSameNameOnlyWhenAsked) {
    fs::create_directories(folder_ / "CD");
    PutFile(L"CD\\setup.exe", "old");
    for (bool overwrite : {false, true}) {
        CCopyFilesDialog dialog(TwoItems(), *paths_);
        EXPECT_EQ(Run(dialog,
                      [&](HWND window) {
                          Press(window, IDC_COPY_INTO_FOLDER);
                          Type(window, Full(L"CD"));
                          if (overwrite) Press(window, IDC_COPY_OVERWRITE);
                          Press(window, IDOK);
                          EXPECT_EQ(Text(window, IDC_COPY_STATUS), L"");
                          EXPECT_EQ(SendDlgItemMessageW(window, IDC_COPY_PROGRESS, PBM_GETPOS, 0, 0), 0);
                      }),
                  IDOK);
        EXPECT_EQ(ReadFile(folder_ / "CD\\setup.exe"), overwrite ? "setup" : "old");
        EXPECT_EQ(ReadFile(folder_ / "CD\\viewer.exe"), "viewer");
    }
    EXPECT_TRUE(shown_.empty());
}

// The names of the entries of a folder, sorted.
std::vector<std::wstring> Entries(const fs::path& folder) {
    std::vector<std::wstring> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(CopyFilesDialogTest, IntoFolderTakesARelativeOrBlankEndedTargetAsAFolderOfTheProgram) {
    for (const wchar_t* typed : {L"CD", L"CD . ", L"  CD\\"}) {
        CCopyFilesDialog dialog(TwoItems(), *paths_);
        EXPECT_EQ(Run(dialog,
                      [&](HWND window) {
                          Press(window, IDC_COPY_INTO_FOLDER);
                          Type(window, typed);
                          Press(window, IDC_COPY_OVERWRITE);
                          Press(window, IDOK);
                      }),
                  IDOK)
            << typed;
        EXPECT_EQ(Entries(folder_ / "CD"), (std::vector<std::wstring>{L"setup.exe", L"viewer.exe", L"编辑器设置.reg"}))
            << typed;
        fs::remove_all(folder_ / "CD");
    }
    EXPECT_TRUE(shown_.empty());
    // Nothing went beside the test program, or into a folder of another name.
    EXPECT_EQ(Entries(folder_), (std::vector<std::wstring>{L"Soft"}));
}

TEST_F(CopyFilesDialogTest, IntoFolderRefusesATargetThatIsNoFolderAndKeepsTheDialog) {
    PutFile(L"taken", "a file where a folder should go");
    CCopyFilesDialog dialog(TwoItems(), *paths_);
    Run(dialog, [&](HWND window) {
        Press(window, IDC_COPY_INTO_FOLDER);
        // A name the path rules refuse, one under a file, one of only blanks.
        for (const wchar_t* typed : {L"..\\CD", L"taken\\CD", L"Soft\\..", L"   "}) {
            Type(window, typed);
            Press(window, IDOK);
            EXPECT_FALSE(Ended(window)) << typed;
        }
        Press(window, IDCANCEL);
    });
    ASSERT_EQ(shown_.size(), 4u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(shown_[i].text, L"创建目标目录失败！请检查目录路径是否有效") << i;
        EXPECT_EQ(shown_[i].flags, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    }
    EXPECT_EQ(shown_[3].text, L"目标目录不能为空");
    EXPECT_EQ(Entries(folder_), (std::vector<std::wstring>{L"Soft", L"taken"}));
    EXPECT_FALSE(fs::exists(folder_.parent_path() / "CD"));
}

// A folder of the file's name in the target stands for a target that cannot
// be written: Wine runs as root and writes through read-only attributes, and
// a full disc cannot be made here.
TEST_F(CopyFilesDialogTest, IntoFolderListsTheFilesThatCouldNotBeCopiedBeforeClosing) {
    fs::create_directories(folder_ / "CD" / "setup.exe");
    fs::create_directories(folder_ / "CD" / L"编辑器设置.reg");
    for (bool overwrite : {false, true}) {
        shown_.clear();
        CCopyFilesDialog dialog(TwoItems(), *paths_);
        EXPECT_EQ(Run(dialog,
                      [&](HWND window) {
                          Press(window, IDC_COPY_INTO_FOLDER);
                          Type(window, L"CD");
                          if (overwrite) Press(window, IDC_COPY_OVERWRITE);
                          Press(window, IDOK);
                      }),
                  IDOK);
        ASSERT_EQ(shown_.size(), 1u) << overwrite;
        EXPECT_EQ(shown_[0].text,
                  L"以下文件没有复制成功：\n" + Full(L"Soft\\setup.exe") + L"\n" + Full(L"Soft\\编辑器设置.reg"));
        EXPECT_EQ(shown_[0].caption, kCaption);
        EXPECT_EQ(shown_[0].flags, static_cast<UINT>(MB_OK | MB_ICONSTOP));
        EXPECT_EQ(ReadFile(folder_ / "CD\\viewer.exe"), "viewer");
    }
}

TEST_F(CopyFilesDialogTest, IntoFolderNamesTheFileNamesThatChosenFilesShare) {
    fs::create_directories(folder_ / "Soft" / "old");
    fs::create_directories(folder_ / "Soft" / "new");
    PutFile(L"Soft\\old\\setup.exe", "old setup");
    PutFile(L"Soft\\new\\SETUP.exe", "new setup");
    PutFile(L"Soft\\old\\a.reg", "old settings");
    PutFile(L"Soft\\new\\a.reg", "new settings");
    PutFile(L"Soft\\tool.exe", "tool");
    fs::create_directories(folder_ / "CD" / "tool.exe");  // and one that fails
    std::vector<ItemFields> items = {{"Old", "Soft\\old\\setup.exe", "", "", "", "Soft\\old\\a.reg", ""},
                                     {"New", "Soft\\new\\SETUP.exe", "", "Soft\\tool.exe", "", "Soft\\new\\a.reg", ""}};
    CCopyFilesDialog dialog(std::move(items), *paths_);
    Run(dialog, [&](HWND window) {
        Press(window, IDC_COPY_INTO_FOLDER);
        Type(window, L"CD");
        Press(window, IDOK);
    });
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].text, L"以下文件没有复制成功：\n" + Full(L"Soft\\tool.exe") +
                                  L"\n\n以下文件名为多个所选文件共有，目标目录中只能留下其中一个：\nsetup.exe\na.reg");
    EXPECT_EQ(shown_[0].flags, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    // Overwriting off: the first of each name stays.
    EXPECT_EQ(ReadFile(folder_ / "CD\\setup.exe"), "old setup");
    EXPECT_EQ(ReadFile(folder_ / "CD\\a.reg"), "old settings");
}

TEST_F(CopyFilesDialogTest, ATargetCodePage936CannotHoldIsRefusedAsTyped) {
    CCopyFilesDialog dialog(TwoItems(), *paths_);
    const std::wstring emoji = L"CD\xD83D\xDE00";
    Run(dialog, [&](HWND window) {
        Press(window, IDC_COPY_INTO_FOLDER);
        for (const std::wstring& typed : {std::wstring(L"CD\x0E3F"), emoji}) {
            Type(window, typed);
            SetFocus(GetDlgItem(window, IDOK));
            Press(window, IDOK);
            EXPECT_FALSE(Ended(window));
            EXPECT_EQ(Text(window, IDC_COPY_TARGET_FOLDER), typed);
            EXPECT_EQ(GetFocus(), GetDlgItem(window, IDC_COPY_TARGET_FOLDER));
        }
        Press(window, IDCANCEL);
    });
    ASSERT_EQ(shown_.size(), 2u);
    for (const MessageBoxRequest& shown : shown_) {
        ExpectMessage(shown, L"“将文件复制到指定目录”中有 GBK（代码页 936）无法保存的字符，请删去或换用其他字符。",
                      kCaption, MB_OK | MB_ICONSTOP);
    }
    EXPECT_EQ(Entries(folder_), (std::vector<std::wstring>{L"Soft"}));
}

// Many large files; the close box is pressed while the first ones copy.
TEST_F(CopyFilesDialogTest, TheCloseBoxStopsTheCopyAfterTheCurrentFile) {
    std::vector<ItemFields> items;
    const std::string content(4 << 20, 'c');
    for (int i = 0; i < 40; ++i) {
        std::wstring name = L"Soft\\disc" + std::to_wstring(i) + L".iso";
        PutFile(name, content);
        items.push_back({"Disc" + std::to_string(i), Cp936FromWide(name), "", "", "", "", ""});
    }
    CCopyFilesDialog dialog(std::move(items), *paths_);
    std::wstring statusWhileCopying;
    LRESULT positionWhileCopying = -1;
    INT_PTR result = Run(dialog, std::vector<Stage>{[&](HWND window) {
                                                        Press(window, IDC_COPY_INTO_FOLDER);
                                                        Type(window, Full(L"CD"));
                                                        Press(window, IDOK);  // copies, running the next stage
                                                    },
                                                    [&](HWND window) {
                                                        statusWhileCopying = Text(window, IDC_COPY_STATUS);
                                                        positionWhileCopying = SendDlgItemMessageW(
                                                            window, IDC_COPY_PROGRESS, PBM_GETPOS, 0, 0);
                                                        // Enter does not start a second copy.
                                                        SendMessageW(window, WM_COMMAND, IDOK, 0);
                                                        SendMessageW(window, WM_CLOSE, 0, 0);
                                                        EXPECT_FALSE(Ended(window));
                                                    }});
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(statusWhileCopying.rfind(L"正在复制：" + Full(L"Soft\\disc"), 0), 0u) << statusWhileCopying;
    EXPECT_LT(positionWhileCopying, 40);
    std::size_t copied = 0;
    for (const auto& entry : fs::directory_iterator(folder_ / "CD")) {
        EXPECT_EQ(fs::file_size(entry.path()), content.size()) << "a file was cut short";
        ++copied;
    }
    EXPECT_GE(copied, 1u);
    EXPECT_LT(copied, 40u);
    // The file being copied when the close box was pressed is finished.
    EXPECT_GE(static_cast<LRESULT>(copied), positionWhileCopying);
    EXPECT_LE(static_cast<LRESULT>(copied), positionWhileCopying + 1);
}

using CopyFilesCommandTest = FrameTest;

TEST_F(CopyFilesCommandTest, TheDialogGetsTheSelectedItemsInListOrder) {
    WriteCatalogue(
        "[Tools]\r\n<Name=A\x02SrcPath=C:\\windows\\notepad.exe\x02>\r\n"
        "<Name=B\x02SrcPath=C:\\windows\\notepad.exe\x02Patch=p.exe\x02>\r\n"
        "<Name=C\x02SrcPath=C:\\windows\\regedit.exe\x02>\r\n");
    Start();
    SelectEntry(2);
    SelectEntry(1);
    std::vector<std::string> names;
    dialogScript_ = [&](Dialog& dialog) -> INT_PTR {
        for (const ItemFields& item : dynamic_cast<CCopyFilesDialog&>(dialog).Items()) names.push_back(item.Name);
        return IDOK;
    };
    Command(ID_ITEM_COPY);
    EXPECT_EQ(dialogs_, std::vector<int>{IDD_COPY_FILES});
    EXPECT_EQ(names, (std::vector<std::string>{"B", "C"}));
    EXPECT_FALSE(Model().IsModified());
}

TEST_F(CopyFilesDialogTest, TheKeyboardReachesEveryControlAndSpaceTicksTheFocusedRow) {
    using namespace corvel::testing;
    CCopyFilesDialog dialog(TwoItems(), *paths_);
    INT_PTR result = Run(dialog, [&](HWND window) {
        ExpectKeyboardUsable(window);
        ExpectTextsFit(window);
        // The radio button's mnemonic chooses copying into a folder and leads on to the folder.
        PressMnemonic(window, L'F');
        EXPECT_EQ(IsDlgButtonChecked(window, IDC_COPY_INTO_FOLDER), static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(GetFocus(), GetDlgItem(window, IDC_COPY_TARGET_FOLDER));
        ExpectKeyboardUsable(window);

        // Tab from the last button comes round to the list, on a row.
        SetFocus(GetDlgItem(window, IDCANCEL));
        PressKey(window, VK_TAB);
        ASSERT_EQ(GetFocus(), List(window));
        const int row = ListView_GetNextItem(List(window), -1, LVNI_FOCUSED);
        ASSERT_GE(row, 0) << "no row has the focus";
        const std::vector<bool> before = Checks(window);
        PressKey(window, VK_SPACE, L' ');
        std::vector<bool> after = before;
        after[row] = !after[row];
        EXPECT_EQ(Checks(window), after);
        PressKey(window, VK_DOWN);
        EXPECT_EQ(ListView_GetNextItem(List(window), -1, LVNI_FOCUSED), row + 1);
        PressKey(window, VK_SPACE, L' ');
        after[row + 1] = !after[row + 1];
        EXPECT_EQ(Checks(window), after);

        SetFocus(GetDlgItem(window, IDOK));
        PressMnemonic(window, L'L');
        EXPECT_EQ(GetFocus(), List(window));
        PressKey(window, VK_ESCAPE);
    });
    EXPECT_EQ(result, IDCANCEL);
}

}  // namespace
}  // namespace corvel::ui
