// The install task of the running program with the recording component: the
// calls it makes, the messages it shows, and ending it.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <sstream>

#include "tests/e2e/e2e_test_support.h"
#include "tests/e2e/harness/wine_path.h"

namespace corvel::e2e {
namespace {

const std::wstring kInstallCaption = L"\u5b89\u88c5";              // 安装
const std::wstring kEndTaskCaption = L"\u6267\u884c\u64cd\u4f5c";  // 执行操作

// One line of the recorder's log: its kind and its key=value fields.
struct Call {
    std::string kind;
    std::map<std::string, std::string> fields;
    const std::string& operator[](const std::string& key) const {
        static const std::string none;
        auto found = fields.find(key);
        return found == fields.end() ? none : found->second;
    }
};

class InstallTest : public E2eTest {
protected:
    void SetUp() override {
        E2eTest::SetUp();
        log_ = folder_.PathOf(L"calls.log");
        // Inherited by Corvel.exe and read by the component at every call.
        SetEnvironmentVariableW(L"CORVEL_RECORDER_LOG", log_.c_str());
        SetEnvironmentVariableW(L"CORVEL_RECORDER_ANSWERS", nullptr);
        SetEnvironmentVariableW(L"CORVEL_RECORDER_BLOCK", nullptr);
        SetEnvironmentVariableW(L"CORVEL_RECORDER_BLOCKED", nullptr);
    }
    void TearDown() override {
        for (const wchar_t* name :
             {L"CORVEL_RECORDER_LOG", L"CORVEL_RECORDER_ANSWERS", L"CORVEL_RECORDER_BLOCK", L"CORVEL_RECORDER_BLOCKED"})
            SetEnvironmentVariableW(name, nullptr);
    }

    std::wstring LayOutWithRecorder() {
        folder_.AddComponent(WindowsPathFromBuildPath(RECORDER_CPN_PATH), L"Recorder.cpn");
        return LayOut(L"Corvel.exe", false);
    }

    // The open calls logged so far (and with returns, the return lines too).
    std::vector<Call> Calls(const std::string& kind = "open") const {
        std::vector<Call> calls;
        std::istringstream lines(folder_.ReadFile(L"calls.log").value_or(""));
        for (std::string line; std::getline(lines, line);) {
            std::istringstream parts(line);
            Call call;
            std::getline(parts, call.kind, '\t');
            for (std::string part; std::getline(parts, part, '\t');) {
                std::size_t equals = part.find('=');
                if (equals != std::string::npos) call.fields[part.substr(0, equals)] = part.substr(equals + 1);
            }
            if (call.kind == kind) calls.push_back(call);
        }
        return calls;
    }
    std::vector<Call> WaitForCalls(std::size_t count, const std::string& kind = "open") const {
        std::vector<Call> calls;
        WaitUntil([&] { return (calls = Calls(kind)).size() >= count; }, kStepTimeout);
        return calls;
    }
    // The component sees its worker end a moment before Corvel can: a
    // command sent in between would find the task still running and ask.
    void WaitForTaskEnds(std::size_t count) const {
        std::vector<Call> ends = WaitForCalls(count, "end");
        ASSERT_GE(ends.size(), count);
        DWORD id = static_cast<DWORD>(std::stoul(ends[count - 1]["thread"]));
        if (HANDLE worker = OpenThread(SYNCHRONIZE, FALSE, id)) {
            EXPECT_EQ(WaitForSingleObject(worker, static_cast<DWORD>(kStepTimeout.count())), WAIT_OBJECT_0);
            CloseHandle(worker);
        }
    }
    // The folder as the program resolves relative paths, in UTF-8.
    std::string Here(const std::string& relative) const { return Utf8(folder_.Path()) + "\\" + relative; }
    static std::string Utf8(const std::wstring& text) {
        std::string bytes(text.size() * 3, '\0');
        bytes.resize(static_cast<std::size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(),
                                                                  static_cast<int>(text.size()), bytes.data(),
                                                                  static_cast<int>(bytes.size()), nullptr, nullptr)));
        return bytes;
    }

