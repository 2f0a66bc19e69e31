// Quarro loaded as Corvel loads it, started against a stand-in installer.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "catalogue/win32_text.h"
#include "components/component_interface.h"
#include "tests/support/installer_result.h"
#include "tests/support/remove_tree.h"
#include "tests/support/test_program_paths.h"

namespace fs = std::filesystem;
using corvel::Cp936FromWide;

namespace {

using OpenFn = corvel::ComponentOpenFn;
using InitializeFn = corvel::ComponentInitializeFn;
using PreUnloadFn = corvel::ComponentPreUnloadFn;

constexpr int kInstaller = corvel::kInstallerStep, kPatch = corvel::kPatchStep, kSettings = corvel::kSettingsStep;
constexpr wchar_t kInstallerClass[] = L"CorvelFixtureInstaller";
constexpr int kFirstFieldId = 101, kFinishId = 110;

using corvel::testing::Cp936;
using corvel::testing::ExeFolder;
using corvel::testing::ReadInstallerResult;
using corvel::testing::Utf8;
using corvel::testing::WaitFor;

// Watches for dialogs of this process while alive, counts them and closes
// them, so that a message box that should not be there fails the test
// instead of hanging it.
class DialogWatcher {
public:
    DialogWatcher() : thread_([this] { Run(); }) {}
    ~DialogWatcher() { Stop(); }

    // Stops watching; how many dialogs appeared.
    int Stop() {
        if (thread_.joinable()) {
            stop_ = true;
            thread_.join();
        }
        return seen_;
    }

private:
    static BOOL CALLBACK CloseIfOurDialog(HWND window, LPARAM self) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        wchar_t name[16] = {};
        GetClassNameW(window, name, 16);
        if (process == GetCurrentProcessId() && IsWindowVisible(window) && wcscmp(name, L"#32770") == 0) {
            ++reinterpret_cast<DialogWatcher*>(self)->seen_;
            PostMessageW(window, WM_CLOSE, 0, 0);
        }
        return TRUE;
    }

    void Run() {
        while (!stop_) {
            EnumWindows(CloseIfOurDialog, reinterpret_cast<LPARAM>(this));
            Sleep(50);
        }
    }

    std::atomic<bool> stop_{false};
    std::atomic<int> seen_{0};
    std::thread thread_;
};

class QuarroTest : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryW((ExeFolder() / L"Quarro.cpn").c_str());
        ASSERT_NE(module_, nullptr);
        open_ = reinterpret_cast<OpenFn>(reinterpret_cast<void*>(GetProcAddress(module_, "Open")));
        initialize_ = reinterpret_cast<InitializeFn>(reinterpret_cast<void*>(GetProcAddress(module_, "Initialize")));
        preUnload_ = reinterpret_cast<PreUnloadFn>(reinterpret_cast<void*>(GetProcAddress(module_, "PreUnloadDll")));
        ASSERT_TRUE(open_ && initialize_ && preUnload_);

        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        root_ = fs::path(temp) / (L"corvel_quarro_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
                                  std::wstring(test.begin(), test.end()));
        corvel::testing::RemoveTree(L"\\\\?\\" + root_.wstring());
        fs::create_directories(root_);
    }

    void TearDown() override {
        if (preUnload_) preUnload_();
        if (module_) FreeLibrary(module_);
        // The prefix reaches what lies past MAX_PATH too.
        corvel::testing::RemoveTree(L"\\\\?\\" + root_.wstring());
    }

    int Open(const std::string& path, int stepKind, const std::string& params = "", const std::string& folder = "") {
        return open_(nullptr, "Item", path.c_str(), params.c_str(), folder.c_str(), stepKind);
    }

    HMODULE module_ = nullptr;
    OpenFn open_ = nullptr;
    InitializeFn initialize_ = nullptr;
    PreUnloadFn preUnload_ = nullptr;
    fs::path root_;
};

std::wstring ProgramFilesDir() {
    wchar_t value[MAX_PATH] = {};
    DWORD size = sizeof value;
    RegGetValueW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion", L"ProgramFilesDir", RRF_RT_REG_SZ,
                 nullptr, value, &size);
    return value;
}

