// Byte-string helpers for code page 936 (GBK) text.
// A byte 0x81..0xFE starts a two-byte character; everything else is one byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace corvel {

// White space sets: each rule names its own.
inline constexpr std::string_view kWhiteSpace = " \t\r\n\v\f";
inline constexpr std::string_view kBlankTabLf = " \t\n";

// The bytes of kWhiteSpace: blank and tab to carriage return.
inline bool IsWhiteSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Trim(text, kWhiteSpace), inline for the catalogue reader's inner loop.
inline std::string_view TrimWhiteSpace(std::string_view text) {
    while (!text.empty() && IsWhiteSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsWhiteSpace(text.back())) text.remove_suffix(1);
    return text;
}

inline bool IsLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

// Length in bytes of the character starting at text[pos] (1 or 2; 1 for a
// lead byte at the very end).
inline std::size_t CharLength(std::string_view text, std::size_t pos) {
    return (IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) ? 2 : 1;
}

// Finds needle starting only at character boundaries (a trail byte never
// matches). Returns npos when absent.
std::size_t FindChars(std::string_view text, std::string_view needle, std::size_t from = 0);

// Position of the last character equal to the single byte c, or npos.
std::size_t FindLastChar(std::string_view text, char c);

// True when the last character of text is the single byte c (not a trail byte).
bool EndsWithChar(std::string_view text, char c);

// Upper-cases ASCII letters, leaving both bytes of double-byte characters alone.
std::string ToUpperAscii(std::string_view text);

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b);

std::string_view TrimLeft(std::string_view text, std::string_view set);
std::string_view TrimRight(std::string_view text, std::string_view set);
std::string_view Trim(std::string_view text, std::string_view set);

}  // namespace corvel
