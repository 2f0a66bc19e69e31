// Tobrin loaded as Corvel loads it: Open runs on a thread of its own, as on
// Corvel's install worker, and the test works its install dialog from outside.
#include <windows.h>
// After windows.h, which they need.
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "catalogue/win32_text.h"
#include "components/component_interface.h"
#include "tests/support/fixture_package.h"
#include "tests/support/installer_result.h"
#include "tests/support/remove_tree.h"
#include "tests/support/test_program_paths.h"
#include "tests/support/unstorable_text.h"
#include "tests/ui/keyboard_check.h"

namespace fs = std::filesystem;
using corvel::testing::Cp936;
using corvel::testing::ExeFolder;
using corvel::testing::kUnstorableTexts;
using corvel::testing::ReadInstallerResult;
using corvel::testing::UninstallFixturePackage;
using corvel::testing::UnstorableMessage;
using corvel::testing::Utf8;
using corvel::testing::WaitFor;

namespace {

using OpenFn = corvel::ComponentOpenFn;

constexpr int kInstaller = corvel::kInstallerStep, kPatch = corvel::kPatchStep, kSettings = corvel::kSettingsStep;
constexpr int kName = 8000, kType = 8001, kPath = 8002, kParams = 8003, kFolder = 8004, kBanner = 8006,
              kAbandonAll = 8012;
constexpr wchar_t kInstallerClass[] = L"CorvelFixtureInstaller";
constexpr int kFinishId = 110;
constexpr wchar_t kCaption[] = L"安装软件";
constexpr wchar_t kFolderInvalid[] = L"安装目录的路径无效！请检查路径是否正确";
constexpr wchar_t kProgramMissing[] = L"文件路径不存在！请检查安装文件是否存在";
constexpr wchar_t kAskAbandon[] =
    L"软件正在安装，此操作将会中断本项目自动执行安装补钉程序或恢复软件设置的操作流程（可以手动进行操作），"
    L"确实要执行此操作吗？";
constexpr wchar_t kAskAbandonAll[] = L"此操作将会中断本项目及其以后所有项目的安装流程，确实要执行此操作吗？";
constexpr wchar_t kKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion";

constexpr wchar_t kMissing[] = L"<none>";

// A value of kKey in a view of the registry (0: this process's own), or
// kMissing.
std::wstring ReadIn(REGSAM view, const std::wstring& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE | view, &key) != ERROR_SUCCESS) return kMissing;
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof value;
    LSTATUS read = RegGetValueW(key, nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, value, &size);
    RegCloseKey(key);
    return read == ERROR_SUCCESS ? value : kMissing;
}

// kMissing removes the value.
void WriteIn(REGSAM view, const std::wstring& name, const std::wstring& value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kKey, 0, KEY_SET_VALUE | view, &key) != ERROR_SUCCESS) return;
    if (value == kMissing)
        RegDeleteValueW(key, name.c_str());
    else
        RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

std::wstring ProgramFilesDir() {
    return ReadIn(0, L"ProgramFilesDir");
}

void SetProgramFilesDir(const std::wstring& value) {
    WriteIn(0, L"ProgramFilesDir", value);
}

std::wstring Text(HWND window) {
    wchar_t buffer[1024] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_BLOCK, 5000, nullptr);
    return buffer;
}

// Calls visit with the id of each running stand-in installer.
template <typename Visit>
void ForEachInstallerProcess(Visit visit) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
        if (_wcsicmp(entry.szExeFile, L"installer.exe") == 0) visit(entry.th32ProcessID);
    CloseHandle(snapshot);
}

int CountInstallerProcesses() {
    int count = 0;
    ForEachInstallerProcess([&](DWORD) { ++count; });
    return count;
}

// Ends what is left of the stand-in installers copied under folder.
void KillInstallersUnder(const fs::path& folder) {
    ForEachInstallerProcess([&](DWORD id) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, id);
        if (!process) return;
        wchar_t image[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        if (QueryFullProcessImageNameW(process, 0, image, &size) &&
            _wcsnicmp(image, folder.wstring().c_str(), folder.wstring().size()) == 0) {
            TerminateProcess(process, 9);
            WaitForSingleObject(process, 10000);
        }
        CloseHandle(process);
    });
}

// A visible dialog-class window of this process owned by owner, with the child id.
struct FindArgs {
    HWND owner;
    int childId;
    HWND found;
};

