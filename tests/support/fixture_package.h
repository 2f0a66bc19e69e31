// The test package of tests/fixtures/msi, for the Windows tests that install
// it through msiexec.
#pragma once

#include <windows.h>

#include <string>

namespace corvel::testing {

// The package's product code, as fixture.wxs gives it.
inline constexpr wchar_t kFixturePackageProduct[] = L"{3C6F4A0E-51B2-4D8B-9E7A-0F2D5B8C1A64}";

// Where the package puts its one file, below the program files folder.
inline constexpr wchar_t kFixturePackageFile[] = L"CorvelFixture\\payload.txt";

// Unregisters the package quietly, so that the next install is a fresh one
// that goes where ProgramFilesDir then points (a package still registered
// would be repaired where it was first put).
inline void UninstallFixturePackage() {
    std::wstring command = L"msiexec.exe /x " + std::wstring(kFixturePackageProduct) + L" /qn";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return;
    WaitForSingleObject(process.hProcess, 60000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace corvel::testing
