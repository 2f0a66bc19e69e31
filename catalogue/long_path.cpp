#include "catalogue/long_path.h"

#include <windows.h>

#include "catalogue/win32_text.h"

namespace corvel {

namespace {

// CreateDirectoryW leaves room for an 8.3 file name below MAX_PATH.
constexpr std::size_t kPlainPathLimit = MAX_PATH - 12;

bool HasPrefix(const std::wstring& path, std::wstring_view prefix) {
    return path.compare(0, prefix.size(), prefix) == 0;
}

}  // namespace

std::wstring FullPath(const std::wstring& path) {
    DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return {};
    std::wstring full(needed, L'\0');
    DWORD length = GetFullPathNameW(path.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return {};
    full.resize(length);
    return full;
}

std::wstring PrefixedPath(const std::wstring& fullPath) {
    if (HasPrefix(fullPath, L"\\\\?\\")) return fullPath;
    if (HasPrefix(fullPath, L"\\\\")) return L"\\\\?\\UNC\\" + fullPath.substr(2);
    return L"\\\\?\\" + fullPath;
}

std::wstring LongPathFromWide(std::wstring path) {
    if (path.size() < kPlainPathLimit || HasPrefix(path, L"\\\\?\\")) return path;
    // "\\?\" turns off the system's own clean-up, so do it first.
    std::wstring full = FullPath(path);
    return full.empty() ? path : PrefixedPath(full);
}

std::wstring WideLongPath(std::string_view path) {
    return LongPathFromWide(WideFromCp936(path));
}

}  // namespace corvel