BOOL CALLBACK FindOwnedDialog(HWND window, LPARAM param) {
    auto* args = reinterpret_cast<FindArgs*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (process == GetCurrentProcessId() && wcscmp(name, L"#32770") == 0 && IsWindowVisible(window) &&
        GetWindow(window, GW_OWNER) == args->owner && GetDlgItem(window, args->childId)) {
        args->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindOwned(HWND owner, int childId) {
    FindArgs args{owner, childId, nullptr};
    EnumWindows(FindOwnedDialog, reinterpret_cast<LPARAM>(&args));
    return args.found;
}

// Open on a thread of its own with a real owner window made on that thread.
class OpenRun {
public:
    struct Args {
        OpenFn open;
        std::string name, file, params, folder;
        int stepKind;
        bool ownerless = false;
    };

    explicit OpenRun(Args args) : args_(std::move(args)) {
        thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
        WaitFor([&] { return owner_ != nullptr || done_; });
    }
    ~OpenRun() {
        if (thread_) {
            WaitForSingleObject(thread_, 30000);
            CloseHandle(thread_);
        }
    }

    HWND Owner() const { return owner_; }
    HANDLE Thread() const { return thread_; }
    // The answer, or -1 when Open has not returned in time.
    int Answer(int timeoutMs = 20000) {
        if (WaitForSingleObject(thread_, timeoutMs) != WAIT_OBJECT_0) return -1;
        return answer_;
    }
    // The install dialog, once it shows.
    HWND Dialog() {
        HWND dialog = nullptr;
        WaitFor([&] { return (dialog = FindOwned(owner_, kName)) != nullptr || done_; });
        return dialog;
    }

private:
    static DWORD WINAPI Run(void* self) {
        auto* run = static_cast<OpenRun*>(self);
        HWND owner =
            CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
        run->owner_ = owner;
        const Args& a = run->args_;
        run->answer_ = a.open(a.ownerless ? nullptr : owner, a.name.c_str(), a.file.c_str(), a.params.c_str(),
                              a.folder.c_str(), a.stepKind);
        run->done_ = true;
        DestroyWindow(owner);
        return 0;
    }

    Args args_;
    HANDLE thread_ = nullptr;
    volatile HWND owner_ = nullptr;
    volatile bool done_ = false;
    int answer_ = -1;
};

// The message box owned by owner: its text, then presses button.
std::wstring AnswerMessageBox(HWND owner, int button) {
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = FindOwned(owner, 0xFFFF)) != nullptr; })) return L"<no message box>";
    std::wstring caption = Text(box);
    std::wstring text = Text(GetDlgItem(box, 0xFFFF));
    PostMessageW(box, WM_COMMAND, button, 0);
    WaitFor([&] { return !IsWindow(box); });
    return caption == kCaption ? text : L"<caption " + caption + L">";
}

void Press(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// The folder of the test named test in the process process.
fs::path TestFolderOf(DWORD process, const std::wstring& test) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return fs::path(temp) / (L"corvel_tobrin_" + std::to_wstring(process) + L"_" + test);
}

class TobrinTest : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryW((ExeFolder() / L"Tobrin.cpn").c_str());
        ASSERT_NE(module_, nullptr);
        open_ = reinterpret_cast<OpenFn>(reinterpret_cast<void*>(GetProcAddress(module_, "Open")));
        ASSERT_NE(open_, nullptr);
        original_ = ProgramFilesDir();

        std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        title_ = L"Tobrin_" + std::wstring(test.begin(), test.end());
        root_ = TestFolderOf(GetCurrentProcessId(), std::wstring(test.begin(), test.end()));
        corvel::testing::RemoveTree(root_.wstring());
        fs::create_directories(root_);
        installer_ = root_ / L"installer.exe";
        fs::copy_file(ExeFolder() / L"tobrin_fixture" / L"installer.exe", installer_);
        result_ = root_ / L"result.txt";
    }

    void TearDown() override {
        for (const std::wstring& title : {title_, AppTitle()}) {
            if (HWND left = FindWindowW(kInstallerClass, title.c_str())) PostMessageW(left, WM_COMMAND, kFinishId, 0);
            WaitFor([&] { return FindWindowW(kInstallerClass, title.c_str()) == nullptr; });
        }
        KillInstallersUnder(root_);
        if (module_) FreeLibrary(module_);
        SetProgramFilesDir(original_);
        corvel::testing::RemoveTree(root_.wstring());
    }

    OpenRun::Args Args(int stepKind = kInstaller, const std::string& folder = "") {
        std::string params = "--result=\"" + Cp936(result_) + "\" --title=" + Cp936(title_);
        return {open_, corvel::Cp936FromWide(L"测试软件"), Cp936(installer_), params, folder, stepKind};
    }

    // The title of the application that the stand-in leaves running.
    std::wstring AppTitle() const { return title_ + L" app"; }

    // The dialog of run after Install was pressed in it, and the started
    // installer's window; either is nullptr when it did not show.
    struct Started {
        HWND dialog = nullptr;
        HWND installer = nullptr;
    };
    Started Install(OpenRun& run) {
        Started started;
        started.dialog = run.Dialog();
        if (!started.dialog) return started;
        Press(started.dialog, IDOK);
        started.installer = InstallerWindow();
        return started;
    }

    HWND InstallerWindow(const std::wstring& title = {}) {
        HWND window = nullptr;
        std::wstring wanted = title.empty() ? title_ : title;
        WaitFor([&] { return (window = FindWindowW(kInstallerClass, wanted.c_str())) != nullptr; });
        return window;
    }

    HMODULE module_ = nullptr;
    OpenFn open_ = nullptr;
    std::wstring original_, title_;
    fs::path root_, installer_, result_;
};

