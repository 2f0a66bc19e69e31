// The clipboard as another program sees it after PutTextOnClipboard.
#include "engine/clipboard_win32.h"
#include "tests/support/clipboard_text.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>

namespace {

using corvel::PutTextOnClipboard;

std::optional<std::string> ReadText() {
    return corvel::testing::ClipboardBytes();
}
std::optional<std::wstring> ReadUnicode() {
    return corvel::testing::ClipboardUnicode();
}

bool HoldsAnyText() {
    return IsClipboardFormatAvailable(CF_TEXT) || IsClipboardFormatAvailable(CF_UNICODETEXT);
}

TEST(PutTextOnClipboard, ChineseTextInBothFormats) {
    // 张三||注册码 in code page 936.
    const std::string gbk = "\xD5\xC5\xC8\xFD||\xD7\xA2\xB2\xE1\xC2\xEB";
    ASSERT_TRUE(PutTextOnClipboard(gbk));
    EXPECT_EQ(ReadText(), gbk);
    EXPECT_EQ(ReadUnicode(), L"张三||注册码");
}

TEST(PutTextOnClipboard, LineBreaksAreKept) {
    ASSERT_TRUE(PutTextOnClipboard("user\r\nAB12-CD34\r\n"));
    EXPECT_EQ(ReadText(), "user\r\nAB12-CD34\r\n");
    EXPECT_EQ(ReadUnicode(), L"user\r\nAB12-CD34\r\n");
}

TEST(PutTextOnClipboard, EmptyTextEmptiesTheClipboard) {
    ASSERT_TRUE(PutTextOnClipboard("previous"));
    ASSERT_TRUE(HoldsAnyText());
    EXPECT_TRUE(PutTextOnClipboard(""));
    EXPECT_FALSE(HoldsAnyText());
    EXPECT_EQ(ReadText(), std::nullopt);
}

// Another thread holds the clipboard open, as another program might. It
// opens it for a window: two openings without a window do not exclude each
// other under Wine.
class Holder {
public:
    explicit Holder(DWORD milliseconds) {
        thread_ = std::thread([this, milliseconds] {
            HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
            opened_ = window && OpenClipboard(window);
            ready_ = true;
            Sleep(milliseconds);
            if (opened_) CloseClipboard();
            if (window) DestroyWindow(window);
        });
        while (!ready_) Sleep(1);
    }
    ~Holder() { thread_.join(); }
    bool Opened() const { return opened_; }

private:
    std::atomic<bool> opened_{false};
    std::atomic<bool> ready_{false};
    std::thread thread_;
};

TEST(PutTextOnClipboard, WaitsBrieflyForAnotherHolder) {
    Holder holder(30);
    ASSERT_TRUE(holder.Opened());
    EXPECT_TRUE(PutTextOnClipboard("after the wait"));
    EXPECT_EQ(ReadText(), "after the wait");
}

TEST(PutTextOnClipboard, GivesUpWhenTheClipboardStaysBusy) {
    ASSERT_TRUE(PutTextOnClipboard("before"));
    {
        Holder holder(500);
        ASSERT_TRUE(holder.Opened());
        EXPECT_FALSE(PutTextOnClipboard("never placed"));
    }
    // Nothing was left open by the failed attempt, and the old text stands.
    EXPECT_EQ(ReadText(), "before");
}

}  // namespace
