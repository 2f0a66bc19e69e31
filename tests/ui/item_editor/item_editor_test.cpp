// The real item editor in this process: a script fills the fields and
// presses the buttons inside its modal loop.
#include "ui/item_editor/item_editor_dialog.h"

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

using corvel::testing::kUnstorableTexts;
using corvel::testing::UnstorableMessage;

const std::wstring kAddCaption = L"添加安装项目";
const std::wstring kEditCaption = L"编辑安装项目";

class ItemEditorTest : public DialogScriptTest {
protected:
    static void Type(HWND dialog, int field, const std::wstring& text) { SetDlgItemTextW(dialog, field, text.c_str()); }
    static std::wstring TextOf(HWND dialog, int field) { return Window(GetDlgItem(dialog, field)).Text(); }
    static std::pair<int, int> Selection(HWND edit) {
        DWORD start = 0, end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {static_cast<int>(start), static_cast<int>(end)};
    }
};

constexpr int kFieldIds[] = {IDC_ITEM_NAME,    IDC_ITEM_COMMENT, IDC_ITEM_SRCPATH, IDC_ITEM_DSTDIR,
                             IDC_ITEM_REGCODE, IDC_ITEM_PATCH,   IDC_ITEM_SETTINGS};

ItemFields FilledRecord() {
    ItemFields record;
    record.Name = Cp936FromWide(L"WinRAR 压缩软件");
    record.SrcPath = "\"Soft\\My Setup.exe\" /S";
    record.DstDir = "C:\\Program Files\\WinRAR";
    record.Patch = Cp936FromWide(L"Soft\\汉化.exe");
    record.Regcode = Cp936FromWide(L"用户名||公司名\r\n1234-5678");
    record.Settings = "Soft\\rar.reg";
    record.Comment = Cp936FromWide(L"压缩和解压缩");
    return record;
}

std::vector<std::string> Fields(const ItemFields& r) {
    return {r.Name, r.SrcPath, r.DstDir, r.Patch, r.Regcode, r.Settings, r.Comment};
}