TEST_F(TobrinTest, AnswersWithoutADialogWhenTheFileIsNotItsOrCannotBeRun) {
    fs::path bat = root_ / L"setup.bat";
    std::ofstream(bat) << "@echo off\n";
    std::string exe = Cp936(installer_);

    struct Case {
        const char* what;
        OpenRun::Args args;
        int answer;
    };
    OpenRun::Args settings = Args(kSettings);
    OpenRun::Args batch = Args();
    batch.file = Cp936(bat);
    OpenRun::Args missing = Args();
    missing.file = Cp936(root_ / L"gone.exe");
    OpenRun::Args ownerless = Args();
    ownerless.ownerless = true;
    OpenRun::Args folderAsFile = Args();
    folderAsFile.file = Cp936(root_);
    OpenRun::Args settingsBatch = batch;
    settingsBatch.stepKind = kSettings;
    for (const Case& c : {Case{"settings step", settings, 1}, Case{"settings step, .bat", settingsBatch, 1},
                          Case{".bat", batch, 1}, Case{"missing file", missing, 2},
                          Case{"owner not a window", ownerless, 2}, Case{"folder for a file", folderAsFile, 2}}) {
        OpenRun run(c.args);
        EXPECT_EQ(run.Answer(), c.answer) << c.what;
    }
    // A missing text is caught before anything is touched.
    EXPECT_EQ(open_(GetDesktopWindow(), nullptr, exe.c_str(), "", "", kInstaller), 2);
    EXPECT_EQ(open_(GetDesktopWindow(), "x", exe.c_str(), nullptr, "", kPatch), 2);
    EXPECT_EQ(open_(GetDesktopWindow(), "x", exe.c_str(), "", nullptr, kInstaller), 2);
    EXPECT_EQ(CountInstallerProcesses(), 0);
}

TEST_F(TobrinTest, DialogShowsTheRequestAndAbandonBeforeInstallAsksNothing) {
    // Upper-case extension, patch step.
    fs::path upper = root_ / L"SETUP.EXE";
    fs::copy_file(installer_, upper);
    OpenRun::Args args = Args(kPatch, corvel::Cp936FromWide(L"D:\\Apps\\测试"));
    args.file = Cp936(upper);
    args.params = "/S";
    OpenRun run(args);
    HWND dialog = run.Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(dialog), kCaption);
    EXPECT_EQ(Text(GetDlgItem(dialog, kName)), L"测试软件");
    EXPECT_EQ(Text(GetDlgItem(dialog, kType)), L"补钉程序");
    EXPECT_EQ(Text(GetDlgItem(dialog, kPath)), upper.wstring());
    EXPECT_EQ(Text(GetDlgItem(dialog, kParams)), L"/S");
    EXPECT_EQ(Text(GetDlgItem(dialog, kFolder)), L"D:\\Apps\\测试");
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, kFolder)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, kBanner)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));

    Press(dialog, IDCANCEL);
    EXPECT_EQ(run.Answer(), 3);
    EXPECT_EQ(FindOwned(dialog, 0xFFFF), nullptr);
    EXPECT_EQ(ProgramFilesDir(), original_);
    EXPECT_EQ(CountInstallerProcesses(), 0);
}

TEST_F(TobrinTest, MsiRunsThroughItsAssociatedProgramWithTheInstallSwitch) {
    fs::path msi = root_ / L"My Tool.msi";
    std::ofstream(msi) << "";
    OpenRun::Args args = Args(kInstaller);
    args.file = Cp936(msi);
    args.params = "/qb";
    OpenRun run(args);
    HWND dialog = run.Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(GetDlgItem(dialog, kType)), L"安装程序");
    std::wstring program = Text(GetDlgItem(dialog, kPath));
    ASSERT_GE(program.size(), 11u);
    EXPECT_EQ(_wcsicmp(program.substr(program.size() - 11).c_str(), L"msiexec.exe"), 0) << Utf8(program);
    EXPECT_EQ(Text(GetDlgItem(dialog, kParams)), L"/i \"" + msi.wstring() + L"\" /qb");
    Press(dialog, IDCANCEL);
    EXPECT_EQ(run.Answer(), 3);
}

TEST_F(TobrinTest, MsiPackageWithParametersIsInstalledUnderTheChosenFolderOnceMsiexecEnds) {
    UninstallFixturePackage();
    fs::path msi = root_ / L"测试 Package.msi";
    fs::copy_file(FIXTURE_MSI_PATH, msi);
    fs::path folder = root_ / L"程序 目标";
    fs::create_directories(folder);
    OpenRun::Args args = Args(kInstaller, Cp936(folder));
    args.file = Cp936(msi);
    args.params = "/qn";
    OpenRun run(args);
    HWND dialog = run.Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Text(GetDlgItem(dialog, kParams)), L"/i \"" + msi.wstring() + L"\" /qn");
    Press(dialog, IDOK);

    // The dialog closes by itself only when msiexec has ended, so the file
    // is there by then, under the folder msiexec read from ProgramFilesDir.
    EXPECT_EQ(run.Answer(60000), 0);
    EXPECT_TRUE(fs::exists(folder / corvel::testing::kFixturePackageFile));
    EXPECT_EQ(ProgramFilesDir(), original_);
    UninstallFixturePackage();
}

TEST_F(TobrinTest, RefusesFoldersThatAreNotAbsoluteAndAProgramThatIsGone) {
    OpenRun run(Args());
    HWND dialog = run.Dialog();
    ASSERT_NE(dialog, nullptr);
    for (const wchar_t* folder : {L"D:", L"Soft\\App", L"\\Soft", L"D:Soft"}) {
        SendMessageW(GetDlgItem(dialog, kFolder), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder));
        Press(dialog, IDOK);
        EXPECT_EQ(AnswerMessageBox(dialog, IDOK), kFolderInvalid) << Utf8(folder);
        EXPECT_TRUE(IsWindowVisible(dialog));
    }
    SendMessageW(GetDlgItem(dialog, kFolder), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:\\Apps"));
    fs::remove(installer_);
    Press(dialog, IDOK);
    EXPECT_EQ(AnswerMessageBox(dialog, IDOK), kProgramMissing);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
    EXPECT_EQ(ProgramFilesDir(), original_) << "nothing was started";

    Press(dialog, IDCANCEL);
    EXPECT_EQ(run.Answer(), 3);
}

