// Maelis loaded as Corvel loads it, its real settings dialog driven from the
// test's main thread while Open runs on another, as on the install worker.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "catalogue/win32_text.h"
#include "components/component_interface.h"
#include "tests/support/remove_tree.h"
#include "tests/support/test_program_paths.h"
#include "tests/support/unstorable_text.h"
#include "tests/ui/keyboard_check.h"

namespace fs = std::filesystem;
using corvel::testing::Cp936;
using corvel::testing::ExeFolder;
using corvel::testing::kUnstorableTexts;
using corvel::testing::UnstorableMessage;

namespace {

using OpenFn = corvel::ComponentOpenFn;

constexpr int kInstaller = corvel::kInstallerStep, kPatch = corvel::kPatchStep, kSettings = corvel::kSettingsStep;
constexpr int kItemName = 9000, kFilePath = 9001, kRegistryMode = 9002, kDataMode = 9003, kImportLabel = 9004,
              kCopyLabel = 9005, kTargetFolder = 9006, kBrowse = 9007, kOverwrite = 9008, kAbandonAll = 9009;
constexpr wchar_t kCaption[] = L"恢复软件设置";
constexpr wchar_t kItem[] = L"测试软件";

// Waits while serving this thread's messages: the owner window lives here,
// and the dialog's thread sends it messages when it is disabled and enabled.
template <typename Condition>
bool WaitFor(Condition condition, int timeoutMs = 15000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

struct DialogSearch {
    bool settings;
    HWND found;
};

BOOL CALLBACK MatchOurDialog(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<DialogSearch*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    wchar_t caption[64] = {};
    GetWindowTextW(window, caption, 64);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) || wcscmp(name, L"#32770") != 0 ||
        wcscmp(caption, kCaption) != 0)
        return TRUE;
    if ((GetDlgItem(window, kItemName) != nullptr) != search->settings) return TRUE;
    search->found = window;
    return FALSE;
}

