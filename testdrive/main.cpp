#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <vector>

#include "catalogue/no_throw.h"
#include "catalogue/unique_handle.h"
#include "testdrive/elevated_copy.h"
#include "testdrive/fennick_dialog.h"

namespace {

// The arguments after the program's name.
std::vector<std::wstring> Arguments() {
    int count = 0;
    corvel::UniqueLocal<LPWSTR*> owned(CommandLineToArgvW(GetCommandLineW(), &count));
    LPWSTR* list = owned.get();
    if (!list) return {};
    return std::vector<std::wstring>(list + (count > 0 ? 1 : 0), list + count);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // A folder chosen on a drive without a medium must not raise "No Disk".
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    return corvel::NoThrow(static_cast<int>(corvel::kHiddenFailed), [] {
        // Arguments come only from Fennick's own elevated start: no dialog then.
        std::vector<std::wstring> arguments = Arguments();
        if (!arguments.empty()) {
            std::optional<corvel::HiddenRequest> request = corvel::ParseHiddenRequest(arguments);
            return static_cast<int>(request ? corvel::testdrive::RunHiddenRequest(*request) : corvel::kHiddenFailed);
        }
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof controls;
        controls.dwICC = ICC_STANDARD_CLASSES;
        InitCommonControlsEx(&controls);
        corvel::testdrive::CFennickDialog().RunModal(nullptr);
        return 0;
    });
}
