// Runs a real modal dialog in this process with a script inside its modal
// loop (thread timer ticks), while message boxes are answered through the
// seam and recorded. The choosers never open (they would wait for a user):
// they answer chosen_, empty as when cancelled.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "catalogue/shell/shell_choosers.h"
#include "ui/window/dialog.h"
#include "ui/window/message_box.h"

namespace corvel::ui {

// The dialog whose modal loop is running, and the stages still to run.
struct DialogScriptRun {
    Dialog* dialog = nullptr;
    std::vector<std::function<void(HWND)>> stages;
    std::size_t next = 0;
};

class DialogScriptTest : public ::testing::Test {
protected:
    using Stage = std::function<void(HWND)>;

    void SetUp() override {
        owner_ = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr, nullptr,
                                 nullptr);
        ASSERT_NE(owner_, nullptr);
        SetMessageBoxHookForTesting([this](const MessageBoxRequest& request) {
            shown_.push_back(request);
            return IDOK;
        });
        SetChooserHookForTesting([this] { return chosen_; });
    }

    void TearDown() override {
        SetChooserHookForTesting(nullptr);
        SetMessageBoxHookForTesting(nullptr);
        DestroyWindow(owner_);
    }

    // Runs the dialog modally. Each stage runs on its own timer tick inside
    // the modal loop, so a stage after one that ended the dialog never runs;
    // the last must end it. A dialog still open after 10 s is ended with -2.
    INT_PTR Run(Dialog& dialog, std::vector<Stage> stages) {
        running_ = {&dialog, std::move(stages), 0};
        UINT_PTR tick = SetTimer(nullptr, 0, 10, &DialogScriptTest::Tick);
        UINT_PTR watchdog = SetTimer(nullptr, 0, 10000, &DialogScriptTest::Watchdog);
        INT_PTR result = dialog.RunModal(owner_);
        KillTimer(nullptr, tick);
        KillTimer(nullptr, watchdog);
        EXPECT_EQ(running_.next, running_.stages.size()) << "the dialog ended too early";
        running_ = {};
        return result;
    }
    INT_PTR Run(Dialog& dialog, Stage script) { return Run(dialog, std::vector<Stage>{std::move(script)}); }

    static void Press(HWND dialog, int button) { SendMessageW(GetDlgItem(dialog, button), BM_CLICK, 0, 0); }
    // Ending a modal dialog enables its owner again at once, before the
    // dialog disappears.
    static bool Ended(HWND dialog) { return IsWindowEnabled(GetWindow(dialog, GW_OWNER)) != FALSE; }
    // Sends what Windows sends when the window is moved to a monitor of dpi:
    // the new DPI and a rectangle of the same size in inches.
    static void ChangeDpi(HWND dialog, UINT dpi, UINT from) {
        RECT window{};
        GetWindowRect(dialog, &window);
        RECT suggested{window.left, window.top, window.left + MulDiv(window.right - window.left, dpi, from),
                       window.top + MulDiv(window.bottom - window.top, dpi, from)};
        SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    }

    HWND owner_ = nullptr;
    std::vector<MessageBoxRequest> shown_;
    std::wstring chosen_;

private:
    static inline DialogScriptRun running_;

    static void CALLBACK Tick(HWND, UINT, UINT_PTR timer, DWORD) {
        if (running_.next >= running_.stages.size()) {
            KillTimer(nullptr, timer);
            return;
        }
        running_.stages[running_.next++](running_.dialog->Handle());
    }
    static void CALLBACK Watchdog(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        ADD_FAILURE() << "the script left the dialog open";
        if (running_.dialog) EndDialog(running_.dialog->Handle(), -2);
    }
};

}  // namespace corvel::ui