// A visible dialog of this process with our caption: the settings dialog
// (it has the item name field) or a message box (it has not).
HWND FindOurDialog(bool settings) {
    DialogSearch search{settings, nullptr};
    EnumWindows(MatchOurDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class MaelisTest : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryW((ExeFolder() / L"Maelis.cpn").c_str());
        ASSERT_NE(module_, nullptr);
        open_ = reinterpret_cast<OpenFn>(reinterpret_cast<void*>(GetProcAddress(module_, "Open")));
        ASSERT_NE(open_, nullptr);
        owner_ = CreateWindowExW(0, L"STATIC", L"Corvel", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                 nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);

        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        root_ = fs::path(temp) / (L"corvel_maelis_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                                  std::wstring(test.begin(), test.end()));
        corvel::testing::RemoveTree(root_.wstring());
        fs::create_directories(root_);
        installFolder_ = root_ / L"安装 目录";
        fs::create_directories(installFolder_);
    }

    void TearDown() override {
        // A failed expectation may leave the dialog or a message box open.
        if (worker_.joinable()) {
            WaitFor(
                [&] {
                    if (HWND box = FindOurDialog(false)) PostMessageW(box, WM_CLOSE, 0, 0);
                    if (HWND dialog = FindOurDialog(true)) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
                    return done_.load();
                },
                30000);
            worker_.join();
        }
        if (owner_) DestroyWindow(owner_);
        if (module_) FreeLibrary(module_);
        corvel::testing::RemoveTree(root_.wstring());
    }

    void Start(const fs::path& file, int stepKind = kSettings, HWND owner = nullptr) {
        std::string path = Cp936(file), folder = Cp936(installFolder_), name = corvel::Cp936FromWide(kItem);
        if (!owner) owner = owner_;
        done_ = false;
        worker_ = std::thread([=, this] {
            answer_ = open_(owner, name.c_str(), path.c_str(), "", folder.c_str(), stepKind);
            done_ = true;
        });
    }

    // The answer of Open, or -100 when it did not come back.
    int Answer() {
        if (!WaitFor([&] { return done_.load(); })) return -100;
        worker_.join();
        return answer_;
    }

    HWND Dialog() {
        HWND dialog = nullptr;
        WaitFor([&] { return (dialog = FindOurDialog(true)) != nullptr; });
        return dialog;
    }
    // Starts Open on file and waits for its dialog.
    HWND OpenDialog(const fs::path& file) {
        Start(file);
        return Dialog();
    }

    // A settings file of the test's own.
    fs::path SettingsFile(const wchar_t* name, const std::string& content) const {
        WriteFile(root_ / name, content);
        return root_ / name;
    }

    // Reads the message box that appears, presses button, waits until it is gone.
    std::wstring AnswerMessageBox(int button) {
        HWND box = nullptr;
        if (!WaitFor([&] { return (box = FindOurDialog(false)) != nullptr; })) return L"(no message box)";
        std::wstring text = TextOf(GetDlgItem(box, 0xFFFF));
        PostMessageW(box, WM_COMMAND, button, 0);
        WaitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); });
        return text;
    }

    static void Press(HWND dialog, int id) {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }
    static void Click(HWND dialog, int id) { PostMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
    static bool Checked(HWND dialog, int id) {
        return SendMessageW(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    static bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE; }
    static void SetField(HWND dialog, int id, const std::wstring& text) {
        SendMessageW(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }

    // The folder field holds the focus with its whole text selected.
    static void ExpectFolderSelected(HWND dialog) {
        HWND field = GetDlgItem(dialog, kTargetFolder);
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        ASSERT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info));
        EXPECT_EQ(info.hwndFocus, field);
        DWORD start = 1, end = 0;
        SendMessageW(field, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, TextOf(field).size());
    }

    // Runs Open without expecting any window; a dialog that shows anyway is
    // closed by TearDown and fails the test through the answer.
    int AnswerWithoutDialog(const fs::path& file, int stepKind, HWND owner = nullptr) {
        Start(file, stepKind, owner);
        return Answer();
    }

    HMODULE module_ = nullptr;
    OpenFn open_ = nullptr;
    HWND owner_ = nullptr;
    fs::path root_, installFolder_;
    std::thread worker_;
    std::atomic<bool> done_{true};
    std::atomic<int> answer_{-100};
};

TEST_F(MaelisTest, ExportsOnlyOpen) {
    EXPECT_EQ(GetProcAddress(module_, "Initialize"), nullptr);
    EXPECT_EQ(GetProcAddress(module_, "PreUnloadDll"), nullptr);
}

TEST_F(MaelisTest, LeavesInstallerAndPatchStepsAndFailsWithoutFileOrOwner) {
    fs::path settings = SettingsFile(L"app.reg", "REGEDIT4\r\n");
    EXPECT_EQ(AnswerWithoutDialog(settings, kInstaller), 1);
    EXPECT_EQ(AnswerWithoutDialog(settings, kPatch), 1);
    EXPECT_EQ(AnswerWithoutDialog(root_ / L"absent.reg", kInstaller), 1) << "not mine before missing";

    EXPECT_EQ(AnswerWithoutDialog(root_ / L"absent.reg", kSettings), 2);
    EXPECT_EQ(AnswerWithoutDialog(installFolder_, kSettings), 2) << "a folder is not a settings file";
    EXPECT_EQ(AnswerWithoutDialog("", kSettings), 2);
    HWND gone = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(gone);
    EXPECT_EQ(AnswerWithoutDialog(settings, kSettings, gone), 2);
    EXPECT_EQ(open_(nullptr, "x", Cp936(settings).c_str(), "", "", kSettings), 2);
}

