// The DPI of the screen as a whole: the one the system sizes its icons and
// stock fonts for when the process starts.
#pragma once

#include <windows.h>

namespace corvel {

UINT ScreenDpi();

}  // namespace corvel
