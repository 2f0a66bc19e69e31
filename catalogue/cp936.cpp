#include "catalogue/cp936.h"

namespace corvel {

std::size_t FindChars(std::string_view text, std::string_view needle, std::size_t from) {
    if (needle.empty()) return from <= text.size() ? from : std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) {
        if (i >= from && text.compare(i, needle.size(), needle) == 0) return i;
    }
    return std::string_view::npos;
}

std::size_t FindLastChar(std::string_view text, char c) {
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i)) {
        if (text[i] == c) found = i;
    }
    return found;
}

bool EndsWithChar(std::string_view text, char c) {
    return !text.empty() && FindLastChar(text, c) == text.size() - 1;
}

std::string ToUpperAscii(std::string_view text) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); i += CharLength(out, i)) {
        if (out[i] >= 'a' && out[i] <= 'z') out[i] = static_cast<char>(out[i] - 'a' + 'A');
    }
    return out;
}

static char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    // Walk whole characters: trail bytes in 0x41..0x7A look like letters but
    // must compare exactly. Equal prefixes keep both texts on one boundary.
    for (std::size_t i = 0; i < a.size();) {
        if (IsLeadByte(static_cast<unsigned char>(a[i])) && i + 1 < a.size()) {
            if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
            i += 2;
        } else {
            if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
            ++i;
        }
    }
    return true;
}

std::string_view TrimLeft(std::string_view text, std::string_view set) {
    std::size_t start = text.find_first_not_of(set);
    return start == std::string_view::npos ? std::string_view() : text.substr(start);
}

std::string_view TrimRight(std::string_view text, std::string_view set) {
    std::size_t end = text.find_last_not_of(set);
    return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

std::string_view Trim(std::string_view text, std::string_view set) {
    return TrimRight(TrimLeft(text, set), set);
}

}  // namespace corvel
