// The install commands on the real frame and view, with the recording
// component answering in this process: the task's messages, the guard's
// question, and the registration text on the clipboard.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <thread>

#include "catalogue/win32_text.h"
#include "tests/support/clipboard_text.h"
#include "tests/ui/frame_test.h"
#include "ui/main/resource.h"
#include "ui/main/view_requests.h"

namespace corvel::ui {
namespace {

namespace fs = std::filesystem;

class InstallCommandsTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        fs::remove(folder_ / "Components" / "Quarro.cpn");
        fs::copy_file(RECORDER_CPN_PATH, folder_ / "Components" / "Recorder.cpn");
    }
    void TearDown() override {
        for (const wchar_t* name : {L"CORVEL_RECORDER_ANSWERS", L"CORVEL_RECORDER_BLOCK", L"CORVEL_RECORDER_BLOCKED"})
            SetEnvironmentVariableW(name, nullptr);
        FrameTest::TearDown();
        for (HANDLE event : {release_, blocked_}) {
            if (event) CloseHandle(event);
        }
    }

    // Opens catalogue and installs its first entry with the recorder waiting
    // inside Open until release_ is set; true once it waits.
    bool StartTaskThatWaitsInOpen(const std::string& catalogue) {
        release_ = CreateEventW(nullptr, TRUE, FALSE, L"CorvelUiTestRelease");
        blocked_ = CreateEventW(nullptr, TRUE, FALSE, L"CorvelUiTestBlocked");
        SetEnvironmentVariableW(L"CORVEL_RECORDER_BLOCK", L"CorvelUiTestRelease");
        SetEnvironmentVariableW(L"CORVEL_RECORDER_BLOCKED", L"CorvelUiTestBlocked");
        WriteCatalogue(catalogue);
        Start();
        SelectEntry(0);
        Command(ID_ITEM_INSTALL);
        return WaitForSingleObject(blocked_, 10000) == WAIT_OBJECT_0;
    }