TEST_F(TobrinTest, RunsTheInstallerWithTheChosenFolderAndClosesWhenItEnds) {
    const std::wstring folder = L"C:\\Tobrin 目标";
    OpenRun run(Args(kInstaller, "C:\\Elsewhere"));
    HWND dialog = run.Dialog();
    ASSERT_NE(dialog, nullptr);
    // The fields as the user left them count, not as they came in.
    SendMessageW(GetDlgItem(dialog, kFolder), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
    std::wstring params = Text(GetDlgItem(dialog, kParams)) + L" --exit=7";
    SendMessageW(GetDlgItem(dialog, kParams), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(params.c_str()));
    Press(dialog, IDOK);
    HWND installer = InstallerWindow();
    ASSERT_NE(installer, nullptr);

    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, kBanner)));
    EXPECT_EQ(Text(GetDlgItem(dialog, kBanner)), L"软件正在安装...");
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, kFolder)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, kName)));
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
    EXPECT_EQ(ProgramFilesDir(), folder);

    // A second Install while it runs starts nothing.
    SendMessageTimeoutW(dialog, WM_COMMAND, IDOK, 0, SMTO_BLOCK, 10000, nullptr);
    EXPECT_EQ(CountInstallerProcesses(), 1);

    PostMessageW(installer, WM_COMMAND, kFinishId, 0);
    EXPECT_EQ(run.Answer(), 0) << "the installer's exit code is not the answer";
    EXPECT_EQ(ProgramFilesDir(), original_);
    auto result = ReadInstallerResult(result_);
    EXPECT_EQ(result["program_files"], Utf8(folder));
    EXPECT_EQ(result["working_folder"], Utf8(root_.wstring()));
    EXPECT_NE(result["command_line"].find("--exit=7"), std::string::npos) << result["command_line"];
}

bool ShowsDone(HWND dialog) {
    HWND button = GetDlgItem(dialog, IDOK);
    return Text(button) == L"完成" && IsWindowEnabled(button);
}

TEST_F(TobrinTest, ALauncherKeepsTheDialogOpenUntilTheInstallerItStartedEnds) {
    const std::wstring folder = L"C:\\Launched";
    OpenRun::Args args = Args(kInstaller, Cp936(folder));
    args.params += " --launcher";
    OpenRun run(args);
    // The real installer, started by the launcher, which then ends.
    auto [dialog, installer] = Install(run);
    ASSERT_NE(installer, nullptr);
    ASSERT_TRUE(WaitFor([] { return CountInstallerProcesses() == 1; })) << "the launcher did not end";
    ASSERT_TRUE(WaitFor([&] { return ShowsDone(dialog); }));
    EXPECT_EQ(run.Answer(0), -1) << "the step ended with the launcher";
    EXPECT_EQ(ProgramFilesDir(), folder) << "put back while the real installer runs";

    PostMessageW(installer, WM_COMMAND, kFinishId, 0);
    EXPECT_EQ(run.Answer(), 0);
    EXPECT_EQ(ProgramFilesDir(), original_);
    EXPECT_EQ(ReadInstallerResult(result_)["program_files"], Utf8(folder));
}

TEST_F(TobrinTest, AnApplicationLeftRunningByTheInstallerLetsTheUserGoOnWithDone) {
    OpenRun::Args args = Args(kInstaller, "C:\\Left Running");
    args.params += " --leave-app";
    OpenRun run(args);
    auto [dialog, installer] = Install(run);
    ASSERT_NE(installer, nullptr);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDOK)));
    EXPECT_EQ(Text(GetDlgItem(dialog, IDOK)), L"安装");

    PostMessageW(installer, WM_COMMAND, kFinishId, 0);
    HWND app = InstallerWindow(AppTitle());
    ASSERT_NE(app, nullptr);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(installer); }));
    ASSERT_TRUE(WaitFor([&] { return ShowsDone(dialog); }));
    EXPECT_EQ(run.Answer(0), -1) << "the dialog must wait for the user";
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, kBanner)));

    Press(dialog, IDOK);
    EXPECT_EQ(run.Answer(), 0) << "done, not abandoned: the patch and settings steps follow";
    EXPECT_TRUE(IsWindow(app)) << "Tobrin never ends what the installer started";
    EXPECT_EQ(ProgramFilesDir(), original_);
}

HWND FocusOf(HWND dialog) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    return info.hwndFocus;
}