TEST_F(MaelisTest, RegistryExportOpensInRegistryModeAndCanBeCopiedInstead) {
    fs::path settings = root_ / L"app.REG";
    std::string content = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\CorvelTest\\NeverImported]\r\n\"a\"=\"b\"\r\n";
    WriteFile(settings, content);
    HWND dialog = OpenDialog(settings);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(dialog, kItemName)), kItem);
    EXPECT_EQ(TextOf(GetDlgItem(dialog, kFilePath)), settings.wstring());
    EXPECT_EQ(TextOf(GetDlgItem(dialog, kTargetFolder)), installFolder_.wstring());
    EXPECT_TRUE(Checked(dialog, kRegistryMode));
    EXPECT_TRUE(Enabled(dialog, kRegistryMode));
    EXPECT_FALSE(Checked(dialog, kDataMode));
    EXPECT_TRUE(Enabled(dialog, kImportLabel));
    for (int id : {kCopyLabel, kTargetFolder, kBrowse, kOverwrite}) EXPECT_FALSE(Enabled(dialog, id)) << id;
    EXPECT_FALSE(Checked(dialog, kOverwrite));

    Click(dialog, kDataMode);
    ASSERT_TRUE(WaitFor([&] { return Checked(dialog, kDataMode); }));
    EXPECT_FALSE(Checked(dialog, kRegistryMode));
    EXPECT_FALSE(Enabled(dialog, kImportLabel));
    for (int id : {kCopyLabel, kTargetFolder, kBrowse, kOverwrite}) EXPECT_TRUE(Enabled(dialog, id)) << id;
    ExpectFolderSelected(dialog);

    // And back: the registry choice stays available for a registry export.
    Click(dialog, kRegistryMode);
    ASSERT_TRUE(WaitFor([&] { return Checked(dialog, kRegistryMode); }));
    EXPECT_FALSE(Enabled(dialog, kTargetFolder));
    Click(dialog, kDataMode);
    ASSERT_TRUE(WaitFor([&] { return Checked(dialog, kDataMode); }));

    Press(dialog, IDOK);
    EXPECT_EQ(Answer(), 0);
    EXPECT_EQ(ReadFile(installFolder_ / L"app.REG"), content);
}

TEST_F(MaelisTest, DataFileOpensInDataModeWithTheRegistryChoiceDisabled) {
    fs::path settings = SettingsFile(L"app.ini", "[a]\r\nb=1\r\n");
    HWND dialog = OpenDialog(settings);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(Enabled(dialog, kRegistryMode));
    EXPECT_FALSE(Checked(dialog, kRegistryMode));
    EXPECT_TRUE(Checked(dialog, kDataMode));
    EXPECT_FALSE(Enabled(dialog, kImportLabel));
    for (int id : {kCopyLabel, kTargetFolder, kBrowse, kOverwrite}) EXPECT_TRUE(Enabled(dialog, id)) << id;
    EXPECT_EQ(TextOf(GetDlgItem(dialog, kTargetFolder)), installFolder_.wstring());
    ExpectFolderSelected(dialog);

    // Target given with a trailing backslash.
    fs::path target = root_ / L"目标";
    fs::create_directories(target);
    SetField(dialog, kTargetFolder, target.wstring() + L"\\");
    Press(dialog, IDOK);
    EXPECT_EQ(Answer(), 0);
    EXPECT_EQ(ReadFile(target / L"app.ini"), "[a]\r\nb=1\r\n");
    EXPECT_FALSE(fs::exists(installFolder_ / L"app.ini"));
}

TEST_F(MaelisTest, AnEmptyOrMissingTargetKeepsTheDialogOpen) {
    fs::path settings = SettingsFile(L"app.ini", "x");
    HWND dialog = OpenDialog(settings);
    ASSERT_NE(dialog, nullptr);
    SetField(dialog, kTargetFolder, L"");
    Press(dialog, IDOK);
    EXPECT_EQ(AnswerMessageBox(IDOK), L"目标目录不能为空");
    SetField(dialog, kTargetFolder, (root_ / L"gone").wstring() + L"\\");
    Press(dialog, IDOK);
    EXPECT_EQ(AnswerMessageBox(IDOK), L"目标目录不存在，请检查目录的路径");
    // A file is no folder either.
    SetField(dialog, kTargetFolder, settings.wstring());
    Press(dialog, IDOK);
    EXPECT_EQ(AnswerMessageBox(IDOK), L"目标目录不存在，请检查目录的路径");
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_FALSE(done_);

    SetField(dialog, kTargetFolder, installFolder_.wstring());
    Press(dialog, IDOK);
    EXPECT_EQ(Answer(), 0);
    EXPECT_TRUE(fs::exists(installFolder_ / L"app.ini"));
}

