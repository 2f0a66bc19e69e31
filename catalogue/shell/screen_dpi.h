// The DPI of the screen as a whole: the one the system sizes its icons and
// stock fonts for when the process starts.
#pragma once

#include <windows.h>

namespace corvel {

UINT ScreenDpi();

// A size the system gives for the screen's DPI, for a monitor of dpi.
int FromScreenDpi(int size, UINT dpi);

}  // namespace corvel
