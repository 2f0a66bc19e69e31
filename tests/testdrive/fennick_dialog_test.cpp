// Fennick's dialog in this process: the icons it makes for its title bar are
// its own to free, on a change of DPI and at its end.
#include "testdrive/fennick_dialog.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "catalogue/unique_handle.h"
#include "tests/ui/dialog_script.h"

namespace corvel::testdrive {
namespace {

// Whether icon is still a live icon of this process.
bool IconAlive(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return false;
    UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
    return true;
}

std::vector<HICON> TitleBarIcons(HWND dialog) {
    return {reinterpret_cast<HICON>(SendMessageW(dialog, WM_GETICON, ICON_BIG, 0)),
            reinterpret_cast<HICON>(SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0))};
}

class FennickDialogTest : public ui::DialogScriptTest {};

TEST_F(FennickDialogTest, ItsIconsAreReplacedOnAChangeOfDpiAndDestroyedWithTheDialog) {
    // Wine counts no USER objects (it answers 0); Windows counts them all.
    const DWORD objectsBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    std::vector<HICON> replaced;
    std::vector<HICON> last;
    {
        CFennickDialog dialog;
        Run(dialog, [&](HWND window) {
            UINT dpi = 96;
            for (UINT next : {192u, 144u, 96u}) {
                const std::vector<HICON> shown = TitleBarIcons(window);
                for (HICON icon : shown) EXPECT_TRUE(IconAlive(icon)) << "at " << dpi << " DPI";
                replaced.insert(replaced.end(), shown.begin(), shown.end());
                ChangeDpi(window, next, dpi);
                dpi = next;
            }
            last = TitleBarIcons(window);
            Press(window, IDCANCEL);
        });
        ASSERT_EQ(replaced.size(), 6u);
        for (HICON icon : replaced) EXPECT_FALSE(IconAlive(icon)) << "a replaced icon was left behind";
        // The window is gone; the dialog object still owns what it showed.
        for (HICON icon : last) EXPECT_TRUE(IconAlive(icon));
    }
    for (HICON icon : last) EXPECT_FALSE(IconAlive(icon)) << "the last icons outlived the dialog";
    EXPECT_LE(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), objectsBefore);
}

}  // namespace
}  // namespace corvel::testdrive