TEST_F(MaelisTest, AnExistingFileIsReplacedOnlyWithOverwriteChecked) {
    fs::path settings = SettingsFile(L"app.dat", "new");
    WriteFile(installFolder_ / L"app.dat", "old");

    HWND dialog = OpenDialog(settings);
    ASSERT_NE(dialog, nullptr);
    Press(dialog, IDOK);
    EXPECT_EQ(AnswerMessageBox(IDOK), L"将软件设置文件复制到目标目录时失败");
    EXPECT_EQ(Answer(), 2);
    EXPECT_EQ(ReadFile(installFolder_ / L"app.dat"), "old");

    dialog = OpenDialog(settings);
    ASSERT_NE(dialog, nullptr);
    Click(dialog, kOverwrite);
    ASSERT_TRUE(WaitFor([&] { return Checked(dialog, kOverwrite); }));
    Press(dialog, IDOK);
    EXPECT_EQ(Answer(), 0);
    EXPECT_EQ(ReadFile(installFolder_ / L"app.dat"), "new");
}

TEST_F(MaelisTest, ASettingsFileGoneBeforeOkFails) {
    fs::path settings = SettingsFile(L"app.reg", "REGEDIT4\r\n");
    HWND dialog = OpenDialog(settings);
    ASSERT_NE(dialog, nullptr);
    fs::remove(settings);
    Press(dialog, IDOK);
    EXPECT_EQ(AnswerMessageBox(IDOK), L"软件设置文件不存在，请检查设置文件的路径是否正确");
    EXPECT_EQ(Answer(), 2);
}

// Whether HKLM\Software has a separate 32-bit view on this system.
bool SystemHasTwoRegistryViews() {
    BOOL wow64 = FALSE;
    return sizeof(void*) == 8 || (IsWow64Process(GetCurrentProcess(), &wow64) && wow64);
}

bool ReadRegistryText(HKEY root, const std::wstring& key, REGSAM view, std::wstring& text) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_QUERY_VALUE | view, &opened) != ERROR_SUCCESS) return false;
    wchar_t value[16] = {};
    DWORD size = sizeof value;
    LONG result = RegGetValueW(opened, nullptr, L"Imported", RRF_RT_REG_SZ, nullptr, value, &size);
    RegCloseKey(opened);
    text = value;
    return result == ERROR_SUCCESS;
}

void RemoveTestKeys(const std::wstring& key) {
    RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    for (REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) RegDeleteKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), view, 0);
}

// A file exported from the usual regedit of 64-bit Windows names
// HKLM\Software as the 64-bit programs see it; the 32-bit regedit that a
// 32-bit process gets by default would put it under WOW6432Node.
TEST_F(MaelisTest, ARegistryExportReachesTheRegistryInTheNativeView) {
    std::wstring key = L"Software\\CorvelTest" + std::to_wstring(GetCurrentProcessId());
    RemoveTestKeys(key);
    // A space and Chinese in the path check the quoting and the conversion.
    fs::path folder = root_ / L"my 设置";
    fs::create_directories(folder);
    fs::path settings = folder / L"app.reg";
    WriteFile(settings, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\" + Cp936(key) + "]\r\n\"Imported\"=\"yes\"\r\n\r\n" +
                            "[HKEY_LOCAL_MACHINE\\" + Cp936(key) + "]\r\n\"Imported\"=\"native\"\r\n\r\n");

    HWND dialog = OpenDialog(settings);
    ASSERT_NE(dialog, nullptr);
    Press(dialog, IDOK);
    EXPECT_EQ(Answer(), 0);
    // regedit runs on its own; the answer does not wait for the import.
    std::wstring user, machine;
    bool imported = WaitFor(
        [&] {
            return ReadRegistryText(HKEY_CURRENT_USER, key, 0, user) &&
                   ReadRegistryText(HKEY_LOCAL_MACHINE, key, KEY_WOW64_64KEY, machine);
        },
        30000);
    EXPECT_TRUE(imported);
    EXPECT_EQ(user, L"yes");
    EXPECT_EQ(machine, L"native");
    std::wstring redirected;
    if (SystemHasTwoRegistryViews()) {
        EXPECT_FALSE(ReadRegistryText(HKEY_LOCAL_MACHINE, key, KEY_WOW64_32KEY, redirected)) << "under WOW6432Node";
    }
    RemoveTestKeys(key);
}