// An Enter in window (a dialog) where it has the focus: its focused
// control, or itself when no control has it.
void PressEnter(HWND window) {
    HWND focus = FocusOf(window);
    if (!focus || !IsChild(window, focus)) focus = window;
    PostMessageW(focus, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(focus, WM_KEYUP, VK_RETURN, 0xC0000001);
}

// The message box's default button, which has the focus once the box is
// active; 0 when none is.
int DefaultButton(HWND box) {
    for (int id : {IDYES, IDNO}) {
        HWND button = GetDlgItem(box, id);
        if (button && (GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) return id;
    }
    return 0;
}

TEST_F(TobrinTest, EnterAfterInstallAbandonsNothing) {
    OpenRun run(Args(kInstaller, "C:\\Entered"));
    HWND dialog = run.Dialog();
    ASSERT_NE(dialog, nullptr);
    // Enter as the dialog opens is Install.
    PressEnter(dialog);
    HWND installer = InstallerWindow();
    ASSERT_NE(installer, nullptr);

    // Meant for the installer, but the dialog still had the keyboard: at
    // most a question, which a second Enter answers with No.
    PressEnter(dialog);
    HWND box = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (box = FindOwned(dialog, 0xFFFF)) != nullptr; }));
    EXPECT_EQ(Text(GetDlgItem(box, 0xFFFF)), kAskAbandon);
    EXPECT_EQ(DefaultButton(box), IDNO);
    PressEnter(box);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    EXPECT_EQ(run.Answer(0), -1);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, kBanner)));
    EXPECT_TRUE(IsWindow(installer));
    EXPECT_EQ(ProgramFilesDir(), L"C:\\Entered");

    // Abandon all's question too defaults to No while the program runs.
    Press(dialog, kAbandonAll);
    ASSERT_TRUE(WaitFor([&] { return (box = FindOwned(dialog, 0xFFFF)) != nullptr; }));
    EXPECT_EQ(Text(GetDlgItem(box, 0xFFFF)), kAskAbandonAll);
    EXPECT_EQ(DefaultButton(box), IDNO);
    PressEnter(box);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(box); }));
    EXPECT_EQ(run.Answer(0), -1);

    PostMessageW(installer, WM_COMMAND, kFinishId, 0);
    EXPECT_EQ(run.Answer(), 0);
}

TEST_F(TobrinTest, EmptyFolderLeavesProgramFilesDirAlone) {
    SetProgramFilesDir(L"C:\\Before Tobrin");
    OpenRun::Args args = Args();
    args.params += " --auto-finish";
    OpenRun run(args);
    HWND dialog = run.Dialog();
    ASSERT_NE(dialog, nullptr);
    Press(dialog, IDOK);
    EXPECT_EQ(run.Answer(), 0);
    EXPECT_EQ(ReadInstallerResult(result_)["program_files"], "C:\\Before Tobrin");
    EXPECT_EQ(ProgramFilesDir(), L"C:\\Before Tobrin");
}

TEST_F(TobrinTest, AbandonWhileRunningAsksAndLeavesTheInstallerRunning) {
    OpenRun run(Args(kInstaller, "C:\\Abandoned"));
    auto [dialog, installer] = Install(run);
    ASSERT_NE(dialog, nullptr);
    ASSERT_NE(installer, nullptr);

    Press(dialog, IDCANCEL);
    EXPECT_EQ(AnswerMessageBox(dialog, IDNO), kAskAbandon);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, kBanner))) << "No leaves it running";
    EXPECT_EQ(ProgramFilesDir(), L"C:\\Abandoned");

    Press(dialog, IDCANCEL);
    EXPECT_EQ(AnswerMessageBox(dialog, IDYES), kAskAbandon);
    EXPECT_EQ(run.Answer(), 3);
    EXPECT_TRUE(IsWindow(installer)) << "the installer is never ended by Tobrin";
    EXPECT_EQ(ProgramFilesDir(), original_);
}

TEST_F(TobrinTest, AbandonAllAlwaysAsks) {
    OpenRun run(Args());
    HWND dialog = run.Dialog();
    ASSERT_NE(dialog, nullptr);
    Press(dialog, kAbandonAll);
    EXPECT_EQ(AnswerMessageBox(dialog, IDNO), kAskAbandonAll);
    EXPECT_TRUE(IsWindowVisible(dialog));
    Press(dialog, kAbandonAll);
    EXPECT_EQ(AnswerMessageBox(dialog, IDYES), kAskAbandonAll);
    EXPECT_EQ(run.Answer(), 4);

    OpenRun running(Args(kInstaller, "C:\\All"));
    dialog = running.Dialog();
    ASSERT_NE(dialog, nullptr);
    Press(dialog, IDOK);
    HWND installer = InstallerWindow();
    ASSERT_NE(installer, nullptr);
    Press(dialog, kAbandonAll);
    EXPECT_EQ(AnswerMessageBox(dialog, IDYES), kAskAbandonAll);
    EXPECT_EQ(running.Answer(), 4);
    EXPECT_TRUE(IsWindow(installer));
    EXPECT_EQ(ProgramFilesDir(), original_);
}

TEST_F(TobrinTest, ALogOffWhileTheInstallerRunsEndsTheDialogWithAbandonAllAndPutsTheFolderBack) {
    OpenRun run(Args(kInstaller, "C:\\Logged Off"));
    auto [dialog, installer] = Install(run);
    ASSERT_NE(installer, nullptr);
    EXPECT_EQ(ProgramFilesDir(), L"C:\\Logged Off");
    DWORD_PTR agreed = 0;
    SendMessageTimeoutW(dialog, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 10000, &agreed);
    EXPECT_NE(agreed, 0u);
    EXPECT_EQ(run.Answer(), 4);
    EXPECT_TRUE(IsWindow(installer)) << "the installer is never ended by Tobrin";
    EXPECT_EQ(ProgramFilesDir(), original_);
}

