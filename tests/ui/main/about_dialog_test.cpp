// The about box shows the version this program file carries.
#include "ui/main/about_dialog.h"

#include "corvel_version.h"
#include "tests/ui/dialog_script.h"
#include "tests/ui/keyboard_check.h"

namespace corvel::ui {
namespace {

class AboutDialogTest : public DialogScriptTest {};

TEST_F(AboutDialogTest, ShowsTheVersionFromTheProgramsOwnResource) {
    const std::wstring expected = L"\u7248\u672c " + std::wstring(CORVEL_VERSION_TEXT_WIDE);
    AboutDialog about;
    std::wstring shown;
    Run(about, [&](HWND dialog) {
        wchar_t text[64] = {};
        GetDlgItemTextW(dialog, IDC_ABOUT_VERSION, text, 64);
        shown = text;
        Press(dialog, IDOK);
    });
    EXPECT_EQ(shown, expected);
}

// Its one button is Enter; Esc closes it too, with no button of its own.
TEST_F(AboutDialogTest, EnterAndEscCloseIt) {
    using namespace corvel::testing;
    AboutDialog about;
    EXPECT_EQ(Run(about,
                  [](HWND dialog) {
                      ExpectKeyboardUsable(dialog, {.unlabelled = {}, .escapeWithoutCancelButton = true});
                      ExpectTextsFit(dialog);
                      PressKey(dialog, VK_RETURN);
                  }),
              IDOK);
    AboutDialog again;
    EXPECT_EQ(Run(again, [](HWND dialog) { PressKey(dialog, VK_ESCAPE); }), IDCANCEL);
}

}  // namespace
}  // namespace corvel::ui
