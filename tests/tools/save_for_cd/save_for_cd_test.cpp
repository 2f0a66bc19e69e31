// The real Save for CD dialog in this process: a script ticks rows, types
// the folders and presses OK as a user would; the results are read from disk.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "catalogue/catalogue_file.h"
#include "catalogue/win32_text.h"
#include "tests/support/remove_tree.h"
#include "tests/support/unstorable_text.h"
#include "tests/ui/dialog_script.h"
#include "tests/ui/frame_test.h"
#include "tests/ui/keyboard_check.h"
#include "tools/save_for_cd/save_for_cd_dialog.h"
#include "ui/main/resource.h"

namespace corvel::ui {
namespace {

namespace fs = std::filesystem;
using corvel::testing::kUnstorableTexts;
using corvel::testing::UnstorableMessage;

const std::wstring kCaption = L"保存";
constexpr UINT kStop = MB_OK | MB_ICONSTOP;
constexpr UINT kExclamation = MB_OK | MB_ICONEXCLAMATION;

std::string ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Cp936(const fs::path& path) {
    return Cp936FromWide(path.wstring());
}

class SaveForCdDialogTest : public DialogScriptTest {
protected:
    void SetUp() override {
        DialogScriptTest::SetUp();
        root_ = fs::temp_directory_path() / ("corvel-savecd-" + std::to_string(GetCurrentProcessId()) + "-" +
                                             ::testing::UnitTest::GetInstance()->current_test_info()->name());
        testing::RemoveTree(root_.wstring());
        program_ = root_ / "prog";
        cd_ = root_ / "cd";
        fs::create_directories(program_ / "Components" / "Sub");
        WriteBytes(program_ / "Corvel.exe", "MZ program");
        WriteBytes(program_ / "Components" / "Quarro.cpn", "component");
        WriteBytes(program_ / "Components" / "Sub" / "data.bin", "data");
        WriteBytes(program_ / "ExtTools.ini", "tool=a.exe\r\n");
        WriteBytes(program_ / "Corvel.cvx", "[Old]\r\n");
        fs::create_directories(root_ / "art");
        WriteBytes(root_ / "art" / "disc.ico", "icon bytes");

        for (const wchar_t* name : {L"办公", L"Tools", L"Games"}) {
            CatalogueNode* category = catalogue_.AddCategory(Cp936FromWide(name));
            ItemFields fields;
            fields.Name = Cp936FromWide(std::wstring(name) + L" 1");
            fields.SrcPath = "Soft\\setup.exe";
            catalogue_.AddItem(category, fields);
            categories_.push_back(category);
        }
        catalogue_.SetModified(false);
    }
    void TearDown() override {
        testing::RemoveTree(root_.wstring());
        DialogScriptTest::TearDown();
    }

    ProgramFiles Program() const { return {Cp936(program_ / "Corvel.exe"), Cp936(program_) + "\\"}; }

    static HWND List(HWND dialog) { return GetDlgItem(dialog, IDC_SAVE_CATEGORIES); }
    static void Type(HWND dialog, int field, const fs::path& text) {
        SetDlgItemTextW(dialog, field, text.wstring().c_str());
    }
    static void Type(HWND dialog, int field, const std::wstring& text) { SetDlgItemTextW(dialog, field, text.c_str()); }
    static bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }

    // Fills the folder field, answers every message and presses OK.
    INT_PTR SaveInto(const std::wstring& folder, std::vector<Stage> before = {}) {
        CSaveForCdDialog dialog(catalogue_, Program());
        before.push_back([folder](HWND window) {
            Type(window, IDC_SAVE_FOLDER, folder);
            Press(window, IDOK);
        });
        return Run(dialog, std::move(before));
    }

    void ExpectShown(const std::wstring& text, UINT flags) {
        ASSERT_FALSE(shown_.empty());
        EXPECT_EQ(shown_.back().text, text);
        EXPECT_EQ(shown_.back().caption, kCaption);
        EXPECT_EQ(shown_.back().flags, flags);
    }

