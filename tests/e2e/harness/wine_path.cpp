#include "wine_path.h"

#include <algorithm>

namespace corvel::e2e {

std::wstring WindowsPathFromBuildPath(std::string_view path) {
    // Build paths are ASCII here; widen byte by byte.
    std::wstring result(path.begin(), path.end());
    std::replace(result.begin(), result.end(), L'/', L'\\');
    if (!path.empty() && path.front() == '/') result.insert(0, L"Z:");
    return result;
}

}  // namespace corvel::e2e
