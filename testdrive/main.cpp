#include <windows.h>

#include <commctrl.h>

#include "fennick_dialog.h"
#include "no_throw.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // A folder chosen on a drive without a medium must not raise "No Disk".
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
    return corvel::NoThrow(1, [] {
        corvel::testdrive::CFennickDialog().RunModal(nullptr);
        return 0;
    });
}
