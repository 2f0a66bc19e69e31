#include "catalogue/shell/screen_dpi.h"

namespace corvel {

UINT ScreenDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

int FromScreenDpi(int size, UINT dpi) {
    return MulDiv(size, static_cast<int>(dpi), static_cast<int>(ScreenDpi()));
}

}  // namespace corvel
