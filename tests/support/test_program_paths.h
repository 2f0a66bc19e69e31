// Paths the Windows test programs share: where the running test program
// lies, and paths as the code page 936 text the program's code takes.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>

#include "catalogue/win32_text.h"

namespace corvel::testing {

inline std::filesystem::path ExeFolder() {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(std::wstring(path, length)).parent_path();
}

inline std::string Cp936(const std::filesystem::path& path) {
    return Cp936FromWide(path.wstring());
}

}  // namespace corvel::testing