    // Shows a message box of the running task and presses OK; its text.
    std::wstring Acknowledge(CorvelProcess& process, const std::wstring& caption) {
        HWND box = process.WaitForMessageBox(caption);
        std::wstring text = MessageBoxText(box);
        PressDialogButton(box, IDOK);
        WaitUntil([&] { return !IsWindow(box); }, kStepTimeout);
        return text;
    }

    std::wstring log_;
};

TEST_F(InstallTest, InstallsTheSelectedItemsStepByStepWithResolvedPaths) {
    const std::wstring program = LayOutWithRecorder();
    folder_.WriteFile(L"Corvel.cvx", Line("[Tools]") +
                                         Line("<Name=A\x02SrcPath=Corvel.exe /S\x02"
                                              "DstDir=C:\\Dest\x02Patch=\"Corvel.exe\" -p x.txt\x02"
                                              "Settings=Corvel.cvx\x02>") +
                                         ItemLine("B") + ItemLine("C"));
    auto [process, window] = StartShown(program);
    window.SelectItem(0);
    window.SelectItem(2);
    window.Command(kInstall);
    std::vector<Call> calls = WaitForCalls(4);
    ASSERT_EQ(calls.size(), 4u);
    const std::string exe = Here("Corvel.exe");
    EXPECT_EQ(calls[0]["item"], "A");
    EXPECT_EQ(calls[0]["file"], exe);
    EXPECT_EQ(calls[0]["params"], "/S");
    EXPECT_EQ(calls[0]["folder"], "C:\\Dest");
    EXPECT_EQ(calls[0]["step"], "1");
    EXPECT_EQ(calls[1]["file"], exe);
    EXPECT_EQ(calls[1]["params"], "-p \"" + Here("x.txt") + "\"");
    EXPECT_EQ(calls[1]["folder"], "C:\\Dest");
    EXPECT_EQ(calls[1]["step"], "2");
    EXPECT_EQ(calls[2]["file"], Here("Corvel.cvx"));
    EXPECT_EQ(calls[2]["step"], "4");
    EXPECT_EQ(calls[3]["item"], "C");
    EXPECT_EQ(calls[3]["folder"], "");
    EXPECT_EQ(calls[3]["step"], "1");
    for (const Call& call : calls) {
        EXPECT_EQ(call["owner_kind"], "frame");
        EXPECT_NE(call["thread"], call["owner_thread"]) << "components run on the install worker";
    }

    // Install patch and restore settings take only their own step, each
    // once the task before it is over.
    WaitForTaskEnds(1);
    window.Command(kInstallPatch);
    calls = WaitForCalls(5);
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[4]["step"], "2");
    WaitForTaskEnds(2);
    window.Command(kRestoreSettings);
    calls = WaitForCalls(6);
    ASSERT_EQ(calls.size(), 6u);
    EXPECT_EQ(calls[5]["step"], "4");
    EXPECT_EQ(calls[5]["item"], "A");
    WaitForTaskEnds(3);
    process.Close();
}

TEST_F(InstallTest, MissingFilesAndComponentAnswersAreReportedAndTheTaskGoesOn) {
    const std::wstring program = LayOutWithRecorder();
    // Answers: Good fails (2), then Next is not taken (1), then Last is done.
    SetEnvironmentVariableW(L"CORVEL_RECORDER_ANSWERS", L"2,1,0");
    folder_.WriteFile(L"Corvel.cvx", Line("[Tools]") + ItemLine("Lost", "Soft\\missing.exe") + ItemLine("Good") +
                                         ItemLine("Next") + ItemLine("Last"));
    auto [process, window] = StartShown(program);
    for (int i = 0; i < 4; ++i) window.SelectItem(i);
    window.Command(kInstall);

    EXPECT_EQ(Acknowledge(process, kInstallCaption),
              L"\u201cLost\u201d\u7684\u5b89\u88c5\u7a0b\u5e8f\u201c" + folder_.Path() +
                  L"\\Soft\\missing.exe\u201d\u4e0d\u5b58\u5728\uff0c\u8bf7\u68c0\u67e5\u6587\u4ef6\u7684\u8def\u5f84"
                  L"\u662f\u5426\u6b63\u786e");
    EXPECT_EQ(Acknowledge(process, kInstallCaption),
              L"\u6253\u5f00\u5b89\u88c5\u7a0b\u5e8f\u65f6\u9519\u8bef\uff01\u201cGood\u201d\u672a\u80fd\u5b8c\u6210"
              L"\u8f6f\u4ef6\u7684\u5b89\u88c5");
    EXPECT_EQ(Acknowledge(process, kInstallCaption),
              L"\u6ca1\u6709\u627e\u5230\u5408\u9002\u7684\u7ec4\u4ef6\u6253\u5f00\u201cNext\u201d\u7684\u5b89\u88c5"
              L"\u7a0b\u5e8f");
    std::vector<Call> calls = WaitForCalls(3, "return");
    ASSERT_EQ(calls.size(), 3u);
    EXPECT_EQ(calls[2]["answer"], "0");
    WaitForTaskEnds(1);  // closing during the task would ask first
    process.Close();
}

