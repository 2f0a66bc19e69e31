// Code page 936 <-> UTF-16 at the Win32 boundary. Windows builds only.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvel {

// Empty when text is empty or cannot be converted.
std::wstring WideFromCp936(std::string_view text);
std::string Cp936FromWide(std::wstring_view text);

// text in code page 936, or nothing when it holds a character the code
// page lacks: no "?" and no look-alike stands in for it. Empty text is "".
std::optional<std::string> ExactCp936FromWide(std::wstring_view text);

}  // namespace corvel
