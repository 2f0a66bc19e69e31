// The window layer's entry points: an exception in a handler never unwinds
// into Windows, and becomes the failure the entry reports anyway.
#include <gtest/gtest.h>

#include <new>

#include "ui/main/resource.h"
#include "ui/window/dialog.h"
#include "ui/window/window.h"
#include "ui/window/window_subclass.h"

namespace corvel::ui {
namespace {

class ThrowingDialog : public Dialog {
public:
    explicit ThrowingDialog(bool inInit) : Dialog(IDD_CATEGORY), inInit_(inInit) {}
    int thrown = 0;

protected:
    bool OnInit() override {
        if (inInit_) throw std::bad_alloc();
        PostMessageW(hwnd_, WM_COMMAND, kThrowingCommand, 0);
        PostMessageW(hwnd_, WM_COMMAND, IDOK, 0);
        return true;
    }
    bool OnCommand(int id, int notifyCode, HWND control) override {
        if (id == kThrowingCommand) {
            ++thrown;
            throw std::bad_alloc();
        }
        return Dialog::OnCommand(id, notifyCode, control);
    }

private:
    static constexpr int kThrowingCommand = 0x7F00;
    bool inInit_;
};

TEST(WindowLayer, ADialogWhoseSetUpThrowsEndsAsOneNeverMade) {
    ThrowingDialog dialog(true);
    EXPECT_EQ(dialog.RunModal(nullptr), -1);
}

TEST(WindowLayer, ADialogGoesOnAfterAHandlerThrew) {
    ThrowingDialog dialog(false);
    EXPECT_EQ(dialog.RunModal(nullptr), IDOK);
    EXPECT_EQ(dialog.thrown, 1);
}

class ThrowingWindow : public MessageWindow {
public:
    bool throwOnCreate = false;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if ((message == WM_CREATE && throwOnCreate) || message == WM_APP) throw std::bad_alloc();
        return Default(message, wParam, lParam);
    }
};

TEST(WindowLayer, AWindowWhoseCreationThrowsIsNotMadeAndOneWhoseHandlerThrowsLives) {
    ThrowingWindow failing;
    failing.throwOnCreate = true;
    EXPECT_FALSE(failing.Create({.className = L"CorvelThrowingWindow"}));

    ThrowingWindow window;
    ASSERT_TRUE(window.Create({.className = L"CorvelThrowingWindow"}));
    EXPECT_EQ(window.Send(WM_APP), 0);
    EXPECT_TRUE(IsWindow(window.Handle()));
}

// The subclass's handler sees the window's messages and passes them on; once
// the subclass object is gone, or the window, nothing reaches a handler.
TEST(WindowLayer, ASubclassRoutesMessagesUntilItOrItsWindowGoes) {
    HWND window = CreateWindowExW(0, L"STATIC", L"before", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    int seen = 0;
    {
        WindowSubclass subclass;
        ASSERT_TRUE(subclass.Attach(window, [&](UINT message, WPARAM wParam, LPARAM lParam) {
            if (message == WM_APP) ++seen;
            return subclass.Default(message, wParam, lParam);
        }));
        EXPECT_EQ(subclass.Handle(), window);
        SendMessageW(window, WM_APP, 0, 0);
        SetWindowTextW(window, L"through");
        EXPECT_EQ(Window(window).Text(), L"through");
    }
    SendMessageW(window, WM_APP, 0, 0);
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(Window(window).Text(), L"through");

    WindowSubclass subclass;
    ASSERT_TRUE(subclass.Attach(
        window, [&](UINT message, WPARAM wParam, LPARAM lParam) { return subclass.Default(message, wParam, lParam); }));
    DestroyWindow(window);
    EXPECT_EQ(subclass.Handle(), nullptr);
}

}  // namespace
}  // namespace corvel::ui