TEST_F(InstallTest, AMissingInstallerOnADriveCorvelLacksNamesTheDrive) {
    // As a network drive mapped without elevation is for elevated Corvel.
    ASSERT_FALSE(GetLogicalDrives() & (1u << ('Q' - 'A')));
    const std::wstring program = LayOutWithRecorder();
    SetEnvironmentVariableW(L"CORVEL_RECORDER_ANSWERS", L"0");
    folder_.WriteFile(L"Corvel.cvx", Line("[Tools]") + ItemLine("Net", "Q:\\Soft\\setup.exe") +
                                         ItemLine("Lost", "Soft\\missing.exe") + ItemLine("Good"));
    auto [process, window] = StartShown(program);
    for (int i = 0; i < 3; ++i) window.SelectItem(i);
    window.Command(kInstall);

    const std::wstring missing = L"\u201d\u4e0d\u5b58\u5728\uff0c";  // ”不存在，
    const std::wstring drive = L"\u9a71\u52a8\u5668\u201cQ:\u201d";  // 驱动器“Q:”
    std::wstring text = Acknowledge(process, kInstallCaption);
    EXPECT_NE(text.find(L"Q:\\Soft\\setup.exe" + missing), std::wstring::npos) << text;
    EXPECT_NE(text.find(L"\n\n" + drive), std::wstring::npos) << text;
    // A file missing on a drive that is there says nothing of drives.
    text = Acknowledge(process, kInstallCaption);
    EXPECT_NE(text.find(L"missing.exe" + missing), std::wstring::npos) << text;
    EXPECT_EQ(text.find(L"\u9a71\u52a8\u5668"), std::wstring::npos) << text;
    WaitForTaskEnds(1);
    process.Close();
}

TEST_F(InstallTest, AbandonAllLeavesTheLaterItemsUntouched) {
    const std::wstring program = LayOutWithRecorder();
    SetEnvironmentVariableW(L"CORVEL_RECORDER_ANSWERS", L"0,4");
    folder_.WriteFile(L"Corvel.cvx", Line("[Tools]") + ItemLine("One") + ItemLine("Two") + ItemLine("Three"));
    auto [process, window] = StartShown(program);
    for (int i = 0; i < 3; ++i) window.SelectItem(i);
    window.Command(kInstall);
    WaitForTaskEnds(1);
    // The add command opens its editor at once only when no task runs.
    window.Command(kAddItem);
    HWND editor = process.WaitForDialog(L"\u6dfb\u52a0\u5b89\u88c5\u9879\u76ee");
    EXPECT_EQ(Calls().size(), 2u);
    PressDialogButton(editor, IDCANCEL);
    process.Close();
}

// A manual-reset event the blocking component waits for.
class Gate {
public:
    explicit Gate(const wchar_t* name) : handle_(CreateEventW(nullptr, TRUE, FALSE, name)) {}
    ~Gate() { CloseHandle(handle_); }
    void Open() const { SetEvent(handle_); }
    bool WaitOpened() const { return WaitForSingleObject(handle_, 10000) == WAIT_OBJECT_0; }

private:
    HANDLE handle_;
};