TEST_F(MaelisTest, AbandonNeverAsks) {
    fs::path settings = SettingsFile(L"app.ini", "x");
    for (UINT how : {0u, 1u, 2u}) {
        HWND dialog = OpenDialog(settings);
        ASSERT_NE(dialog, nullptr);
        if (how == 0) Press(dialog, IDCANCEL);                         // the Abandon button
        if (how == 1) PostMessageW(dialog, WM_CLOSE, 0, 0);            // the close box
        if (how == 2) PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0);  // Esc, seen by the dialog's loop
        bool asked = false;
        WaitFor([&] {
            asked = asked || FindOurDialog(false) != nullptr;
            return done_.load();
        });
        EXPECT_EQ(Answer(), 3) << how;
        EXPECT_FALSE(asked) << how;
    }
    EXPECT_FALSE(fs::exists(installFolder_ / L"app.ini"));
}

TEST_F(MaelisTest, AbandonAllAsksFirst) {
    fs::path settings = SettingsFile(L"app.ini", "x");
    HWND dialog = OpenDialog(settings);
    ASSERT_NE(dialog, nullptr);
    const std::wstring question = L"此操作将会中断本项目及其以后所有项目的安装流程，确实要执行此操作吗？";
    Press(dialog, kAbandonAll);
    EXPECT_EQ(AnswerMessageBox(IDNO), question);
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_FALSE(done_);
    Press(dialog, kAbandonAll);
    EXPECT_EQ(AnswerMessageBox(IDYES), question);
    EXPECT_EQ(Answer(), 4);
}

TEST_F(MaelisTest, LogOffEndsTheDialogWithAbandonAll) {
    fs::path settings = SettingsFile(L"app.ini", "x");
    HWND dialog = OpenDialog(settings);
    ASSERT_NE(dialog, nullptr);
    DWORD_PTR agreed = 0;
    SendMessageTimeoutW(dialog, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &agreed);
    EXPECT_NE(agreed, 0u);
    EXPECT_EQ(Answer(), 4);
}

// A target folder that code page 936 cannot hold: refused, nothing copied.
using MaelisTypedTextTest = MaelisTest;

TEST_F(MaelisTypedTextTest, ATargetFolderCodePage936CannotHoldIsRefusedAndNothingIsCopied) {
    WriteFile(root_ / L"app.ini", "x");
    HWND dialog = OpenDialog(root_ / L"app.ini");
    ASSERT_NE(dialog, nullptr) << "a data file opens the dialog in copy mode";
    for (const wchar_t* bad : kUnstorableTexts) {
        std::wstring typed = (root_ / bad).wstring();
        fs::create_directories(typed);  // it exists: only the text is wrong
        SetField(dialog, kTargetFolder, typed);
        Press(dialog, IDOK);
        EXPECT_EQ(AnswerMessageBox(IDOK), UnstorableMessage(L"将设置文件复制到以下的目录"));
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_FALSE(done_);
        EXPECT_EQ(TextOf(GetDlgItem(dialog, kTargetFolder)), typed);
        ExpectFolderSelected(dialog);
        EXPECT_TRUE(fs::is_empty(typed));
    }
    Press(dialog, IDCANCEL);
    EXPECT_EQ(Answer(), 3);
    EXPECT_TRUE(fs::is_empty(installFolder_));
}

