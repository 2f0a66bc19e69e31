// The real category name dialog in this process: a script types and
// presses buttons inside its modal loop, as a user would.
#include "ui/category_dialog/category_dialog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "catalogue/win32_text.h"
#include "tests/support/unstorable_text.h"
#include "tests/ui/dialog_script.h"
#include "tests/ui/keyboard_check.h"
#include "tests/ui/shown_message.h"
#include "ui/main/resource.h"
#include "ui/window/message_box.h"

namespace corvel::ui {
namespace {

using corvel::testing::ExpectKeyboardUsable;
using corvel::testing::ExpectTextsFit;
using corvel::testing::kUnstorableTexts;
using corvel::testing::PressKey;
using corvel::testing::PressMnemonic;
using corvel::testing::UnstorableMessage;

const std::wstring kNewCaption = L"新建分类";
const std::wstring kEditCaption = L"编辑分类";

class CategoryDialogTest : public DialogScriptTest {
protected:
    static HWND Edit(HWND dialog) { return GetDlgItem(dialog, IDC_CATEGORY_NAME); }
    static void Type(HWND dialog, const std::wstring& text) { SetWindowTextW(Edit(dialog), text.c_str()); }
    static std::wstring TextOf(HWND window) { return Window(window).Text(); }
};

TEST_F(CategoryDialogTest, NewCategoryStartsEmptyAndCancelLeavesTheName) {
    std::string name;
    CCategoryDialog dialog(name, true);
    EXPECT_TRUE(dialog.IsNewCategory());
    INT_PTR result = Run(dialog, [](HWND window) {
        EXPECT_EQ(TextOf(window), kNewCaption);
        EXPECT_EQ(TextOf(Edit(window)), L"");
        Type(window, L"Tools");
        Press(window, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(name, "");
    EXPECT_TRUE(shown_.empty());
}

TEST_F(CategoryDialogTest, EditShowsTheNameSelectedAndFocused) {
    std::string name = Cp936FromWide(L"常用 工具");
    CCategoryDialog dialog(name, false);
    INT_PTR result = Run(dialog, [](HWND window) {
        EXPECT_EQ(TextOf(window), kEditCaption);
        EXPECT_EQ(TextOf(Edit(window)), L"常用 工具");
        DWORD start = 0, end = 0;
        SendMessageW(Edit(window), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u);
        EXPECT_EQ(end, 5u);
        EXPECT_EQ(GetFocus(), Edit(window));
        Press(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(name, Cp936FromWide(L"常用 工具"));
}

TEST_F(CategoryDialogTest, OkWritesTheNameWithoutItsLeadingWhiteSpace) {
    std::string name = "old";
    CCategoryDialog dialog(name, false);
    EXPECT_EQ(Run(dialog,
                  [](HWND window) {
                      Type(window, L" \t新 分类  ");
                      Press(window, IDOK);
                  }),
              IDOK);
    EXPECT_EQ(name, Cp936FromWide(L"新 分类  "));
    EXPECT_TRUE(shown_.empty());

    // 64 Chinese characters are 128 bytes: the longest name there is.
    std::wstring longest(64, L'中');
    CCategoryDialog again(name, true);
    EXPECT_EQ(Run(again,
                  [&](HWND window) {
                      Type(window, longest);
                      Press(window, IDOK);
                  }),
              IDOK);
    EXPECT_EQ(name, Cp936FromWide(longest));
    EXPECT_TRUE(shown_.empty());
}

TEST_F(CategoryDialogTest, EachRefusalShowsItsMessageAndKeepsTheDialogOpen) {
    struct Case {
        bool newCategory;
        std::wstring typed;
        std::wstring message;
        UINT icon;
    };
    const Case cases[] = {
        {true, L" \t ", L"分类名不能为空", MB_ICONEXCLAMATION},
        {false, L"", L"分类名不能为空", MB_ICONEXCLAMATION},
        {false, std::wstring(64, L'中') + L"a", L"分类名的长度不能大于128个字符", MB_ICONSTOP},
        {true, L"a\\\\b", L"分类名中不能含有连续的两个反斜杠“\\\\”", MB_ICONSTOP},
    };
    for (const Case& c : cases) {
        shown_.clear();
        std::string name = "kept";
        CCategoryDialog dialog(name, c.newCategory);
        bool openAfterRefusal = false;
        INT_PTR result = Run(dialog, [&](HWND window) {
            Type(window, c.typed);
            Press(window, IDOK);
            openAfterRefusal = !Ended(window);
            Press(window, IDCANCEL);
        });
        SCOPED_TRACE(Cp936FromWide(c.message));
        EXPECT_TRUE(openAfterRefusal);
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_EQ(name, "kept");
        ASSERT_EQ(shown_.size(), 1u);
        ExpectMessage(shown_[0], c.message, c.newCategory ? kNewCaption : kEditCaption, MB_OK | c.icon);
        EXPECT_NE(shown_[0].owner, nullptr);
        EXPECT_NE(shown_[0].owner, owner_);
    }
}

TEST_F(CategoryDialogTest, ANameCodePage936CannotHoldIsRefusedAndTheDialogStaysOpen) {
    for (const wchar_t* bad : kUnstorableTexts) {
        shown_.clear();
        std::string name = "kept";
        CCategoryDialog dialog(name, false);
        bool openAfterRefusal = false;
        std::wstring left;
        INT_PTR result = Run(dialog, [&](HWND window) {
            Type(window, bad);
            Press(window, IDOK);
            openAfterRefusal = !Ended(window);
            left = TextOf(Edit(window));
            Press(window, IDCANCEL);
        });
        EXPECT_TRUE(openAfterRefusal);
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_EQ(left, bad);
        EXPECT_EQ(name, "kept");
        ASSERT_EQ(shown_.size(), 1u);
        ExpectMessage(shown_[0], UnstorableMessage(L"分类名称"), kEditCaption, MB_OK | MB_ICONSTOP);
    }
}

TEST_F(CategoryDialogTest, ACorrectedNameIsTakenAfterARefusal) {
    std::string name;
    CCategoryDialog dialog(name, true);
    INT_PTR result = Run(dialog, [](HWND window) {
        Type(window, L"a\\\\b");
        Press(window, IDOK);
        Type(window, L"a\\b");
        Press(window, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(name, "a\\b");
    EXPECT_EQ(shown_.size(), 1u);
}

TEST_F(CategoryDialogTest, TheKeyboardReachesTheNameAndEnterAndEscAnswer) {
    std::string name = "old";
    CCategoryDialog dialog(name, false);
    INT_PTR result = Run(dialog, [](HWND window) {
        ExpectKeyboardUsable(window);
        ExpectTextsFit(window);
        SetFocus(GetDlgItem(window, IDCANCEL));
        PressMnemonic(window, L'N');
        EXPECT_EQ(GetFocus(), Edit(window));
        Type(window, L"Keys");
        PressKey(window, VK_RETURN);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(name, "Keys");

    CCategoryDialog again(name, false);
    EXPECT_EQ(Run(again, [](HWND window) { PressKey(window, VK_ESCAPE); }), IDCANCEL);
    EXPECT_EQ(name, "Keys");
}

}  // namespace
}  // namespace corvel::ui
