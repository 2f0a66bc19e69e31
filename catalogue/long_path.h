// Wide paths for the W API, safe past MAX_PATH. Windows builds only.
#pragma once

#include <string>
#include <string_view>

namespace corvel {

// path converted from code page 936; paths too long for the plain Win32
// limit get the "\\?\" (or "\\?\UNC\") prefix after being made full, so they
// work instead of being cut. Empty when path is empty or not convertible.
std::wstring WideLongPath(std::string_view path);

// Same for a path that is already wide.
std::wstring LongPathFromWide(std::wstring path);

// The full path ("." and ".." resolved); empty when the system cannot answer.
std::wstring FullPath(const std::wstring& path);

// A full path in the "\\?\" (or "\\?\UNC\") form; unchanged when it has it.
std::wstring PrefixedPath(const std::wstring& fullPath);

}  // namespace corvel
