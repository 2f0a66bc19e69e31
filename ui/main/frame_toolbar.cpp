#include "ui/main/frame_toolbar.h"

#include <utility>
#include <vector>

#include "ui/main/resource.h"
#include "ui/window/dpi.h"

namespace corvel::ui {

namespace {

constexpr COLORREF kTransparent = RGB(192, 192, 192);
constexpr int kNominalSize = 32;

struct DrawnImages {
    int size;
    int bitmap;
    int disabledBitmap;
};
constexpr DrawnImages kDrawn[] = {{32, IDB_TOOLBAR, IDB_TOOLBAR_DISABLED},
                                  {40, IDB_TOOLBAR_40, IDB_TOOLBAR_DISABLED_40},
                                  {48, IDB_TOOLBAR_48, IDB_TOOLBAR_DISABLED_48},
                                  {64, IDB_TOOLBAR_64, IDB_TOOLBAR_DISABLED_64}};

const DrawnImages& DrawnImagesFor(UINT dpi) {
    const int size = DrawnSizeForDpi({32, 40, 48, 64}, kNominalSize, static_cast<int>(dpi));
    for (const DrawnImages& drawn : kDrawn)
        if (drawn.size == size) return drawn;
    return kDrawn[0];
}

// The list holds a copy of the bitmap's images: the bitmap itself goes.
UniqueImageList LoadImages(int bitmapId, int size) {
    UniqueBitmap bitmap(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!bitmap) return {};
    UniqueImageList images(ImageList_Create(size, size, ILC_COLOR24 | ILC_MASK, 8, 2));
    if (images && ImageList_AddMasked(images.get(), bitmap.get(), kTransparent) < 0) images.reset();
    return images;
}

}  // namespace

bool FrameToolbar::Create(HWND parent, int id, std::span<const int> commands, UINT dpi) {
    toolbar_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"", WS_CHILD | WS_VISIBLE | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS, 0, 0,
                               0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleW(nullptr), nullptr);
    if (!toolbar_) return false;
    SendMessageW(toolbar_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    if (!SetDpi(dpi)) return false;
    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (int command : commands) {
        TBBUTTON button{};
        if (command == 0) {
            button.fsStyle = BTNS_SEP;
        } else {
            button.iBitmap = image++;
            button.idCommand = command;
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
        }
        buttons.push_back(button);
    }
    SendMessageW(toolbar_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
    return true;
}

bool FrameToolbar::SetDpi(UINT dpi) {
    const DrawnImages& drawn = DrawnImagesFor(dpi);
    UniqueImageList images = LoadImages(drawn.bitmap, drawn.size);
    UniqueImageList disabledImages = LoadImages(drawn.disabledBitmap, drawn.size);
    if (!images || !disabledImages) return false;
    // The toolbar lets go of the old lists before they are destroyed.
    SendMessageW(toolbar_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.get()));
    SendMessageW(toolbar_, TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(disabledImages.get()));
    images_ = std::move(images);
    disabledImages_ = std::move(disabledImages);
    imageSize_ = drawn.size;
    SendMessageW(toolbar_, TB_SETBITMAPSIZE, 0, MAKELPARAM(drawn.size, drawn.size));
    SendMessageW(toolbar_, TB_AUTOSIZE, 0, 0);
    return true;
}

}  // namespace corvel::ui
