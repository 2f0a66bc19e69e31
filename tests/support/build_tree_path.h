// Files built elsewhere in the build tree, for the Windows test programs:
// CMake hands over Linux paths, and Wine maps the Linux root as drive Z:.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <string_view>

namespace corvel::testing {

// "/work/b/x.exe" -> "Z:\work\b\x.exe"; a path with a drive letter keeps it.
inline std::filesystem::path FromBuildTree(std::string_view path) {
    // Build paths are ASCII here; widen byte by byte.
    std::wstring windows(path.begin(), path.end());
    std::replace(windows.begin(), windows.end(), L'/', L'\\');
    if (!path.empty() && path.front() == '/') windows.insert(0, L"Z:");
    return windows;
}

}  // namespace corvel::testing
