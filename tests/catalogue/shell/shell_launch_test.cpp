#include "catalogue/shell/shell_launch.h"

#include <gtest/gtest.h>

#include "catalogue/long_path.h"
#include "catalogue/shell/job_launch.h"
#include "catalogue/win32_text.h"
#include "tests/catalogue/shell/shell_test_support.h"

namespace corvel {
namespace {

using namespace testing;

// What the last shell call was given; the fake answers with `result`.
struct ShellCall {
    int calls = 0;
    ULONG mask = 0;
    std::wstring verb, file, parameters, directory;
    bool hasParameters = false, hasDirectory = false;
    int show = -1;
    BOOL result = TRUE;
};
ShellCall g_call;

BOOL WINAPI FakeShellExecute(SHELLEXECUTEINFOW* info) {
    ++g_call.calls;
    g_call.mask = info->fMask;
    g_call.verb = info->lpVerb ? info->lpVerb : L"";
    g_call.file = info->lpFile ? info->lpFile : L"";
    g_call.hasParameters = info->lpParameters != nullptr;
    g_call.parameters = info->lpParameters ? info->lpParameters : L"";
    g_call.hasDirectory = info->lpDirectory != nullptr;
    g_call.directory = info->lpDirectory ? info->lpDirectory : L"";
    g_call.show = info->nShow;
    info->hProcess = nullptr;
    return g_call.result;
}

class FakeShell : public ::testing::Test {
protected:
    void SetUp() override {
        g_call = ShellCall();
        SetShellExecuteForTesting(FakeShellExecute);
    }
    void TearDown() override { SetShellExecuteForTesting(nullptr); }
};

TEST_F(FakeShell, ExploreAndSelectHandsExplorerTheQuotedPath) {
    ScratchFolder scratch;
    std::string file = scratch / (kChinese + ".exe");
    PutFile(file, "MZ");
    MakeFolder(scratch / "sub");
    EXPECT_FALSE(ExploreAndSelect(scratch / "missing.exe"));
    EXPECT_FALSE(ExploreAndSelect(""));
    EXPECT_EQ(g_call.calls, 0);
    EXPECT_TRUE(ExploreAndSelect(file));
    EXPECT_EQ(g_call.verb, L"open");
    EXPECT_EQ(g_call.file, L"Explorer.exe");
    EXPECT_EQ(g_call.parameters, L"/select,\"" + WideFromCp936(file) + L"\"");
    EXPECT_EQ(g_call.show, SW_SHOWNORMAL);
    EXPECT_TRUE(g_call.mask & SEE_MASK_FLAG_NO_UI);
    // No backslash right before the closing quote, but a drive root keeps its own.
    EXPECT_TRUE(ExploreAndSelect(scratch / "sub\\"));
    EXPECT_EQ(g_call.parameters, L"/select,\"" + WideFromCp936(scratch / "sub") + L"\"");
    EXPECT_EQ(ExploreSelectParameters("C:\\"), L"/select,\"C:\\\"");
    g_call.result = FALSE;
    EXPECT_FALSE(ExploreAndSelect(file));
}

TEST_F(FakeShell, ShowPropertiesUsesTheItemListVerb) {
    EXPECT_FALSE(ShowProperties(""));
    EXPECT_EQ(g_call.calls, 0);
    EXPECT_TRUE(ShowProperties("C:\\" + kChinese + "\\a.exe"));
    EXPECT_EQ(g_call.verb, L"properties");
    EXPECT_EQ(g_call.file, L"C:\\\x4E2D\x6587\\a.exe");
    EXPECT_TRUE(g_call.mask & SEE_MASK_INVOKEIDLIST);
    g_call.result = FALSE;
    EXPECT_FALSE(ShowProperties("C:\\a.exe"));
}

TEST_F(FakeShell, RunProgramAsksForTheProcess) {
    EXPECT_EQ(RunProgram("", "x", "C:\\", SW_SHOW), nullptr);
    EXPECT_EQ(g_call.calls, 0);
    // The shell opened it without a new process: nothing to hand back.
    EXPECT_EQ(RunProgram("C:\\" + kChinese + "\\t.exe", "-a " + kChinese, "C:\\" + kChinese, SW_SHOWNORMAL), nullptr);
    EXPECT_EQ(g_call.verb, L"open");
    EXPECT_EQ(g_call.file, L"C:\\\x4E2D\x6587\\t.exe");
    EXPECT_EQ(g_call.parameters, L"-a \x4E2D\x6587");
    EXPECT_EQ(g_call.directory, L"C:\\\x4E2D\x6587");
    EXPECT_EQ(g_call.show, SW_SHOWNORMAL);
    EXPECT_TRUE(g_call.mask & SEE_MASK_NOCLOSEPROCESS);
    RunProgram("C:\\t.exe", "", "", SW_HIDE);
    EXPECT_FALSE(g_call.hasParameters);
    EXPECT_FALSE(g_call.hasDirectory);
}

TEST_F(FakeShell, RunProgramInJobLeavesToTheShellWhatCreateProcessCannotStart) {
    ScratchFolder scratch;
    // Not a program CreateProcess can start; the shell gets it as it came.
    std::string notProgram = scratch / "readme.exe";
    PutFile(notProgram, "text, not a program");
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    EXPECT_EQ(RunProgramInJob(job, notProgram, "/x", scratch.Path(), SW_SHOWNORMAL), nullptr);
    CloseHandle(job);
    EXPECT_EQ(g_call.calls, 1);
    EXPECT_EQ(g_call.file, WideFromCp936(notProgram));
    EXPECT_EQ(g_call.parameters, L"/x");
    EXPECT_EQ(g_call.directory, WideFromCp936(scratch.Path()));
    EXPECT_TRUE(g_call.mask & SEE_MASK_NOCLOSEPROCESS);
}

std::string SystemProgram(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return Cp936FromWide(std::wstring(folder, length) + L"\\" + name);
}

// The exit code of process, which it closes, or 259 when it runs on.
DWORD ExitCodeOf(HANDLE process) {
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(process, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return code;
}

TEST(RunProgram, StartsAProcessInTheWorkingFolder) {
    ScratchFolder scratch;
    std::string folder = scratch / kChinese;
    MakeFolder(folder);
    HANDLE process = RunProgram(SystemProgram(L"cmd.exe"), "/c echo here> out.txt& exit 7", folder, SW_HIDE);
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(ExitCodeOf(process), 7u);
    EXPECT_EQ(GetFile(folder + "\\out.txt"), "here\r\n");
}

// A folder past MAX_PATH, made level by level.
std::string MakeLongFolder(const ScratchFolder& scratch) {
    std::string folder = LongFolderPath(scratch.Path());
    for (std::size_t end = scratch.Path().size(); (end = folder.find('\\', end + 1)) != std::string::npos;)
        MakeFolder(folder.substr(0, end));
    MakeFolder(folder);
    return folder;
}

// The shell and CreateProcess start nothing from or in a path past MAX_PATH.
TEST(StartablePath, APathPastMaxPathComesBackInItsShortFormThatNamesTheSameFile) {
    ScratchFolder scratch;
    std::string folder = MakeLongFolder(scratch);
    std::string program = folder + "\\cmd.exe";
    PutFile(program, "MZ");
    std::wstring wide = WideFromCp936(program);
    ASSERT_GE(wide.size(), static_cast<std::size_t>(MAX_PATH));
    std::wstring shorter = StartablePath(wide);
    EXPECT_LT(shorter.size(), static_cast<std::size_t>(MAX_PATH));
    EXPECT_NE(shorter.compare(0, 4, L"\\\\?\\"), 0) << "the shell does not take the prefix";
    EXPECT_EQ(GetFileAttributesW(shorter.c_str()), GetFileAttributesW(WideLongPath(program).c_str()));
    std::wstring shortFolder = StartablePath(WideFromCp936(folder));
    EXPECT_EQ(shorter.substr(0, shortFolder.size() + 1), shortFolder + L"\\");
    // Nothing to shorten, or nothing there to shorten: as it came.
    EXPECT_EQ(StartablePath(L"C:\\Short\\setup.exe"), L"C:\\Short\\setup.exe");
    std::wstring absent = WideFromCp936(folder + "\\absent\\setup.exe");
    EXPECT_EQ(StartablePath(absent), absent);
}

TEST(RunProgramInJob, TheProgramAndWhatItStartsRunInTheJob) {
    ScratchFolder scratch;
    std::string folder = MakeLongFolder(scratch);
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    ASSERT_NE(job, nullptr);
    std::string cmd = SystemProgram(L"cmd.exe");
    // cmd starts a second cmd, which writes into the (long) working folder.
    HANDLE process =
        RunProgramInJob(job, cmd, "/c \"\"" + cmd + "\" /c echo inner> out.txt& exit 4\"", folder, SW_HIDE);
    ASSERT_NE(process, nullptr);
    BOOL inJob = FALSE;
    EXPECT_TRUE(IsProcessInJob(process, job, &inJob));
    EXPECT_TRUE(inJob);
    EXPECT_EQ(ExitCodeOf(process), 4u);
    EXPECT_EQ(GetFile(folder + "\\out.txt"), "inner\r\n");
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting = {};
    ASSERT_TRUE(
        QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &accounting, sizeof accounting, nullptr));
    EXPECT_EQ(accounting.TotalProcesses, 2u) << "the inner cmd was started outside the job";
    EXPECT_EQ(accounting.ActiveProcesses, 0u);
    EXPECT_EQ(RunProgramInJob(job, scratch / "missing.exe", "", "", SW_HIDE), nullptr);
    CloseHandle(job);
}

TEST(RunProgramInJob, StartsAProgramLyingPastMaxPath) {
    // A CD copied deep into a disk.
    ScratchFolder scratch;
    std::string folder = MakeLongFolder(scratch);
    std::string cmd = folder + "\\cmd.exe";
    ASSERT_TRUE(CopyFileW(WideLongPath(SystemProgram(L"cmd.exe")).c_str(), WideLongPath(cmd).c_str(), FALSE));
    HANDLE job = CreateJobObjectW(nullptr, nullptr);
    HANDLE process = RunProgramInJob(job, cmd, "/c exit 6", folder, SW_HIDE);
    CloseHandle(job);
    const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    if (!process && wine) GTEST_SKIP() << "Wine starts no program whose long path passes MAX_PATH, short form or not";
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(ExitCodeOf(process), 6u);
}

TEST(RunProgram, NothingForAMissingProgram) {
    ScratchFolder scratch;
    EXPECT_EQ(RunProgram(scratch / "missing.exe", "", "", SW_HIDE), nullptr);
}

}  // namespace
}  // namespace corvel