    fs::path root_, program_, cd_;
    Catalogue catalogue_;
    std::vector<const CatalogueNode*> categories_;
};

TEST_F(SaveForCdDialogTest, StartsWithEveryCategoryTickedAndTheIconFieldOff) {
    CSaveForCdDialog dialog(catalogue_, Program());
    INT_PTR result = Run(dialog, [](HWND window) {
        EXPECT_EQ(Window(window).Text(), L"保存光盘所需要的文件");
        HWND list = List(window);
        ASSERT_EQ(ListView_GetItemCount(list), 3);
        wchar_t text[64] = {};
        ListView_GetItemText(list, 0, 0, text, 64);
        EXPECT_STREQ(text, L"办公");
        for (int row = 0; row < 3; ++row) EXPECT_TRUE(ListView_GetCheckState(list, row)) << row;
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = text;
        column.cchTextMax = 64;
        ASSERT_TRUE(SendMessageW(list, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column)));
        EXPECT_STREQ(text, L"分类名称");
        RECT client{};
        GetClientRect(list, &client);
        EXPECT_EQ(column.cx, client.right);
        EXPECT_TRUE(ListView_GetExtendedListViewStyle(list) & LVS_EX_FULLROWSELECT);

        EXPECT_EQ(IsDlgButtonChecked(window, IDC_SAVE_AUTORUN), BST_UNCHECKED);
        EXPECT_FALSE(Enabled(window, IDC_SAVE_ICON));
        EXPECT_FALSE(Enabled(window, IDC_SAVE_BROWSE_ICON));
        EXPECT_TRUE(Enabled(window, IDC_SAVE_BROWSE_FOLDER));
        EXPECT_EQ(GetFocus(), GetDlgItem(window, IDC_SAVE_FOLDER));

        Press(window, IDC_SAVE_AUTORUN);
        EXPECT_TRUE(Enabled(window, IDC_SAVE_ICON));
        EXPECT_TRUE(Enabled(window, IDC_SAVE_BROWSE_ICON));
        Press(window, IDC_SAVE_AUTORUN);
        EXPECT_FALSE(Enabled(window, IDC_SAVE_ICON));
        EXPECT_FALSE(Enabled(window, IDC_SAVE_BROWSE_ICON));
        Press(window, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_FALSE(fs::exists(cd_));
}

TEST_F(SaveForCdDialogTest, RefusalsKeepTheDialogOpenInTheirOrder) {
    CSaveForCdDialog dialog(catalogue_, Program());
    const std::wstring cd = cd_.wstring();
    INT_PTR result = Run(dialog, [&](HWND window) {
        Press(window, IDOK);
        ExpectShown(L"保存目录不能为空", kExclamation);

        std::wstring programFolder = program_.wstring();
        CharUpperW(programFolder.data());
        Type(window, IDC_SAVE_FOLDER, programFolder);
        Press(window, IDOK);
        ExpectShown(L"不能选择软件所在的目录作为保存目录", kStop);

        Type(window, IDC_SAVE_FOLDER, cd);
        Press(window, IDC_SAVE_AUTORUN);
        Type(window, IDC_SAVE_ICON, root_ / "art" / "disc.bmp");
        Press(window, IDOK);
        ExpectShown(L"请在“光盘显示的图标”处指定一个图标文件", kStop);
        Type(window, IDC_SAVE_ICON, root_ / "art" / "missing.Ico");
        Press(window, IDOK);
        ExpectShown(L"图标文件不存在，请检查图标文件的路径", kStop);

        Type(window, IDC_SAVE_ICON, root_ / "art" / "disc.ico");
        for (int row = 0; row < 3; ++row) ListView_SetCheckState(List(window), row, FALSE);
        Press(window, IDOK);
        ExpectShown(L"没有分类被选择", kExclamation);
        EXPECT_EQ(shown_.size(), 5u);
        EXPECT_EQ(Window(GetDlgItem(window, IDC_SAVE_FOLDER)).Text(), cd);
        Press(window, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_TRUE(fs::is_directory(cd_ / "Components"));
    EXPECT_TRUE(fs::is_empty(cd_ / "Components"));
    EXPECT_FALSE(fs::exists(cd_ / "Corvel.cvx"));
}

TEST_F(SaveForCdDialogTest, PathsCodePage936CannotHoldAreRefusedBeforeAnythingIsWritten) {
    const std::wstring folderMessage = UnstorableMessage(L"将所有需要的文件保存到以下的目录");
    const std::wstring iconMessage = UnstorableMessage(L"光盘显示的图标");
    CSaveForCdDialog dialog(catalogue_, Program());
    INT_PTR result = Run(dialog, [&](HWND window) {
        for (const wchar_t* bad : kUnstorableTexts) {
            std::wstring folder = (root_ / bad).wstring();
            Type(window, IDC_SAVE_FOLDER, folder);
            Press(window, IDOK);
            ASSERT_FALSE(shown_.empty());
            EXPECT_EQ(shown_.back().text, folderMessage);
            EXPECT_EQ(Window(GetDlgItem(window, IDC_SAVE_FOLDER)).Text(), folder);
            EXPECT_EQ(GetFocus(), GetDlgItem(window, IDC_SAVE_FOLDER));
        }
        Type(window, IDC_SAVE_FOLDER, cd_);
        Press(window, IDC_SAVE_AUTORUN);
        Type(window, IDC_SAVE_ICON, root_ / "art" / L"\xD55C.ico");
        Press(window, IDOK);
        EXPECT_EQ(shown_.back().text, iconMessage);

        // A chosen folder the code page cannot hold is told and not taken.
        chosen_ = L"D:\\\xD55C";
        Press(window, IDC_SAVE_BROWSE_FOLDER);
        EXPECT_EQ(shown_.back().text, folderMessage);
        EXPECT_EQ(Window(GetDlgItem(window, IDC_SAVE_FOLDER)).Text(), cd_.wstring());
        chosen_ = (root_ / "art" / L"Caf\xE9\xD83D\xDE00.ico").wstring();
        Press(window, IDC_SAVE_BROWSE_ICON);
        EXPECT_EQ(shown_.back().text, iconMessage);
        EXPECT_EQ(Window(GetDlgItem(window, IDC_SAVE_ICON)).Text(), (root_ / "art" / L"\xD55C.ico").wstring());
        EXPECT_FALSE(Ended(window));
        Press(window, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_EQ(shown_.size(), std::size(kUnstorableTexts) + 3);
    for (const MessageBoxRequest& box : shown_) {
        EXPECT_EQ(box.caption, L"保存光盘所需要的文件");
        EXPECT_EQ(box.flags, kStop);
    }
    // No folder was made, neither the target nor one with "?" in its name.
    std::vector<fs::path> left;
    for (const fs::directory_entry& entry : fs::directory_iterator(root_)) left.push_back(entry.path().filename());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<fs::path>{"art", "prog"}));
}

TEST_F(SaveForCdDialogTest, WritesTheProgramComponentsChosenCategoriesAndAutoRun) {
    INT_PTR result = SaveInto(cd_.wstring(), {[&](HWND window) {
                                  ListView_SetCheckState(List(window), 1, FALSE);
                                  Press(window, IDC_SAVE_AUTORUN);
                                  Type(window, IDC_SAVE_ICON, root_ / "art" / "disc.ico");
                              }});
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(shown_.empty());

    EXPECT_EQ(ReadBytes(cd_ / "Corvel.exe"), "MZ program");
    EXPECT_EQ(ReadBytes(cd_ / "Components" / "Quarro.cpn"), "component");
    EXPECT_EQ(ReadBytes(cd_ / "Components" / "Sub" / "data.bin"), "data");
    EXPECT_EQ(ReadBytes(cd_ / "ExtTools.ini"), "tool=a.exe\r\n");
    EXPECT_EQ(ReadBytes(cd_ / "disc.ico"), "icon bytes");
    EXPECT_EQ(ReadBytes(cd_ / "AutoRun.inf"), "[AUTORUN]\r\nOpen=Corvel.exe\r\nIcon=disc.ico\r\n");

    std::vector<const CatalogueNode*> chosen{categories_[0], categories_[2]};
    EXPECT_EQ(ReadBytes(cd_ / "Corvel.cvx"), FormatCatalogueText(catalogue_, &chosen));
    Catalogue written;
    ParseCatalogueText(written, ReadBytes(cd_ / "Corvel.cvx"));
    EXPECT_EQ(written.Count(written.Root(), NodeKind::Category, false), 2);
    EXPECT_EQ(written.Count(written.Root(), NodeKind::Item, true), 2);
    EXPECT_EQ(catalogue_.Count(catalogue_.Root(), NodeKind::Category, false), 3);
    EXPECT_FALSE(catalogue_.IsModified());
    EXPECT_EQ(ReadBytes(program_ / "Corvel.cvx"), "[Old]\r\n");
}

TEST_F(SaveForCdDialogTest, WithoutAutorunAnOldAutoRunIsDeletedAndFilesOverwritten) {
    fs::create_directories(cd_);
    WriteBytes(cd_ / "AutoRun.inf", "[AUTORUN]\r\nOpen=Old.exe\r\n");
    WriteBytes(cd_ / "Corvel.exe", "old program");
    EXPECT_EQ(SaveInto(cd_.wstring() + L"\\"), IDOK);
    EXPECT_TRUE(shown_.empty());
    EXPECT_FALSE(fs::exists(cd_ / "AutoRun.inf"));
    EXPECT_EQ(ReadBytes(cd_ / "Corvel.exe"), "MZ program");
    EXPECT_EQ(ReadBytes(cd_ / "Corvel.cvx"), FormatCatalogueText(catalogue_));
}

TEST_F(SaveForCdDialogTest, MissingComponentsCloseWithTheListOfWhatWasNotSaved) {
    testing::RemoveTree((program_ / "Components").wstring());
    RemoveDirectoryW((program_ / "Components").c_str());
    EXPECT_EQ(SaveInto(cd_.wstring()), IDOK);
    const std::wstring cd = cd_.wstring() + L"\\";
    ExpectShown(L"以下文件没有保存成功：\n" + cd + L"Components\n" + cd + L"Corvel.cvx\n" + cd + L"ExtTools.ini",
                kStop);
    EXPECT_EQ(shown_.size(), 1u);
    EXPECT_EQ(ReadBytes(cd_ / "Corvel.exe"), "MZ program");
    EXPECT_FALSE(fs::exists(cd_ / "Corvel.cvx"));
    EXPECT_FALSE(fs::exists(cd_ / "ExtTools.ini"));
}

// Another program holds the targets open: neither can be replaced.
TEST_F(SaveForCdDialogTest, TargetsThatCannotBeWrittenAreListedAndTheRestStillWritten) {
    fs::create_directories(cd_);
    WriteBytes(cd_ / "Corvel.cvx", "[Old]\r\n");
    WriteBytes(cd_ / "ExtTools.ini", "old tools");
    HANDLE catalogue = CreateFileW((cd_ / "Corvel.cvx").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    HANDLE tools = CreateFileW((cd_ / "ExtTools.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(catalogue, INVALID_HANDLE_VALUE);
    ASSERT_NE(tools, INVALID_HANDLE_VALUE);
    INT_PTR result = SaveInto(cd_.wstring(), {[](HWND window) { Press(window, IDC_SAVE_AUTORUN); }});
    CloseHandle(catalogue);
    CloseHandle(tools);
    EXPECT_EQ(result, IDOK);
    ExpectShown(L"以下文件没有保存成功：\n" + (cd_ / "Corvel.cvx").wstring() + L"\n" + (cd_ / "ExtTools.ini").wstring(),
                kStop);
    EXPECT_EQ(ReadBytes(cd_ / "Corvel.cvx"), "[Old]\r\n");
    EXPECT_EQ(ReadBytes(cd_ / "ExtTools.ini"), "old tools");
    EXPECT_EQ(ReadBytes(cd_ / "AutoRun.inf"), "[AUTORUN]\r\nOpen=Corvel.exe\r\n");
}

const std::wstring kLeftoverHeading =
    L"保存目录的 Components 文件夹中还有以下不是本次保存的组件，光盘上的程序也会加载它们，不需要的请删除：";

// Components of an earlier save change what the CD does: Corvel loads every
// component it finds there.
TEST_F(SaveForCdDialogTest, ComponentsOfAnEarlierSaveAreListedAfterTheSave) {
    fs::remove(program_ / "Components" / "Quarro.cpn");
    WriteBytes(program_ / "Components" / "Tobrin.cpn", "tobrin");
    WriteBytes(program_ / "Components" / "Maelis.cpn", "maelis");
    // The Quarro edition was saved here before.
    fs::create_directories(cd_ / "Components");
    WriteBytes(cd_ / "Components" / "Quarro.cpn", "quarro");
    WriteBytes(cd_ / "Components" / "MAELIS.CPN", "old maelis");
    WriteBytes(cd_ / "Components" / "notes.txt", "not a component");

    EXPECT_EQ(SaveInto(cd_.wstring()), IDOK);
    ExpectShown(kLeftoverHeading + L"\n" + (cd_ / "Components" / "Quarro.cpn").wstring(), kExclamation);
    EXPECT_EQ(shown_.size(), 1u);
    EXPECT_EQ(ReadBytes(cd_ / "Components" / "Tobrin.cpn"), "tobrin");
    EXPECT_EQ(ReadBytes(cd_ / "Components" / "Maelis.cpn"), "maelis");
    EXPECT_EQ(ReadBytes(cd_ / "Corvel.cvx"), FormatCatalogueText(catalogue_));
}

TEST_F(SaveForCdDialogTest, AComponentThatCannotBeCopiedIsListedWithTheOtherFailures) {
    // A folder of the component's name stands in the way of its copy.
    fs::create_directories(cd_ / "Components" / "Quarro.cpn");
    WriteBytes(cd_ / "Components" / "Fennick.cpn", "left by an earlier save");
    fs::create_directories(cd_ / "Components" / "Sub");
    WriteBytes(cd_ / "ExtTools.ini", "old tools");
    HANDLE tools = CreateFileW((cd_ / "ExtTools.ini").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(tools, INVALID_HANDLE_VALUE);
    INT_PTR result = SaveInto(cd_.wstring());
    CloseHandle(tools);

    EXPECT_EQ(result, IDOK);
    ExpectShown(L"以下文件没有保存成功：\n" + (cd_ / "Components" / "Quarro.cpn").wstring() + L"\n" +
                    (cd_ / "ExtTools.ini").wstring() + L"\n\n" + kLeftoverHeading + L"\n" +
                    (cd_ / "Components" / "Fennick.cpn").wstring(),
                kStop);
    EXPECT_EQ(shown_.size(), 1u);
    EXPECT_EQ(ReadBytes(cd_ / "Components" / "Sub" / "data.bin"), "data");
    EXPECT_EQ(ReadBytes(cd_ / "Corvel.cvx"), FormatCatalogueText(catalogue_));
}

// The menu command on the real frame: the dialog opens only when there is
// a category to save.
class SaveForCdCommandTest : public FrameTest {};

TEST_F(SaveForCdCommandTest, OpensTheDialogOnlyWithACategory) {
    WriteCatalogue("");
    Start();
    Command(ID_FILE_SAVE_AS);
    EXPECT_TRUE(dialogs_.empty());
    Close();
    frame_.reset();

    WriteCatalogue("[Tools]\r\n");
    dialogScript_ = [](Dialog&) -> INT_PTR { return IDOK; };
    Start();
    Command(ID_FILE_SAVE_AS);
    EXPECT_EQ(dialogs_, std::vector<int>{IDD_SAVE_FOR_CD});
    EXPECT_TRUE(shown_.empty());
    EXPECT_FALSE(Model().IsModified());
}

TEST_F(SaveForCdDialogTest, TheKeyboardReachesEveryControlAndSpaceTicksTheFocusedRow) {
    using namespace corvel::testing;
    CSaveForCdDialog dialog(catalogue_, Program());
    INT_PTR result = Run(dialog, [](HWND window) {
        ExpectKeyboardUsable(window);
        ExpectTextsFit(window);
        PressMnemonic(window, L'A');  // the check box turns the icon on
        EXPECT_EQ(IsDlgButtonChecked(window, IDC_SAVE_AUTORUN), static_cast<UINT>(BST_CHECKED));
        ExpectKeyboardUsable(window);
        PressMnemonic(window, L'I');
        EXPECT_EQ(GetFocus(), GetDlgItem(window, IDC_SAVE_ICON));
        PressMnemonic(window, L'S');
        EXPECT_EQ(GetFocus(), GetDlgItem(window, IDC_SAVE_FOLDER));
        PressMnemonic(window, L'C');
        ASSERT_EQ(GetFocus(), List(window));
        const int row = ListView_GetNextItem(List(window), -1, LVNI_FOCUSED);
        ASSERT_GE(row, 0) << "no row has the focus";
        PressKey(window, VK_SPACE, L' ');
        EXPECT_FALSE(ListView_GetCheckState(List(window), row));
        PressKey(window, VK_ESCAPE);
    });
    EXPECT_EQ(result, IDCANCEL);
}

}  // namespace
}  // namespace corvel::ui