// A run of Corvel that dies while its installer runs (killed, crashed,
// power lost) leaves ProgramFilesDir changed; the original it kept in the
// registry is put back by the next run.
constexpr wchar_t kKeptValue[] = L"CorvelSavedProgramFilesDir";
constexpr wchar_t kOriginal[] = L"C:\\Program Files Before";
// Set for the copy of this program that plays the run that dies: the
// folder it chooses.
constexpr wchar_t kDyingRunFolder[] = L"CORVEL_TOBRIN_DYING_RUN_FOLDER";
constexpr wchar_t kDyingRunTest[] = L"RunsItsInstallerUntilKilled";

using InitializeFn = corvel::ComponentInitializeFn;

class TobrinRepairTest : public TobrinTest {
protected:
    void SetUp() override {
        TobrinTest::SetUp();
        RemoveKept();
    }
    void TearDown() override {
        RemoveKept();
        TobrinTest::TearDown();
    }

    // The kept original, or "<none>".
    static std::wstring Kept() { return ReadIn(0, kKeptValue); }
    static void SetKept(const std::wstring& value) { WriteIn(0, kKeptValue, value); }
    static void RemoveKept() { WriteIn(0, kKeptValue, kMissing); }

    // What the component host does when it loads Tobrin.
    int Initialize() {
        auto initialize =
            reinterpret_cast<InitializeFn>(reinterpret_cast<void*>(GetProcAddress(module_, "Initialize")));
        return initialize ? initialize(GetDesktopWindow()) : -1;
    }
};

// This program again, running only the test that plays the dying run.
class DyingRun {
public:
    explicit DyingRun(const std::wstring& folder) {
        std::wstring command = L"\"" + (ExeFolder() / L"tobrin_tests.exe").wstring() +
                               L"\" --gtest_filter=TobrinDyingRun." + kDyingRunTest;
        SetEnvironmentVariableW(kDyingRunFolder, folder.c_str());
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_))
            CloseHandle(info_.hThread);
        SetEnvironmentVariableW(kDyingRunFolder, nullptr);
    }
    ~DyingRun() {
        Kill();
        if (info_.hProcess) CloseHandle(info_.hProcess);
        // Its installer outlives it, in a folder of its own.
        if (HWND left = Installer()) PostMessageW(left, WM_COMMAND, kFinishId, 0);
        WaitFor([&] { return Installer() == nullptr; });
        corvel::testing::RemoveTree(TestFolderOf(info_.dwProcessId, kDyingRunTest).wstring());
    }

    bool Started() const { return info_.hProcess != nullptr; }
    static HWND Installer() { return FindWindowW(kInstallerClass, (std::wstring(L"Tobrin_") + kDyingRunTest).c_str()); }
    bool Ended() const { return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; }
    void Kill() {
        if (!info_.hProcess || Ended()) return;
        TerminateProcess(info_.hProcess, 9);
        WaitForSingleObject(info_.hProcess, 10000);
    }

private:
    PROCESS_INFORMATION info_ = {};
};

TEST_F(TobrinRepairTest, AKillWhileTheInstallerRunsIsMendedWhenTobrinIsLoadedAgain) {
    SetProgramFilesDir(kOriginal);
    const std::wstring chosen = L"C:\\Dying Run";
    DyingRun run(chosen);
    ASSERT_TRUE(run.Started());
    ASSERT_TRUE(WaitFor([&] { return DyingRun::Installer() != nullptr || run.Ended(); }, 60000))
        << "the dying run's installer never started";
    ASSERT_FALSE(run.Ended());
    ASSERT_EQ(ProgramFilesDir(), chosen);
    EXPECT_EQ(Kept(), kOriginal) << "the original must be kept before the change";
    run.Kill();
    ASSERT_TRUE(run.Ended());
    ASSERT_EQ(ProgramFilesDir(), chosen) << "the killed run had no chance to put anything back";

    // The next start of Corvel loads Tobrin.
    EXPECT_EQ(Initialize(), 1);
    EXPECT_EQ(ProgramFilesDir(), kOriginal);
    EXPECT_EQ(Kept(), L"<none>");
}

TEST_F(TobrinRepairTest, OpeningTheDialogPutsBackWhatADeadRunLeft) {
    // As a run that died leaves the registry.
    SetProgramFilesDir(L"C:\\Left By A Dead Run");
    SetKept(kOriginal);
    OpenRun run(Args());
    HWND dialog = run.Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ProgramFilesDir(), kOriginal);
    EXPECT_EQ(Kept(), L"<none>");
    Press(dialog, IDCANCEL);
    EXPECT_EQ(run.Answer(), 3);
    EXPECT_EQ(ProgramFilesDir(), kOriginal);
}

TEST_F(TobrinRepairTest, InitializeAcceptsAndLeavesAValueWithNothingKeptAlone) {
    SetProgramFilesDir(kOriginal);
    EXPECT_EQ(Initialize(), 1);
    EXPECT_EQ(ProgramFilesDir(), kOriginal);
    EXPECT_EQ(Kept(), L"<none>");
}

