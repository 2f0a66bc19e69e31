// The DPI of the monitor a window is on, and what is sized by it. Corvel is
// per-monitor DPI aware: each window draws for its own monitor and hears of
// a move to another scale through WM_DPICHANGED (top-level windows) or
// WM_DPICHANGED_AFTERPARENT (their children).
#pragma once

#include <windows.h>

#include "ui/window/display_scale.h"

namespace corvel::ui {

// Windows 10 1607 and later know each window's DPI; before that (and where
// the process is not aware) the screen's DPI stands for all windows.
UINT WindowDpi(HWND hwnd);

// GetSystemMetrics for a monitor of dpi.
int SystemMetricForDpi(int index, UINT dpi);

// The DPI that WM_DPICHANGED carries.
inline UINT DpiOfChange(WPARAM wParam) { return HIWORD(wParam); }

// Moves a top-level window to the rectangle WM_DPICHANGED suggests, which
// keeps it on the monitor it was moved to at the size it had in inches.
void MoveToSuggestedRect(HWND hwnd, LPARAM suggested);

// The system's icon font (the one of list views and the shell) for a
// monitor of dpi; the caller deletes it.
HFONT CreateIconFontForDpi(UINT dpi);
// DEFAULT_GUI_FONT, which is made for the screen's DPI, for a monitor of
// dpi; the caller deletes it.
HFONT CreateGuiFontForDpi(UINT dpi);

}  // namespace corvel::ui
