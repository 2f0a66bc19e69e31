#include <windows.h>

#include "catalogue/win32_text.h"

namespace corvel {

static constexpr UINT kCodePage936 = 936;

std::wstring WideFromCp936(std::string_view text) {
    if (text.empty() || text.size() > 0x7FFFFFFF) return {};
    int size = static_cast<int>(text.size());
    int length = MultiByteToWideChar(kCodePage936, 0, text.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(kCodePage936, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string Cp936FromWide(std::wstring_view text) {
    if (text.empty() || text.size() > 0x7FFFFFFF) return {};
    int size = static_cast<int>(text.size());
    int length = WideCharToMultiByte(kCodePage936, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(kCodePage936, 0, text.data(), size, narrow.data(), length, nullptr, nullptr);
    return narrow;
}

std::optional<std::string> ExactCp936FromWide(std::wstring_view text) {
    if (text.empty()) return std::string();
    if (text.size() > 0x7FFFFFFF) return std::nullopt;
    int size = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    int length = WideCharToMultiByte(kCodePage936, WC_NO_BEST_FIT_CHARS, text.data(), size, nullptr, 0, nullptr,
                                     &usedDefault);
    if (length <= 0 || usedDefault) return std::nullopt;
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(kCodePage936, WC_NO_BEST_FIT_CHARS, text.data(), size, narrow.data(), length, nullptr,
                        &usedDefault);
    // The way back must give the same text: a system that maps a missing
    // character without saying so is caught here.
    if (usedDefault || WideFromCp936(narrow) != text) return std::nullopt;
    return narrow;
}

}  // namespace corvel