TEST_F(ItemEditorTest, EditModeShowsTheRecordAndOkGivesItBackUnchanged) {
    ItemFields record = FilledRecord();
    CItemEditorDialog editor(record, ItemEditorMode::Edit);
    INT_PTR result = Run(editor, [&](HWND dialog) {
        EXPECT_EQ(Window(dialog).Text(), kEditCaption);
        EXPECT_EQ(TextOf(dialog, IDC_ITEM_NAME), L"WinRAR 压缩软件");
        EXPECT_EQ(TextOf(dialog, IDC_ITEM_COMMENT), L"压缩和解压缩");
        EXPECT_EQ(TextOf(dialog, IDC_ITEM_SRCPATH), L"\"Soft\\My Setup.exe\" /S");
        EXPECT_EQ(TextOf(dialog, IDC_ITEM_DSTDIR), L"C:\\Program Files\\WinRAR");
        EXPECT_EQ(TextOf(dialog, IDC_ITEM_REGCODE), L"用户名||公司名\r\n1234-5678");
        EXPECT_EQ(TextOf(dialog, IDC_ITEM_PATCH), L"Soft\\汉化.exe");
        EXPECT_EQ(TextOf(dialog, IDC_ITEM_SETTINGS), L"Soft\\rar.reg");
        HWND name = GetDlgItem(dialog, IDC_ITEM_NAME);
        EXPECT_EQ(GetFocus(), name);
        EXPECT_EQ(Selection(name), std::make_pair(0, 11));
        Press(dialog, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(shown_.empty());
    EXPECT_EQ(Fields(record), Fields(FilledRecord()));
}

TEST_F(ItemEditorTest, EnterBreaksTheLineInTheCodeOnly) {
    ItemFields record;
    CItemEditorDialog editor(record, ItemEditorMode::Add);
    Run(editor, [&](HWND dialog) {
        for (int id : kFieldIds) {
            LONG style = GetWindowLongW(GetDlgItem(dialog, id), GWL_STYLE);
            EXPECT_EQ((style & ES_MULTILINE) != 0, id == IDC_ITEM_REGCODE) << id;
            EXPECT_TRUE(style & (id == IDC_ITEM_REGCODE ? WS_VSCROLL : ES_AUTOHSCROLL)) << id;
        }
        // Through the dialog manager, as in the modal loop: without
        // ES_WANTRETURN the key would press OK.
        HWND regcode = GetDlgItem(dialog, IDC_ITEM_REGCODE);
        Type(dialog, IDC_ITEM_REGCODE, L"ab");
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(regcode), TRUE);
        SendMessageW(regcode, EM_SETSEL, 2, 2);
        MSG enter = {regcode, WM_KEYDOWN, VK_RETURN, 0x001C0001, 0, {}};
        IsDialogMessageW(dialog, &enter);
        MSG pending;
        while (PeekMessageW(&pending, regcode, WM_CHAR, WM_CHAR, PM_REMOVE)) IsDialogMessageW(dialog, &pending);
        EXPECT_EQ(TextOf(dialog, IDC_ITEM_REGCODE), L"ab\r\n");
        EXPECT_TRUE(shown_.empty());
        Press(dialog, IDCANCEL);
    });
}

TEST_F(ItemEditorTest, AddModeRefusesFaultsThenWritesTheTrimmedRecord) {
    ItemFields record;
    CItemEditorDialog editor(record, ItemEditorMode::Add);
    HWND shownBy = nullptr;
    auto bothEmpty = [&](HWND dialog) {
        shownBy = dialog;
        EXPECT_EQ(Window(dialog).Text(), kAddCaption);
        for (int id : kFieldIds) EXPECT_EQ(TextOf(dialog, id), L"") << id;
        Press(dialog, IDOK);  // only the name is told
    };
    auto onlySwitch = [&](HWND dialog) {
        Type(dialog, IDC_ITEM_NAME, L"  abc");
        Type(dialog, IDC_ITEM_SRCPATH, L"/S");
        Press(dialog, IDOK);
    };
    auto good = [&](HWND dialog) {
        EXPECT_EQ(TextOf(dialog, IDC_ITEM_NAME), L"  abc");  // not trimmed on screen
        Type(dialog, IDC_ITEM_SRCPATH, L" \"Soft\\My Setup.exe\" /S");
        Type(dialog, IDC_ITEM_DSTDIR, L"\tC:\\Program Files\\App ");
        Type(dialog, IDC_ITEM_REGCODE, L" 用户名||公司\r\n1234");
        Type(dialog, IDC_ITEM_COMMENT, L" 说明 ");
        Press(dialog, IDOK);
    };
    INT_PTR result = Run(editor, {bothEmpty, onlySwitch, good});
    EXPECT_EQ(result, IDOK);
    ASSERT_EQ(shown_.size(), 2u);
    EXPECT_EQ(shown_[0].text, L"图标显示的名称不能为空");
    EXPECT_EQ(shown_[0].flags, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
    EXPECT_EQ(shown_[1].text, L"软件安装程序的路径无效");
    EXPECT_EQ(shown_[1].flags, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    for (const MessageBoxRequest& box : shown_) {
        EXPECT_EQ(box.caption, kAddCaption);
        EXPECT_EQ(box.owner, shownBy);
    }
    ItemFields expected;
    expected.Name = "abc";
    expected.SrcPath = "\"Soft\\My Setup.exe\" /S";
    expected.DstDir = "C:\\Program Files\\App ";
    expected.Regcode = Cp936FromWide(L" 用户名||公司\r\n1234");
    expected.Comment = Cp936FromWide(L" 说明 ");
    EXPECT_EQ(Fields(record), Fields(expected));
}

TEST_F(ItemEditorTest, EditModeCaptionsItsMessagesAndCancelEnds) {
    ItemFields record = FilledRecord();
    CItemEditorDialog editor(record, ItemEditorMode::Edit);
    auto storedLineBreak = [&](HWND dialog) {
        Type(dialog, IDC_ITEM_REGCODE, L"12\x03\x03zz");
        Press(dialog, IDOK);
    };
    auto cancel = [&](HWND dialog) { Press(dialog, IDCANCEL); };
    INT_PTR result = Run(editor, {storedLineBreak, cancel});
    EXPECT_EQ(result, IDCANCEL);
    ASSERT_EQ(shown_.size(), 1u);
    ExpectMessage(shown_[0], L"注册码中不能含有软件的保留字符", kEditCaption, MB_OK | MB_ICONSTOP);
}

// Each field with the name its label gives it in the messages.
struct LabelledField {
    int id;
    const wchar_t* label;
};
constexpr LabelledField kLabelledFields[] = {
    {IDC_ITEM_NAME, L"图标显示的名称"},        {IDC_ITEM_COMMENT, L"软件的简要说明"},
    {IDC_ITEM_SRCPATH, L"软件安装程序的路径"}, {IDC_ITEM_DSTDIR, L"将软件安装到以下目录"},
    {IDC_ITEM_REGCODE, L"软件的注册码"},       {IDC_ITEM_PATCH, L"软件补钉 / 汉化程序"},
    {IDC_ITEM_SETTINGS, L"软件设置文件"},
};

TEST_F(ItemEditorTest, TextCodePage936CannotHoldIsRefusedInEveryFieldAndNothingIsStored) {
    ItemFields record = FilledRecord();
    CItemEditorDialog editor(record, ItemEditorMode::Edit);
    std::vector<Stage> stages;
    std::size_t expectedShown = 0;
    for (std::size_t i = 0; i < std::size(kLabelledFields); ++i) {
        const LabelledField& field = kLabelledFields[i];
        // The texts go round, so that each kind meets several fields.
        std::wstring bad = kUnstorableTexts[i % std::size(kUnstorableTexts)];
        stages.push_back([&, field, bad](HWND dialog) {
            std::wstring before = TextOf(dialog, field.id);
            Type(dialog, field.id, bad);
            Press(dialog, IDOK);
            SCOPED_TRACE(Cp936FromWide(field.label));
            EXPECT_FALSE(Ended(dialog));
            ASSERT_EQ(shown_.size(), ++expectedShown);
            const MessageBoxRequest& box = shown_.back();
            ExpectMessage(box, UnstorableMessage(field.label), kEditCaption, MB_OK | MB_ICONSTOP);
            EXPECT_EQ(box.owner, dialog);
            EXPECT_EQ(TextOf(dialog, field.id), bad);
            EXPECT_EQ(GetFocus(), GetDlgItem(dialog, field.id));
            Type(dialog, field.id, before);
        });
    }
    stages.push_back([](HWND dialog) { Press(dialog, IDCANCEL); });
    EXPECT_EQ(Run(editor, stages), IDCANCEL);
    EXPECT_EQ(shown_.size(), std::size(kLabelledFields));
    EXPECT_EQ(Fields(record), Fields(FilledRecord()));
}

TEST_F(ItemEditorTest, AChosenPathCodePage936CannotHoldIsToldAndTheFieldKeepsItsText) {
    ItemFields record = FilledRecord();
    CItemEditorDialog editor(record, ItemEditorMode::Edit);
    Run(editor, [&](HWND dialog) {
        chosen_ = L"C:\\\xD55C\\setup.exe";
        Press(dialog, IDC_BROWSE_SRCPATH);
        chosen_ = L"D:\\Caf\xE9\xD83D\xDE00";
        Press(dialog, IDC_BROWSE_DSTDIR);
        EXPECT_EQ(TextOf(dialog, IDC_ITEM_SRCPATH), L"\"Soft\\My Setup.exe\" /S");
        EXPECT_EQ(TextOf(dialog, IDC_ITEM_DSTDIR), L"C:\\Program Files\\WinRAR");

        // What the code page holds is taken, quoted when it has a blank.
        chosen_ = L"C:\\办公\\新 版.exe";
        Press(dialog, IDC_BROWSE_PATCH);
        EXPECT_EQ(TextOf(dialog, IDC_ITEM_PATCH), L"\"C:\\办公\\新 版.exe\"");
        Press(dialog, IDCANCEL);
    });
    ASSERT_EQ(shown_.size(), 2u);
    EXPECT_EQ(shown_[0].text, UnstorableMessage(L"软件安装程序的路径"));
    EXPECT_EQ(shown_[1].text, UnstorableMessage(L"将软件安装到以下目录"));
    for (const MessageBoxRequest& box : shown_) {
        EXPECT_EQ(box.caption, kEditCaption);
        EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK | MB_ICONSTOP));
    }
    EXPECT_EQ(Fields(record), Fields(FilledRecord()));
}

TEST_F(ItemEditorTest, SeparatorButtonExplainsOnEmptyCodeAndAppendsOtherwise) {
    ItemFields record;
    CItemEditorDialog editor(record, ItemEditorMode::Add);
    Run(editor, [&](HWND dialog) {
        Press(dialog, IDC_INSERT_SEPARATOR);
        ASSERT_EQ(shown_.size(), 1u);
        EXPECT_EQ(shown_[0].text,
                  L"对于分段的注册码，此按钮的作用是在注册码最后插入2个“|”符号，软件将以此来分隔每段的注册码。"
                  L"\t\t\t\n\n不是分段的注册码请不要使用此按钮。");
        EXPECT_EQ(shown_[0].caption, L"插入注册码分段符号");
        EXPECT_EQ(shown_[0].flags, static_cast<UINT>(MB_OK));
        EXPECT_EQ(TextOf(dialog, IDC_ITEM_REGCODE), L"");

        // At the end of the whole text, wherever the caret was.
        HWND regcode = GetDlgItem(dialog, IDC_ITEM_REGCODE);
        Type(dialog, IDC_ITEM_REGCODE, L"用户\r\n1234");
        SendMessageW(regcode, EM_SETSEL, 0, 0);
        SetFocus(GetDlgItem(dialog, IDC_ITEM_NAME));
        Press(dialog, IDC_INSERT_SEPARATOR);
        EXPECT_EQ(TextOf(dialog, IDC_ITEM_REGCODE), L"用户\r\n1234||");
        EXPECT_EQ(GetFocus(), regcode);
        EXPECT_EQ(Selection(regcode), std::make_pair(10, 10));
        EXPECT_EQ(shown_.size(), 1u);
        Press(dialog, IDCANCEL);
    });
}

TEST_F(ItemEditorTest, HelpButtonsShowTheirTextsWithoutIcon) {
    struct Help {
        int button;
        std::wstring caption;
        std::vector<std::wstring> parts;  // the first opens the text
    };
    const Help helps[] = {
        {IDC_HELP_SRCPATH,
         L"软件安装程序的说明",
         {L"1、定位软件安装程序的路径；如果要在光盘上使用，则需要使用相对路径来指定安装程序的位置。",
          L"“D:\\temp\\Soft\\xxx.exe”", L"“D:\\Soft\\xxx.exe”", L"“/”或“-”", L"\"Soft\\My Setup.exe\" /S"}},
        {IDC_HELP_DSTDIR,
         L"软件安装目录的说明",
         {L"1、指定准备将软件安装（/"
          L"解压缩）到那一个目录下；推荐填写入一个绝对路径的目录，并且该目录不一定是在硬盘中现存的。"}},
        {IDC_HELP_REGCODE,
         L"软件注册码的说明",
         {L"一：填写注册码", L"二：输入注册码", L"用户名||公司名||注册码", L"Ctrl+R"}},
        {IDC_HELP_PATCH,
         L"软件补钉程序的说明",
         {L"1、如果软件有补钉程序，则在这里填写补钉程序的路径。同样地，如果要在光盘上使用，则需要使用相对路径来指定补钉"
          L"程序的位置。"}},
        {IDC_HELP_SETTINGS,
         L"软件设置文件的说明",
         {L"一、用途和原理", L"二、获取设置文件", L"三、填写设置文件", L"四、恢复软件设置", L"regedit.exe"}},
    };
    ItemFields record;
    CItemEditorDialog editor(record, ItemEditorMode::Edit);
    HWND shownBy = nullptr;
    Run(editor, [&](HWND dialog) {
        shownBy = dialog;
        for (const Help& help : helps) Press(dialog, help.button);
        Press(dialog, IDCANCEL);
    });
    ASSERT_EQ(shown_.size(), std::size(helps));
    for (std::size_t i = 0; i < shown_.size(); ++i) {
        const MessageBoxRequest& box = shown_[i];
        EXPECT_EQ(box.caption, helps[i].caption);
        EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK)) << i;
        EXPECT_EQ(box.owner, shownBy);
        EXPECT_GT(box.text.size(), 150u) << i;
        EXPECT_EQ(box.text.rfind(helps[i].parts[0], 0), 0u) << i;
        for (const std::wstring& part : helps[i].parts) EXPECT_NE(box.text.find(part), std::wstring::npos) << i;
        EXPECT_NE(box.text.find(L"\t\n\n"), std::wstring::npos) << i;  // points set apart
    }
    EXPECT_EQ(shown_[3].text.back(), L'，');  // the patch help ends so
}

