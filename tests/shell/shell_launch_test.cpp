#include "shell_launch.h"

#include <gtest/gtest.h>

#include "shell_test_support.h"
#include "win32_text.h"

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

std::string SystemProgram(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return Cp936FromWide(std::wstring(folder, length) + L"\\" + name);
}

TEST(RunProgram, StartsAProcessInTheWorkingFolder) {
    ScratchFolder scratch;
    std::string folder = scratch / kChinese;
    MakeFolder(folder);
    HANDLE process = RunProgram(SystemProgram(L"cmd.exe"), "/c echo here> out.txt& exit 7", folder, SW_HIDE);
    ASSERT_NE(process, nullptr);
    ASSERT_EQ(WaitForSingleObject(process, 30000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    EXPECT_EQ(code, 7u);
    EXPECT_EQ(GetFile(folder + "\\out.txt"), "here\r\n");
}

TEST(RunProgram, NothingForAMissingProgram) {
    ScratchFolder scratch;
    EXPECT_EQ(RunProgram(scratch / "missing.exe", "", "", SW_HIDE), nullptr);
}

}  // namespace
}  // namespace corvel