// Settings files that come from a CD carry the read-only attribute.
class MaelisReadOnlyTest : public MaelisTest {
protected:
    static DWORD Attributes(const fs::path& path) { return GetFileAttributesW(path.c_str()); }
    static void MakeReadOnly(const fs::path& path) { SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY); }

    // Copies settings through the dialog, overwrite ticked when asked.
    int Restore(const fs::path& settings, bool overwrite) {
        HWND dialog = OpenDialog(settings);
        if (!dialog) return -100;
        if (overwrite) {
            Click(dialog, kOverwrite);
            if (!WaitFor([&] { return Checked(dialog, kOverwrite); })) return -100;
        }
        Press(dialog, IDOK);
        return Answer();
    }

    // The installed program can write its settings into the file.
    static bool Writable(const fs::path& path) {
        if (Attributes(path) & FILE_ATTRIBUTE_READONLY) return false;
        HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        CloseHandle(file);
        return true;
    }
};

TEST_F(MaelisReadOnlyTest, ARestoredCopyOfAReadOnlyFileIsWritable) {
    fs::path settings = SettingsFile(L"设置.ini", "[cd]\r\n");
    MakeReadOnly(settings);

    EXPECT_EQ(Restore(settings, false), 0);
    fs::path copy = installFolder_ / L"设置.ini";
    EXPECT_EQ(ReadFile(copy), "[cd]\r\n");
    EXPECT_TRUE(Writable(copy));
    EXPECT_TRUE(Attributes(settings) & FILE_ATTRIBUTE_READONLY) << "the CD's own file is left as it is";
}

TEST_F(MaelisReadOnlyTest, OverwriteReplacesAReadOnlyOrHiddenCopyLeftByAnEarlierRestore) {
    fs::path settings = SettingsFile(L"app.dat", "new");
    for (DWORD left : {DWORD{FILE_ATTRIBUTE_READONLY}, DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY}}) {
        fs::path copy = installFolder_ / L"app.dat";
        SetFileAttributesW(copy.c_str(), FILE_ATTRIBUTE_NORMAL);
        WriteFile(copy, "old");
        SetFileAttributesW(copy.c_str(), left);

        EXPECT_EQ(Restore(settings, true), 0) << left;
        EXPECT_EQ(ReadFile(copy), "new") << left;
        EXPECT_TRUE(Writable(copy)) << left;
        EXPECT_FALSE(Attributes(copy) & FILE_ATTRIBUTE_HIDDEN) << left;
    }
}

TEST_F(MaelisTest, TheKeyboardChoosesTheModeReachesTheFieldsAndEscAbandons) {
    using namespace corvel::testing;
    fs::path settings = SettingsFile(L"app.reg", "REGEDIT4\r\n");
    HWND dialog = OpenDialog(settings);
    ASSERT_NE(dialog, nullptr);
    ExpectKeyboardUsable(dialog);
    ExpectTextsFit(dialog);
    // The arrow keys move between the two kinds of file, the second turning
    // the folder controls on; the mnemonics choose them too.
    Press(dialog, kRegistryMode);
    EXPECT_TRUE(WaitFor([&] { return FocusedControlOf(dialog) != nullptr; }));
    PostMnemonic(dialog, L'R');
    EXPECT_TRUE(WaitFor([&] { return FocusedControlOf(dialog) == GetDlgItem(dialog, kRegistryMode); }));
    PostKey(dialog, VK_DOWN);
    EXPECT_TRUE(WaitFor([&] { return Checked(dialog, kDataMode) && Enabled(dialog, kTargetFolder); }));
    ExpectKeyboardUsable(dialog);
    PostMnemonic(dialog, L'R');
    EXPECT_TRUE(WaitFor([&] { return Checked(dialog, kRegistryMode); }));
    PostMnemonic(dialog, L'D');
    EXPECT_TRUE(WaitFor([&] { return Checked(dialog, kDataMode) && Enabled(dialog, kTargetFolder); }));
    PostMnemonic(dialog, L'M');
    EXPECT_TRUE(WaitFor([&] { return FocusedControlOf(dialog) == GetDlgItem(dialog, kItemName); }));
    PostMnemonic(dialog, L'F');
    EXPECT_TRUE(WaitFor([&] { return FocusedControlOf(dialog) == GetDlgItem(dialog, kTargetFolder); }));
    PostKey(dialog, VK_ESCAPE);
    EXPECT_EQ(Answer(), 3);
}

}  // namespace