    // Lets the frame handle its messages until condition holds (10 s at most).
    bool PumpUntil(const std::function<bool()>& condition) {
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!condition()) {
            if (std::chrono::steady_clock::now() > end) return false;
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

    // Each shown message is the guard's question whether to end the task.
    static void ExpectGuardQuestions(const std::vector<MessageBoxRequest>& shown) {
        for (const MessageBoxRequest& question : shown) {
            EXPECT_EQ(question.caption, L"执行操作");
            EXPECT_EQ(question.text, L"正在安装软件项目，如果要执行此操作则要先结束安装任务，确实要结束安装任务吗？");
            EXPECT_EQ(question.flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
        }
    }

    HANDLE release_ = nullptr;
    HANDLE blocked_ = nullptr;
};

TEST_F(InstallCommandsTest, TheTasksMessagesNameTheStepTheItemAndThePath) {
    SetEnvironmentVariableW(L"CORVEL_RECORDER_ANSWERS", L"2,1,0");
    WriteCatalogue(
        "[Tools]\r\n<Name=Lost\x02SrcPath=Soft\\missing.exe\x02>\r\n"
        "<Name=Fail\x02SrcPath=C:\\windows\\notepad.exe\x02>\r\n"
        "<Name=None\x02SrcPath=C:\\windows\\notepad.exe\x02>\r\n"
        "<Name=Done\x02SrcPath=C:\\windows\\notepad.exe\x02Patch=Soft\\fix.exe -q\x02>\r\n");
    Start();
    Command(ID_ITEM_SELECT_ALL);
    Command(ID_ITEM_INSTALL);
    ASSERT_TRUE(PumpUntil([&] { return Shown().size() == 4; })) << Shown().size();

    const std::wstring folder = WideFromCp936(folder_.string());
    struct Expected {
        std::wstring caption, text;
        UINT icon;
    };
    const Expected expected[] = {
        {L"安装", L"“Lost”的安装程序“" + folder + L"\\Soft\\missing.exe”不存在，请检查文件的路径是否正确", MB_ICONSTOP},
        {L"安装", L"打开安装程序时错误！“Fail”未能完成软件的安装", MB_ICONSTOP},
        {L"安装", L"没有找到合适的组件打开“None”的安装程序", MB_ICONEXCLAMATION},
        {L"安装补钉程序", L"“Done”的补钉程序“" + folder + L"\\Soft\\fix.exe”不存在，请检查文件的路径是否正确",
         MB_ICONSTOP},
    };
    std::vector<MessageBoxRequest> shown = Shown();
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(shown[i].caption, expected[i].caption) << i;
        EXPECT_EQ(shown[i].text, expected[i].text) << i;
        EXPECT_EQ(shown[i].flags, MB_OK | expected[i].icon) << i;
        EXPECT_EQ(shown[i].owner, frame_->Handle()) << i;
    }
}

TEST_F(InstallCommandsTest, TheGuardAsksBeforeAnyChangeWhileATaskRuns) {
    ASSERT_TRUE(StartTaskThatWaitsInOpen(
        "[Tools]\r\n<Name=Slow\x02SrcPath=C:\\windows\\notepad.exe\x02Regcode=A||B\x02>\r\n[Games]\r\n"));

    // Select all, invert and fetching the registration text never ask.
    Command(ID_ITEM_SELECT_ALL);
    Command(ID_ITEM_INVERT);
    SelectEntry(0);
    Command(ID_ITEM_REGCODE);
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(testing::ClipboardBytes(), "A||B");

    // Every change asks first; No keeps the task and the catalogue as it is.
    answers_ = {IDNO, IDNO, IDNO, IDNO, IDNO, IDNO, IDNO, IDNO};
    Command(ID_ITEM_ADD);
    Command(ID_ITEM_COPY);
    Command(ID_CATEGORY_DELETE);
    Command(ID_FILE_SAVE_AS);
    Command(ID_TOOLS_CHECK_PATHS);
    Command(ID_TOOLS_CREATE_FOLDERS);
    NMHDR changing{Controls().Tabs(), IDC_CATEGORY_TABS, static_cast<UINT>(TCN_SELCHANGING)};
    EXPECT_EQ(SendMessageW(frame_->Handle(), WM_NOTIFY, IDC_CATEGORY_TABS, reinterpret_cast<LPARAM>(&changing)), TRUE)
        << "the tab may change while the task runs";
    // A slow second click on an entry begins a rename.
    NMLVDISPINFOW rename{};
    rename.hdr = {List(), IDC_ITEM_LIST, static_cast<UINT>(LVN_BEGINLABELEDITW)};
    EXPECT_EQ(SendMessageW(frame_->Handle(), WM_NOTIFY, IDC_ITEM_LIST, reinterpret_cast<LPARAM>(&rename)), TRUE)
        << "a rename may begin while the task runs";
    std::vector<MessageBoxRequest> shown = Shown();
    ASSERT_EQ(shown.size(), 8u);
    ExpectGuardQuestions(shown);
    EXPECT_TRUE(dialogs_.empty());
    EXPECT_EQ(Controls().TabCount(), 2);

    // Still running, so asked again; Yes, and the component returns within
    // the guard's grace: the task ends and the command goes on.
    int asked = 0;
    SetMessageBoxHookForTesting([&](const MessageBoxRequest&) {
        ++asked;
        SetEvent(release_);
        return IDYES;
    });
    Command(ID_ITEM_ADD);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(dialogs_, std::vector<int>{IDD_ITEM_EDITOR});
    Command(ID_ITEM_ADD);  // no task left: no question
    EXPECT_EQ(asked, 1);
}

TEST_F(InstallCommandsTest, EveryOtherRequestOnTheCatalogueOrTheSelectionAsksOnceAndNoDropsIt) {
    ASSERT_TRUE(
        StartTaskThatWaitsInOpen("[Tools]\r\n<Name=Slow\x02SrcPath=C:\\windows\\notepad.exe\x02>\r\n[Games]\r\n"));

    const int commands[] = {ID_CATEGORY_NEW,     ID_CATEGORY_EDIT,      ID_ITEM_INSTALL,  ID_ITEM_PATCH,
                            ID_ITEM_SETTINGS,    ID_ITEM_DELETE,        ID_ITEM_EDIT,     ID_ITEM_RENAME,
                            ID_VIEW_INSTALLER,   ID_VIEW_PATCH,         ID_VIEW_SETTINGS, ID_PROPERTIES_INSTALLER,
                            ID_PROPERTIES_PATCH, ID_PROPERTIES_SETTINGS};
    const std::size_t requests = std::size(commands) + 2;
    answers_.assign(requests, IDNO);
    for (int id : commands) Command(id);
    // What the switch-to and move-to submenus send.
    SendMessageW(List(), kRequestSwitchToCategory, 1, 0);
    SendMessageW(List(), kRequestMoveItems, 1, 0);

    std::vector<MessageBoxRequest> shown = Shown();
    ASSERT_EQ(shown.size(), requests);
    ExpectGuardQuestions(shown);
    EXPECT_TRUE(dialogs_.empty());
    EXPECT_EQ(TabTexts(), (std::vector<std::wstring>{L"Tools", L"Games"}));
    EXPECT_EQ(Controls().CurrentTab(), 0);
    EXPECT_EQ(ItemNamesOf(0), std::vector<std::string>{"Slow"});
    EXPECT_TRUE(ItemNamesOf(1).empty());
    EXPECT_EQ(EntryNames(), std::vector<std::string>{"Slow"});
    EXPECT_EQ(ListView_GetEditControl(List()), nullptr) << "a rename began";
    SetEvent(release_);
}

TEST_F(InstallCommandsTest, ALogOffThatIsCancelledLeavesTheTaskAndTheWindowWorking) {
    ASSERT_TRUE(StartTaskThatWaitsInOpen("[Tools]\r\n<Name=Slow\x02SrcPath=C:\\windows\\notepad.exe\x02>\r\n"));

    // Windows asks: the task is only told to stop, nobody waits for it.
    const auto asked = std::chrono::steady_clock::now();
    EXPECT_TRUE(SendMessageW(frame_->Handle(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(3)) << "the query waited for the task";
    SendMessageW(frame_->Handle(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
    EXPECT_TRUE(IsWindowEnabled(frame_->Handle()));
    EXPECT_TRUE(Shown().empty());

    // The component comes back; the task ends at its next stop check and
    // the window goes on as before.
    SetEvent(release_);
    ASSERT_TRUE(PumpUntil([&] { return SendMessageW(List(), kRequestEndTask, 0, 0) == kNoTaskRunning; }));
    Command(ID_ITEM_ADD);
    EXPECT_TRUE(Shown().empty()) << "the task still ran";
    EXPECT_EQ(dialogs_, std::vector<int>{IDD_ITEM_EDITOR});
}

}  // namespace
}  // namespace corvel::ui
