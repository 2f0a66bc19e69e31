// What the catalogue file's reader and writer agree on about its lines:
// the keys of an item line, where separators go, how a line ends.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "catalogue/catalogue_model.h"

namespace corvel {

// Keys in file order, indexed by Field.
inline constexpr std::array<std::string_view, kFieldCount> kFieldKeys = {"Name",    "SrcPath",  "DstDir", "Patch",
                                                                         "Regcode", "Settings", "Comment"};

inline constexpr std::string_view kCrLf = "\r\n";

// Whether the CR LF that ends a line begins at p.
inline bool IsLineBreakAt(const char* p, const char* end) {
    return end - p >= 2 && p[0] == '\r' && p[1] == '\n';
}

// Whether a field is followed by the separator: Comment, always last, is not.
constexpr bool HasSeparator(std::size_t field) {
    return static_cast<Field>(field) != Field::Comment;
}

}  // namespace corvel
