#include "text_codec.h"

namespace corvel {

namespace {

// text is what Cp936ToUtf8 gives: well-formed UTF-8 of characters of the
// basic plane (all that code page 936 holds), so one to three bytes each.
std::u16string Utf16FromUtf8(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : 3;
        char16_t unit = length == 1 ? lead : length == 2 ? (lead & 0x1F) : (lead & 0x0F);
        for (std::size_t k = 1; k < length && i + k < text.size(); ++k)
            unit = static_cast<char16_t>((unit << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F));
        out += unit;
        i += length;
    }
    return out;
}

}  // namespace

std::u16string Cp936ToUtf16(std::string_view text) {
    return Utf16FromUtf8(Cp936ToUtf8(text));
}

}  // namespace corvel
