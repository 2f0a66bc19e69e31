// Where a 32-bit process on 64-bit Windows finds the native system folder.
// There it sees SysWOW64 under the name System32, so tools that exist only
// in 64-bit form look missing; the alias Sysnative names the real System32.
// Portable: the caller asks the system for the Windows folder and whether
// this process runs under WoW64.
#pragma once

#include <string>
#include <string_view>

namespace corvel {

// windowsFolder + "\Sysnative" (no doubled backslash).
std::string SysnativeFolder(std::string_view windowsFolder);

// path with a leading "<windowsFolder>\System32" (a whole component, letter
// case ignored) replaced by the Sysnative folder when wow64; any other path,
// or any path without WoW64, unchanged.
std::string NativeSystemPath(std::string_view windowsFolder, bool wow64, std::string_view path);

}  // namespace corvel