std::wstring Title(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

TEST_F(QuarroTest, InitializeMarksTheTitleOnceAndAccepts) {
    HWND frame = CreateWindowExW(0, L"STATIC", L"Corvel - 软件目录", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                 nullptr, nullptr, nullptr);
    HWND untitled =
        CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(frame && untitled);
    EXPECT_EQ(initialize_(frame), 1);
    EXPECT_EQ(Title(frame), L"Corvel - 软件目录 - Quarro组件版");
    EXPECT_EQ(initialize_(untitled), 1);
    EXPECT_EQ(Title(untitled), L" - Quarro组件版");
    EXPECT_EQ(initialize_(nullptr), 1);
    DestroyWindow(frame);
    DestroyWindow(untitled);
}

TEST_F(QuarroTest, AbandonsTheItemForOtherStepsAndMissingFiles) {
    std::string installer = Cp936(ExeFolder() / L"installer.exe");
    EXPECT_EQ(Open(installer, kPatch), 3);
    EXPECT_EQ(Open(installer, kSettings), 3);
    EXPECT_EQ(Open(installer, kPatch | kSettings), 3);
    EXPECT_EQ(FindWindowW(kInstallerClass, nullptr), nullptr) << "nothing may have been started";

    EXPECT_EQ(Open(Cp936(root_ / L"absent.exe"), kInstaller), 3);
    EXPECT_EQ(Open("", kInstaller), 3);
    EXPECT_EQ(open_(nullptr, "Item", nullptr, "", "", kInstaller), 3);
    EXPECT_EQ(Open(Cp936(root_), kInstaller), 3);
}

TEST_F(QuarroTest, StartsTheInstallerAndAnswersDoneOnceItWaitsForInput) {
    // Chinese and a space in both folders check the code page 936 conversion and the quoting.
    fs::path setupFolder = root_ / L"软件 源";
    fs::path installFolder = root_ / L"安装 目录";
    fs::create_directories(setupFolder);
    fs::create_directories(installFolder);
    fs::copy_file(ExeFolder() / L"installer.exe", setupFolder / L"setup.exe");
    fs::path result = root_ / L"result.txt";
    std::wstring params = L"--result=\"" + result.wstring() + L"\" --title=QuarroStart";

    ASSERT_EQ(Open(Cp936(setupFolder / L"setup.exe"), kInstaller, Cp936FromWide(params), Cp936(installFolder)), 0);
    // Ready for input means its window is there; the step does not wait for the end.
    HWND window = FindWindowW(kInstallerClass, L"QuarroStart");
    EXPECT_NE(window, nullptr) << "answered before the installer was ready for input";
    // Still finish it below, so no installer outlives the test.
    if (!window) WaitFor([&] { return (window = FindWindowW(kInstallerClass, L"QuarroStart")) != nullptr; });
    ASSERT_NE(window, nullptr);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);

    const wchar_t* typed[] = {L"张三", L"Corvel", L"ABCD-1234"};
    for (int i = 0; i < 3; ++i)
        SendMessageW(GetDlgItem(window, kFirstFieldId + i), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(typed[i]));
    PostMessageW(window, WM_COMMAND, kFinishId, 0);

    // It must be gone before its working folder is removed.
    EXPECT_EQ(WaitForSingleObject(process, 15000), WAIT_OBJECT_0);
    CloseHandle(process);

    auto values = ReadInstallerResult(result);
    ASSERT_FALSE(values.empty()) << "the installer wrote no result";
    EXPECT_EQ(values["field1"], Utf8(typed[0]));
    EXPECT_EQ(values["field2"], "Corvel");
    EXPECT_EQ(values["field3"], "ABCD-1234");
    std::string commandLine = values["command_line"];
    EXPECT_NE(commandLine.find(Utf8(L"软件 源")), std::string::npos) << commandLine;
    EXPECT_TRUE(commandLine.ends_with(Utf8(params))) << commandLine;
    EXPECT_EQ(values["working_folder"], Utf8(installFolder.wstring()));
    EXPECT_FALSE(values["program_files"].empty());
    EXPECT_EQ(values["program_files"], Utf8(ProgramFilesDir()));
}

