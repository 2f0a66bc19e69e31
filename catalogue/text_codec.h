// Conversion between code page 936 bytes and UTF-8, for texts that leave
// or enter the program as UTF-8 (the command-line checker).
//
// Both platforms give the same results: a code page 936 character counts
// only when the system converter and glibc's agree on it, so Windows'
// private-use mappings of the user-defined areas are treated as not
// convertible.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace corvel {

// Bytes that are not valid code page 936 come out as U+FFFD: a lead byte
// whose pair does not convert gives one U+FFFD and decoding goes on at the
// byte after it.
std::string Cp936ToUtf8(std::string_view text);

// Nothing when text is not valid UTF-8 or holds a character that code page
// 936 cannot represent.
std::optional<std::string> Utf8ToCp936(std::string_view text);

// A UTF-8 path in the form the core's file functions take: the bytes
// unchanged where file names are bytes, code page 936 on Windows (nothing
// when it has no code page 936 form there).
std::optional<std::string> Utf8ToNativePath(std::string_view path);

}  // namespace corvel