TEST_F(ItemEditorTest, EveryFieldIsReachedByItsLabelsMnemonic) {
    using namespace corvel::testing;
    ItemFields record = FilledRecord();
    CItemEditorDialog editor(record, ItemEditorMode::Edit);
    const std::pair<wchar_t, int> mnemonics[] = {
        {L'N', IDC_ITEM_NAME},    {L'D', IDC_ITEM_COMMENT}, {L'I', IDC_ITEM_SRCPATH},  {L'T', IDC_ITEM_DSTDIR},
        {L'R', IDC_ITEM_REGCODE}, {L'P', IDC_ITEM_PATCH},   {L'S', IDC_ITEM_SETTINGS},
    };
    INT_PTR result = Run(editor, [&](HWND dialog) {
        ExpectKeyboardUsable(dialog);
        ExpectTextsFit(dialog);
        for (const auto& [letter, field] : mnemonics) {
            PressMnemonic(dialog, letter);
            EXPECT_EQ(GetFocus(), GetDlgItem(dialog, field)) << static_cast<char>(letter);
        }
        // Enter in the registration code breaks the line; elsewhere it is OK.
        PressMnemonic(dialog, L'N');
        PressKey(dialog, VK_RETURN);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(Fields(record), Fields(FilledRecord()));
}

}  // namespace
}  // namespace corvel::ui