TEST_F(TobrinRepairTest, ARunKeepsTheOriginalOnlyWhileItsInstallerRuns) {
    SetProgramFilesDir(kOriginal);
    for (int answer : {0, 3}) {
        SCOPED_TRACE(answer);
        OpenRun run(Args(kInstaller, "C:\\Chosen"));
        HWND dialog = run.Dialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(Kept(), L"<none>") << "nothing is kept before Install";
        Press(dialog, IDOK);
        HWND installer = InstallerWindow();
        ASSERT_NE(installer, nullptr);
        EXPECT_EQ(ProgramFilesDir(), L"C:\\Chosen");
        EXPECT_EQ(Kept(), kOriginal);

        if (answer == 0) {
            PostMessageW(installer, WM_COMMAND, kFinishId, 0);
        } else {
            Press(dialog, IDCANCEL);
            EXPECT_EQ(AnswerMessageBox(dialog, IDYES), kAskAbandon);
        }
        EXPECT_EQ(run.Answer(), answer);
        EXPECT_EQ(ProgramFilesDir(), kOriginal);
        EXPECT_EQ(Kept(), L"<none>") << "a normal run leaves no kept value behind";
        PostMessageW(installer, WM_COMMAND, kFinishId, 0);
        WaitFor([&] { return !IsWindow(installer); });
    }
}

// Played by the copy of this program that AKillWhileTheInstallerRuns...
// starts and kills.
using TobrinDyingRun = TobrinTest;

TEST_F(TobrinDyingRun, RunsItsInstallerUntilKilled) {
    wchar_t folder[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(kDyingRunFolder, folder, MAX_PATH))
        GTEST_SKIP() << "played by a copy of this program that another test starts and kills";
    OpenRun run(Args(kInstaller, corvel::Cp936FromWide(folder)));
    HWND dialog = run.Dialog();
    ASSERT_NE(dialog, nullptr);
    Press(dialog, IDOK);
    ASSERT_NE(InstallerWindow(), nullptr);
    // Killed here, while the installer runs; Open returns only if it is not.
    EXPECT_EQ(run.Answer(60000), -1) << "not killed in time";
}

// Under Wine this process finds no new window once a thread holding windows
// has been ended, so this group stays the last one of the program.
using TobrinEndedThreadTest = TobrinTest;

TEST_F(TobrinEndedThreadTest, ProgramFilesDirIsPutBackWhenTheDialogThreadIsEndedAndTheComponentUnloaded) {
    OpenRun run(Args(kInstaller, "C:\\Orphaned"));
    auto [dialog, installer] = Install(run);
    ASSERT_NE(dialog, nullptr);
    ASSERT_NE(installer, nullptr);
    ASSERT_EQ(ProgramFilesDir(), L"C:\\Orphaned");

    // What Corvel does to an install worker that does not end in time.
    TerminateThread(run.Thread(), 99);
    WaitForSingleObject(run.Thread(), 10000);
    FreeLibrary(module_);
    module_ = nullptr;

    EXPECT_TRUE(WaitFor([&] { return ProgramFilesDir() == original_; })) << Utf8(ProgramFilesDir());
    EXPECT_TRUE(WaitFor([] { return GetModuleHandleW(L"Tobrin.cpn") == nullptr; })) << "the component stays loaded";
    EXPECT_TRUE(IsWindow(installer)) << "the installer is never ended by Tobrin";
}

// Typed text that code page 936 cannot hold: refused before anything runs.
using TobrinTypedTextTest = TobrinTest;

TEST_F(TobrinTypedTextTest, ParametersOrAFolderCodePage936CannotHoldAreRefusedAndNothingStarts) {
    OpenRun run(Args());
    HWND dialog = run.Dialog();
    ASSERT_NE(dialog, nullptr);
    struct Field {
        int id;
        const wchar_t* label;
        std::wstring kept;
    };
    Field fields[] = {{kParams, L"文件参数", Text(GetDlgItem(dialog, kParams))}, {kFolder, L"安装目录", L"C:\\Apps"}};
    for (const Field& field : fields) {
        HWND edit = GetDlgItem(dialog, field.id);
        for (const wchar_t* bad : kUnstorableTexts) {
            std::wstring typed = field.kept + L" " + bad;
            SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed.c_str()));
            Press(dialog, IDOK);
            EXPECT_EQ(AnswerMessageBox(dialog, IDOK), UnstorableMessage(field.label));
            EXPECT_TRUE(IsWindowVisible(dialog));
            EXPECT_EQ(Text(edit), typed);
            EXPECT_EQ(FocusOf(dialog), edit);
        }
        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(field.kept.c_str()));
    }
    EXPECT_EQ(FindWindowW(kInstallerClass, title_.c_str()), nullptr) << "no installer was started";
    EXPECT_EQ(ProgramFilesDir(), original_);
    Press(dialog, IDCANCEL);
    EXPECT_EQ(run.Answer(), 3);
}

// Both registry views of 64-bit Windows: installers and MSI packages of
// either kind read ProgramFilesDir, and "(x86)" where the system has it, in
// their own view.
struct ViewValue {
    REGSAM view;
    const wchar_t* name;
};
constexpr ViewValue kViewValues[] = {{KEY_WOW64_64KEY, L"ProgramFilesDir"},
                                     {KEY_WOW64_32KEY, L"ProgramFilesDir"},
                                     {KEY_WOW64_64KEY, L"ProgramFilesDir (x86)"},
                                     {KEY_WOW64_32KEY, L"ProgramFilesDir (x86)"}};
std::wstring KeptName(const wchar_t* name) {
    return std::wstring(L"CorvelSaved") + name;
}

std::wstring ViewName(const ViewValue& value) {
    return std::wstring(value.view == KEY_WOW64_64KEY ? L"64-bit " : L"32-bit ") + value.name;
}

