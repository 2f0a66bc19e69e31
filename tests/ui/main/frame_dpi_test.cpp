// The frame at another display scale: what it draws itself follows the DPI
// of its monitor, and a move to a monitor of another scale remakes images
// and fonts without leaking the old ones.
#include "tests/ui/frame_test.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ui/main/main_frame.h"
#include "ui/main/resource.h"
#include "ui/window/dpi.h"

namespace corvel::ui {
namespace {

const std::string kFilledCatalogue =
    "[Tools]\r\n<Name=Pad\x02SrcPath=C:\\windows\\notepad.exe\x02>\r\n"
    "<Name=Reg\x02SrcPath=C:\\windows\\regedit.exe\x02>\r\n[Games]\r\n";

int FontHeight(HWND control) {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return std::abs(font.lfHeight);
}

int ListIconSize(HWND list) {
    int width = 0, height = 0;
    ImageList_GetIconSize(ListView_GetImageList(list, LVSIL_NORMAL), &width, &height);
    return width;
}

int GdiObjects() {
    return static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
}

// The bitmaps an image list draws from: GDI objects that go with the list.
void AddBitmapsOf(HIMAGELIST list, std::vector<HGDIOBJ>& objects) {
    IMAGEINFO info{};
    ASSERT_TRUE(list && ImageList_GetImageInfo(list, 0, &info));
    objects.push_back(info.hbmImage);
    if (info.hbmMask) objects.push_back(info.hbmMask);
}

// Every GDI object the frame made for its present DPI.
std::vector<HGDIOBJ> ObjectsMadeForTheScale(CMainFrame& frame) {
    std::vector<HGDIOBJ> objects;
    HWND toolbar = frame.Toolbar().Handle();
    HWND list = frame.View().Handle();
    objects.push_back(reinterpret_cast<HGDIOBJ>(SendMessageW(frame.View().Controls().Tabs(), WM_GETFONT, 0, 0)));
    objects.push_back(reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
    AddBitmapsOf(reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETIMAGELIST, 0, 0)), objects);
    AddBitmapsOf(reinterpret_cast<HIMAGELIST>(SendMessageW(toolbar, TB_GETDISABLEDIMAGELIST, 0, 0)), objects);
    AddBitmapsOf(ListView_GetImageList(list, LVSIL_NORMAL), objects);
    return objects;
}

class FrameDpiTest : public FrameTest {
protected:
    // What a move to a monitor of dpi tells the frame, with the rectangle
    // the system suggests.
    void MoveToScale(UINT dpi, RECT suggested) {
        SendMessageW(frame_->Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
        while (frame_->OnIdle()) {
        }
    }
    RECT Suggested(int width, int height) { return {10, 10, 10 + width, 10 + height}; }
};

// The manifest this program shares with Corvel.exe: Windows leaves the
// drawing to it rather than stretching a 96 DPI bitmap.
TEST_F(FrameDpiTest, TheFrameIsPerMonitorDpiAware) {
    Start();
    EXPECT_EQ(GetAwarenessFromDpiAwarenessContext(GetWindowDpiAwarenessContext(frame_->Handle())),
              DPI_AWARENESS_PER_MONITOR_AWARE);
}

TEST_F(FrameDpiTest, TheStatusBarIsReadyAtStartAlsoWithCategories) {
    WriteCatalogue(kFilledCatalogue);
    Start();
    EXPECT_EQ(frame_->StatusText(), L"准备就绪");
}

TEST_F(FrameDpiTest, AMoveToDoubleScaleDoublesWhatTheFrameDrawsAndComesBackWhole) {
    WriteCatalogue(kFilledCatalogue);
    Start();
    while (frame_->OnIdle()) {
    }
    const UINT dpi = WindowDpi(frame_->Handle());
    HWND toolbar = frame_->Toolbar().Handle();
    HWND tabs = frame_->View().Controls().Tabs();
    HWND list = frame_->View().Handle();
    HWND status = GetDlgItem(frame_->Handle(), IDC_STATUS_BAR);
    const int image = frame_->Toolbar().ImageSize();
    const int button = HIWORD(SendMessageW(toolbar, TB_GETBUTTONSIZE, 0, 0));
    const int tabFont = FontHeight(tabs);
    const int icon = ListIconSize(list);
    EXPECT_EQ(image, DrawnSizeForDpi({32, 40, 48, 64}, 32, static_cast<int>(dpi)));

    MoveToScale(2 * dpi, Suggested(1000, 700));
    EXPECT_EQ(frame_->Toolbar().ImageSize(), DrawnSizeForDpi({32, 40, 48, 64}, 32, static_cast<int>(2 * dpi)));
    EXPECT_GE(HIWORD(SendMessageW(toolbar, TB_GETBUTTONSIZE, 0, 0)), button + frame_->Toolbar().ImageSize() - image);
    EXPECT_NEAR(FontHeight(tabs), 2 * tabFont, 1);
    EXPECT_NEAR(FontHeight(status), 2 * tabFont, 1);
    EXPECT_EQ(ListIconSize(list), 2 * icon);
    EXPECT_EQ(ListView_GetItemCount(list), 2);
    RECT window;
    GetWindowRect(frame_->Handle(), &window);
    EXPECT_EQ(window.right - window.left, 1000);
    EXPECT_EQ(window.bottom - window.top, 700);
    // The view fills what the bars leave, below the toolbar and the band.
    RECT toolbarRect, listRect;
    GetWindowRect(toolbar, &toolbarRect);
    GetWindowRect(list, &listRect);
    EXPECT_GE(listRect.top, toolbarRect.bottom);

    MoveToScale(dpi, Suggested(800, 600));
    EXPECT_EQ(frame_->Toolbar().ImageSize(), image);
    EXPECT_EQ(FontHeight(tabs), tabFont);
    EXPECT_EQ(ListIconSize(list), icon);
}

TEST_F(FrameDpiTest, MovesBetweenScalesLeakNoGdiObjects) {
    WriteCatalogue(kFilledCatalogue);
    Start();
    const UINT dpi = WindowDpi(frame_->Handle());
    // One round first: the first move makes fonts the frame owns from then on.
    MoveToScale(2 * dpi, Suggested(1000, 700));
    MoveToScale(dpi, Suggested(800, 600));
    const std::vector<HGDIOBJ> made = ObjectsMadeForTheScale(*frame_);
    const int before = GdiObjects();
    for (int round = 0; round < 5; ++round) {
        MoveToScale(round % 2 ? dpi : 2 * dpi, Suggested(900, 650));
        MoveToScale(dpi * 3 / 2, Suggested(900, 650));
        MoveToScale(dpi, Suggested(800, 600));
    }
    // What was made for the scale of before is deleted, not left behind.
    for (std::size_t i = 0; i < made.size(); ++i) EXPECT_EQ(GetObjectType(made[i]), 0u) << "object " << i;
    // Wine counts none (it answers 0); Windows counts them all.
    EXPECT_EQ(GdiObjects(), before);
}

}  // namespace
}  // namespace corvel::ui