TEST_F(QuarroTest, StartsOtherFileTypesThroughTheirAssociation) {
    fs::path batch = root_ / L"setup.bat";
    fs::path result = root_ / L"batch.txt";
    std::ofstream(batch) << "@echo %1> \"" << Cp936(result) << ".part\"\r\n@move \"" << Cp936(result) << ".part\" \""
                         << Cp936(result) << "\" >nul\r\n";
    EXPECT_EQ(Open(Cp936(batch), kInstaller, "started"), 0);
    ASSERT_TRUE(WaitFor([&] { return fs::exists(result); }));
    std::string written;
    std::getline(std::ifstream(result), written);
    EXPECT_EQ(written.substr(0, 7), "started");
}

TEST_F(QuarroTest, AFailedStartAnswersFailedWithoutAWindow) {
    DialogWatcher watcher;
    fs::path unknown = root_ / L"setup.corvelnone";
    std::ofstream(unknown) << "no program opens this";
    EXPECT_EQ(Open(Cp936(unknown), kInstaller), 2);
    fs::path broken = root_ / L"broken.exe";
    std::ofstream(broken) << "not a program";
    EXPECT_EQ(Open(Cp936(broken), kInstaller), 2);
    // The install task reports the answer; the shell must not report as well.
    Sleep(200);
    EXPECT_EQ(watcher.Stop(), 0);
}

TEST_F(QuarroTest, TakesAnInstallerLyingPastMaxPath) {
    // A CD copied deep into a disk: the installer lies past MAX_PATH.
    std::wstring deep = L"\\\\?\\" + root_.wstring();
    while (deep.size() <= 300) {
        deep += L"\\setup_files_abcdefghijklmnopqrstuvwxyz_0123456789";
        ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr));
    }
    std::wstring plain = deep.substr(4);
    ASSERT_TRUE(CopyFileW((ExeFolder() / L"installer.exe").c_str(), (deep + L"\\setup.exe").c_str(), FALSE));
    fs::path result = root_ / L"deep.txt";
    std::wstring params = L"--result=\"" + result.wstring() + L"\" --title=QuarroDeep";

    // Found, so taken: started through its short path (Windows, and Wine in
    // a process that has started no other program yet), or failed to start
    // (Wine otherwise), but never abandoned as missing.
    int answer = Open(Cp936FromWide(plain + L"\\setup.exe"), kInstaller, Cp936FromWide(params));
    ASSERT_TRUE(answer == 0 || answer == 2) << answer;
    if (answer == 0) {
        HWND window = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (window = FindWindowW(kInstallerClass, L"QuarroDeep")) != nullptr; }));
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
        PostMessageW(window, WM_COMMAND, kFinishId, 0);
        EXPECT_EQ(WaitForSingleObject(process, 15000), WAIT_OBJECT_0);
        CloseHandle(process);
        EXPECT_FALSE(ReadInstallerResult(result).empty()) << "the installer wrote no result";
    }

    EXPECT_EQ(Open(Cp936FromWide(plain + L"\\absent.exe"), kInstaller), 3);
    EXPECT_EQ(Open(Cp936FromWide(plain), kInstaller), 3) << "a folder is not an installer";
}

// The stand-in installer itself, started directly: unattended finish and exit code.
TEST(FixtureInstaller, FinishesByItselfWithTheChosenExitCode) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    fs::path folder = fs::path(temp).parent_path();
    fs::path result = folder / (L"corvel_fixture_" + std::to_wstring(GetCurrentProcessId()) + L".txt");
    fs::remove(result);
    std::wstring commandLine = L"\"" + (ExeFolder() / L"installer.exe").wstring() +
                               L"\" --auto-finish --exit=7 --result=\"" + result.wstring() + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                               &startup, &process));
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 15000), WAIT_OBJECT_0);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(exitCode, 7u);

    auto values = ReadInstallerResult(result);
    EXPECT_EQ(values["field1"], "");
    EXPECT_EQ(values["command_line"], Utf8(commandLine));
    EXPECT_EQ(values["working_folder"], Utf8(folder.wstring()));
    fs::remove(result);
}

}  // namespace