class TobrinViewsTest : public TobrinRepairTest {
protected:
    void SetUp() override {
        TobrinRepairTest::SetUp();
        for (const ViewValue& value : kViewValues) {
            saved_.push_back(ReadIn(value.view, value.name));
            WriteIn(value.view, KeptName(value.name), kMissing);
        }
        // 64-bit Windows has the 32-bit view's ProgramFilesDir; a new 64-bit
        // Wine prefix lacks it until a run makes it.
        BOOL wow64 = FALSE;
        IsWow64Process(GetCurrentProcess(), &wow64);
        if ((sizeof(void*) == 8 || wow64) && ReadIn(KEY_WOW64_32KEY, L"ProgramFilesDir") == kMissing)
            WriteIn(KEY_WOW64_32KEY, L"ProgramFilesDir", L"C:\\Program Files (x86)");
    }
    void TearDown() override {
        TobrinRepairTest::TearDown();
        for (std::size_t i = 0; i < saved_.size(); ++i) {
            WriteIn(kViewValues[i].view, kViewValues[i].name, saved_[i]);
            WriteIn(kViewValues[i].view, KeptName(kViewValues[i].name), kMissing);
        }
    }

    // Distinct originals, the 32-bit "(x86)" missing as on a system without it.
    static void SetOriginals() {
        const wchar_t* originals[] = {L"C:\\Native Programs", L"C:\\Wow Programs", L"C:\\Native x86", kMissing};
        for (std::size_t i = 0; i < std::size(kViewValues); ++i)
            WriteIn(kViewValues[i].view, kViewValues[i].name, originals[i]);
    }

    std::vector<std::wstring> Values() const {
        std::vector<std::wstring> values;
        for (const ViewValue& value : kViewValues) values.push_back(ReadIn(value.view, value.name));
        return values;
    }

    std::vector<std::wstring> saved_;
};

TEST_F(TobrinViewsTest, BothViewsGetTheFolderWhileTheInstallerRunsAndEveryValueIsPutBack) {
    ASSERT_NE(ReadIn(KEY_WOW64_32KEY, L"ProgramFilesDir"), kMissing) << "needs a 64-bit prefix";
    SetOriginals();
    const std::vector<std::wstring> originals = Values();
    const std::wstring chosen = L"D:\\Both Views";
    OpenRun run(Args(kInstaller, Cp936(chosen)));
    auto [dialog, installer] = Install(run);
    ASSERT_NE(dialog, nullptr);
    ASSERT_NE(installer, nullptr);

    for (std::size_t i = 0; i < std::size(kViewValues); ++i) {
        SCOPED_TRACE(Utf8(ViewName(kViewValues[i])));
        // A missing "(x86)" is never created.
        EXPECT_EQ(ReadIn(kViewValues[i].view, kViewValues[i].name), originals[i] == kMissing ? kMissing : chosen);
        EXPECT_EQ(ReadIn(kViewValues[i].view, KeptName(kViewValues[i].name)), originals[i]);
    }

    PostMessageW(installer, WM_COMMAND, kFinishId, 0);
    EXPECT_EQ(run.Answer(), 0);
    EXPECT_EQ(ReadInstallerResult(result_)["program_files"], Utf8(chosen));
    EXPECT_EQ(Values(), originals);
    for (const ViewValue& value : kViewValues)
        EXPECT_EQ(ReadIn(value.view, KeptName(value.name)), kMissing) << Utf8(ViewName(value));
}

TEST_F(TobrinViewsTest, WhatADeadRunKeptInEitherViewIsPutBackAtLoadAndAtOpen) {
    SetOriginals();
    const std::vector<std::wstring> originals = Values();
    // As a run that died leaves the registry: every existing value changed,
    // its original kept beside it.
    auto leaveAsADeadRun = [&] {
        for (std::size_t i = 0; i < std::size(kViewValues); ++i) {
            if (originals[i] == kMissing) continue;
            WriteIn(kViewValues[i].view, KeptName(kViewValues[i].name), originals[i]);
            WriteIn(kViewValues[i].view, kViewValues[i].name, L"C:\\Left By A Dead Run");
        }
    };

    leaveAsADeadRun();
    EXPECT_EQ(Initialize(), 1);
    EXPECT_EQ(Values(), originals) << "at load";

    leaveAsADeadRun();
    OpenRun run(Args());
    HWND dialog = run.Dialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Values(), originals) << "at open";
    for (const ViewValue& value : kViewValues)
        EXPECT_EQ(ReadIn(value.view, KeptName(value.name)), kMissing) << Utf8(ViewName(value));
    Press(dialog, IDCANCEL);
    EXPECT_EQ(run.Answer(), 3);
}

TEST_F(TobrinTest, TheKeyboardReachesEveryFieldAndEscAbandonsBeforeInstall) {
    using namespace corvel::testing;
    OpenRun run(Args(kInstaller, "C:\\Keys"));
    HWND dialog = run.Dialog();
    ASSERT_NE(dialog, nullptr);
    ExpectKeyboardUsable(dialog);
    ExpectTextsFit(dialog);
    PostMnemonic(dialog, L'D');
    EXPECT_TRUE(WaitFor([&] { return FocusedControlOf(dialog) == GetDlgItem(dialog, kFolder); }));
    PostMnemonic(dialog, L'R');
    EXPECT_TRUE(WaitFor([&] { return FocusedControlOf(dialog) == GetDlgItem(dialog, kParams); }));
    PostKey(dialog, VK_ESCAPE);
    EXPECT_EQ(run.Answer(), 3);
    EXPECT_EQ(CountInstallerProcesses(), 0);
}

}  // namespace