TEST_F(InstallTest, InstallingAgainAsksToEndTheRunningTask) {
    const std::wstring program = LayOutWithRecorder();
    Gate release(L"CorvelTestRelease"), blocked(L"CorvelTestBlocked");
    SetEnvironmentVariableW(L"CORVEL_RECORDER_BLOCK", L"CorvelTestRelease");
    SetEnvironmentVariableW(L"CORVEL_RECORDER_BLOCKED", L"CorvelTestBlocked");
    folder_.WriteFile(L"Corvel.cvx", Line("[Tools]") + ItemLine("Slow"));
    auto [process, window] = StartShown(program);
    window.SelectItem(0);
    window.Command(kInstall);
    ASSERT_TRUE(blocked.WaitOpened()) << "the component was not called";

    // No keeps the task: nothing new starts.
    window.Command(kInstall);
    HWND question = process.WaitForMessageBox(kEndTaskCaption);
    EXPECT_EQ(MessageBoxText(question),
              L"\u6b63\u5728\u5b89\u88c5\u8f6f\u4ef6\u9879\u76ee\uff0c\u5982\u679c\u8981\u6267\u884c\u6b64\u64cd\u4f5c"
              L"\u5219\u8981\u5148\u7ed3\u675f\u5b89\u88c5\u4efb\u52a1\uff0c\u786e\u5b9e\u8981\u7ed3\u675f\u5b89\u88c5"
              L"\u4efb\u52a1\u5417\uff1f");
    PressDialogButton(question, IDNO);
    WaitUntil([&] { return !IsWindow(question); }, kStepTimeout);
    EXPECT_EQ(Calls().size(), 1u);
    EXPECT_TRUE(Calls("return").empty());

    // Yes while the component still works: the task cannot end in time.
    window.Command(kInstall);
    question = process.WaitForMessageBox(kEndTaskCaption);
    PressDialogButton(question, IDYES);
    WaitUntil([&] { return !IsWindow(question); }, kStepTimeout);
    EXPECT_EQ(Acknowledge(process, kEndTaskCaption),
              L"\u7ed3\u675f\u5b89\u88c5\u4efb\u52a1\u5931\u8d25\uff0c\u60a8\u5fc5\u987b\u8981\u5148\u5173\u95ed\u6b63"
              L"\u5728\u5b89\u88c5\u7684\u8f6f\u4ef6\u9879\u76ee\u624d\u80fd\u7ed3\u675f\u5b89\u88c5\u4efb\u52a1");

    // Yes, and the component returns within the grace: the old task ends
    // and the command starts a new one.
    window.Command(kInstall);
    PressDialogButton(process.WaitForMessageBox(kEndTaskCaption), IDYES);
    release.Open();
    std::vector<Call> calls = WaitForCalls(2);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1]["seq"], "2");
    EXPECT_EQ(WaitForCalls(2, "return").size(), 2u);
    WaitForTaskEnds(2);
    process.Close();
}

TEST_F(InstallTest, ClosingDuringATaskEndsItWithinTheLimitAndSavesTheCatalogue) {
    const std::wstring program = LayOutWithRecorder();
    Gate release(L"CorvelTestNeverReleased"), blocked(L"CorvelTestBlockedAtClose");
    SetEnvironmentVariableW(L"CORVEL_RECORDER_BLOCK", L"CorvelTestNeverReleased");
    SetEnvironmentVariableW(L"CORVEL_RECORDER_BLOCKED", L"CorvelTestBlockedAtClose");
    folder_.WriteFile(L"Corvel.cvx", Line("[Tools]") + ItemLine("Stuck"));
    auto [process, window] = StartShown(program);

    ASSERT_TRUE(AddCategoryAndShowTheFirst(process, window, L"Later"));
    window.SelectItem(0);
    window.Command(kInstall);
    ASSERT_TRUE(blocked.WaitOpened()) << "the component was not called";

    PostCommand(window.Frame(), kExitCommand);
    PressDialogButton(process.WaitForMessageBox(kEndTaskCaption), IDYES);
    // 5 s for the worker, then Wine's own slow end of a window.
    const auto answered = std::chrono::steady_clock::now();
    EXPECT_EQ(process.WaitForExit(seconds(15)), std::optional<DWORD>(0)) << "the program did not end, or crashed";
    std::printf("ended %lld ms after the user chose to end the task\n",
                static_cast<long long>(
                    std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - answered).count()));
    EXPECT_EQ(folder_.ReadFile(L"Corvel.cvx"), Line("[Tools]") + ItemLine("Stuck") + Line("[Later]"));
}

}  // namespace
}  // namespace corvel::e2e
