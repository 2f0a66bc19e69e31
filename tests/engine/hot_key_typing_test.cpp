// Ctrl+R typing into a real program: the stand-in installer runs as a process
// of its own, as an installer does, and the test reads back what its fields
// hold, where its focus stands and what the clipboard holds.
#include "engine/hot_key_typing_win32.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "catalogue/win32_text.h"
#include "engine/clipboard_win32.h"
#include "tests/support/build_tree_path.h"
#include "tests/support/clipboard_text.h"

using corvel::Cp936FromWide;
using corvel::TypeRegistrationText;

namespace {

constexpr wchar_t kInstallerClass[] = L"CorvelFixtureInstaller";
constexpr int kFieldCount = 3;
constexpr int kFirstFieldId = 101, kFinishId = 110;

template <typename Condition>
bool WaitFor(Condition condition, int timeoutMs = 15000) {
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) return false;
        Sleep(20);
    }
    return true;
}

// WM_GETTEXT, not GetWindowText: across processes the latter gives no edit contents.
std::wstring TextOf(HWND window) {
    wchar_t buffer[512] = {};
    SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

std::string ClipboardBytes() {
    return corvel::testing::ClipboardBytes().value_or("<no text>");
}

std::wstring ClipboardWide() {
    return corvel::testing::ClipboardUnicode().value_or(L"<no text>");
}

// Takes the focus away from a thread that is not ours; attaching is the only way in.
void TakeFocus(DWORD thread) {
    AttachThreadInput(thread, GetCurrentThreadId(), TRUE);
    SetFocus(nullptr);
    AttachThreadInput(thread, GetCurrentThreadId(), FALSE);
}

HWND FocusOf(DWORD thread) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

// Handles what reaches the test thread's windows, as Corvel's message loop does.
void PumpOwnMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool BringToFront(HWND window) {
    SetForegroundWindow(window);
    return WaitFor([&] {
        PumpOwnMessages();
        return GetForegroundWindow() == window;
    });
}

// A top-level window of the test thread with two edits and a button, all tab stops.
HWND CreateOwnWindow(HWND (&controls)[3]) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = L"CorvelTypingTestFrame";
    RegisterClassW(&windowClass);
    HWND frame = CreateWindowExW(0, windowClass.lpszClassName, L"own", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                 nullptr, nullptr, nullptr, nullptr);
    for (int i = 0; frame && i < 3; ++i) {
        bool edit = i < 2;
        controls[i] = CreateWindowExW(0, edit ? L"EDIT" : L"BUTTON", L"",
                                      WS_CHILD | WS_VISIBLE | WS_TABSTOP | (edit ? ES_AUTOHSCROLL : 0), 10, 10 + 30 * i,
                                      200, 24, frame, nullptr, nullptr, nullptr);
    }
    return frame;
}

class HotKeyTypingTest : public ::testing::Test {
protected:
    // One installer for the suite; each test empties its fields first.
    static void SetUpTestSuite() {
        // Corvel types from its user-interface thread, which has windows of
        // its own, one of them holding that thread's focus.
        ownFrame_ = CreateOwnWindow(ownControls_);
        BringToFront(ownFrame_);
        SetFocus(ownControls_[0]);

        std::wstring title = L"HotKeyTyping" + std::to_wstring(GetCurrentProcessId());
        std::wstring path = corvel::testing::FromBuildTree(CORVEL_INSTALLER_EXE).wstring();
        std::wstring command = L"\"" + path + L"\" --title=" + title;
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        if (!CreateProcessW(path.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &installer_)) {
            installer_ = {};
            return;
        }
        WaitForInputIdle(installer_.hProcess, 15000);
        WaitFor([&] { return (window_ = FindWindowW(kInstallerClass, title.c_str())) != nullptr; });
    }

    static void TearDownTestSuite() {
        DestroyWindow(ownFrame_);
        if (!installer_.hProcess) return;
        TerminateProcess(installer_.hProcess, 0);
        WaitForSingleObject(installer_.hProcess, 15000);
        CloseHandle(installer_.hThread);
        CloseHandle(installer_.hProcess);
        installer_ = {};
        window_ = nullptr;
    }

