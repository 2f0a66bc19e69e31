// The tools submenu filled from ExtTools.ini, running a tool and editing the
// file, in the real frame; the shell is replaced so nothing is started.
#include "ui/main/external_tools.h"

#include "tests/ui/frame_test.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "catalogue/shell/native_system.h"
#include "catalogue/shell/shell_launch.h"
#include "catalogue/win32_text.h"
#include "tests/ui/shown_message.h"
#include "ui/main/external_tools_rules.h"
#include "ui/main/resource.h"

namespace corvel::ui {
namespace {

namespace fs = std::filesystem;

constexpr int kToolsMenu = 3;
constexpr int kToolsPosition = 3;

struct ShellCall {
    HWND owner;
    std::wstring verb, file, parameters, folder;
    int show;
};
std::vector<ShellCall> g_calls;
BOOL g_shellAnswer = TRUE;

BOOL WINAPI RecordShellExecute(SHELLEXECUTEINFOW* info) {
    auto text = [](const wchar_t* value) { return std::wstring(value ? value : L""); };
    g_calls.push_back({info->hwnd, text(info->lpVerb), text(info->lpFile), text(info->lpParameters),
                       text(info->lpDirectory), info->nShow});
    info->hProcess = nullptr;
    return g_shellAnswer;
}

class ExternalToolsTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        g_calls.clear();
        g_shellAnswer = TRUE;
        SetShellExecuteForTesting(RecordShellExecute);
    }
    void TearDown() override {
        SetShellExecuteForTesting(nullptr);
        FrameTest::TearDown();
    }

    fs::path ToolsFile() const { return folder_ / "ExtTools.ini"; }
    void WriteToolsFile(const std::string& bytes) { std::ofstream(ToolsFile(), std::ios::binary) << bytes; }
    std::string ReadToolsFile() const {
        std::ifstream file(ToolsFile(), std::ios::binary);
        return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    }
    std::vector<Entry> OpenTools() { return Open(Submenu(kToolsMenu, kToolsPosition)); }
    std::wstring Folder() const { return WideFromCp936(folder_.string()); }
};

TEST_F(ExternalToolsTest, SubmenuGreysMissingProgramsAndEachEntryRunsItsOwnTool) {
    fs::create_directories(folder_ / "Soft");
    std::ofstream(folder_ / "Soft" / "tool.exe") << "x";
    WriteToolsFile(
        "; my tools\r\n  Here = Soft\\tool.exe -x data\\a.txt\r\nMissing=Soft\\gone.exe\r\n"
        "Switch=/s Soft\\tool.exe\r\nWin=%WINDIR%\\notepad.exe\r\nLower=%windir%\\notepad.exe\r\n"
        "Here=Soft\\tool.exe /second\r\n");
    Start();

    auto entries = OpenTools();
    ASSERT_EQ(entries.size(), 5u);
    const wchar_t* names[] = {L"Here", L"Missing", L"Win", L"Lower", L"Here"};
    const bool enabled[] = {true, false, true, false, true};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].text, names[i]) << i;
        EXPECT_EQ(entries[i].id, 33000 + i) << i;
        EXPECT_EQ(entries[i].enabled, enabled[i]) << i;
    }
    HMENU tools = Submenu(kToolsMenu, kToolsPosition);
    SendMessageW(frame_->Handle(), WM_MENUSELECT, MAKEWPARAM(33001, MF_GRAYED), reinterpret_cast<LPARAM>(tools));
    EXPECT_EQ(frame_->StatusText(), L"无效的工具");
    SendMessageW(frame_->Handle(), WM_MENUSELECT, MAKEWPARAM(33000, 0), reinterpret_cast<LPARAM>(tools));
    EXPECT_EQ(frame_->StatusText(), L"运行此工具");

    Command(33000);
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].verb, L"open");
    EXPECT_EQ(g_calls[0].file, Folder() + L"\\Soft\\tool.exe");
    EXPECT_EQ(g_calls[0].parameters, L"-x \"" + Folder() + L"\\data\\a.txt\"");
    EXPECT_EQ(g_calls[0].folder, Folder() + L"\\Soft");
    EXPECT_EQ(g_calls[0].show, SW_SHOWNORMAL);
    // The second "Here" is the tool after the skipped switch line.
    Command(33004);
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[1].parameters, L"/second");
    Command(33001);  // its program is missing
    Command(33005);  // beyond the list
    EXPECT_EQ(g_calls.size(), 2u);
    EXPECT_TRUE(shown_.empty());

    // After another pop-up the same id is no tool any more.
    Open(Submenu(1, 3));
    Command(33000);
    EXPECT_EQ(g_calls.size(), 2u);
}

