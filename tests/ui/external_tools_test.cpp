// The tools submenu filled from ExtTools.ini, running a tool and editing the
// file, in the real frame; the shell is replaced so nothing is started.
#include "external_tools.h"

#include "frame_test.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "external_tools_rules.h"
#include "resource.h"
#include "shell_launch.h"
#include "win32_text.h"

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

TEST_F(ExternalToolsTest, SubmenuListsToolsInFileOrderAndGreysMissingPrograms) {
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
    EXPECT_EQ(frame_->LastMenuMode(), kMenuTools);

    HMENU tools = Submenu(kToolsMenu, kToolsPosition);
    SendMessageW(frame_->Handle(), WM_MENUSELECT, MAKEWPARAM(33001, MF_GRAYED), reinterpret_cast<LPARAM>(tools));
    EXPECT_EQ(frame_->StatusText(), L"无效的工具");
    SendMessageW(frame_->Handle(), WM_MENUSELECT, MAKEWPARAM(33000, 0), reinterpret_cast<LPARAM>(tools));
    EXPECT_EQ(frame_->StatusText(), L"运行此工具");
}

TEST_F(ExternalToolsTest, SubmenuIsEmptyWithoutToolsAndFollowsEveryChangeOfTheFile) {
    Start();
    for (const char* text : std::vector<const char*>{nullptr, "", "; only a comment\r\n=nameless.exe\r\nnothing\r\n",
                                                     "Flag=-x tool.exe"}) {
        if (text) WriteToolsFile(text);
        auto entries = OpenTools();
        ASSERT_EQ(entries.size(), 1u) << (text ? text : "no file");
        EXPECT_EQ(entries[0].text, L"(空)");
        EXPECT_EQ(entries[0].id, 33000u);
        EXPECT_FALSE(entries[0].enabled);
    }
    // Read afresh at every opening.
    WriteToolsFile("Pad=%WINDIR%\\notepad.exe");
    auto entries = OpenTools();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].text, L"Pad");
    EXPECT_TRUE(entries[0].enabled);
}

TEST_F(ExternalToolsTest, RunningAToolResolvesItAgainstTheProgramFolder) {
    fs::create_directories(folder_ / "Soft");
    std::ofstream(folder_ / "Soft" / "tool.exe") << "x";
    WriteToolsFile(
        "Here=Soft\\tool.exe -x data\\a.txt\r\nMissing=Soft\\gone.exe\r\nSkipped=/s\r\nAgain=Soft\\tool.exe "
        "/second\r\n");
    Start();
    OpenTools();

    Command(33000);
    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].verb, L"open");
    EXPECT_EQ(g_calls[0].file, Folder() + L"\\Soft\\tool.exe");
    EXPECT_EQ(g_calls[0].parameters, L"-x \"" + Folder() + L"\\data\\a.txt\"");
    EXPECT_EQ(g_calls[0].folder, Folder() + L"\\Soft");
    EXPECT_EQ(g_calls[0].show, SW_SHOWNORMAL);

    // The tool without a program took no id: 33002 is the next tool.
    Command(33002);
    ASSERT_EQ(g_calls.size(), 2u);
    EXPECT_EQ(g_calls[1].parameters, L"/second");

    Command(33001);  // its program is missing
    Command(33003);  // beyond the list
    EXPECT_EQ(g_calls.size(), 2u);
    EXPECT_TRUE(shown_.empty());

    // After another pop-up the same id is no tool any more.
    Open(Submenu(1, 3));
    Command(33000);
    EXPECT_EQ(g_calls.size(), 2u);
}

TEST_F(ExternalToolsTest, EditWritesTheHeaderOnlyIntoAMissingFileThenOpensNotepad) {
    Start();
    Command(ID_TOOLS_EDIT);
    const std::string header = ReadToolsFile();
    EXPECT_EQ(header, ExternalToolsHeader());
    // The system's own code page 936 converter reads the lines we meant.
    std::wstring wide(header.size(), L'\0');
    wide.resize(MultiByteToWideChar(936, 0, header.data(), static_cast<int>(header.size()), wide.data(),
                                    static_cast<int>(wide.size())));
    EXPECT_EQ(wide.substr(0, 105), L";" + std::wstring(100, L'-') + L"\r\n\r\n");
    EXPECT_NE(wide.find(L"\r\n;外部工具配置文件说明：\r\n"), std::wstring::npos);
    EXPECT_NE(wide.find(L"\r\n;请在下面添加和编辑工具配置：\r\n\r\n"), std::wstring::npos);
    EXPECT_TRUE(wide.ends_with(L"配置：\r\n\r\n"));

    ASSERT_EQ(g_calls.size(), 1u);
    EXPECT_EQ(g_calls[0].owner, frame_->Handle());
    EXPECT_EQ(g_calls[0].verb, L"open");
    EXPECT_EQ(g_calls[0].file, L"notepad.exe");
    EXPECT_EQ(g_calls[0].parameters, Folder() + L"\\ExtTools.ini");  // not quoted
    EXPECT_NE(g_calls[0].show, SW_HIDE);
    EXPECT_TRUE(shown_.empty());

    WriteToolsFile("Mine=mine.exe\r\n");
    Command(ID_TOOLS_EDIT);
    EXPECT_EQ(ReadToolsFile(), "Mine=mine.exe\r\n");
    EXPECT_EQ(g_calls.size(), 2u);

    fs::remove(ToolsFile());
    Command(ID_TOOLS_EDIT);
    EXPECT_EQ(ReadToolsFile(), header);
}

TEST_F(ExternalToolsTest, EditReportsOnlyAFailedNotepadStart) {
    Start();
    g_shellAnswer = FALSE;
    Command(ID_TOOLS_EDIT);
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].text, L"使用记事本程序打开工具配置文件时出错！");
    EXPECT_EQ(shown_[0].caption, L"编辑外部工具");
    EXPECT_EQ(shown_[0].flags & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));

    // A folder in the file's place cannot be written: the command ends silently.
    fs::remove(ToolsFile());
    fs::create_directories(ToolsFile());
    g_calls.clear();
    Command(ID_TOOLS_EDIT);
    EXPECT_TRUE(g_calls.empty());
    EXPECT_EQ(shown_.size(), 1u);
}

}  // namespace
}  // namespace corvel::ui