    // The installer in front, the focus in its first field as a click puts it there.
    void SetUp() override {
        ASSERT_NE(window_, nullptr) << "the stand-in installer did not start";
        thread_ = GetWindowThreadProcessId(window_, nullptr);
        for (int i = 0; i < kFieldCount; ++i) {
            fields_[i] = GetDlgItem(window_, kFirstFieldId + i);
            SendMessageW(fields_[i], WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
        }
        finish_ = GetDlgItem(window_, kFinishId);
        SetWindowTextW(ownControls_[0], L"");
        SetWindowTextW(ownControls_[1], L"");
        ASSERT_TRUE(BringToFront(window_)) << "the installer is not in front";
        PostMessageW(fields_[0], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(fields_[0], WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        ASSERT_TRUE(WaitFor([&] {
            PumpOwnMessages();
            return FocusOf(thread_) == fields_[0];
        }));
        ASSERT_TRUE(corvel::PutTextOnClipboard("before"));
    }

    void ExpectFields(const std::wstring& first, const std::wstring& second, const std::wstring& third) {
        EXPECT_EQ(TextOf(fields_[0]), first);
        EXPECT_EQ(TextOf(fields_[1]), second);
        EXPECT_EQ(TextOf(fields_[2]), third);
        // Nothing may be typed into the typing thread's own focused control.
        EXPECT_EQ(TextOf(ownControls_[0]), L"");
    }

    static inline HWND ownFrame_ = nullptr;
    static inline HWND ownControls_[3] = {};
    static inline PROCESS_INFORMATION installer_{};
    static inline HWND window_ = nullptr;
    DWORD thread_ = 0;
    HWND fields_[kFieldCount] = {};
    HWND finish_ = nullptr;
};

TEST_F(HotKeyTypingTest, TypesOneSegmentPerFieldAndLeavesTheWholeTextOnTheClipboard) {
    std::string text = Cp936FromWide(L"张三||北京公司\r\n第二行||ABCD-1234");
    TypeRegistrationText(text);

    // A single-line edit keeps a pasted text up to its first line break.
    ExpectFields(L"张三", L"北京公司", L"ABCD-1234");
    // The focus moves on after the last segment too.
    EXPECT_EQ(FocusOf(thread_), finish_);
    EXPECT_EQ(ClipboardBytes(), text);
    EXPECT_EQ(ClipboardWide(), L"张三||北京公司\r\n第二行||ABCD-1234");
}

TEST_F(HotKeyTypingTest, TextWithoutSeparatorGoesWholeIntoTheFocusedField) {
    std::string text = Cp936FromWide(L"整段注册码 XYZ-01");
    TypeRegistrationText(text);

    ExpectFields(L"整段注册码 XYZ-01", L"", L"");
    EXPECT_EQ(FocusOf(thread_), fields_[1]);
    EXPECT_EQ(ClipboardBytes(), text);
}

TEST_F(HotKeyTypingTest, EmptySegmentsSkipAFieldAndSurplusOnesFollowTheTabOrder) {
    // Segments 甲, empty, 丙, 4 (to the button, which takes no paste), 尾
    // (wrapped round to the first field, after what it holds).
    std::string text = Cp936FromWide(L"甲||||丙||4||尾");
    TypeRegistrationText(text);

    // An empty segment must not paste the previous one again.
    ExpectFields(L"甲尾", L"", L"丙");
    EXPECT_EQ(FocusOf(thread_), fields_[1]);
    EXPECT_EQ(ClipboardBytes(), text);
}

TEST_F(HotKeyTypingTest, DoesNothingWhenThereIsNothingToTypeOrNowhereToTypeIt) {
    std::string text = Cp936FromWide(L"张三||公司");
    TypeRegistrationText("");
    ExpectFields(L"", L"", L"");
    EXPECT_EQ(FocusOf(thread_), fields_[0]);
    EXPECT_EQ(ClipboardBytes(), "before");

    // No control of the installer has the focus.
    TakeFocus(thread_);
    ASSERT_TRUE(BringToFront(window_));  // attaching from outside took it out of front under Wine
    ASSERT_EQ(FocusOf(thread_), nullptr);
    TypeRegistrationText(text);
    ExpectFields(L"", L"", L"");
    EXPECT_EQ(ClipboardBytes(), "before");
}

// A window of Corvel's own in front (the item editor, a question): Ctrl+R
// would paste into its fields or press its buttons.
TEST_F(HotKeyTypingTest, DoesNothingForAWindowOfItsOwn) {
    ASSERT_TRUE(BringToFront(ownFrame_));
    SetFocus(ownControls_[0]);

    TypeRegistrationText(Cp936FromWide(L"本线程||第二格"));

    EXPECT_EQ(TextOf(ownControls_[0]), L"");
    EXPECT_EQ(TextOf(ownControls_[1]), L"");
    EXPECT_EQ(GetFocus(), ownControls_[0]);
    EXPECT_EQ(ClipboardBytes(), "before");
}

// Last: the installer stops answering for a while, and what came after it
// would wait for it.
TEST_F(HotKeyTypingTest, AProgramThatDoesNotAnswerNeitherHoldsCorvelNorGetsALatePaste) {
    constexpr DWORD kHungMs = 8000;
    PostMessageW(window_, WM_APP + 1, kHungMs, 0);
    ASSERT_TRUE(WaitFor([&] { return !SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, 1000, nullptr); }))
        << "the installer did not stop answering";
    const auto pressed = std::chrono::steady_clock::now();
    TypeRegistrationText(Cp936FromWide(L"张三||公司"));
    EXPECT_LT(std::chrono::steady_clock::now() - pressed, std::chrono::milliseconds(kHungMs / 2))
        << "Ctrl+R waited for the hung installer";

    SendMessageW(window_, WM_NULL, 0, 0);  // it answers again
    ExpectFields(L"", L"", L"");
    EXPECT_EQ(ClipboardBytes(), "before");
}

}  // namespace
