// Code page 936 <-> UTF-16 at the Win32 boundary. Windows builds only.
#pragma once

#include <string>
#include <string_view>

namespace corvel {

// Empty when text is empty or cannot be converted.
std::wstring WideFromCp936(std::string_view text);
std::string Cp936FromWide(std::wstring_view text);

}  // namespace corvel
