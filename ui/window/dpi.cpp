#include "ui/window/dpi.h"

#include "catalogue/shell/screen_dpi.h"

namespace corvel::ui {

namespace {

// Looked up once: the functions exist from Windows 10 1607 on.
template <typename Function>
Function User32Function(const char* name) {
    static HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name))) : nullptr;
}

}  // namespace

UINT WindowDpi(HWND hwnd) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    UINT dpi = getDpiForWindow && hwnd ? getDpiForWindow(hwnd) : 0;
    return dpi ? dpi : ScreenDpi();
}

int SystemMetricForDpi(int index, UINT dpi) {
    using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
    static const auto forDpi = User32Function<GetSystemMetricsForDpiFunction>("GetSystemMetricsForDpi");
    if (forDpi) return forDpi(index, dpi);
    return FromScreenDpi(GetSystemMetrics(index), dpi);
}

void MoveToSuggestedRect(HWND hwnd, LPARAM suggested) {
    const RECT* rect = reinterpret_cast<const RECT*>(suggested);
    if (!rect) return;
    SetWindowPos(hwnd, nullptr, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT CreateIconFontForDpi(UINT dpi) {
    using ParametersForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    static const auto forDpi = User32Function<ParametersForDpiFunction>("SystemParametersInfoForDpi");
    LOGFONTW font{};
    if (forDpi && forDpi(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0, dpi)) return CreateFontIndirectW(&font);
    if (!SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof font, &font, 0))
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    font.lfHeight = FromScreenDpi(font.lfHeight, dpi);
    return CreateFontIndirectW(&font);
}

HFONT CreateGuiFontForDpi(UINT dpi) {
    LOGFONTW font{};
    if (!GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font)) return nullptr;
    font.lfHeight = FromScreenDpi(font.lfHeight, dpi);
    return CreateFontIndirectW(&font);
}

}  // namespace corvel::ui