// A tool that exists only in 64-bit form, as many of Windows' own do: a
// 32-bit process looking into System32 would see SysWOW64 and grey it.
TEST_F(ExternalToolsTest, ASysdirToolThatOnlyTheNativeSystemFolderHoldsIsOfferedAndStarted) {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    std::wstring nativeFolder = RunsUnderWow64() ? WideFromCp936(WindowsFolder()) + L"\\Sysnative" : system;
    std::wstring tool = nativeFolder + L"\\corvel-native-only-" + std::to_wstring(GetCurrentProcessId()) + L".exe";
    ASSERT_TRUE(CopyFileW((nativeFolder + L"\\notepad.exe").c_str(), tool.c_str(), FALSE));
    WriteToolsFile("Native=%SYSDIR%\\" + Cp936FromWide(tool.substr(nativeFolder.size() + 1)) + "\r\n");
    Start();
    auto entries = OpenTools();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_TRUE(entries[0].enabled);
    Command(33000);
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].file, tool);
    DeleteFileW(tool.c_str());
}

TEST_F(ExternalToolsTest, SubmenuIsEmptyWithoutToolsAndFollowsEveryChangeOfTheFile) {
    Start();
    for (const char* text : std::vector<const char*>{nullptr, "", "; only a comment\r\nnothing\r\n", "Flag=-x t.exe"}) {
        if (text) WriteToolsFile(text);
        auto entries = OpenTools();
        ASSERT_EQ(entries.size(), 1u) << (text ? text : "no file");
        EXPECT_EQ(entries[0].text, L"(空)");
        EXPECT_EQ(entries[0].id, 33000u);
        EXPECT_FALSE(entries[0].enabled);
    }
    WriteToolsFile("Pad=%WINDIR%\\notepad.exe");
    auto entries = OpenTools();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].text, L"Pad");
    EXPECT_TRUE(entries[0].enabled);
}

TEST_F(ExternalToolsTest, EditWritesTheHeaderOnlyIntoAMissingFileThenOpensNotepad) {
    Start();
    Command(ID_TOOLS_EDIT);
    const std::string header = ReadToolsFile();
    EXPECT_EQ(header, ExternalToolsHeader());
    // The system's own code page 936 converter reads the line we meant.
    EXPECT_NE(WideFromCp936(header).find(L"\r\n;外部工具配置文件说明：\r\n"), std::wstring::npos);
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].owner, frame_->Handle());
    EXPECT_EQ(g_calls[0].verb, L"open");
    EXPECT_EQ(g_calls[0].file, L"notepad.exe");
    EXPECT_EQ(g_calls[0].parameters, Folder() + L"\\ExtTools.ini");  // not quoted
    EXPECT_NE(g_calls[0].show, SW_HIDE);

    WriteToolsFile("Mine=mine.exe\r\n");
    Command(ID_TOOLS_EDIT);
    EXPECT_EQ(ReadToolsFile(), "Mine=mine.exe\r\n");
    fs::remove(ToolsFile());
    Command(ID_TOOLS_EDIT);
    EXPECT_EQ(ReadToolsFile(), header);
    EXPECT_EQ(g_calls.size(), 3u);
    EXPECT_TRUE(shown_.empty());

    // Notepad failing to start is reported; a file that cannot be written
    // (a folder in its place) ends the command silently.
    g_shellAnswer = FALSE;
    Command(ID_TOOLS_EDIT);
    ASSERT_EQ(shown_.size(), 1u);
    ExpectMessageIcon(shown_[0], L"使用记事本程序打开工具配置文件时出错！", L"编辑外部工具", MB_ICONSTOP);
    fs::remove(ToolsFile());
    fs::create_directories(ToolsFile());
    Command(ID_TOOLS_EDIT);
    EXPECT_EQ(g_calls.size(), 4u);
    EXPECT_EQ(shown_.size(), 1u);
}

}  // namespace
}  // namespace corvel::ui
