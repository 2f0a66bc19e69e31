// Reads the clipboard as another program would, for the Windows tests.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace corvel::testing {

// The clipboard's text in one format (CF_TEXT with char, CF_UNICODETEXT with
// wchar_t); nullopt when it holds none or cannot be opened.
template <typename Char>
std::optional<std::basic_string<Char>> ClipboardText(UINT format) {
    if (!OpenClipboard(nullptr)) return std::nullopt;
    std::optional<std::basic_string<Char>> text;
    if (HANDLE block = GetClipboardData(format)) {
        if (const Char* data = static_cast<const Char*>(GlobalLock(block))) {
            text = std::basic_string<Char>(data);
            GlobalUnlock(block);
        }
    }
    CloseClipboard();
    return text;
}

inline std::optional<std::string> ClipboardBytes() {
    return ClipboardText<char>(CF_TEXT);
}
inline std::optional<std::wstring> ClipboardUnicode() {
    return ClipboardText<wchar_t>(CF_UNICODETEXT);
}

}  // namespace corvel::testing
