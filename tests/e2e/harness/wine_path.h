// Build-tree paths are Linux paths; the test programs run under Wine.
#pragma once

#include <string>
#include <string_view>

namespace corvel::e2e {

// "/work/x/y.exe" -> "Z:\work\x\y.exe" (Wine maps the Linux root as Z:).
// A path with a drive letter only gets its slashes turned into backslashes.
std::wstring WindowsPathFromBuildPath(std::string_view path);

}  // namespace corvel::e2e
