#include <windows.h>

#include <climits>

#include "catalogue/cp936.h"
#include "catalogue/text_codec.h"

namespace corvel {

namespace {

constexpr UINT kCodePage936 = 936;
constexpr wchar_t kReplacement = 0xFFFD;
// Keeps each call to the converter well inside its int lengths.
constexpr std::size_t kWideChunk = 1 << 16;

// The system maps the user-defined areas of code page 936 (some versions
// also the byte 0xFF) into the private use area; glibc does not know them.
// Refusing them here keeps both platforms in step.
bool IsPrivateUse(wchar_t c) {
    return c >= 0xE000 && c <= 0xF8FF;
}

void AppendUtf8(std::wstring_view wide, std::string& out) {
    if (wide.empty()) return;
    const int length = static_cast<int>(wide.size());
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) return;
    const std::size_t start = out.size();
    out.resize(start + static_cast<std::size_t>(bytes));
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, out.data() + start, bytes, nullptr, nullptr);
}

// The one UTF-16 unit of a code page 936 character, or 0 when the bytes are
// not one convertible character.
wchar_t DecodeCharacter(std::string_view bytes) {
    wchar_t wide[4];
    const int n =
        MultiByteToWideChar(kCodePage936, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), wide, 4);
    if (n != 1 || IsPrivateUse(wide[0])) return 0;
    return wide[0];
}

}  // namespace

std::string Cp936ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    std::wstring wide;
    std::size_t i = 0;
    while (i < text.size()) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            wide += static_cast<wchar_t>(c);
            ++i;
        } else {
            // CharLength gives 1 for 0x80, 0xFF and a lead byte at the very end.
            const std::size_t length = CharLength(text, i);
            const wchar_t decoded = DecodeCharacter(text.substr(i, length));
            if (decoded != 0) {
                wide += decoded;
                i += length;
            } else {
                // Only the lead byte is lost; its partner may start a character.
                wide += kReplacement;
                ++i;
            }
        }
        if (wide.size() >= kWideChunk) {
            AppendUtf8(wide, out);
            wide.clear();
        }
    }
    AppendUtf8(wide, out);
    return out;
}

std::optional<std::string> Utf8ToCp936(std::string_view text) {
    if (text.empty()) return std::string();
    if (text.size() > INT_MAX / 2) return std::nullopt;
    const int length = static_cast<int>(text.size());
    const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
    if (units <= 0) return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(units), L'\0');
    if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, wide.data(), units) != units) {
        return std::nullopt;
    }
    for (wchar_t c : wide) {
        if (IsPrivateUse(c)) return std::nullopt;
    }
    BOOL usedDefault = FALSE;
    const int bytes =
        WideCharToMultiByte(kCodePage936, WC_NO_BEST_FIT_CHARS, wide.data(), units, nullptr, 0, nullptr, &usedDefault);
    if (bytes <= 0 || usedDefault) return std::nullopt;
    std::string out(static_cast<std::size_t>(bytes), '\0');
    usedDefault = FALSE;
    if (WideCharToMultiByte(kCodePage936, WC_NO_BEST_FIT_CHARS, wide.data(), units, out.data(), bytes, nullptr,
                            &usedDefault) != bytes ||
        usedDefault) {
        return std::nullopt;
    }
    return out;
}

std::optional<std::string> Utf8ToNativePath(std::string_view path) {
    return Utf8ToCp936(path);
}

}  // namespace corvel
